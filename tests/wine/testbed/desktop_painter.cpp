#include "wine/testbed/desktop_painter.h"

#include <vector>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"

namespace testbed {

DesktopPainter::DesktopPainter() {
  // No background brush: a repaint leaves the rows as they were painted.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"RubblitTestDesktop";
  ::RegisterClassW(&windowClass);
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  window_ = ::CreateWindowExW(0, L"RubblitTestDesktop", L"desktop", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
  forms::WindowDC dc(window_);
  for (int row = 0; row < height; ++row) {
    const std::uint32_t colour = ColourAt(row);
    forms::Brush brush(::CreateSolidBrush(RGB(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF)));
    RECT line{0, row, width, row + 1};
    ::FillRect(dc.get(), &line, brush.get());
  }
  // A capture sees the desktop only once the window system has put the painted window on the screen.
  PumpUntil(
      [&] {
        for (int row = 0; row < height; row += height / 8 + 1) {
          if (Capture(width / 2, row, 1, 1).pixels != std::vector<std::uint32_t>{ColourAt(row)}) return false;
        }
        return true;
      },
      20000);
}

DesktopPainter::~DesktopPainter() {
  if (window_) ::DestroyWindow(window_);
}

std::uint32_t DesktopPainter::ColourAt(int row) {
  return Rgb(row & 0xFF, 0x40 + (row >> 8) * 0x30, 0xFF - (row & 0xFF));
}

}  // namespace testbed
