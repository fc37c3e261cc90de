#include "wine/testbed/folder_browser.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shellapi.h>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/input.h"

namespace testbed {

namespace {

struct OwnedSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<OwnedSearch*>(parameter);
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (::GetWindow(window, GW_OWNER) == search->owner && ::lstrcmpW(name, L"#32770") == 0 &&
      ::IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
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
  RemoteMemory(HANDLE process, SIZE_T size)
      : process_(process), address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  void* get() const { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace

FolderBrowser::FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds) : processId_(processId) {
  PumpUntil([&] { return (window_ = Find(dialog)) != nullptr; }, milliseconds);
}

HWND FolderBrowser::Find(HWND dialog) {
  OwnedSearch search{dialog, nullptr};
  ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<std::wstring> FolderBrowser::Texts() const {
  std::vector<std::wstring> texts;
  if (window_) ::EnumChildWindows(window_, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool FolderBrowser::SendSelection(bool isPath, const void* bytes, SIZE_T size, const std::wstring& name) const {
  forms::KernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId_));
  if (!process || !window_) return false;
  RemoteMemory remote(process.get(), size);
  if (!remote.get() || !::WriteProcessMemory(process.get(), remote.get(), bytes, size, nullptr)) return false;
  // A browser just shown may still be filling its tree, which then forgets the selection.
  return PumpUntil(
      [&] {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window_, BFFM_SETSELECTIONW, isPath, reinterpret_cast<LPARAM>(remote.get()),
                              SMTO_NORMAL, 10000, &result);
        return SelectedName() == name;
      },
      20000);
}

std::wstring FolderBrowser::SelectedName() const {
  HWND tree = ::FindWindowExW(window_, nullptr, L"SysTreeView32", nullptr);
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  forms::KernelHandle process(
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId_));
  if (!tree || !item || !process) return std::wstring();
  struct Request {
    TVITEMW item;
    wchar_t text[MAX_PATH];
  };
  RemoteMemory remote(process.get(), sizeof(Request));
  if (!remote.get()) return std::wstring();
  Request request{};
  request.item.mask = TVIF_TEXT;
  request.item.hItem = item;
  request.item.pszText = static_cast<Request*>(remote.get())->text;
  request.item.cchTextMax = MAX_PATH;
  DWORD_PTR result = 0;
  if (!::WriteProcessMemory(process.get(), remote.get(), &request, sizeof request, nullptr) ||
      !::SendMessageTimeoutW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.get()), SMTO_NORMAL, 10000,
                             &result) ||
      !::ReadProcessMemory(process.get(), remote.get(), &request, sizeof request, nullptr)) {
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
  MoveMouseTo((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  Click(VK_LBUTTON);
}

bool ChooseFolderInBrowser(HWND dialog, DWORD processId, const RECT& folderButton, const std::wstring& folder) {
  MoveMouseTo((folderButton.left + folderButton.right) / 2, (folderButton.top + folderButton.bottom) / 2);
  Click(VK_LBUTTON);
  FolderBrowser browser(dialog, processId, 20000);
  if (!browser.window() || !browser.Select(folder)) return false;
  browser.Press(IDOK);
  return PumpUntil([&] { return FolderBrowser::Find(dialog) == nullptr; }, 20000);
}

}  // namespace testbed
