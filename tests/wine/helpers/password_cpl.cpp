// A stand-in for the older Windows' password services, copied beside the saver as password.cpl
// and as mpr.dll. It answers the saver's password check with what the test wrote into
// password-answer.txt ("accept" or anything else), and logs each check and each password change
// with its provider and window in password-calls.txt. Both files lie in the saver's folder, which
// is its current folder as the test bed starts it.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

void LogCall(const std::string& line) {
  HANDLE log = ::CreateFileA("password-calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(log);
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND window, DWORD, DWORD) {
  LogCall("change " + std::string(provider ? provider : "") + " " +
          std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))) + "\r\n");
  return 0;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
  LogCall("check\r\n");
  char answer[16] = {};
  HANDLE file = ::CreateFileA("password-answer.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FALSE;
  DWORD read = 0;
  ::ReadFile(file, answer, sizeof answer - 1, &read, nullptr);
  ::CloseHandle(file);
  return std::strncmp(answer, "accept", 6) == 0;
}
