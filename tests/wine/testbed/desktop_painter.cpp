#include "wine/testbed/desktop_painter.h"

#include "forms/handles.h"

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
  // Let the window system put the painted window on the screen before a capture.
  MSG message;
  for (int i = 0; i < 20; ++i) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    ::Sleep(10);
  }
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
