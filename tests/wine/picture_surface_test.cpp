#include "forms/picture_surface.h"

#include <gtest/gtest.h>

namespace {

// A figure that changes when a GDI object leaks: the count of objects in use where the system
// keeps it, and under Wine, which reports 0, the handle slot that the next object gets, since a
// freed slot is handed out again first.
DWORD GdiFootprint() {
  const DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (count) return count;
  HBITMAP probe = ::CreateBitmap(1, 1, 1, 32, nullptr);
  const DWORD slot = LOWORD(reinterpret_cast<UINT_PTR>(probe));
  ::DeleteObject(probe);
  return slot;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP description{};
  if (::GetObjectW(bitmap, sizeof description, &description) != sizeof description) return {0, 0};
  EXPECT_EQ(32, description.bmBitsPixel);
  return {description.bmWidth, description.bmHeight};
}

TEST(PictureSurface, ResizeMakesABlackPictureOfThatSizeSelectedIntoTheSurface) {
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
  for (POINT p : {POINT{0, 0}, POINT{36, 0}, POINT{0, 20}, POINT{36, 20}, POINT{18, 10}})
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), p.x, p.y)) << p.x << "," << p.y;
}

TEST(PictureSurface, KeepsWhatIsDrawnAndAResizeStartsBlackAndDropsTheOldPicture) {
  forms::PictureSurface surface;
  ASSERT_TRUE(surface.Resize(8, 8));
  ::SetPixel(surface.dc(), 3, 4, RGB(255, 0, 0));
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(surface.dc(), 3, 4));

  HBITMAP old = surface.bitmap();
  ASSERT_TRUE(surface.Resize(16, 4));
  EXPECT_NE(old, surface.bitmap());
  EXPECT_EQ(0u, ::GetObjectType(old)) << "the old picture is deleted";
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), 3, 2));
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(surface.dc(), 15, 3));
}

TEST(PictureSurface, ASizeBelowOneIsRefusedAndTheOldPictureStays) {
  forms::PictureSurface surface;
  EXPECT_FALSE(surface.Resize(0, 0));
  EXPECT_EQ(nullptr, surface.bitmap());
  ASSERT_TRUE(surface.Resize(5, 6));
  ::SetPixel(surface.dc(), 1, 1, RGB(0, 0, 255));
  HBITMAP kept = surface.bitmap();
  struct Size {
    int width, height;
  };
  for (Size size : {Size{0, 6}, Size{5, 0}, Size{-1, 6}, Size{5, -6}, Size{-3, -3}}) {
    EXPECT_FALSE(surface.Resize(size.width, size.height)) << size.width << " x " << size.height;
    EXPECT_EQ(kept, surface.bitmap());
    EXPECT_EQ(5, surface.width());
    EXPECT_EQ(6, surface.height());
  }
  EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(surface.dc(), 1, 1));
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

  const DWORD before = GdiFootprint();
  for (int i = 0; i < 300; ++i) {
    forms::PictureSurface surface;
    surface.Resize(10 + i % 7, 10);
    surface.Resize(3, 20 + i % 5);
  }
  EXPECT_EQ(before, GdiFootprint());
}

}  // namespace
