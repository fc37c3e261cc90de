// The shell's folder browser that the settings dialog opens, driven from the test's process: found
// by its owner, an item selected in its tree through the browser's own selection message (what it
// names handed over in the dialog process's memory), its buttons clicked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testbed {

class FolderBrowser {
 public:
  // Waits for a browser owned by the dialog window of process processId.
  FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds);
  // The open browser, if any, that dialog owns.
  static HWND Find(HWND dialog);

  HWND window() const { return window_; }
  // The texts of its controls, the title over the tree among them.
  std::vector<std::wstring> Texts() const;
  // Selects a folder on disk, or the computer, which is none, and waits until its tree shows the
  // selection. False when that did not happen.
  bool Select(const std::wstring& folder) const;
  bool SelectComputer() const;
  // A click on the button IDOK or IDCANCEL.
  void Press(int buttonId) const;

 private:
  bool SendSelection(bool isPath, const void* bytes, SIZE_T size, const std::wstring& shownAs) const;
  std::wstring SelectedName() const;
  HWND window_ = nullptr;
  DWORD processId_ = 0;
};

// A click on the folder button, the folder selected, OK; true when the browser took the folder and
// went.
bool ChooseFolderInBrowser(HWND dialog, DWORD processId, const RECT& folderButton, const std::wstring& folder);

}  // namespace testbed
