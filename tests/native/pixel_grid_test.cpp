#include <gtest/gtest.h>


#include "display/pixel_grid.h"

namespace {

TEST(PixelGrid, HasOneSpareColumnAndRowAllBlack) {
  PixelGrid grid(1024, 768);
  EXPECT_EQ(grid.width(), 1024);
  EXPECT_EQ(grid.height(), 768);
  for (auto [x, y] : {std::pair{0, 0}, {1024, 768}, {1023, 1}, {512, 384}}) {
    const PixelRecord* record = grid.At(x, y);
    ASSERT_NE(record, nullptr) << x << "," << y;
    EXPECT_EQ(record->Blue | record->Green | record->Red | record->Reserved, 0);
  }
}

TEST(PixelGrid, CellsAreDistinctAndOutsideIsNothing) {
  PixelGrid grid(2, 1);
  std::uint8_t label = 1;
  for (std::int32_t y = 0; y <= 1; ++y)
    for (std::int32_t x = 0; x <= 2; ++x) grid.At(x, y)->Red = label++;
  label = 1;
  for (std::int32_t y = 0; y <= 1; ++y)
    for (std::int32_t x = 0; x <= 2; ++x) EXPECT_EQ(grid.At(x, y)->Red, label++);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {3, 2}}) {
    EXPECT_FALSE(grid.Contains(x, y));
    EXPECT_EQ(grid.At(x, y), nullptr) << x << "," << y;
  }
}

}  // namespace
