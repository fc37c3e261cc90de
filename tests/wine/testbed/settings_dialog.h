// The settings dialog of a running rubblit.scr /c, seen from outside: its windows, where its
// elements are on the screen, what they show, and the mouse used on them as a user would.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"

namespace testbed {

constexpr const wchar_t* kSettingsCaption = L"Rubblitの設定";

// A picture's pixels, 0x00RRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> values;
  bool operator==(const Pixels& other) const {
    return width == other.width && height == other.height && values == other.values;
  }
  bool operator!=(const Pixels& other) const { return !(*this == other); }
};

// A piece of a picture.
struct At {
  int left, top, width, height;
};
Pixels Crop(const Pixels& from, const At& at);

// The lines of a settings file in the order the dialog writes its keys; kinds holds the four
// ImageKind values as one digit each.
std::vector<std::wstring> SettingsLines(const std::wstring& changeOrder, const std::wstring& imageSize,
                                        const std::wstring& folder, const std::wstring& kinds,
                                        const std::wstring& speed);

// A skin picture as built into the program file (the resource ids of resources/resource_ids.h).
Pixels SkinPicture(const std::wstring& program, int resourceId);
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
  // The child windows, by class; the panels in creation order: Pic_C, Pic_1(0), Pic_1(1), Pic_K.
  std::vector<HWND> Panels() const;
  // Told apart by size before any preview has changed Pic_K's.
  DialogPanels FindPanels() const;
  HWND List() const;
  HWND SpeedBar() const;
  // The lines of List_1.
  std::vector<std::wstring> ListLines() const;

  // A rectangle given in a window's client pixels, on the screen.
  static RECT OnScreen(HWND window, int left, int top, int width, int height);
  static RECT OnScreen(HWND window, const At& at) { return OnScreen(window, at.left, at.top, at.width, at.height); }
  // A child window's rectangle in the client pixels of one of its ancestors.
  static RECT RelativeTo(HWND child, HWND ancestor);

 private:
  HWND window_ = nullptr;
};

// What a label of the dialog shows at `label` of a panel whose tile starts at its corner: the text
// in the dialog's 9.75-point font with DrawText's format over the tile, framed for a border label.
Pixels LabelOverTile(const Pixels& tile, const At& label, const std::wstring& text, UINT format, bool border);

}  // namespace testbed
