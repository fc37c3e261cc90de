#include "forms/picture_orientation.h"

#include <algorithm>
#include <cstddef>

#include "forms/exif_orientation.h"
#include "forms/picture_header.h"

namespace forms {
namespace {

struct Point {
  std::int64_t x, y;
};

// Where upright pixel (x, y) lies in the stored picture: orientation 2 mirrors it left to right,
// 3 turns it half round, 4 mirrors it top to bottom, 5 mirrors it along the diagonal, 6 turns it a
// quarter clockwise, 7 mirrors it along the other diagonal, 8 turns it a quarter anticlockwise.
Point StoredPoint(std::uint16_t orientation, std::int64_t width, std::int64_t height, std::int64_t x, std::int64_t y) {
  switch (orientation) {
    case 2: return {width - 1 - x, y};
    case 3: return {width - 1 - x, height - 1 - y};
    case 4: return {x, height - 1 - y};
    case 5: return {y, x};
    case 6: return {y, height - 1 - x};
    case 7: return {width - 1 - y, height - 1 - x};
    case 8: return {width - 1 - y, x};
    default: return {x, y};
  }
}

}  // namespace

PixelRect UprightRect(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight) {
  if (SwapsSides(orientation)) return {0, 0, storedHeight, storedWidth};
  return {0, 0, storedWidth, storedHeight};
}

PixelRect StoredRect(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight,
                     const PixelRect& upright) {
  if (upright.Width <= 0 || upright.Height <= 0) return {};
  const Point first = StoredPoint(orientation, storedWidth, storedHeight, upright.Left, upright.Top);
  const Point last = StoredPoint(orientation, storedWidth, storedHeight, std::int64_t{upright.Left} + upright.Width - 1,
                                 std::int64_t{upright.Top} + upright.Height - 1);
  return {static_cast<std::int32_t>(std::min(first.x, last.x)), static_cast<std::int32_t>(std::min(first.y, last.y)),
          static_cast<std::int32_t>(std::max(first.x, last.x) - std::min(first.x, last.x) + 1),
          static_cast<std::int32_t>(std::max(first.y, last.y) - std::min(first.y, last.y) + 1)};
}

std::optional<StoredView> PlanView(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight,
                                   const PictureView& view) {
  const PixelRect upright = UprightRect(orientation, storedWidth, storedHeight);
  const PixelRect& part = view.Part;
  if (upright.Width <= 0 || upright.Height <= 0 || view.Width <= 0 || view.Height <= 0 || part.Width <= 0 ||
      part.Height <= 0 || part.Left < 0 || part.Top < 0 || part.Width > upright.Width - part.Left ||
      part.Height > upright.Height - part.Top) {
    return std::nullopt;
  }
  const bool whole = part.Width == upright.Width && part.Height == upright.Height;
  const bool scaled = view.Width != part.Width || view.Height != part.Height;
  if ((scaled && !whole) || !FitsDecodeBudget(static_cast<std::uint64_t>(view.Width), static_cast<std::uint64_t>(view.Height)))
    return std::nullopt;
  const bool swapped = SwapsSides(orientation);
  return StoredView{StoredRect(orientation, storedWidth, storedHeight, part), swapped ? view.Height : view.Width,
                    swapped ? view.Width : view.Height};
}

void OrientPixels(std::uint16_t orientation, const std::uint32_t* stored, std::int32_t storedWidth,
                  std::int32_t storedHeight, std::uint32_t* upright) {
  if (!stored || !upright || storedWidth <= 0 || storedHeight <= 0) return;
  const PixelRect size = UprightRect(orientation, storedWidth, storedHeight);
  // Every mapping is linear, so one step along an upright row and one down a column are fixed
  // strides through the stored pixels.
  auto index = [&](std::int64_t x, std::int64_t y) {
    const Point p = StoredPoint(orientation, storedWidth, storedHeight, x, y);
    return p.y * storedWidth + p.x;
  };
  const std::int64_t origin = index(0, 0);
  const std::int64_t stepX = size.Width > 1 ? index(1, 0) - origin : 0;
  const std::int64_t stepY = size.Height > 1 ? index(0, 1) - origin : 0;
  for (std::int32_t y = 0; y < size.Height; ++y) {
    const std::uint32_t* from = stored + (origin + stepY * y);
    std::uint32_t* to = upright + static_cast<std::ptrdiff_t>(y) * size.Width;
    for (std::int32_t x = 0; x < size.Width; ++x) to[x] = from[stepX * x];
  }
}

}  // namespace forms
