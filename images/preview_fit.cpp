#include "images/preview_fit.h"

#include "forms/twips.h"

namespace {

int WholePixels(float value) {
  const int rounded = static_cast<int>(forms::RoundHalfToEven(value));
  return rounded < 1 ? 1 : rounded;
}

}  // namespace

PreviewFit FitPreview(int width, int height, int boxSide) {
  PreviewFit fit;
  const float side = static_cast<float>(boxSide);
  if (width <= 0 || height <= 0) {
    fit.width = fit.height = side;
  } else if (width > height) {
    fit.width = side;
    fit.height = side * static_cast<float>(height) / static_cast<float>(width);
  } else {
    fit.width = side * static_cast<float>(width) / static_cast<float>(height);
    fit.height = side;
  }
  fit.boxWidth = WholePixels(fit.width);
  fit.boxHeight = WholePixels(fit.height);
  return fit;
}
