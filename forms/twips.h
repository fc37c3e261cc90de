// Form sizes are twips (1/1440 inch); what the forms contain is measured in pixels.
#pragma once

namespace forms {

// 1440 divided by the display's logical pixels per inch: 15 at 96 dpi. A dpi that is not positive
// (the device could not be asked) counts as 96.
double TwipsPerPixel(int logicalDpi);

// Halves to even whatever the floating-point rounding mode is.
double RoundHalfToEven(double value);

}  // namespace forms
