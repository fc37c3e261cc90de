#include "forms/process.h"

#include <windows.h>

#include "forms/handles.h"
#include "forms/command_line.h"
#include "forms/twips.h"

namespace forms {

namespace {

int ScreenLogicalDpi(int axis) {
  WindowDC screen(nullptr);
  return screen ? ::GetDeviceCaps(screen.get(), axis) : 0;
}

}  // namespace

std::wstring ProcessArgumentString() {
  const wchar_t* commandLine = ::GetCommandLineW();
  return commandLine ? ArgumentString(commandLine) : std::wstring();
}

void EndProcess() { ::ExitProcess(0); }

void ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

int RunUntilLastFormCloses(const std::function<bool()>& stillWanted) {
  MSG message;
  for (;;) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (stillWanted && !stillWanted()) return 0;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, stillWanted ? kWatchIntervalMs : INFINITE, QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
  }
}

double ScreenTwipsPerPixelX() { return TwipsPerPixel(ScreenLogicalDpi(LOGPIXELSX)); }
double ScreenTwipsPerPixelY() { return TwipsPerPixel(ScreenLogicalDpi(LOGPIXELSY)); }

}  // namespace forms
