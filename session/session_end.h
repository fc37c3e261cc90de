// Ending the screen-saver session: the password check of the older Windows, then the cursor and
// the system's screen-saver flags put back, and the process ended.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// Tells the system whether a screen saver runs (flag false) or not (flag true), through
// SPI_SCREENSAVERRUNNING with the negated 16-bit flag.
void EnableSystemKeys(std::int16_t flag);

// What EndSaver acts on. The program passes the real form and ExitProcess; tests pass their own.
struct SaverSession {
  HWND form = nullptr;
  std::wstring argumentString;
  std::int16_t* loopActive = nullptr;
  std::function<void()> unloadForm;
  std::function<void()> terminate;
};

// Ends the process unless the older platform's password check rejects; then it returns and the
// session goes on.
void EndSaver(const SaverSession& session);

// The older platform's check through password.cpl. With password.cpl or its export missing no
// check can be made, and the user is let out rather than locked in front of a saver that can
// never be left.
bool PasswordAccepted(HWND parent);
