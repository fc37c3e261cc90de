#include "images/preview_fit.h"

#include <gtest/gtest.h>

namespace {

TEST(FitPreview, LongerSideFillsTheBoxAndTheOtherKeepsTheAspect) {
  const struct {
    int width, height, side;
    float fitWidth, fitHeight;
    int boxWidth, boxHeight;
  } cases[] = {
      {640, 480, 100, 100, 75, 100, 75},
      {300, 400, 100, 75, 100, 75, 100},
      {333, 100, 100, 100, 30.03003f, 100, 30},
      // Enlarged: a square fills the box.
      {50, 50, 100, 100, 100, 100, 100},
      // Halves go to the even neighbour, and a box keeps at least a pixel.
      {800, 20, 100, 100, 2.5f, 100, 2},
      {20000, 1, 100, 100, 0.005f, 100, 1},
      // The box at 144 dpi.
      {640, 480, 150, 150, 112.5f, 150, 112},
  };
  for (const auto& c : cases) {
    const PreviewFit fit = FitPreview(c.width, c.height, c.side);
    EXPECT_FLOAT_EQ(fit.width, c.fitWidth) << c.width << " x " << c.height;
    EXPECT_FLOAT_EQ(fit.height, c.fitHeight) << c.width << " x " << c.height;
    EXPECT_EQ(fit.boxWidth, c.boxWidth) << c.width << " x " << c.height;
    EXPECT_EQ(fit.boxHeight, c.boxHeight) << c.width << " x " << c.height;
  }
}

}  // namespace
