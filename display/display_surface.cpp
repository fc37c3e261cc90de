#include "display/display_surface.h"

#include <algorithm>
#include <cstring>
#include <new>

DisplaySurface::DisplaySurface() { ForgetChanges(); }

bool DisplaySurface::Resize(std::int32_t width, std::int32_t height) {
  if (width == this->width() && height == this->height()) return true;
  WriteStrip();
  if (width <= 0 || height <= 0) {
    buffer_.reset();
    ForgetChanges();
    return true;
  }
  std::unique_ptr<forms::PictureSurface> resized(new (std::nothrow) forms::PictureSurface);
  if (!resized || !resized->Resize(width, height)) return false;
  ::GdiFlush();
  if (buffer_) {
    std::int32_t keepWidth = std::min(width, buffer_->width()), keepHeight = std::min(height, buffer_->height());
    for (std::int32_t row = 0; row < keepHeight; ++row) {
      std::memcpy(resized->bits() + static_cast<size_t>(row) * width,
                  buffer_->bits() + static_cast<size_t>(row) * buffer_->width(), static_cast<size_t>(keepWidth) * 4);
    }
  }
  buffer_ = std::move(resized);
  ForgetChanges();
  return true;
}

void DisplaySurface::Clear() {
  if (!bits()) return;
  DropStrip();
  ::GdiFlush();
  std::memset(bits(), 0, static_cast<size_t>(width()) * height() * 4);
  changedLeft_ = 0;
  changedTop_ = 0;
  changedRight_ = width() - 1;
  changedBottom_ = height() - 1;
}

void DisplaySurface::DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) {
  if (!bits() || column < 0 || column >= width()) return;
  if (fromRow > toRow) std::swap(fromRow, toRow);
  fromRow = std::max(fromRow, 0);
  toRow = std::min(toRow, height() - 1);
  if (fromRow > toRow) return;
  const std::int32_t stripLeft = column - column % kStripColumns;
  PendingLine& line = strip_[static_cast<size_t>(column - stripLeft)];
  // A second line in the same column must land after the first.
  if (stripLeft != stripLeft_ || line.waiting()) {
    WriteStrip();
    stripLeft_ = stripLeft;
  }
  line.fromRow = fromRow;
  line.toRow = toRow;
  line.value = colour.Blue | (colour.Green << 8) | (static_cast<std::uint32_t>(colour.Red) << 16);
  stripWaiting_ = true;
  changedLeft_ = std::min(changedLeft_, column);
  changedRight_ = std::max(changedRight_, column);
  changedTop_ = std::min(changedTop_, fromRow);
  changedBottom_ = std::max(changedBottom_, toRow);
}

void DisplaySurface::WriteStrip() const {
  std::uint32_t* const base = bits();
  const std::int32_t stride = width();
  if (!stripWaiting_ || !base) return;
  stripWaiting_ = false;
  std::int32_t top = INT32_MAX, bottom = -1;
  for (const PendingLine& line : strip_) {
    if (!line.waiting()) continue;
    top = std::min(top, line.fromRow);
    bottom = std::max(bottom, line.toRow);
  }
  // Lines of different columns never overlap, so the order of the writes does not matter.
  const std::int32_t columns = std::min(kStripColumns, stride - stripLeft_);
  for (std::int32_t row = top; row <= bottom; ++row) {
    std::uint32_t* pixel = base + static_cast<size_t>(row) * stride + stripLeft_;
    for (std::int32_t k = 0; k < columns; ++k) {
      const PendingLine& line = strip_[static_cast<size_t>(k)];
      if (row >= line.fromRow && row <= line.toRow) pixel[k] = line.value;
    }
  }
  DropStrip();
}

void DisplaySurface::DropStrip() const {
  strip_.fill(PendingLine{});
  stripWaiting_ = false;
}

namespace {

// Wide enough for any window; GDI clips to the target anyway.
constexpr RECT kEverywhere{-(1 << 26), -(1 << 26), 1 << 26, 1 << 26};

}  // namespace

void DisplaySurface::PresentChanges(HDC target, int left, int top) { PresentChanges(target, left, top, kEverywhere); }

void DisplaySurface::PresentAll(HDC target, int left, int top) { PresentAll(target, left, top, kEverywhere); }

void DisplaySurface::PresentChanges(HDC target, int left, int top, const RECT& visible) {
  WriteStrip();
  if (!bits() || changedLeft_ > changedRight_ || !target) return;
  Present(target, left, top, visible, changedLeft_, changedTop_, changedRight_, changedBottom_);
  ForgetChanges();
}

void DisplaySurface::PresentAll(HDC target, int left, int top, const RECT& visible) {
  WriteStrip();
  if (!bits() || !target) return;
  Present(target, left, top, visible, 0, 0, width() - 1, height() - 1);
  ForgetChanges();
}

void DisplaySurface::Present(HDC target, int left, int top, const RECT& visible, std::int32_t fromX,
                             std::int32_t fromY, std::int32_t toX, std::int32_t toY) {
  fromX = std::max<std::int32_t>(fromX, visible.left - left);
  fromY = std::max<std::int32_t>(fromY, visible.top - top);
  toX = std::min<std::int32_t>(toX, visible.right - 1 - left);
  toY = std::min<std::int32_t>(toY, visible.bottom - 1 - top);
  if (fromX > toX || fromY > toY) return;
  ::BitBlt(target, left + fromX, top + fromY, toX - fromX + 1, toY - fromY + 1, buffer_->dc(), fromX, fromY, SRCCOPY);
}

std::uint32_t DisplaySurface::PixelAt(std::int32_t column, std::int32_t row) const {
  if (!bits() || column < 0 || row < 0 || column >= width() || row >= height()) return 0;
  WriteStrip();
  ::GdiFlush();
  return bits()[static_cast<size_t>(row) * width() + column];
}

void DisplaySurface::ForgetChanges() {
  changedLeft_ = changedTop_ = INT32_MAX;
  changedRight_ = changedBottom_ = -1;
}
