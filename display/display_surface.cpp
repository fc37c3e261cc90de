#include "display/display_surface.h"

#include <algorithm>
#include <cstring>

DisplaySurface::DisplaySurface() : dc_(nullptr) { ForgetChanges(); }

DisplaySurface::~DisplaySurface() { Release(); }

void DisplaySurface::Release() {
  DropStrip();
  if (dc_ && original_) ::SelectObject(dc_.get(), original_);
  original_ = nullptr;
  bitmap_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool DisplaySurface::Resize(std::int32_t width, std::int32_t height) {
  if (width == width_ && height == height_) return true;
  if (width <= 0 || height <= 0) {
    Release();
    ForgetChanges();
    return true;
  }
  if (!dc_) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row r starts at r * width
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  forms::Bitmap bitmap(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return false;
  WriteStrip();
  auto* newBits = static_cast<std::uint32_t*>(bits);
  std::memset(newBits, 0, static_cast<size_t>(width) * height * 4);
  ::GdiFlush();
  if (bits_) {
    std::int32_t keepWidth = std::min(width, width_), keepHeight = std::min(height, height_);
    for (std::int32_t row = 0; row < keepHeight; ++row) {
      std::memcpy(newBits + static_cast<size_t>(row) * width, bits_ + static_cast<size_t>(row) * width_,
                  static_cast<size_t>(keepWidth) * 4);
    }
  }
  HGDIOBJ previous = ::SelectObject(dc_.get(), bitmap.get());
  if (!original_) original_ = previous;
  bitmap_ = std::move(bitmap);  // the old bitmap was just deselected, so it may go
  bits_ = newBits;
  width_ = width;
  height_ = height;
  ForgetChanges();
  return true;
}

void DisplaySurface::Clear() {
  if (!bits_) return;
  DropStrip();
  ::GdiFlush();
  std::memset(bits_, 0, static_cast<size_t>(width_) * height_ * 4);
  changedLeft_ = 0;
  changedTop_ = 0;
  changedRight_ = width_ - 1;
  changedBottom_ = height_ - 1;
}

void DisplaySurface::DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) {
  if (!bits_ || column < 0 || column >= width_) return;
  if (fromRow > toRow) std::swap(fromRow, toRow);
  fromRow = std::max(fromRow, 0);
  toRow = std::min(toRow, height_ - 1);
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
  if (!stripWaiting_) return;
  stripWaiting_ = false;
  std::int32_t top = INT32_MAX, bottom = -1;
  for (const PendingLine& line : strip_) {
    if (!line.waiting()) continue;
    top = std::min(top, line.fromRow);
    bottom = std::max(bottom, line.toRow);
  }
  // Lines of different columns never overlap, so the order of the writes does not matter.
  const std::int32_t columns = std::min(kStripColumns, width_ - stripLeft_);
  for (std::int32_t row = top; row <= bottom; ++row) {
    std::uint32_t* pixel = bits_ + static_cast<size_t>(row) * width_ + stripLeft_;
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

void DisplaySurface::PresentChanges(HDC target, int left, int top) {
  WriteStrip();
  if (!bits_ || changedLeft_ > changedRight_ || !target) return;
  ::BitBlt(target, left + changedLeft_, top + changedTop_, changedRight_ - changedLeft_ + 1,
           changedBottom_ - changedTop_ + 1, dc_.get(), changedLeft_, changedTop_, SRCCOPY);
  ForgetChanges();
}

void DisplaySurface::PresentAll(HDC target, int left, int top) {
  WriteStrip();
  if (!bits_ || !target) return;
  ::BitBlt(target, left, top, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  ForgetChanges();
}

std::uint32_t DisplaySurface::PixelAt(std::int32_t column, std::int32_t row) const {
  if (!bits_ || column < 0 || row < 0 || column >= width_ || row >= height_) return 0;
  WriteStrip();
  ::GdiFlush();
  return bits_[static_cast<size_t>(row) * width_ + column];
}

void DisplaySurface::ForgetChanges() {
  changedLeft_ = changedTop_ = INT32_MAX;
  changedRight_ = changedBottom_ = -1;
}
