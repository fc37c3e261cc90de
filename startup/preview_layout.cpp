#include "startup/preview_layout.h"

#include <cmath>
#include <cstdint>

namespace {

// Halves to even whatever the floating-point rounding mode is.
double RoundHalfToEven(double value) {
  double lower = std::floor(value);
  double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::int16_t TwipsOrZero(double twips) {
  if (!std::isfinite(twips)) return 0;
  double rounded = RoundHalfToEven(twips);
  if (rounded < INT16_MIN || rounded > INT16_MAX) return 0;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

double TwipsPerPixel(int logicalDpi) { return 1440.0 / (logicalDpi > 0 ? logicalDpi : 96); }

PaneTwips PaneSizeInTwips(int widthPixels, int heightPixels, double twipsPerPixelX, double twipsPerPixelY) {
  PaneTwips pane;
  pane.width = TwipsOrZero(twipsPerPixelX * widthPixels);
  pane.height = TwipsOrZero(twipsPerPixelY * heightPixels);
  return pane;
}

int TwipsToPixels(std::int16_t twips, double twipsPerPixel) {
  if (!(twipsPerPixel > 0) || twips <= 0) return 0;
  return static_cast<int>(RoundHalfToEven(twips / twipsPerPixel));
}
