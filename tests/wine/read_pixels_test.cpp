#include "display/read_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "support/failing_allocation.h"
#include "wine/testbed/screen.h"

namespace {

// A colour of its own for every pixel, so that any misplaced record shows.
COLORREF PatternColour(int x, int y) { return RGB(10 + x * 20, 5 + y * 30, 250 - x - y); }

void DrawPattern(forms::PictureSurface& surface) {
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) ::SetPixel(surface.dc(), x, y, PatternColour(x, y));
}

// A record as one number, 0xAARRGGBB with Reserved as AA, that a failure prints.
std::uint32_t Word(const PixelRecord* record) {
  return (static_cast<std::uint32_t>(record->Reserved) << 24) | testbed::Rgb(record->Red, record->Green, record->Blue);
}

TEST(ReadPixels, RowYHoldsThePicturesRowYMinusOneLeavesRowZeroAndTheSpareColumnAndKeepsThePictureWithoutLeaking) {
  forms::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(7, 5));
  DrawPattern(surface);
  PixelGrid grid(7, 5);
  for (int row = 0; row <= 5; ++row)
    for (int column = 0; column <= 7; ++column) *grid.At(column, row) = {7, 7, 7, 7};
  ReadPixels(surface, grid);
  const DWORD before = testbed::GdiFootprint();

  for (int i = 0; i < 500; ++i) ReadPixels(surface, grid);

  EXPECT_LE(testbed::GdiFootprint(), before) << "GDI objects left over";
  EXPECT_EQ(::GetCurrentObject(surface.dc(), OBJ_BITMAP), surface.bitmap());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(PatternColour(x, y), ::GetPixel(surface.dc(), x, y));
  for (int row = 1; row <= 5; ++row)
    for (int column = 0; column < 7; ++column)
      EXPECT_EQ(Word(grid.At(column, row)) & 0xFFFFFF, testbed::Rgb(PatternColour(column, row - 1)))
          << column << "," << row;
  for (int column = 0; column <= 7; ++column) EXPECT_EQ(Word(grid.At(column, 0)), 0x07070707u) << column;
  for (int row = 0; row <= 5; ++row) EXPECT_EQ(Word(grid.At(7, row)), 0x07070707u) << row;
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
    for (int column = 0; column <= 300; ++column) ASSERT_EQ(Word(grid.At(column, row)), 0u);
  EXPECT_EQ(::GetCurrentObject(surface.dc(), OBJ_BITMAP), surface.bitmap());
  EXPECT_EQ(::GetPixel(surface.dc(), 299, 199), PatternColour(299, 199));
}

}  // namespace
