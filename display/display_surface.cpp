#include "display/display_surface.h"

#include <algorithm>
#include <cstring>

DisplaySurface::DisplaySurface() : dc_(nullptr) { ForgetChanges(); }

DisplaySurface::~DisplaySurface() { Release(); }

void DisplaySurface::Release() {
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
  std::uint32_t value = colour.Blue | (colour.Green << 8) | (static_cast<std::uint32_t>(colour.Red) << 16);
  std::uint32_t* pixel = bits_ + static_cast<size_t>(fromRow) * width_ + column;
  for (std::int32_t row = fromRow; row <= toRow; ++row, pixel += width_) *pixel = value;
  changedLeft_ = std::min(changedLeft_, column);
  changedRight_ = std::max(changedRight_, column);
  changedTop_ = std::min(changedTop_, fromRow);
  changedBottom_ = std::max(changedBottom_, toRow);
}

void DisplaySurface::PresentChanges(HDC target, int left, int top) {
  if (!bits_ || changedLeft_ > changedRight_ || !target) return;
  ::BitBlt(target, left + changedLeft_, top + changedTop_, changedRight_ - changedLeft_ + 1,
           changedBottom_ - changedTop_ + 1, dc_.get(), changedLeft_, changedTop_, SRCCOPY);
  ForgetChanges();
}

void DisplaySurface::PresentAll(HDC target, int left, int top) {
  if (!bits_ || !target) return;
  ::BitBlt(target, left, top, width_, height_, dc_.get(), 0, 0, SRCCOPY);
  ForgetChanges();
}

std::uint32_t DisplaySurface::PixelAt(std::int32_t column, std::int32_t row) const {
  if (!bits_ || column < 0 || row < 0 || column >= width_ || row >= height_) return 0;
  ::GdiFlush();
  return bits_[static_cast<size_t>(row) * width_ + column];
}

void DisplaySurface::ForgetChanges() {
  changedLeft_ = changedTop_ = INT32_MAX;
  changedRight_ = changedBottom_ = -1;
}
