#include "wine/testbed/folder_browser.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/remote_memory.h"

namespace testbed {

FolderBrowser::FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds) : processId_(processId) {
  PumpUntil([&] { return (window_ = Find(dialog)) != nullptr; }, milliseconds);
}

HWND FolderBrowser::Find(HWND dialog) {
  for (HWND window = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); window;
       window = ::FindWindowExW(nullptr, window, L"#32770", nullptr)) {
    if (::GetWindow(window, GW_OWNER) == dialog && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool FolderBrowser::SendSelection(const std::wstring& path, const std::wstring& shownAs) const {
  const SIZE_T size = (path.size() + 1) * sizeof(wchar_t);
  RemoteMemory remote(processId_, size);
  // A browser just shown may still be filling its tree, which then forgets the selection.
  return remote.Write(path.c_str(), size) &&
         PumpUntil(
             [&] {
               DWORD_PTR result = 0;
               ::SendMessageTimeoutW(window_, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.get()),
                                     SMTO_NORMAL, 10000, &result);
               return SelectedName() == shownAs;
             },
             20000);
}

std::wstring FolderBrowser::SelectedName() const {
  HWND tree = ::FindWindowExW(window_, nullptr, L"SysTreeView32", nullptr);
  struct Request {
    TVITEMW item;
    wchar_t text[MAX_PATH];
  } request{};
  request.item.mask = TVIF_TEXT;
  request.item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  request.item.cchTextMax = MAX_PATH;
  RemoteMemory remote(processId_, sizeof request);
  request.item.pszText = static_cast<Request*>(remote.get())->text;
  DWORD_PTR result = 0;
  if (!request.item.hItem || !remote.Write(&request, sizeof request) ||
      !::SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.get()), SMTO_NORMAL, 10000,
                             &result) ||
      !remote.Read(&request, sizeof request)) {
    return std::wstring();
  }
  request.text[MAX_PATH - 1] = L'\0';
  return request.text;
}

bool FolderBrowser::Select(const std::wstring& folder) const {
  return SendSelection(folder, folder.substr(folder.find_last_of(L'\\') + 1));
}

bool FolderBrowser::SelectComputer() const {
  // Its parsing name, which names no folder on disk.
  const wchar_t* computer = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
  SHFILEINFOW information{};
  ::SHGetFileInfoW(computer, 0, &information, sizeof information, SHGFI_DISPLAYNAME);
  return SendSelection(computer, information.szDisplayName);
}

void FolderBrowser::Press(int buttonId) const {
  RECT button{};
  ::GetWindowRect(::GetDlgItem(window_, buttonId), &button);
  ClickAt(button);
}

}  // namespace testbed
