#include "startup/preview_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewLayout, PaneTwipsRoundHalvesToEvenAndOverflowLeavesZero) {
  struct Case {
    int width, height;
    double tppX, tppY;
    int twipsWidth, twipsHeight;
  };
  const Case cases[] = {
      {152, 112, 15, 15, 2280, 1680},
      {2184, 2185, 15, 15, 32760, 0},  // 2185 * 15 = 32775 does not fit
      {5, 7, 14.5, 14.5, 72, 102},     // 72.5 -> 72, 101.5 -> 102
  };
  for (const Case& c : cases) {
    PaneTwips pane = PaneSizeInTwips(c.width, c.height, c.tppX, c.tppY);
    EXPECT_EQ(pane.width, c.twipsWidth) << c.width << " x " << c.height;
    EXPECT_EQ(pane.height, c.twipsHeight) << c.width << " x " << c.height;
  }
}

TEST(PreviewLayout, TwipsGoBackToWholePixelsAndAnUnknownDpiCountsAs96) {
  EXPECT_DOUBLE_EQ(TwipsPerPixel(120), 12.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);
  EXPECT_EQ(TwipsToPixels(2280, 15), 152);
  EXPECT_EQ(TwipsToPixels(32760, 15), 2184);
  EXPECT_EQ(TwipsToPixels(0, 15), 0);
  EXPECT_EQ(TwipsToPixels(25, 10), 2);  // 2.5 -> 2
  EXPECT_EQ(TwipsToPixels(35, 10), 4);  // 3.5 -> 4
}

}  // namespace
