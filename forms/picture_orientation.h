// Standing a stored picture upright by its Exif orientation (1 to 8): which stored pixels a part
// of the upright picture comes from, and the pixels themselves turned or mirrored.
#pragma once

#include <cstdint>
#include <optional>

namespace forms {

struct PixelRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// The upright picture's width and height (swapped for the quarter turns 5 to 8).
PixelRect UprightRect(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight);

// The rectangle of a storedWidth x storedHeight picture that holds rectangle upright of the
// upright picture; turning that block alone gives exactly the upright rectangle.
PixelRect StoredRect(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight,
                     const PixelRect& upright);

// Writes the upright form of a block of storedWidth x storedHeight pixels (rows top first, no
// padding) to upright, which has room for as many. An orientation outside 1 to 8 copies as stored.
void OrientPixels(std::uint16_t orientation, const std::uint32_t* stored, std::int32_t storedWidth,
                  std::int32_t storedHeight, std::uint32_t* upright);

// What the display wants of a picture: a part of the upright picture, delivered at a size. Either
// the whole picture at any size, or a part at its own size.
struct PictureView {
  PixelRect Part;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// The same view in the stored picture's terms: the stored block to take, and the size to scale it
// to before it is turned upright.
struct StoredView {
  PixelRect Part;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool Scaled() const { return Width != Part.Width || Height != Part.Height; }
};

// Nothing for a view that is empty, reaches outside the picture, scales only a part of it, or
// would take more memory than a decoded picture may.
std::optional<StoredView> PlanView(std::uint16_t orientation, std::int32_t storedWidth, std::int32_t storedHeight,
                                   const PictureView& view);

}  // namespace forms
