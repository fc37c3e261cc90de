// A desktop with known colours for the saver to capture: a full-screen window of horizontal bands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testbed {

class DesktopPainter {
 public:
  // Bands of equal height, top to bottom, in these 0x00RRGGBB colours.
  explicit DesktopPainter(std::vector<std::uint32_t> bands);
  ~DesktopPainter();
  DesktopPainter(const DesktopPainter&) = delete;
  DesktopPainter& operator=(const DesktopPainter&) = delete;

  // The colour painted at this row.
  std::uint32_t ColourAt(int row) const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;
  std::vector<std::uint32_t> bands_;
  int height_;
  HWND window_ = nullptr;
};

}  // namespace testbed
