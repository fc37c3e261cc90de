// Display, the visible surface of the saver: the animation's lines go into a persistent 32-bit
// back buffer, and each pass is presented to the window once, as one blit of what it changed.
// The buffer also repaints the window whenever the window system asks.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "display/collapse_sweep.h"
#include "forms/picture_surface.h"

class DisplaySurface : public LineSink {
 public:
  DisplaySurface();
  DisplaySurface(const DisplaySurface&) = delete;
  DisplaySurface& operator=(const DisplaySurface&) = delete;

  // Takes a new size and keeps the drawing where old and new overlap (from the top-left corner),
  // as a picture box that keeps its drawing does; new parts are black. False when the buffer
  // cannot be made; a size of 0 leaves an empty surface.
  bool Resize(std::int32_t width, std::int32_t height);
  // Everything black.
  void Clear();

  std::int32_t width() const { return buffer_ ? buffer_->width() : 0; }
  std::int32_t height() const { return buffer_ ? buffer_->height() : 0; }

  // Clipped to the surface; both ends included. A line may reach the buffer only when the surface
  // is next presented, read, resized or drawn on outside its strip of columns.
  void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) override;

  // Copies the part changed since the last call to target, the surface's top-left corner at
  // (left, top) of target.
  void PresentChanges(HDC target, int left, int top);
  // Copies the whole surface.
  void PresentAll(HDC target, int left, int top);
  // The same, only what falls into visible, a rectangle of target: the surface's own monitor, when
  // a larger picture would reach into the next one.
  void PresentChanges(HDC target, int left, int top, const RECT& visible);
  void PresentAll(HDC target, int left, int top, const RECT& visible);

  // The colour at a point, for tests; 0 outside.
  std::uint32_t PixelAt(std::int32_t column, std::int32_t row) const;

 private:
  // Lines wait in a strip of columns as wide as a cache line and go into the buffer row by row
  // when the drawing leaves the strip. Written column by column, every pixel of a tall line would
  // fall into a cache line of its own, and a full-HD pass would cost most of its frame.
  static constexpr std::int32_t kStripColumns = 16;
  struct PendingLine {
    std::int32_t fromRow = 0, toRow = -1;  // none waiting when fromRow > toRow
    std::uint32_t value = 0;
    bool waiting() const { return fromRow <= toRow; }
  };
  void WriteStrip() const;
  void DropStrip() const;

  void ForgetChanges();
  // Copies the surface's rectangle [fromX, toX] x [fromY, toY] (inclusive) to target, cut to visible.
  void Present(HDC target, int left, int top, const RECT& visible, std::int32_t fromX, std::int32_t fromY,
               std::int32_t toX, std::int32_t toY);
  std::uint32_t* bits() const { return buffer_ ? buffer_->bits() : nullptr; }

  std::unique_ptr<forms::PictureSurface> buffer_;  // none while the surface is empty
  mutable std::array<PendingLine, kStripColumns> strip_;
  mutable std::int32_t stripLeft_ = 0;
  mutable bool stripWaiting_ = false;
  // The changed rectangle, empty when left > right.
  std::int32_t changedLeft_, changedTop_, changedRight_, changedBottom_;
};
