// The program-wide state: the settings, the image list and the show order. Main owns the one
// instance and hands it to whatever needs it.
#pragma once

#include <cstdint>
#include <vector>

#include "images/image_list.h"
#include "startup/settings_record.h"

struct CommonModule {
  SettingsRecord settings;
  ImageList images;
  // Positions 1 .. ImageCount hold indexes into images.ImageFiles; element 0 is unused.
  std::vector<std::int16_t> ShowOrder;
};
