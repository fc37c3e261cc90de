// A stand-in for the system's web browser: the dialog's link test registers it as the handler of
// http addresses. It writes the command line it was started with, UTF-8, into link-opened.txt
// beside itself and ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring record(path);
  record = record.substr(0, record.find_last_of(L'\\') + 1) + L"link-opened.txt";
  const wchar_t* commandLine = ::GetCommandLineW();
  int size = ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  if (size > 0) ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, &bytes[0], size, nullptr, nullptr);
  if (!bytes.empty()) bytes.pop_back();  // the terminating NUL
  HANDLE file = ::CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
