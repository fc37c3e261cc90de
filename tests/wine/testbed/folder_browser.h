// The shell's folder browser that the settings dialog opens, driven from the test's process: found
// by its owner, a folder selected in its tree through the browser's own selection message (the
// path handed over in the dialog process's memory), its buttons pressed with the mouse.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testbed {

class FolderBrowser {
 public:
  // Waits for a browser owned by the dialog window of process processId.
  FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds);
  // The open browser, if any, owned by dialog.
  static HWND Find(HWND dialog);

  HWND window() const { return window_; }
  // The texts of its controls, the title over the tree among them.
  std::vector<std::wstring> Texts() const;
  // Selects a folder on disk, or the computer, which is no folder on disk, and waits for its tree
  // to show it selected. False when that did not happen.
  bool Select(const std::wstring& folder) const;
  bool SelectComputer() const;
  // The text of the item selected in its tree.
  std::wstring SelectedName() const;
  // A click on its OK or Cancel button.
  void Press(int buttonId) const;

 private:
  bool SendSelection(bool isPath, const void* bytes, SIZE_T size, const std::wstring& name) const;
  HWND window_ = nullptr;
  DWORD processId_ = 0;
};

// Selects folder in the browser the click on the folder button opens and presses OK; false when no
// browser came or it did not take the folder.
bool ChooseFolderInBrowser(HWND dialog, DWORD processId, const RECT& folderButton, const std::wstring& folder);

}  // namespace testbed
