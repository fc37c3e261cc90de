#include "wine/testbed/saver_process.h"

#include <utility>
#include <vector>

#include "forms/handles.h"

namespace testbed {

namespace {

const wchar_t kOlderPlatformKey[] = L"Software\\Wine\\AppDefaults\\rubblit.scr";

void RemoveOlderPlatform() {
  ::RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(kOlderPlatformKey) + L"\\DllOverrides").c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kOlderPlatformKey);
}

// The job every started saver joins: closed when the test process ends, however it ends, and
// its processes with it.
HANDLE SaverJob() {
  static forms::KernelHandle job([] {
    HANDLE created = ::CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (created) ::SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return created;
  }());
  return job.get();
}

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
  std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                       folder.c_str(), &startup, &info)) {
    if (HANDLE job = SaverJob()) ::AssignProcessToJobObject(job, info.hProcess);
    ::ResumeThread(info.hThread);
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

bool SaverProcess::WaitForInputIdle(DWORD milliseconds) const {
  return process_ && ::WaitForInputIdle(process_, milliseconds) == 0;
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
    if (::GetTickCount() - start >= milliseconds || WaitForExit(20)) return nullptr;
  }
}

void ClearSaverLeftovers() {
  for (const wchar_t* caption : {L"Rubblit(main)", L"Rubblitの設定"}) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      HWND window = ::FindWindowW(nullptr, caption);
      if (!window) break;
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      forms::KernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner));
      if (!process || owner == ::GetCurrentProcessId()) break;
      ::TerminateProcess(process.get(), 99);
      ::WaitForSingleObject(process.get(), 10000);
    }
  }
  RemoveOlderPlatform();
}

namespace {

void SetText(const std::wstring& keyName, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

}  // namespace

OlderPlatform::OlderPlatform(bool standInMpr) {
  SetText(kOlderPlatformKey, L"Version", L"win98");
  if (standInMpr) SetText(std::wstring(kOlderPlatformKey) + L"\\DllOverrides", L"mpr", L"native");
}

OlderPlatform::~OlderPlatform() { RemoveOlderPlatform(); }

}  // namespace testbed
