#include <gtest/gtest.h>

#include <vector>

#include "forms/picture_orientation.h"

using forms::PixelRect;

namespace {

// A 3 x 2 picture, pixel values giving their stored place:  1 2 3
//                                                          4 5 6
const std::vector<std::uint32_t> kStored = {1, 2, 3, 4, 5, 6};

}  // namespace

TEST(PictureOrientation, StandsEachOrientationUpright) {
  const struct {
    std::uint16_t orientation;
    int width;
    std::vector<std::uint32_t> upright;  // rows top first
  } cases[] = {
      {1, 3, {1, 2, 3, 4, 5, 6}}, {2, 3, {3, 2, 1, 6, 5, 4}}, {3, 3, {6, 5, 4, 3, 2, 1}}, {4, 3, {4, 5, 6, 1, 2, 3}},
      {5, 2, {1, 4, 2, 5, 3, 6}}, {6, 2, {4, 1, 5, 2, 6, 3}}, {7, 2, {6, 3, 5, 2, 4, 1}}, {8, 2, {3, 6, 2, 5, 1, 4}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> upright(6, 0);
    forms::OrientPixels(c.orientation, kStored.data(), 3, 2, upright.data());
    EXPECT_EQ(upright, c.upright) << c.orientation;
    const PixelRect size = forms::UprightRect(c.orientation, 3, 2);
    EXPECT_EQ(size.Width, c.width) << c.orientation;
    EXPECT_EQ(size.Width * size.Height, 6) << c.orientation;
  }
}

TEST(PictureOrientation, APartOfTheUprightPictureComesFromTheBlockThatTurnsIntoIt) {
  // A 5 x 4 stored picture numbered by place; every part of each upright form must come out of
  // its stored block turned, pixel for pixel.
  std::vector<std::uint32_t> stored(20);
  for (std::uint32_t i = 0; i < 20; ++i) stored[i] = i;
  for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
    const PixelRect size = forms::UprightRect(orientation, 5, 4);
    std::vector<std::uint32_t> whole(20);
    forms::OrientPixels(orientation, stored.data(), 5, 4, whole.data());
    for (const PixelRect part :
         {PixelRect{1, 1, 2, 3}, PixelRect{0, 2, size.Width, 1}, PixelRect{size.Width - 1, 0, 1, 2}}) {
      const PixelRect from = forms::StoredRect(orientation, 5, 4, part);
      ASSERT_EQ(from.Width * from.Height, part.Width * part.Height) << orientation;
      ASSERT_TRUE(from.Left >= 0 && from.Top >= 0 && from.Left + from.Width <= 5 && from.Top + from.Height <= 4);
      std::vector<std::uint32_t> block;
      for (int y = from.Top; y < from.Top + from.Height; ++y) {
        for (int x = from.Left; x < from.Left + from.Width; ++x) block.push_back(stored[y * 5 + x]);
      }
      std::vector<std::uint32_t> turned(block.size()), expected;
      forms::OrientPixels(orientation, block.data(), from.Width, from.Height, turned.data());
      for (int y = part.Top; y < part.Top + part.Height; ++y) {
        for (int x = part.Left; x < part.Left + part.Width; ++x) expected.push_back(whole[y * size.Width + x]);
      }
      EXPECT_EQ(turned, expected) << orientation << " part at " << part.Left << "," << part.Top;
    }
  }
}
