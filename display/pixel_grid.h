// The snapshot of the picture the animation takes its colours from.
#pragma once

#include <cstdint>
#include <vector>

// One pixel exactly as a 32-bit device-independent bitmap stores it.
struct PixelRecord {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Reserved = 0;
};
static_assert(sizeof(PixelRecord) == 4, "a record is one 32-bit pixel");

// Columns 0 .. width and rows 0 .. height, both inclusive: one spare column and one spare row
// beyond the picture. Row 0 stays black; row y holds the picture's row y - 1. An empty grid has
// width and height -1: no column and no row.
class PixelGrid {
 public:
  PixelGrid() = default;
  // All records zero. A negative size, or one too large to allocate, gives an empty grid.
  PixelGrid(std::int32_t width, std::int32_t height);
  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  bool Contains(std::int32_t column, std::int32_t row) const {
    return column >= 0 && row >= 0 && column <= width_ && row <= height_;
  }
  // Outside the grid: nullptr.
  const PixelRecord* At(std::int32_t column, std::int32_t row) const;
  PixelRecord* At(std::int32_t column, std::int32_t row);

 private:
  std::int32_t width_ = -1;
  std::int32_t height_ = -1;
  std::vector<PixelRecord> records_;
};
