// Photos tagged with each Exif orientation stand upright, loaded whole, scaled for the screen, cut
// at their own size, or through the other loader when the imaging decoder has no memory to turn
// them.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "display/picture_scaling.h"
#include "forms/picture_loader.h"
#include "support/failing_allocation.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const std::uint32_t kMark = Rgb(245, 245, 245);
// One background per orientation, far apart, so that a photo taken for another shows.
const std::uint32_t kBackgrounds[8] = {Rgb(220, 30, 30),  Rgb(30, 190, 40),  Rgb(30, 40, 220),  Rgb(230, 210, 30),
                                       Rgb(30, 200, 210), Rgb(200, 40, 200), Rgb(240, 130, 20), Rgb(90, 90, 90)};
constexpr int kUprightWidth = 320, kUprightHeight = 240;

// A photo as a camera stores it, with the quarter of its pixels marked that the orientation turns
// into the upright top-left quarter (how each pixel turns is
// PictureOrientation.StandsEachOrientationUpright's), and an Exif segment right after the start
// marker whose one tag is the orientation (both byte orders and the walk past other tags are
// ExifOrientation's tests).
std::string CameraJpeg(std::uint16_t orientation) {
  // For orientations 1 to 8: whether the stored quarter that stands at the upright top left lies on
  // the right, and whether at the bottom.
  static const bool kRight[8] = {false, true, true, false, false, false, true, true};
  static const bool kBottom[8] = {false, false, true, true, false, true, true, false};
  const bool quarterTurn = orientation >= 5;
  const int width = quarterTurn ? kUprightHeight : kUprightWidth;
  const int height = quarterTurn ? kUprightWidth : kUprightHeight;
  const std::string jpeg = JpegBytes(width, height, [=](int x, int y) {
    const bool marked = (x >= width / 2) == kRight[orientation - 1] && (y >= height / 2) == kBottom[orientation - 1];
    return marked ? kMark : kBackgrounds[orientation - 1];
  });
  // APP1 of 0x22 bytes: "Exif", a little-endian TIFF header, a directory of one entry (tag 274, one
  // short: the orientation, at 28) and no next directory.
  char exif[] = {'\xFF', '\xE1', 0,    0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                 1,      0,      0x12, 1,    3,   0,   1,   0,   0, 0, 0,   0,   0,  0, 0, 0, 0, 0};
  exif[28] = static_cast<char>(orientation);
  return jpeg.substr(0, 2) + std::string(exif, sizeof exif) + jpeg.substr(2);
}

// Whether the picture shows, in width x height, the marked corner at the top left: the middle of
// each quarter checked.
::testing::AssertionResult MarkedTopLeft(const forms::LoadedPicture& picture, int width, int height,
                                         std::uint32_t background) {
  if (picture.width() != width || picture.height() != height) {
    return ::testing::AssertionFailure() << picture.width() << " x " << picture.height();
  }
  for (int y : {height / 4, height * 3 / 4}) {
    for (int x : {width / 4, width * 3 / 4}) {
      const std::uint32_t seen = PixelOf(picture.dc(), x, y);
      if (!Near(seen, x < width / 2 && y < height / 2 ? kMark : background)) {
        return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex << seen;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(PictureOrientation, EachOrientationStandsUprightWholeScaledCutAndThroughTheOtherLoader) {
  TempFolder folder;
  for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
    folder.WriteBytes(L"photo.jpg", CameraJpeg(orientation));
    const std::wstring path = folder.File(L"photo.jpg");
    const std::uint32_t background = kBackgrounds[orientation - 1];
    auto whole = forms::LoadPictureFile(path);
    ASSERT_TRUE(whole) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*whole, kUprightWidth, kUprightHeight, background)) << orientation;

    auto fullScreen = forms::LoadPictureFile(
        path, [](std::int32_t width, std::int32_t height) { return ShownView(width, height, true, 1024, 768); });
    ASSERT_TRUE(fullScreen) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*fullScreen, 1024, 768, background)) << orientation;

    // The middle 160 x 120 of the upright picture holds a quarter of each quarter.
    auto cut = forms::LoadPictureFile(
        path, [](std::int32_t width, std::int32_t height) { return ShownView(width, height, false, 160, 120); });
    ASSERT_TRUE(cut) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*cut, 160, 120, background)) << orientation;

    // An eighth of the size or less comes from the blocks' means.
    auto small = forms::LoadPictureFile(path, [](std::int32_t width, std::int32_t height) {
      return forms::PictureView{{0, 0, width, height}, 40, 30};
    });
    ASSERT_TRUE(small) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*small, 40, 30, background)) << orientation;

    // Without memory to turn it through the imaging decoder, the other loader stands it upright.
    std::optional<forms::LoadedPicture> fallback;
    {
      testsupport::FailingAllocations outOfMemory(64 * 1024);
      fallback = forms::LoadPictureFile(path);
    }
    ASSERT_TRUE(fallback) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*fallback, kUprightWidth, kUprightHeight, background)) << orientation;
  }
}
