#include "forms/picture_surface.h"

#include <utility>

namespace forms {

PictureSurface::PictureSurface() : dc_(nullptr) {}

PictureSurface::~PictureSurface() { Deselect(); }

bool PictureSurface::Resize(std::int32_t width, std::int32_t height) {
  if (!dc_ || width <= 0 || height <= 0) return false;
  // A DIB section has 32 bits per pixel whatever the screen's depth, and starts zeroed: black.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row r starts at r * width
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap picture(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture || !bits) return false;
  HGDIOBJ previous = ::SelectObject(dc_.get(), picture.get());
  if (!previous || previous == HGDI_ERROR) return false;
  // The first selection hands back the context's own 1 x 1 bitmap, which must return before
  // the context goes; later ones hand back the old picture, deleted right after.
  if (!original_) original_ = previous;
  bitmap_ = std::move(picture);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void PictureSurface::Deselect() {
  if (dc_ && original_) ::SelectObject(dc_.get(), original_);
  original_ = nullptr;
}

}  // namespace forms
