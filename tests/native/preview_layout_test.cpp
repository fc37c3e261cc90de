#include "preview/preview_layout.h"

#include <gtest/gtest.h>

namespace {

// An ordinary pane at 96 dpi is the Wine preview tests' own.
TEST(PreviewLayout, ThePaneGoesToTwipsAndBackHalvesToEvenAndTwipsBeyond16BitsLeaveZero) {
  EXPECT_DOUBLE_EQ(TwipsPerPixel(120), 12.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);                     // an unknown dpi counts as 96
  const PaneTwips large = PaneSizeInTwips(2184, 2185, 15, 15);  // 2185 * 15 = 32775 does not fit
  EXPECT_EQ(large.width, 32760);
  EXPECT_EQ(large.height, 0);
  EXPECT_EQ(TwipsToPixels(large.width, 15), 2184);
  EXPECT_EQ(TwipsToPixels(large.height, 15), 0);
  const PaneTwips halves = PaneSizeInTwips(5, 7, 14.5, 14.5);  // 72.5 and 101.5 twips
  EXPECT_EQ(halves.width, 72);
  EXPECT_EQ(halves.height, 102);
  EXPECT_EQ(TwipsToPixels(25, 10), 2);
  EXPECT_EQ(TwipsToPixels(35, 10), 4);
}

}  // namespace
