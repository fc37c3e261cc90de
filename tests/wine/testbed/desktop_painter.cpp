#include "wine/testbed/desktop_painter.h"

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/screen.h"

namespace testbed {

namespace {
const wchar_t kClassName[] = L"RubblitTestDesktop";
}

DesktopPainter::DesktopPainter(std::vector<std::uint32_t> bands)
    : bands_(std::move(bands)), height_(::GetSystemMetrics(SM_CYSCREEN)) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &DesktopPainter::Procedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  ::RegisterClassW(&windowClass);
  window_ = ::CreateWindowExW(0, kClassName, L"desktop", WS_POPUP, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), height_,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::ShowWindow(window_, SW_SHOW);
  ::UpdateWindow(window_);
  forms::WindowDC dc(window_);
  Paint(dc.get());
  ::GdiFlush();
  // A capture sees the desktop only once the window system has put the painted window on the screen.
  PumpUntil(
      [this] {
        for (int row = 0; row < height_; row += height_ / 8 + 1) {
          const ScreenShot probe = Capture(::GetSystemMetrics(SM_CXSCREEN) / 2, row, 1, 1);
          if (probe.pixels.empty() || probe.At(0, 0) != ColourAt(row)) return false;
        }
        return true;
      },
      20000);
}

DesktopPainter::~DesktopPainter() {
  if (window_) ::DestroyWindow(window_);
}

std::uint32_t DesktopPainter::ColourAt(int row) const {
  int band = row * static_cast<int>(bands_.size()) / height_;
  return bands_.at(band < 0 ? 0 : (band >= static_cast<int>(bands_.size()) ? bands_.size() - 1 : band));
}

void DesktopPainter::Paint(HDC dc) const {
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  for (int row = 0; row < height_;) {
    std::uint32_t colour = ColourAt(row);
    int end = row;
    while (end < height_ && ColourAt(end) == colour) ++end;
    forms::Brush brush(::CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)));
    RECT band{0, row, width, end};
    ::FillRect(dc, &band, brush.get());
    row = end;
  }
}

LRESULT CALLBACK DesktopPainter::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    auto* self = reinterpret_cast<DesktopPainter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (self) self->Paint(dc);
    ::EndPaint(window, &paint);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace testbed
