#include <windows.h>

#include "forms/handles.h"
#include "forms/process.h"
#include "startup/main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The preview's picture is decoded through OLE.
  forms::ComApartment com;
  Main();
  // Only a preview returns from Main; the process then lives while its form is loaded.
  return forms::RunUntilLastFormCloses();
}
