#include "wine/testbed/saver_process.h"

#include "forms/handles.h"
#include "wine/testbed/host_window.h"

namespace testbed {

namespace {

const wchar_t kOlderPlatformKey[] = L"Software\\Wine\\AppDefaults\\rubblit.scr";
const wchar_t kOlderPlatformDlls[] = L"Software\\Wine\\AppDefaults\\rubblit.scr\\DllOverrides";

void RemoveOlderPlatform() {
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kOlderPlatformDlls);
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

void SetText(const wchar_t* keyName, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

}  // namespace

SaverProcess::SaverProcess(const std::wstring& program, const std::wstring& argumentString) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!argumentString.empty()) commandLine += L" " + argumentString;
  std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                       folder.c_str(), &startup, &info)) {
    if (HANDLE job = SaverJob()) ::AssignProcessToJobObject(job, info.hProcess);
    ::ResumeThread(info.hThread);
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

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
    if (HWND window = FindChildOfProcess(nullptr, id_, caption.c_str())) return window;
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

OlderPlatform::OlderPlatform() { SetText(kOlderPlatformKey, L"Version", L"win98"); }
OlderPlatform::~OlderPlatform() { RemoveOlderPlatform(); }

StandInMpr::StandInMpr() { SetText(kOlderPlatformDlls, L"mpr", L"native"); }
StandInMpr::~StandInMpr() { ::RegDeleteKeyW(HKEY_CURRENT_USER, kOlderPlatformDlls); }

}  // namespace testbed
