#include "forms/picture_surface.h"

#include <gtest/gtest.h>

#include "wine/testbed/screen.h"

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP description{};
  if (::GetObjectW(bitmap, sizeof description, &description) != sizeof description) return {0, 0};
  EXPECT_EQ(32, description.bmBitsPixel);
  return {description.bmWidth, description.bmHeight};
}

TEST(PictureSurface, ResizeMakesABlackPictureSelectedIntoTheSurfaceAndDropsTheOldOne) {
  forms::PictureSurface surface;
  ASSERT_NE(nullptr, surface.dc());
  EXPECT_EQ(nullptr, surface.bitmap());
  EXPECT_EQ(0, surface.width());

  ASSERT_TRUE(surface.Resize(37, 21));
  EXPECT_EQ(37, surface.width());
  EXPECT_EQ(21, surface.height());
  SIZE size = BitmapSize(surface.bitmap());
  EXPECT_EQ(37, size.cx);
  EXPECT_EQ(21, size.cy);
  EXPECT_EQ(surface.bitmap(), ::GetCurrentObject(surface.dc(), OBJ_BITMAP));
  ::SetPixel(surface.dc(), 3, 4, RGB(255, 0, 0));
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(surface.dc(), 3, 4));
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), 36, 20));

  HBITMAP old = surface.bitmap();
  ASSERT_TRUE(surface.Resize(16, 8));
  EXPECT_NE(old, surface.bitmap());
  EXPECT_EQ(0u, ::GetObjectType(old)) << "the old picture is deleted";
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), 3, 4));
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), 15, 7));
}

TEST(PictureSurface, ReleasesItsContextAndPictureWhenItGoes) {
  HDC dc;
  HBITMAP bitmap;
  {
    forms::PictureSurface surface;
    ASSERT_TRUE(surface.Resize(4, 4));
    ASSERT_TRUE(surface.Resize(9, 3));
    dc = surface.dc();
    bitmap = surface.bitmap();
  }
  EXPECT_EQ(0u, ::GetObjectType(dc));
  EXPECT_EQ(0u, ::GetObjectType(bitmap));

  const DWORD before = testbed::GdiFootprint();
  for (int i = 0; i < 300; ++i) {
    forms::PictureSurface surface;
    surface.Resize(10 + i % 7, 10);
    surface.Resize(3, 20 + i % 5);
  }
  EXPECT_EQ(before, testbed::GdiFootprint());
}

}  // namespace
