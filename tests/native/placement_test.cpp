#include <gtest/gtest.h>

#include "display/placement.h"

namespace {

TEST(Placement, DisplayIsCentredTruncatingTowardZero) {
  struct Case {
    std::int32_t width, height, left, top;
  };
  const Case cases[] = {{1024, 768, 0, 0},        {300, 200, 362, 284}, {301, 201, 361, 283},
                        {1600, 1200, -288, -216}, {1025, 769, 0, 0},    {1027, 771, -1, -1}};
  for (const Case& c : cases) {
    DisplayPlacement place = PlaceDisplay(1024, 768, c.width, c.height);
    EXPECT_EQ(place.Left, c.left) << c.width << "x" << c.height;
    EXPECT_EQ(place.Top, c.top) << c.width << "x" << c.height;
  }
}

}  // namespace
