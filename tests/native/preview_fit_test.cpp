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
      {50, 50, 100, 100, 100, 100, 100},          // enlarged; a square fills the box
      {333, 100, 100, 100, 30.03003f, 100, 30},
      {1000, 10, 100, 100, 1, 100, 1},            // very wide
      {10, 1000, 100, 1, 100, 1, 100},            // very tall
      {800, 20, 100, 100, 2.5f, 100, 2},          // halves go to the even neighbour
      {400, 6, 100, 100, 1.5f, 100, 2},
      {100, 99, 100, 100, 99, 100, 99},
      {99, 100, 100, 99, 100, 99, 100},
      {20000, 1, 100, 100, 0.005f, 100, 1},       // a box keeps at least a pixel
      {640, 480, 150, 150, 112.5f, 150, 112},     // the box at 144 dpi
      {0, 0, 100, 100, 100, 100, 100},
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
