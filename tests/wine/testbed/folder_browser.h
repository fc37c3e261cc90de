// The shell's folder browser that the settings dialog opens, driven from the test's process: found
// by its owner, an item selected in its tree through the browser's own selection message (what it
// names handed over in the dialog process's memory), its buttons clicked.
#pragma once

#include <windows.h>

#include <string>

namespace testbed {

class FolderBrowser {
 public:
  // Waits for a browser owned by the dialog window of process processId.
  FolderBrowser(HWND dialog, DWORD processId, DWORD milliseconds);
  // The open browser, if any, that dialog owns.
  static HWND Find(HWND dialog);

  HWND window() const { return window_; }
  // Selects a folder on disk, or the computer, which is none, and waits until its tree shows the
  // selection. False when that did not happen.
  bool Select(const std::wstring& folder) const;
  bool SelectComputer() const;
  // A click on the button IDOK or IDCANCEL.
  void Press(int buttonId) const;

 private:
  bool SendSelection(const std::wstring& path, const std::wstring& shownAs) const;
  std::wstring SelectedName() const;
  HWND window_ = nullptr;
  DWORD processId_ = 0;
};

}  // namespace testbed
