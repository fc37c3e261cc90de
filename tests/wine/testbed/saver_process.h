// Starts rubblit.scr the way the system does and watches it: exit code, windows, termination.
#pragma once

#include <windows.h>

#include <string>

namespace testbed {

class SaverProcess {
 public:
  // Starts program with the command line "program" followed by one blank and argumentString
  // (nothing at all after the quoted path when argumentString is empty). The process's current
  // folder is the program's folder. It ends with this object, and with the test process even
  // when that is killed.
  SaverProcess(const std::wstring& program, const std::wstring& argumentString);
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // True when the process ended within the time.
  bool WaitForExit(DWORD milliseconds) const;
  // The exit code, or STILL_ACTIVE.
  DWORD ExitCode() const;
  // True once the process waits for input with none pending.
  bool WaitForInputIdle(DWORD milliseconds) const;
  // A top-level window of this process with this caption, waited for; nullptr when none came.
  HWND WaitForWindow(const std::wstring& caption, DWORD milliseconds) const;

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Ends every process that shows a saver or settings window and removes the older-platform
// setting: what a test killed by its timeout may have left, and which would make every later
// start refuse or take the wrong platform.
void ClearSaverLeftovers();

// The older Windows, as Wine emulates it for rubblit.scr while this lives.
class OlderPlatform {
 public:
  OlderPlatform();
  ~OlderPlatform();
  OlderPlatform(const OlderPlatform&) = delete;
  OlderPlatform& operator=(const OlderPlatform&) = delete;
};

// rubblit.scr takes the mpr.dll beside it rather than Wine's while this lives, on any platform.
class StandInMpr {
 public:
  StandInMpr();
  ~StandInMpr();
  StandInMpr(const StandInMpr&) = delete;
  StandInMpr& operator=(const StandInMpr&) = delete;
};

}  // namespace testbed
