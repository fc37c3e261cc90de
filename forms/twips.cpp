#include "forms/twips.h"

#include <cmath>

namespace forms {

double TwipsPerPixel(int logicalDpi) { return 1440.0 / (logicalDpi > 0 ? logicalDpi : 96); }

double RoundHalfToEven(double value) {
  double lower = std::floor(value);
  double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace forms
