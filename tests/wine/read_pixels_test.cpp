#include "display/read_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/failing_allocation.h"
#include "wine/testbed/screen.h"

namespace {

constexpr PixelRecord kSentinel{7, 7, 7, 7};

// A colour of its own for every pixel, so that any misplaced record shows.
COLORREF PatternColour(int x, int y) { return RGB(10 + x * 20, 5 + y * 30, 250 - x - y); }

void DrawPattern(forms::PictureSurface& surface) {
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) ::SetPixel(surface.dc(), x, y, PatternColour(x, y));
}

void Fill(PixelGrid& grid, PixelRecord record) {
  for (int row = 0; row <= grid.height(); ++row)
    for (int column = 0; column <= grid.width(); ++column) *grid.At(column, row) = record;
}

bool Same(PixelRecord a, PixelRecord b) {
  return a.Blue == b.Blue && a.Green == b.Green && a.Red == b.Red && a.Reserved == b.Reserved;
}

// The record a pixel of this colour must give, Reserved aside.
::testing::AssertionResult Holds(const PixelGrid& grid, int column, int row, COLORREF colour) {
  const PixelRecord* record = grid.At(column, row);
  if (!record) return ::testing::AssertionFailure() << "(" << column << "," << row << ") is outside the grid";
  if (record->Red == GetRValue(colour) && record->Green == GetGValue(colour) && record->Blue == GetBValue(colour))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << column << "," << row << ") holds B" << int(record->Blue) << " G"
                                       << int(record->Green) << " R" << int(record->Red) << ", expected B"
                                       << int(GetBValue(colour)) << " G" << int(GetGValue(colour)) << " R"
                                       << int(GetRValue(colour));
}

TEST(ReadPixels, RowYHoldsThePicturesRowYMinusOneAndRowZeroAndTheSpareColumnAreLeftAlone) {
  forms::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(7, 5));
  DrawPattern(surface);
  PixelGrid grid(7, 5);
  Fill(grid, kSentinel);

  ReadPixels(surface, grid);

  for (int row = 1; row <= 5; ++row)
    for (int column = 0; column < 7; ++column) EXPECT_TRUE(Holds(grid, column, row, PatternColour(column, row - 1)));
  for (int column = 0; column <= 7; ++column) EXPECT_TRUE(Same(kSentinel, *grid.At(column, 0))) << column;
  for (int row = 0; row <= 5; ++row) EXPECT_TRUE(Same(kSentinel, *grid.At(7, row))) << row;
}

TEST(ReadPixels, WithoutMemoryForTheTransferTheSnapshotStaysBlackAndTheSurfaceKeepsItsPicture) {
  forms::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(300, 200));
  DrawPattern(surface);
  PixelGrid grid(300, 200);
  {
    testsupport::FailingAllocations outOfMemory(64 * 1024);
    ReadPixels(surface, grid);
  }
  for (int row = 0; row <= 200; ++row)
    for (int column = 0; column <= 300; ++column) ASSERT_TRUE(Same(PixelRecord{}, *grid.At(column, row)));
  EXPECT_EQ(::GetCurrentObject(surface.dc(), OBJ_BITMAP), surface.bitmap());
  EXPECT_EQ(::GetPixel(surface.dc(), 299, 199), PatternColour(299, 199));
}

TEST(ReadPixels, TheSurfaceKeepsItsPictureAndNothingLeaksOverManyReads) {
  forms::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(6, 4));
  DrawPattern(surface);
  HBITMAP picture = surface.bitmap();
  PixelGrid grid(6, 4);
  ReadPixels(surface, grid);
  const DWORD before = testbed::GdiFootprint();

  for (int i = 0; i < 500; ++i) ReadPixels(surface, grid);

  EXPECT_LE(testbed::GdiFootprint(), before) << "GDI objects left over";
  EXPECT_EQ(picture, surface.bitmap());
  EXPECT_EQ(picture, ::GetCurrentObject(surface.dc(), OBJ_BITMAP));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PatternColour(x, y), ::GetPixel(surface.dc(), x, y));
  EXPECT_TRUE(Holds(grid, 5, 4, PatternColour(5, 3)));
}

}  // namespace
