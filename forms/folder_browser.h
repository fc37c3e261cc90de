// The shell's folder browser and the message box that reports a system error, as the settings
// dialog uses them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace forms {

// Shows the browser, starting at the desktop, with title over its tree, and waits for it to
// close. Only folders on disk can be chosen. The folder's path as the system gives it (a drive
// root keeps its "\"); nothing when the user cancelled.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title);

// The system's description of error, in a message box with an OK button and caption.
void ShowSystemError(HWND owner, DWORD error, const std::wstring& caption);

}  // namespace forms
