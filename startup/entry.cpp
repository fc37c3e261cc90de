#include <windows.h>

#include "forms/handles.h"
#include "startup/main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The preview's picture is decoded through OLE.
  forms::ComApartment com;
  Main();
  return 0;
}
