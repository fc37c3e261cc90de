// The program-wide state: the settings, the image list, the show order and the point the settings
// dialog opened from. Main owns the one instance and hands it to whatever needs it.
#pragma once

#include <cstdint>
#include <vector>

#include "common/settings_record.h"
#include "images/image_list.h"

struct CommonModule {
  SettingsRecord settings;
  ImageList images;
  // Positions 1 .. ImageCount hold indexes into images.ImageFiles; element 0 is unused.
  std::vector<std::int16_t> ShowOrder;
  // The pointer's screen position when the settings dialog opened: its opening animation starts
  // there and its closing animation ends there, wherever the pointer is by then.
  std::int16_t OpenPointX = 0;
  std::int16_t OpenPointY = 0;
};
