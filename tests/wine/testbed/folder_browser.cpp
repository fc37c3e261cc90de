#include "wine/testbed/folder_browser.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"
#include "wine/testbed/settings_dialog.h"

namespace testbed {

namespace {

BOOL CALLBACK FindOwned(HWND window, LPARAM parameter) {
  auto* owner = reinterpret_cast<HWND*>(parameter);
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (::GetWindow(window, GW_OWNER) != owner[0] || ::lstrcmpW(name, L"#32770") || !::IsWindowVisible(window)) return TRUE;
  owner[1] = window;
  return FALSE;
}

BOOL CALLBACK CollectText(HWND window, LPARAM parameter) {
  // Another process's control gives its text only when asked with the message.
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
  reinterpret_cast<std::vector<std::wstring>*>(parameter)->push_back(text);
  return TRUE;
}

// Memory in another process, freed when it goes.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, SIZE_T size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
        address_(process_ ? ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  void* get() const { return address_; }
  bool Write(const void* bytes, SIZE_T size) const {
    return address_ && ::WriteProcessMemory(process_.get(), address_, bytes, size, nullptr);
  }
  bool Read(void* into, SIZE_T size) const {
    return address_ && ::ReadProcessMemory(process_.get(), address_, into, size, nullptr);
  }

 private:
  forms::KernelHandle process_;
  void* address_;
};

}  // namespace

FolderBrowser::FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds) : processId_(processId) {
  PumpUntil([&] { return (window_ = Find(dialog)) != nullptr; }, milliseconds);
}

HWND FolderBrowser::Find(HWND dialog) {
  HWND search[2] = {dialog, nullptr};
  ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(search));
  return search[1];
}

std::vector<std::wstring> FolderBrowser::Texts() const {
  std::vector<std::wstring> texts;
  if (window_) ::EnumChildWindows(window_, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool FolderBrowser::SendSelection(bool isPath, const void* bytes, SIZE_T size, const std::wstring& shownAs) const {
  RemoteMemory remote(processId_, size);
  // A browser just shown may still be filling its tree, which then forgets the selection.
  return remote.Write(bytes, size) && PumpUntil(
                             [&] {
                               DWORD_PTR result = 0;
                               ::SendMessageTimeoutW(window_, BFFM_SETSELECTIONW, isPath,
                                                     reinterpret_cast<LPARAM>(remote.get()), SMTO_NORMAL, 10000,
                                                     &result);
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
  return SendSelection(true, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t),
                       folder.substr(folder.find_last_of(L'\\') + 1));
}

bool FolderBrowser::SelectComputer() const {
  LPITEMIDLIST computer = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) return false;
  forms::ItemIdList owned(computer);
  SHFILEINFOW information{};
  ::SHGetFileInfoW(reinterpret_cast<const wchar_t*>(computer), 0, &information, sizeof information,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
  return SendSelection(false, computer, ::ILGetSize(computer), information.szDisplayName);
}

void FolderBrowser::Press(int buttonId) const {
  RECT button{};
  ::GetWindowRect(::GetDlgItem(window_, buttonId), &button);
  ClickAt(button);
}

bool ChooseFolderInBrowser(HWND dialog, DWORD processId, const RECT& folderButton, const std::wstring& folder) {
  ClickAt(folderButton);
  FolderBrowser browser(dialog, processId, 20000);
  if (!browser.window() || !browser.Select(folder)) return false;
  browser.Press(IDOK);
  return PumpUntil([&] { return FolderBrowser::Find(dialog) == nullptr; }, 20000);
}

}  // namespace testbed
