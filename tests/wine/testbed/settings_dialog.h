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

// A skin picture as built into the program file (the resource ids of resources/resource_ids.h).
Pixels SkinPicture(const std::wstring& program, int resourceId);
// The screen's pixels under a rectangle.
Pixels ScreenPixels(const RECT& rect);

class SettingsDialog {
 public:
  // Waits for the dialog of process to be shown and painted (its panels textured); window() is
  // nullptr when that did not happen in time.
  explicit SettingsDialog(const SaverProcess& process, DWORD milliseconds = 15000);

  HWND window() const { return window_; }
  // The child windows, by class; the panels in creation order: Pic_C, Pic_1(0), Pic_1(1), Pic_K.
  std::vector<HWND> Panels() const;
  HWND List() const;
  HWND SpeedBar() const;

  // A rectangle given in a window's client pixels, on the screen.
  static RECT OnScreen(HWND window, int left, int top, int width, int height);

 private:
  HWND window_ = nullptr;
};

}  // namespace testbed
