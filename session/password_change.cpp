#include "session/password_change.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "forms/handles.h"
#include "common/number_text.h"
#include "common/platform.h"

void ChangeScreenSaverPassword(const std::wstring& windowHandleField) {
  if (IsNTPlatform()) return;
  std::optional<std::int32_t> handle = ConvertToLong(windowHandleField);
  if (!handle) return;
  // Loaded at run time: the NT family's mpr may not have the older platform's service at all.
  forms::Library mpr(L"mpr.dll");
  using ChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
  auto change = mpr.procedure<ChangePassword>("PwdChangePasswordA");
  if (!change) return;
  change("SCRSAVE", reinterpret_cast<HWND>(static_cast<INT_PTR>(*handle)), 0, 0);
}
