// Where Display stands on the screen: centred, so that a picture larger than the screen is cut
// equally on both sides.
#pragma once

#include <cstdint>

struct DisplayPlacement {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
};

// Each offset is half the difference between the screen's size and Display's, truncated toward
// zero; negative when Display is the larger.
DisplayPlacement PlaceDisplay(std::int16_t screenWidthPx, std::int16_t screenHeightPx, std::int32_t displayWidth,
                              std::int32_t displayHeight);
