// The built program's manifest, read back through the activation-context settings the system
// itself consults when it starts the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "wine/testbed/temp_folder.h"

namespace {

class ProgramManifest {
 public:
  explicit ProgramManifest(const std::wstring& program) {
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = program.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    context_ = ::CreateActCtxW(&request);
  }
  ~ProgramManifest() {
    if (context_ != INVALID_HANDLE_VALUE) ::ReleaseActCtx(context_);
  }
  ProgramManifest(const ProgramManifest&) = delete;
  ProgramManifest& operator=(const ProgramManifest&) = delete;

  bool found() const { return context_ != INVALID_HANDLE_VALUE; }
  // The value of a windowsSettings element of this namespace; empty when it is not declared.
  std::wstring Setting(const wchar_t* nameSpace, const wchar_t* name) const {
    // Declared by the headers only for Windows 7 and later, the program's target being older.
    using Query = BOOL(WINAPI*)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryActCtxSettingsW")));
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!query || !query(0, context_, nameSpace, name, value, 64, &written)) return std::wstring();
    return value;
  }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
};

TEST(Manifest, DeclaresPerMonitorV2DpiAwarenessWithTheOlderSystemWideFallback) {
  ProgramManifest manifest(testbed::BuildFolder() + L"\\rubblit.scr");
  ASSERT_TRUE(manifest.found());
  EXPECT_EQ(manifest.Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2");
  EXPECT_EQ(manifest.Setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
}

}  // namespace
