// A desktop with known colours for the saver to capture: a full-screen window of one colour per row.
#pragma once

#include <windows.h>

#include <cstdint>

namespace testbed {

class DesktopPainter {
 public:
  // Returns once the painted window is on the screen.
  DesktopPainter();
  ~DesktopPainter();
  DesktopPainter(const DesktopPainter&) = delete;
  DesktopPainter& operator=(const DesktopPainter&) = delete;

  // The 0x00RRGGBB colour painted at this row: no two rows alike and none black.
  static std::uint32_t ColourAt(int row);

 private:
  HWND window_;
};

}  // namespace testbed
