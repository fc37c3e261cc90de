#include "forms/dpi.h"

namespace forms {

namespace {

constexpr int kDefaultDpi = 96;

int ScreenDpi() {
  WindowDC screen(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDefaultDpi;
}

int MonitorDpi(HMONITOR monitor) {
  // MDT_EFFECTIVE_DPI, the one that scales a user interface.
  using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  Library shellScaling(L"shcore.dll");
  const auto query = shellScaling.procedure<GetDpiForMonitor>("GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (monitor && query && SUCCEEDED(query(monitor, 0, &x, &y)) && y > 0) return static_cast<int>(y);
  return ScreenDpi();
}

template <typename Function>
Function User32Procedure(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpiForWindow = UINT(WINAPI*)(HWND);
  if (const auto query = User32Procedure<GetDpiForWindow>("GetDpiForWindow")) {
    const UINT dpi = window ? query(window) : 0;
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return MonitorDpi(window ? ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST) : nullptr);
}

int PrimaryMonitorDpi() { return MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY)); }

RECT WindowFrame(DWORD style, DWORD extendedStyle, int dpi) {
  RECT frame{0, 0, 0, 0};
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = User32Procedure<AdjustForDpi>("AdjustWindowRectExForDpi");
  if (adjust && adjust(&frame, style, FALSE, extendedStyle, static_cast<UINT>(dpi))) return frame;
  // Without it the system draws every frame at the screen's dpi, which is what this measures.
  frame = RECT{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  return frame;
}

Font WindowFontAt(int dpi) {
  LOGFONTW font{};
  if (!::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) return Font(nullptr);
  // The stock font was made for the screen's dpi.
  font.lfHeight = ::MulDiv(font.lfHeight, dpi, ScreenDpi());
  return Font(::CreateFontIndirectW(&font));
}

}  // namespace forms
