#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "display/display_surface.h"
#include "forms/picture_surface.h"
#include "support/failing_allocation.h"
#include "wine/testbed/screen.h"

namespace {

PixelRecord Colour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

}  // namespace

TEST(DisplaySurface, ResizingKeepsTheOverlappingDrawingAndBlackensTheRestUnlessMemoryRunsOut) {
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(4, 4));
  for (int column = 0; column < 4; ++column) display.DrawLine(column, 0, 3, Colour(10, 20, 30));
  {
    testsupport::FailingAllocations outOfMemory;
    EXPECT_FALSE(display.Resize(8, 8));
  }
  EXPECT_EQ(display.width(), 4);
  EXPECT_EQ(display.height(), 4);
  EXPECT_EQ(display.PixelAt(3, 3), 0x0A141Eu);
  ASSERT_TRUE(display.Resize(6, 2));
  EXPECT_EQ(display.PixelAt(3, 1), 0x0A141Eu);
  EXPECT_EQ(display.PixelAt(4, 1), 0u);
  ASSERT_TRUE(display.Resize(0, 0));
  EXPECT_EQ(display.width(), 0);
  display.DrawLine(0, 0, 0, Colour(1, 2, 3));  // an empty surface takes nothing, without harm
}

TEST(DisplaySurface, PresentingCopiesWhatWasDrawnAtTheGivenPosition) {
  forms::PictureSurface target;
  ASSERT_TRUE(target.Resize(20, 20));
  ::PatBlt(target.dc(), 0, 0, 20, 20, WHITENESS);
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(5, 5));
  display.DrawLine(1, 0, 4, Colour(255, 0, 0));
  display.PresentChanges(target.dc(), 10, 3);
  EXPECT_EQ(testbed::PixelOf(target.dc(), 11, 3), 0xFF0000u);
  EXPECT_EQ(testbed::PixelOf(target.dc(), 11, 7), 0xFF0000u);
  // Only the changed part went out; the untouched black of the surface did not.
  EXPECT_EQ(testbed::PixelOf(target.dc(), 10, 3), 0xFFFFFFu);

  display.PresentAll(target.dc(), 0, 0);
  EXPECT_EQ(testbed::PixelOf(target.dc(), 0, 0), 0u);
  EXPECT_EQ(testbed::PixelOf(target.dc(), 1, 4), 0xFF0000u);
  EXPECT_EQ(testbed::PixelOf(target.dc(), 5, 5), 0xFFFFFFu);
}

// Lines wait in strips of columns before they reach the buffer: whatever the order of drawing,
// reading and clearing, the surface must hold what writing every line at once would give.
TEST(DisplaySurface, LinesLandAsIfEachWereWrittenAtOnce) {
  constexpr int kWidth = 37, kHeight = 9;  // two full strips and a partial one
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(kWidth, kHeight));
  std::vector<std::uint32_t> expected(kWidth * kHeight, 0);
  std::minstd_rand random(12345);
  auto next = [&random](int range) { return static_cast<int>(random() % static_cast<unsigned>(range)); };
  for (int i = 0; i < 600; ++i) {
    // Mostly ascending columns, as a pass draws them, with jumps back and repeats in a column.
    const int column = next(5) == 0 ? next(kWidth + 4) - 2 : (i / 3) % (kWidth + 2) - 1;
    const int from = next(kHeight + 6) - 3, to = next(kHeight + 6) - 3;
    const auto colour = Colour(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 7);
    display.DrawLine(column, from, to, colour);
    if (column >= 0 && column < kWidth) {
      for (int row = std::max(std::min(from, to), 0); row <= std::min(std::max(from, to), kHeight - 1); ++row)
        expected[row * kWidth + column] = (static_cast<std::uint32_t>(i & 0xFF) << 16) | ((i >> 8) << 8) | 7;
    }
    if (next(50) == 0) {  // a read in mid-pass
      const int c = next(kWidth), r = next(kHeight);
      ASSERT_EQ(display.PixelAt(c, r), expected[r * kWidth + c]) << "line " << i << " at " << c << "," << r;
    }
    if (i == 590) {  // lines not yet written are cleared with the rest
      display.Clear();
      std::fill(expected.begin(), expected.end(), 0);
    }
  }
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column)
      EXPECT_EQ(display.PixelAt(column, row), expected[row * kWidth + column]) << column << "," << row;
  }
}
