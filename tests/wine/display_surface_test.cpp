#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "display/display_surface.h"
#include "forms/handles.h"
#include "support/failing_allocation.h"

namespace {

PixelRecord Colour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return {blue, green, red, 0}; }

}  // namespace

TEST(DisplaySurface, LinesIncludeBothEndsAndAreClippedToTheSurface) {
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(8, 6));
  display.DrawLine(2, 1, 3, Colour(255, 0, 0));
  display.DrawLine(5, 4, -10, Colour(0, 255, 0));  // upwards, past the top
  display.DrawLine(7, 3, 100, Colour(0, 0, 255));  // past the bottom
  display.DrawLine(8, 0, 5, Colour(255, 255, 255));  // beside the surface: nothing
  display.DrawLine(-1, 0, 5, Colour(255, 255, 255));
  struct Expected {
    int column, row;
    std::uint32_t colour;
  } table[] = {{2, 0, 0},        {2, 1, 0xFF0000}, {2, 3, 0xFF0000}, {2, 4, 0},
               {5, 0, 0x00FF00}, {5, 4, 0x00FF00}, {5, 5, 0},        {7, 2, 0},
               {7, 3, 0x0000FF}, {7, 5, 0x0000FF}, {0, 0, 0},        {6, 5, 0}};
  for (const auto& e : table) EXPECT_EQ(display.PixelAt(e.column, e.row), e.colour) << e.column << "," << e.row;
}

TEST(DisplaySurface, ResizingKeepsTheOverlappingDrawingAndBlackensTheRest) {
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(4, 4));
  for (int column = 0; column < 4; ++column) display.DrawLine(column, 0, 3, Colour(10, 20, 30));
  ASSERT_TRUE(display.Resize(6, 2));
  EXPECT_EQ(display.PixelAt(3, 1), 0x0A141Eu);
  EXPECT_EQ(display.PixelAt(4, 1), 0u);
  EXPECT_EQ(display.PixelAt(3, 2), 0u);  // outside now
  ASSERT_TRUE(display.Resize(0, 0));
  EXPECT_EQ(display.width(), 0);
  display.DrawLine(0, 0, 0, Colour(1, 2, 3));  // an empty surface takes nothing, without harm
}

TEST(DisplaySurface, WithoutMemoryForANewSizeItKeepsItsSizeAndDrawing) {
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(4, 4));
  display.DrawLine(1, 0, 3, Colour(10, 20, 30));
  {
    testsupport::FailingAllocations outOfMemory;
    EXPECT_FALSE(display.Resize(8, 8));
  }
  EXPECT_EQ(display.width(), 4);
  EXPECT_EQ(display.height(), 4);
  EXPECT_EQ(display.PixelAt(1, 3), 0x0A141Eu);
}

TEST(DisplaySurface, PresentingCopiesWhatWasDrawnAtTheGivenPosition) {
  forms::WindowDC screen(nullptr);
  forms::MemoryDC target(screen.get());
  forms::Bitmap canvas(::CreateCompatibleBitmap(screen.get(), 20, 20));
  forms::SelectedObject selected(target.get(), canvas.get());
  RECT all{0, 0, 20, 20};
  forms::Brush grey(::CreateSolidBrush(RGB(128, 128, 128)));
  ::FillRect(target.get(), &all, grey.get());

  DisplaySurface display;
  ASSERT_TRUE(display.Resize(5, 5));
  display.DrawLine(1, 0, 4, Colour(255, 0, 0));
  display.PresentChanges(target.get(), 10, 3);
  EXPECT_EQ(::GetPixel(target.get(), 11, 3), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(target.get(), 11, 7), RGB(255, 0, 0));
  // Only the changed part went out; the untouched black of the surface did not.
  EXPECT_EQ(::GetPixel(target.get(), 10, 3), RGB(128, 128, 128));

  display.PresentAll(target.get(), 0, 0);
  EXPECT_EQ(::GetPixel(target.get(), 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(::GetPixel(target.get(), 1, 4), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(target.get(), 5, 5), RGB(128, 128, 128));
}

// Lines wait in strips of columns before they reach the buffer: whatever the order of drawing,
// reading and clearing, the surface must hold what writing every line at once would give.
TEST(DisplaySurface, LinesLandAsIfEachWereWrittenAtOnce) {
  constexpr int kWidth = 37, kHeight = 9;  // two full strips and a partial one
  DisplaySurface display;
  ASSERT_TRUE(display.Resize(kWidth, kHeight));
  std::vector<std::uint32_t> expected(kWidth * kHeight, 0);
  std::uint32_t seed = 12345;
  auto next = [&seed](int range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<std::uint32_t>(range));
  };
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
