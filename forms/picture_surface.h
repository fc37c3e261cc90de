// A picture box that keeps its picture: a 32-bit bitmap stays selected into the surface's own
// memory device context, so that whatever is blitted or drawn into it persists and can be read
// back or blitted out again. Master and Pic_Orgn are such surfaces.
#pragma once

#include <windows.h>

#include <cstdint>

#include "forms/handles.h"

namespace forms {

class PictureSurface {
 public:
  PictureSurface();
  ~PictureSurface();
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;

  // Replaces the picture with a new black one of width x height pixels. When the size is not
  // positive or the bitmap cannot be made, returns false and keeps the old picture.
  bool Resize(std::int32_t width, std::int32_t height);

  // The device context that holds the picture; nullptr only when none could be made.
  HDC dc() const { return dc_.get(); }
  // The persistent picture; nullptr before the first successful Resize.
  HBITMAP bitmap() const { return bitmap_.get(); }
  // Its pixels, 0x00RRGGBB, top row first, width() to a row; call GdiFlush before touching them
  // after GDI drew. nullptr before the first successful Resize.
  std::uint32_t* bits() const { return bits_; }
  // The inner size (scale width and height), which is the bitmap's size in pixels.
  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }

 private:
  // Puts the context's original bitmap back so that the picture may be deleted.
  void Deselect();

  MemoryDC dc_;
  Bitmap bitmap_;
  HGDIOBJ original_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace forms
