// What is on the screen, read back the way a user would see it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testbed {

struct ScreenShot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // top row first, 0x00RRGGBB
  std::uint32_t At(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }
};

// The rectangle of the screen as pixels.
ScreenShot Capture(int left, int top, int width, int height);
ScreenShot CaptureScreen();

// A figure that grows when a GDI object leaks: the count of objects in use where the system keeps
// it, and under Wine, which reports 0, that count as the handle slots show it.
DWORD GdiFootprint();

inline std::uint32_t Rgb(int r, int g, int b) { return (static_cast<std::uint32_t>(r) << 16) | (g << 8) | b; }
inline std::uint32_t Rgb(COLORREF c) { return Rgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline std::uint32_t PixelOf(HDC dc, int x, int y) { return Rgb(::GetPixel(dc, x, y)); }
inline std::uint32_t SystemColour(int index) { return Rgb(::GetSysColor(index)); }

// Whether two colours differ by at most tolerance in each of red, green and blue: JPEG and
// scaling blur colours a little, and the tests' colours lie far apart.
bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 40);

}  // namespace testbed
