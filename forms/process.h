// What the forms need of their own process: the switch it was started with, ending it, letting
// pending window messages run, and the screen's twips per pixel.
#pragma once

#include <functional>
#include <string>

namespace forms {

// The argument string of this process's command line (see ArgumentString).
std::wstring ProcessArgumentString();

// Ends the process at once with exit code 0: no window is closed and no handler runs.
[[noreturn]] void EndProcess();

// Dispatches every window message waiting now, then returns. A WM_QUIT among them is posted
// again, so the message loop that owns it still sees it.
void ProcessPendingMessages();

// Dispatches messages until WM_QUIT, which the last form posts when it goes, and returns its
// exit code. With stillWanted, also asked whenever the loop wakes and at least every
// kWatchIntervalMs, returns 0 as soon as it says false.
constexpr unsigned long kWatchIntervalMs = 250;
int RunUntilLastFormCloses(const std::function<bool()>& stillWanted = {});

// 1440 divided by the screen's logical pixels per inch, on each axis.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

}  // namespace forms
