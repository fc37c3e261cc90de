// Starts rubblit.scr the way the system does and watches it: exit code, windows, termination.
#pragma once

#include <windows.h>

#include <string>

namespace testbed {

class SaverProcess {
 public:
  // Starts program with the command line "program" followed by one blank and argumentString
  // (nothing at all after the quoted path when argumentString is empty). The process's current
  // folder is the program's folder.
  SaverProcess(const std::wstring& program, const std::wstring& argumentString);
  // Starts program with exactly this command line.
  static SaverProcess WithCommandLine(const std::wstring& program, const std::wstring& commandLine);
  ~SaverProcess();
  SaverProcess(SaverProcess&& other) noexcept;
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  // True when the process ended within the time.
  bool WaitForExit(DWORD milliseconds) const;
  // The exit code, or STILL_ACTIVE.
  DWORD ExitCode() const;
  // A top-level window of this process with this caption, waited for; nullptr when none came.
  HWND WaitForWindow(const std::wstring& caption, DWORD milliseconds) const;

 private:
  SaverProcess() = default;
  void Start(const std::wstring& program, const std::wstring& commandLine);
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace testbed
