// The dots per inch a window is shown at and what depends on them. The per-monitor functions came
// with Windows 8.1 and 10 and are looked up at run time; where a system lacks them, every window
// is shown at the screen's logical dpi (the dpi at sign-in), which is what is then asked.
#pragma once

#include <windows.h>

#include "forms/handles.h"

namespace forms {

// What WM_DPICHANGED and WM_GETDPISCALEDSIZE are, for headers that declare them only for Windows
// 7 and 10.
constexpr UINT kDpiChangedMessage = 0x02E0;
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The dpi of the monitor the window is on.
int WindowDpi(HWND window);
// The dpi of the primary monitor, for a window about to be made there.
int PrimaryMonitorDpi();

// The frame that a window of these styles has around its client area at dpi: the rectangle that
// AdjustWindowRectEx makes of an empty client rectangle at (0, 0), so left and top are not positive.
RECT WindowFrame(DWORD style, DWORD extendedStyle, int dpi);

// The system's default window font (DEFAULT_GUI_FONT), made for dpi.
Font WindowFontAt(int dpi);

}  // namespace forms
