#include <gtest/gtest.h>

#include <vector>

#include "forms/picture_orientation.h"

using forms::PixelRect;

// Each orientation's turn of the whole picture is wine PictureOrientation.EachOrientationLoadsUpright...,
// which loads a camera's photo of each; here the part of it that a cut at the picture's own size takes.
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
