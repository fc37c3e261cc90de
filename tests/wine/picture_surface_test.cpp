#include "forms/picture_surface.h"

#include <gtest/gtest.h>

#include "wine/testbed/screen.h"

namespace {

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
  EXPECT_LE(testbed::GdiFootprint(), before) << "GDI objects left over";
}

}  // namespace
