#include "session/session_end.h"

#include "forms/handles.h"
#include "common/arguments.h"
#include "common/platform.h"

namespace {

constexpr UINT kScreenSaverRunning = 97;  // SPI_SCREENSAVERRUNNING
constexpr UINT kSetScreenSaveActive = 17;  // SPI_SETSCREENSAVEACTIVE

}  // namespace

void EnableSystemKeys(std::int16_t flag) {
  ::SystemParametersInfoA(kScreenSaverRunning, static_cast<UINT>(static_cast<std::int32_t>(~flag)), nullptr, 0);
}

bool PasswordAccepted(HWND parent) {
  forms::Library passwordPanel(L"password.cpl");
  using Verify = BOOL(WINAPI*)(HWND);
  auto verify = passwordPanel.procedure<Verify>("VerifyScreenSavePwd");
  if (!verify) return true;
  return verify(parent) != FALSE;
}

void EndSaver(const SaverSession& session) {
  bool saverMode = ModeLetter(session.argumentString) == L"S";
  if (saverMode && !IsNTPlatform()) {
    ::ShowCursor(TRUE);
    if (!PasswordAccepted(session.form)) {
      ::ShowCursor(FALSE);
      return;
    }
  }
  if (saverMode) {
    EnableSystemKeys(-1);
    ::ShowCursor(TRUE);
  }
  ::SystemParametersInfoA(kSetScreenSaveActive, 1, nullptr, 0);
  if (session.loopActive) *session.loopActive = 0;
  if (session.unloadForm) session.unloadForm();
  if (session.terminate) session.terminate();
}
