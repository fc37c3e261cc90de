#include "display/picture_scaling.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Blit sizes are whole pixels; halves go to the even neighbour.
std::int32_t ToPixels(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

std::int32_t HalfDifference(std::int32_t original, std::int32_t shown) {
  return static_cast<std::int32_t>((std::int64_t{original} - shown) / 2);
}

}  // namespace

PictureSize FullScreenSize(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int16_t screenWidthPx,
                           std::int16_t screenHeightPx) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {};
  const double w = pictureWidth;
  const double h = pictureHeight;
  if (pictureWidth > pictureHeight) return {screenWidthPx, ToPixels(h * screenWidthPx / w)};
  return {ToPixels(w * screenHeightPx / h), screenHeightPx};
}

PictureCrop ActualSizeCrop(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int16_t screenWidthPx,
                           std::int16_t screenHeightPx) {
  const std::int32_t width = std::min<std::int32_t>(pictureWidth, screenWidthPx);
  const std::int32_t height = std::min<std::int32_t>(pictureHeight, screenHeightPx);
  return {width, height, HalfDifference(pictureWidth, width), HalfDifference(pictureHeight, height)};
}

forms::PictureView ShownView(std::int32_t pictureWidth, std::int32_t pictureHeight, bool fullScreen,
                             std::int16_t screenWidthPx, std::int16_t screenHeightPx) {
  if (fullScreen) {
    const PictureSize shown = FullScreenSize(pictureWidth, pictureHeight, screenWidthPx, screenHeightPx);
    return {{0, 0, pictureWidth, pictureHeight}, shown.Width, shown.Height};
  }
  const PictureCrop crop = ActualSizeCrop(pictureWidth, pictureHeight, screenWidthPx, screenHeightPx);
  return {{crop.SourceLeft, crop.SourceTop, crop.Width, crop.Height}, crop.Width, crop.Height};
}

std::int16_t AdvanceImageIndex(std::int16_t imageIndex) {
  return imageIndex < std::numeric_limits<std::int16_t>::max() ? static_cast<std::int16_t>(imageIndex + 1)
                                                               : imageIndex;
}

bool FinishImageIndex(std::int16_t& imageIndex, std::int16_t imageCount) {
  // Past the end counts as the end, so that the walk always comes back to the start of the order.
  if (imageIndex < imageCount) return false;
  imageIndex = 0;
  return imageCount > 1;
}

const std::wstring* PictureFileAt(const std::vector<std::int16_t>& showOrder, const ImageList& images,
                                  std::int16_t imageIndex) {
  if (imageIndex < 1 || imageIndex > images.ImageCount || static_cast<std::size_t>(imageIndex) >= showOrder.size())
    return nullptr;
  const std::int16_t fileIndex = showOrder[static_cast<std::size_t>(imageIndex)];
  if (fileIndex < 1 || fileIndex > images.ImageCount || static_cast<std::size_t>(fileIndex) >= images.ImageFiles.size())
    return nullptr;
  return &images.ImageFiles[static_cast<std::size_t>(fileIndex)];
}
