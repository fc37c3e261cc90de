// Display, the visible surface of the saver: the animation's lines go into a persistent 32-bit
// back buffer, and each pass is presented to the window once, as one blit of what it changed.
// The buffer also repaints the window whenever the window system asks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/collapse_sweep.h"
#include "forms/handles.h"

class DisplaySurface : public LineSink {
 public:
  DisplaySurface();
  ~DisplaySurface() override;
  DisplaySurface(const DisplaySurface&) = delete;
  DisplaySurface& operator=(const DisplaySurface&) = delete;

  // Takes a new size and keeps the drawing where old and new overlap (from the top-left corner),
  // as a picture box that keeps its drawing does; new parts are black. False when the buffer
  // cannot be made; a size of 0 leaves an empty surface.
  bool Resize(std::int32_t width, std::int32_t height);
  // Everything black.
  void Clear();

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }

  // Clipped to the surface; both ends included.
  void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) override;

  // Copies the part changed since the last call to target, the surface's top-left corner at
  // (left, top) of target.
  void PresentChanges(HDC target, int left, int top);
  // Copies the whole surface.
  void PresentAll(HDC target, int left, int top);

  // The colour at a point, for tests; 0 outside.
  std::uint32_t PixelAt(std::int32_t column, std::int32_t row) const;

 private:
  void ForgetChanges();
  void Release();

  forms::MemoryDC dc_;
  forms::Bitmap bitmap_;
  HGDIOBJ original_ = nullptr;
  std::uint32_t* bits_ = nullptr;  // top row first
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  // The changed rectangle, empty when left > right.
  std::int32_t changedLeft_, changedTop_, changedRight_, changedBottom_;
};
