#include "forms/folder_browser.h"

#include <shlobj.h>

#include <memory>

#include "forms/handles.h"

namespace forms {

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title) {
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.pszDisplayName = displayName;
  request.lpszTitle = title.c_str();
  // OK is unavailable on a library or the computer, which are no folder on disk and would give no
  // path; the user sees that rather than an OK that does nothing.
  request.ulFlags = BIF_RETURNONLYFSDIRS;
  ItemIdList chosen(::SHBrowseForFolderW(&request));
  if (!chosen.get()) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(chosen.get(), path) || path[0] == L'\0') return std::nullopt;
  return std::wstring(path);
}

void ShowSystemError(HWND owner, DWORD error, const std::wstring& caption) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(buffer, &::LocalFree);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace forms
