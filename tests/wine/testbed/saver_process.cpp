#include "wine/testbed/saver_process.h"

#include <utility>
#include <vector>

namespace testbed {

namespace {

struct WindowSearch {
  DWORD processId;
  const std::wstring* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  if (*search->caption != text) return TRUE;
  search->found = window;
  return FALSE;
}

// A top-level window of the given process with this caption, or nullptr.
HWND FindProcessWindow(DWORD processId, const std::wstring& caption) {
  WindowSearch search{processId, &caption, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

SaverProcess::SaverProcess(const std::wstring& program, const std::wstring& argumentString) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!argumentString.empty()) commandLine += L" " + argumentString;
  Start(program, commandLine);
}

SaverProcess SaverProcess::WithCommandLine(const std::wstring& program, const std::wstring& commandLine) {
  SaverProcess process;
  process.Start(program, commandLine);
  return process;
}

void SaverProcess::Start(const std::wstring& program, const std::wstring& commandLine) {
  std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

SaverProcess::SaverProcess(SaverProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(other.id_) {}

SaverProcess::~SaverProcess() {
  if (!process_) return;
  if (!WaitForExit(0)) {
    ::TerminateProcess(process_, 99);
    WaitForExit(5000);
  }
  ::CloseHandle(process_);
}

bool SaverProcess::WaitForExit(DWORD milliseconds) const {
  return process_ && ::WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

DWORD SaverProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) ::GetExitCodeProcess(process_, &code);
  return code;
}

HWND SaverProcess::WaitForWindow(const std::wstring& caption, DWORD milliseconds) const {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (HWND window = FindProcessWindow(id_, caption)) return window;
    if (::GetTickCount() - start >= milliseconds || WaitForExit(0)) return nullptr;
    ::Sleep(20);
  }
}

}  // namespace testbed
