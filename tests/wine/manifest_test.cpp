// The built program's manifest, read back through the activation-context settings the system
// itself consults when it starts the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "wine/testbed/temp_folder.h"

namespace {

// The value of a windowsSettings element of this namespace; empty when it is not declared.
std::wstring Setting(HANDLE context, const wchar_t* nameSpace, const wchar_t* name) {
  // Declared by the headers only for Windows 7 and later, the program's target being older.
  using Query = BOOL(WINAPI*)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryActCtxSettingsW")));
  wchar_t value[64] = {};
  SIZE_T written = 0;
  if (!query || !query(0, context, nameSpace, name, value, 64, &written)) return std::wstring();
  return value;
}

TEST(Manifest, DeclaresPerMonitorV2DpiAwarenessWithTheOlderSystemWideFallback) {
  const std::wstring program = testbed::BuildFolder() + L"\\rubblit.scr";
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = program.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = ::CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  const std::unique_ptr<void, decltype(&::ReleaseActCtx)> owner(context, &::ReleaseActCtx);
  EXPECT_EQ(Setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
            L"PerMonitorV2");
  EXPECT_EQ(Setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
}

}  // namespace
