#include "wine/testbed/screen.h"

#include <algorithm>
#include <vector>

#include "forms/handles.h"

namespace testbed {

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (difference > tolerance || -difference > tolerance) return false;
  }
  return true;
}

ScreenShot Capture(int left, int top, int width, int height) {
  ScreenShot shot;
  if (width <= 0 || height <= 0) return shot;
  forms::WindowDC screen(nullptr);
  forms::MemoryDC memory(screen.get());
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  forms::Bitmap section(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return shot;
  {
    forms::SelectedObject selected(memory.get(), section.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY);
    ::GdiFlush();
  }
  shot.width = width;
  shot.height = height;
  const auto* source = static_cast<const std::uint32_t*>(bits);
  shot.pixels.assign(source, source + static_cast<size_t>(width) * height);
  for (auto& pixel : shot.pixels) pixel &= 0x00FFFFFF;
  return shot;
}

ScreenShot CaptureScreen() {
  return Capture(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

DWORD GdiFootprint() {
  const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (count) return count;
  // Wine hands out the most recently freed slot first and a new slot only when none is free: once
  // more objects are made than there are free slots, the highest slot they got counts those in use.
  std::vector<HBITMAP> probes(4096);
  DWORD highest = 0;
  for (HBITMAP& probe : probes) {
    probe = ::CreateBitmap(1, 1, 1, 32, nullptr);
    highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probe)));
  }
  for (HBITMAP probe : probes) ::DeleteObject(probe);
  return highest;
}

}  // namespace testbed
