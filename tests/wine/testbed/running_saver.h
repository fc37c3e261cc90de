// rubblit.scr running as the system runs it, from a folder of its own with a settings file made
// for the test, and the settings file itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wine/testbed/saver_process.h"
#include "wine/testbed/temp_folder.h"

namespace testbed {

struct SaverSettings {
  int speed = 20;
  int imageSize = 1;  // 0 own size, 1 full screen
  int changeOrder = 0;
  std::wstring folder;  // none when empty
};

// Rubblit.ini bytes: the lines of section "Section", written in Shift_JIS with CRLF line ends.
std::string SettingsFileBytes(const std::vector<std::wstring>& lines);

class RunningSaver {
 public:
  // Starts the saver with this argument string; prepare may put more files beside it first.
  explicit RunningSaver(const SaverSettings& settings, const std::wstring& argumentString = L"/s",
                        const std::function<void(const TempFolder&)>& prepare = {});

  // Waits until the window is visible, in front and shows one of these colours a little below
  // the middle of the screen, then until the saver has taken every input that came with its appearance.
  bool WaitUntilShowing(const std::vector<std::uint32_t>& colours, DWORD milliseconds = 20000) const;
  bool EndsWithin(DWORD milliseconds) const { return process.WaitForExit(milliseconds); }
  // Whether the saver has handled the input sent before this call and still runs. Each of a few
  // message round trips to its thread is answered only between two messages it takes in turn; a
  // session that ends hides its window before its process goes.
  bool HandlesInputAndGoesOn() const;

  TempFolder folder;
  SaverProcess process;
  HWND window;
};

}  // namespace testbed
