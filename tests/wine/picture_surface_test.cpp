#include "forms/picture_surface.h"

#include <gtest/gtest.h>

#include "wine/testbed/screen.h"

namespace {

TEST(PictureSurface, ReleasesItsContextAndEveryPictureItHeld) {
  DWORD before = 0;
  for (int i = 0; i <= 300; ++i) {
    // The first surface sets up what the system keeps for the later ones.
    if (i == 1) before = testbed::GdiFootprint();
    forms::PictureSurface surface;
    ASSERT_TRUE(surface.Resize(10 + i % 7, 10));
    ASSERT_TRUE(surface.Resize(3, 20 + i % 5));
  }
  EXPECT_LE(testbed::GdiFootprint(), before) << "GDI objects left over";
}

}  // namespace
