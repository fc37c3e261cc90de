#include <gtest/gtest.h>

#include "display/pixel_grid.h"

namespace {

TEST(PixelGrid, HasASpareColumnAndRowAllBlackEachCellItsOwnAndNothingOutside) {
  PixelGrid grid(2, 1);
  EXPECT_EQ(grid.width(), 2);
  EXPECT_EQ(grid.height(), 1);
  std::uint8_t label = 1;
  for (std::int32_t y = 0; y <= 1; ++y) {
    for (std::int32_t x = 0; x <= 2; ++x) {
      PixelRecord* record = grid.At(x, y);
      ASSERT_NE(record, nullptr) << x << "," << y;
      EXPECT_EQ(record->Blue | record->Green | record->Red | record->Reserved, 0) << x << "," << y;
      record->Red = label++;
    }
  }
  label = 1;
  for (std::int32_t y = 0; y <= 1; ++y)
    for (std::int32_t x = 0; x <= 2; ++x) EXPECT_EQ(grid.At(x, y)->Red, label++);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}}) EXPECT_EQ(grid.At(x, y), nullptr) << x << "," << y;
}

}  // namespace
