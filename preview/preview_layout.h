// The preview pane's arithmetic: form sizes are twips, the pane and the picture are pixels.
#pragma once

#include <cstdint>

#include "forms/twips.h"

using forms::TwipsPerPixel;

struct PaneTwips {
  std::int16_t width = 0;
  std::int16_t height = 0;
};

// The pane's pixel size times twips per pixel, each rounded halves to even. A dimension whose
// twips do not fit in 16 bits stays 0.
PaneTwips PaneSizeInTwips(int widthPixels, int heightPixels, double twipsPerPixelX, double twipsPerPixelY);

// Twips back to whole pixels, rounded halves to even; never negative.
int TwipsToPixels(std::int16_t twips, double twipsPerPixel);
