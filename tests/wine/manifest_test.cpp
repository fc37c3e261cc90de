// The built program's manifest, read back through the activation-context queries the system
// itself makes when it starts the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <iterator>
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

TEST(Manifest, DeclaresPerMonitorDpiAwarenessTheInvokersRightsAndTheWindowsVersionsFromVistaTo11) {
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
            L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(Setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel{};
  ASSERT_TRUE(
      ::QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel, sizeof runLevel, nullptr));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(runLevel.UiAccess, 0u);

  // Newer systems give each element a further field: the identifiers are looked for, not laid out.
  BYTE compatibility[1024] = {};
  ASSERT_TRUE(::QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, compatibility,
                             sizeof compatibility, nullptr));
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(compatibility), 5u);
  // Vista, 7, 8, 8.1, and 10 with 11.
  for (const wchar_t* version : {L"{e2011457-1546-43c5-a5fe-008deee3d3f0}", L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                 L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                 L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    GUID id{};
    ASSERT_EQ(::CLSIDFromString(version, &id), S_OK);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&id);
    EXPECT_NE(std::search(std::begin(compatibility), std::end(compatibility), bytes, bytes + sizeof id),
              std::end(compatibility))
        << version;
  }
}

}  // namespace
