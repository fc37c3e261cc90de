#include "common/platform.h"

#include <windows.h>

bool IsNTPlatform() {
  // The ANSI record is 148 bytes; the call and the platform are checked exactly, as any other
  // answer means an older or unknown system.
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = 148;
  return ::GetVersionExA(&version) == 1 && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
