#include "display/read_pixels.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <new>

#include "forms/handles.h"

namespace {

// The header as the transfer wants it, with room for a colour table that 32-bit pixels do not use.
struct TransferInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

void ReadPixels(forms::PictureSurface& surface, PixelGrid& pixels) {
  HDC dc = surface.dc();
  BITMAP description{};
  if (!dc || ::GetObjectA(surface.bitmap(), sizeof description, &description) != sizeof description) return;
  const std::int32_t width = description.bmWidth;
  const std::int32_t height = description.bmHeight;
  const std::uint64_t count = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (width <= 0 || height <= 0 || count > 0x3FFFFFFF) return;

  TransferInfo info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 32;
  info.header.biCompression = BI_RGB;
  info.header.biSizeImage = static_cast<DWORD>(count * 4);

  // GetDIBits may read only a bitmap that no device context holds, so the surface lends its
  // context a placeholder meanwhile. The owners put the picture back and delete the placeholder
  // on every path, in that order.
  forms::Bitmap placeholder(::CreateDIBitmap(dc, &info.header, 0, nullptr,
                                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
  forms::SelectedObject swap(dc, placeholder.get());
  HBITMAP picture = static_cast<HBITMAP>(swap.previous());
  if (!picture) return;

  // A 32-bit BI_RGB pixel is stored as Blue, Green, Red, Reserved: exactly a PixelRecord. Without
  // the memory for it the snapshot stays black, as after a failed transfer.
  std::unique_ptr<PixelRecord[]> buffer(new (std::nothrow) PixelRecord[static_cast<size_t>(count)]);
  if (!buffer || ::GetDIBits(dc, picture, 0, static_cast<UINT>(height), buffer.get(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0)
    return;

  // The buffer holds the bottom row first: buffer row r is the picture's row height - 1 - r.
  for (std::int32_t r = 0; r < height; ++r) {
    const PixelRecord* source = buffer.get() + static_cast<size_t>(r) * static_cast<size_t>(width);
    for (std::int32_t c = 0; c < width; ++c) {
      PixelRecord* target = pixels.At(c, height - r);
      if (target) *target = source[c];
    }
  }
}
