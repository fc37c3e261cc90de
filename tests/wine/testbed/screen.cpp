#include "wine/testbed/screen.h"

#include "forms/handles.h"

namespace testbed {

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
  HBITMAP probe = ::CreateBitmap(1, 1, 1, 32, nullptr);
  const DWORD slot = LOWORD(reinterpret_cast<UINT_PTR>(probe));
  ::DeleteObject(probe);
  return slot;
}

}  // namespace testbed
