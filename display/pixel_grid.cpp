#include "display/pixel_grid.h"

#include <new>
#include <stdexcept>

PixelGrid::PixelGrid(std::int32_t width, std::int32_t height) {
  if (width < 0 || height < 0) return;
  const std::uint64_t count =
      (static_cast<std::uint64_t>(width) + 1) * (static_cast<std::uint64_t>(height) + 1);
  if (count > records_.max_size()) return;
  try {
    records_.assign(static_cast<std::size_t>(count), PixelRecord{});
  } catch (const std::bad_alloc&) {
    return;
  } catch (const std::length_error&) {
    return;
  }
  width_ = width;
  height_ = height;
}

const PixelRecord* PixelGrid::At(std::int32_t column, std::int32_t row) const {
  if (!Contains(column, row)) return nullptr;
  return &records_[static_cast<std::size_t>(row) * (static_cast<std::size_t>(width_) + 1) +
                   static_cast<std::size_t>(column)];
}

PixelRecord* PixelGrid::At(std::int32_t column, std::int32_t row) {
  return const_cast<PixelRecord*>(static_cast<const PixelGrid&>(*this).At(column, row));
}
