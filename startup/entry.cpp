#include <windows.h>

#include "startup/main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Main();
  return 0;
}
