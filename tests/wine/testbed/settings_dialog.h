// The settings dialog of a running rubblit.scr /c, seen from outside: its windows, where its
// elements are on the screen, and what they show.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"

namespace testbed {

// A picture's pixels, 0x00RRGGBB, top row first.
using Pixels = std::vector<std::uint32_t>;

// A piece of a picture or of a window.
struct At {
  int left, top, width, height;
};

// The lines of a settings file in the order the dialog writes its keys; kinds holds the four
// ImageKind values as one digit each.
std::vector<std::wstring> SettingsLines(const std::wstring& changeOrder, const std::wstring& imageSize,
                                        const std::wstring& folder, const std::wstring& kinds,
                                        const std::wstring& speed);

// A skin picture as built into the program file (the resource ids of resources/resource_ids.h), or
// a piece of it.
Pixels SkinPicture(const std::wstring& program, int resourceId, std::optional<At> piece = {});
// The screen's pixels under a rectangle.
Pixels ScreenPixels(const RECT& rect);

// The dialog's three panels with elements and Pic_K.
struct DialogPanels {
  HWND picC = nullptr, left = nullptr, right = nullptr, picK = nullptr;
};

class SettingsDialog {
 public:
  // Waits for the dialog of process to be shown and painted (its panels textured); window() is
  // nullptr when that did not happen in time.
  explicit SettingsDialog(const SaverProcess& process, DWORD milliseconds = 15000);

  HWND window() const { return window_; }
  DialogPanels FindPanels() const;
  HWND List() const;
  HWND SpeedBar() const;
  // The lines of List_1.
  std::vector<std::wstring> ListLines() const;

  // A rectangle given in a window's client pixels, on the screen.
  static RECT OnScreen(HWND window, const At& at);
  // A child window's rectangle in the client pixels of one of its ancestors.
  static RECT RelativeTo(HWND child, HWND ancestor);

 private:
  HWND window_ = nullptr;
};

// What a label of the dialog shows at `label` of a panel whose tile (the skin picture) starts at its
// corner: the text over the tile, drawn as the dialog draws a label with these flags of
// dialog/layout.h.
Pixels LabelOverTile(const Pixels& tile, const At& label, const std::wstring& text, unsigned flags);

}  // namespace testbed
