#include "display/placement.h"

namespace {

std::int32_t HalfDifference(std::int32_t screen, std::int32_t display) {
  return static_cast<std::int32_t>((std::int64_t{screen} - display) / 2);
}

}  // namespace

DisplayPlacement PlaceDisplay(std::int16_t screenWidthPx, std::int16_t screenHeightPx, std::int32_t displayWidth,
                              std::int32_t displayHeight) {
  return {HalfDifference(screenWidthPx, displayWidth), HalfDifference(screenHeightPx, displayHeight)};
}
