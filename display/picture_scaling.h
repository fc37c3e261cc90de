// The arithmetic of PrepareNextPicture: the size at which a picture is shown, the part of it that
// is cut out at its own size, and the walk through the show order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/picture_orientation.h"
#include "images/image_list.h"

struct PictureSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// Full screen: the whole picture with its longer side across the screen along that side (a square
// one across the screen's height), proportions kept, rounded halves to even. A picture without
// width or height gives 0 x 0.
PictureSize FullScreenSize(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int16_t screenWidthPx,
                           std::int16_t screenHeightPx);

struct PictureCrop {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t SourceLeft = 0;
  std::int32_t SourceTop = 0;
};

// Actual size: the picture cut to the screen, keeping its middle part.
PictureCrop ActualSizeCrop(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int16_t screenWidthPx,
                           std::int16_t screenHeightPx);

// What the picture loader delivers of a picture of width x height (upright): full screen, the
// whole picture at FullScreenSize; at its own size, the ActualSizeCrop part.
forms::PictureView ShownView(std::int32_t pictureWidth, std::int32_t pictureHeight, bool fullScreen,
                             std::int16_t screenWidthPx, std::int16_t screenHeightPx);

// The position in the show order of the picture to prepare next.
std::int16_t AdvanceImageIndex(std::int16_t imageIndex);

// After a picture has been prepared: at the end of the show order imageIndex goes back to 0, and the
// result tells whether the show order must be built anew (not for a single image).
bool FinishImageIndex(std::int16_t& imageIndex, std::int16_t imageCount);

// The file at position imageIndex of the show order, as the list holds it; nullptr when the
// position or the index it holds lies outside the lists.
const std::wstring* PictureFileAt(const std::vector<std::int16_t>& showOrder, const ImageList& images,
                                          std::int16_t imageIndex);
