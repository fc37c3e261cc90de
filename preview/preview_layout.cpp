#include "preview/preview_layout.h"

#include <cmath>
#include <cstdint>

#include "forms/twips.h"

namespace {

std::int16_t TwipsOrZero(double twips) {
  if (!std::isfinite(twips)) return 0;
  double rounded = forms::RoundHalfToEven(twips);
  if (rounded < INT16_MIN || rounded > INT16_MAX) return 0;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

PaneTwips PaneSizeInTwips(int widthPixels, int heightPixels, double twipsPerPixelX, double twipsPerPixelY) {
  PaneTwips pane;
  pane.width = TwipsOrZero(twipsPerPixelX * widthPixels);
  pane.height = TwipsOrZero(twipsPerPixelY * heightPixels);
  return pane;
}

int TwipsToPixels(std::int16_t twips, double twipsPerPixel) {
  if (!(twipsPerPixel > 0) || twips <= 0) return 0;
  return static_cast<int>(forms::RoundHalfToEven(twips / twipsPerPixel));
}
