// Photos tagged with each Exif orientation stand upright, loaded whole, scaled for the screen or
// cut at their own size, and on the screen of a running saver; hostile Exif segments are refused
// or shown as stored.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "display/picture_scaling.h"
#include "forms/picture_loader.h"
#include "support/failing_allocation.h"
#include "wine/testbed/camera_photos.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const std::uint32_t kMark = Rgb(245, 245, 245);
// One background per orientation, far enough apart to tell the photos apart on the screen.
const std::uint32_t kBackgrounds[8] = {Rgb(220, 30, 30), Rgb(30, 190, 40),  Rgb(30, 40, 220),  Rgb(230, 210, 30),
                                       Rgb(30, 200, 210), Rgb(200, 40, 200), Rgb(240, 130, 20), Rgb(90, 90, 90)};
constexpr int kUprightWidth = 320, kUprightHeight = 240;

bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {0, 8, 16}) {
    // JPEG blurs colours a little; these lie far apart.
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 40) return false;
  }
  return true;
}

std::uint32_t PixelAt(const forms::LoadedPicture& picture, int x, int y) {
  COLORREF c = ::GetPixel(picture.dc(), x, y);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
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
      const std::uint32_t expected = x < width / 2 && y < height / 2 ? kMark : background;
      if (!Near(PixelAt(picture, x, y), expected)) {
        return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex << PixelAt(picture, x, y);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::wstring PhotoName(int orientation) { return L"photo" + std::to_wstring(orientation) + L".jpg"; }

// The eight photos, alternately in the two byte orders.
void WritePhotos(const TempFolder& folder) {
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const std::string jpeg = CameraJpeg(kUprightWidth, kUprightHeight, static_cast<std::uint16_t>(orientation),
                                        kBackgrounds[orientation - 1], kMark, orientation % 2 == 0);
    ASSERT_FALSE(jpeg.empty());
    folder.WriteBytes(PhotoName(orientation), jpeg);
  }
}

// Whether the screen shows the marked-corner picture of this background upright in area. Rows
// within a block of Speed rows of a colour edge may hold either colour. Between the middle of a
// build-up and the middle of the collapse that follows, the streaks repeat the picture's own
// colours and the check holds throughout.
bool ShowsUpright(const ScreenShot& shot, const RECT& area, std::uint32_t background, int margin) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  for (int y = area.top + margin; y < area.bottom - margin; y += 10) {
    if (std::abs(y - (area.top + height / 2)) <= margin) continue;
    for (int x = area.left + 3; x < area.right - 3; x += 14) {
      if (std::abs(x - (area.left + width / 2)) <= 3) continue;
      const std::uint32_t expected = MarkedCorner(x - area.left, y - area.top, width, height, background, kMark);
      if (!Near(shot.At(x, y), expected)) return false;
    }
  }
  return true;
}

// Runs the saver on the eight photos (speed 32 at full screen, 12 at own size) and watches the
// screen until each has stood upright in area; the orientations never seen so.
std::vector<int> NeverSeenUpright(bool fullScreen, const RECT& area) {
  TempFolder photos;
  WritePhotos(photos);
  const int speed = fullScreen ? 32 : 12;
  RunningSaver saver({speed, fullScreen ? 1 : 0, 0, photos.path()});
  if (!saver.window) return {0};
  std::vector<bool> seen(8, false);
  PumpUntil(
      [&] {
        const ScreenShot shot = CaptureScreen();
        for (int i = 0; i < 8; ++i) seen[i] = seen[i] || ShowsUpright(shot, area, kBackgrounds[i], speed + 2);
        return std::count(seen.begin(), seen.end(), false) == 0;
      },
      60000);
  std::vector<int> missing;
  for (int i = 0; i < 8; ++i) {
    if (!seen[i]) missing.push_back(i + 1);
  }
  return missing;
}

}  // namespace

TEST(PictureOrientation, EachOrientationLoadsUprightWholeScaledForTheScreenAndCut) {
  TempFolder folder;
  WritePhotos(folder);
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const std::wstring path = folder.File(PhotoName(orientation));
    const std::uint32_t background = kBackgrounds[orientation - 1];
    auto whole = forms::LoadPictureFile(path);
    ASSERT_TRUE(whole) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*whole, kUprightWidth, kUprightHeight, background)) << orientation;

    auto fullScreen = forms::LoadPictureFile(path, [](std::int32_t width, std::int32_t height) {
      return ShownView(width, height, true, 1024, 768);
    });
    ASSERT_TRUE(fullScreen) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*fullScreen, 1024, 768, background)) << orientation;

    // The middle 160 x 120 of the upright picture holds a quarter of each quarter.
    auto cut = forms::LoadPictureFile(path, [](std::int32_t width, std::int32_t height) {
      return ShownView(width, height, false, 160, 120);
    });
    ASSERT_TRUE(cut) << orientation;
    EXPECT_TRUE(MarkedTopLeft(*cut, 160, 120, background)) << orientation;
  }
}

TEST(PictureOrientation, WithoutMemoryToTurnAPhotoThroughTheImagingDecoderTheOtherLoaderStandsItUpright) {
  TempFolder folder;
  const std::string jpeg = CameraJpeg(kUprightWidth, kUprightHeight, 6, kBackgrounds[5], kMark);
  ASSERT_FALSE(jpeg.empty());
  folder.WriteBytes(L"turned.jpg", jpeg);
  std::optional<forms::LoadedPicture> picture;
  {
    testsupport::FailingAllocations outOfMemory(64 * 1024);
    picture = forms::LoadPictureFile(folder.File(L"turned.jpg"));
  }
  ASSERT_TRUE(picture);
  EXPECT_TRUE(MarkedTopLeft(*picture, kUprightWidth, kUprightHeight, kBackgrounds[5]));
}

TEST(PictureOrientation, HostileExifSegmentsAreRefusedOrShownAsStored) {
  const std::string stored = JpegBytes(kUprightWidth, kUprightHeight, [](int x, int y) {
    return MarkedCorner(x, y, kUprightWidth, kUprightHeight, kBackgrounds[0], kMark);
  });
  ASSERT_FALSE(stored.empty());
  const std::string good = ExifPayload(6, false);
  auto withDirectoryAt = [&](std::uint32_t offset, bool big) {
    std::string payload = ExifPayload(6, big);
    for (int i = 0; i < 4; ++i) payload[10 + i] = static_cast<char>((offset >> (big ? 24 - 8 * i : 8 * i)) & 0xFF);
    return payload;
  };
  auto withCount = [&](std::uint16_t count, bool big) {
    std::string payload = ExifPayload(6, big);
    payload[14] = static_cast<char>(big ? count >> 8 : count & 0xFF);
    payload[15] = static_cast<char>(big ? count & 0xFF : count >> 8);
    return payload;
  };
  std::vector<std::pair<std::string, std::string>> corpus;
  for (bool big : {false, true}) {
    const std::string order = big ? " MM" : " II";
    for (std::uint16_t value : {0, 9, 65535}) corpus.emplace_back("orientation " + std::to_string(value) + order, WithApp1(stored, ExifPayload(value, big)));
    corpus.emplace_back("directory past the segment" + order, WithApp1(stored, withDirectoryAt(0x7FFFFFF0, big)));
    corpus.emplace_back("directory on the header" + order, WithApp1(stored, withDirectoryAt(0, big)));
    corpus.emplace_back("directory on the directory offset" + order, WithApp1(stored, withDirectoryAt(4, big)));
    corpus.emplace_back("huge count" + order, WithApp1(stored, withCount(65535, big)));
    corpus.emplace_back("cut inside the tag" + order, WithApp1(stored, ExifPayload(6, big).substr(0, 30)));
  }
  // The segment's length running past the file, and a file cut inside the segment.
  std::string overlong = WithApp1(stored, good);
  overlong[4] = '\x7F';
  corpus.emplace_back("segment longer than the file", overlong);
  corpus.emplace_back("file cut inside the segment", WithApp1(stored, good).substr(0, 30));

  TempFolder folder;
  for (const auto& [what, bytes] : corpus) {
    folder.WriteBytes(L"bad.jpg", bytes);
    auto picture = forms::LoadPictureFile(folder.File(L"bad.jpg"));
    if (picture) {
      EXPECT_TRUE(MarkedTopLeft(*picture, kUprightWidth, kUprightHeight, kBackgrounds[0])) << what;
    }
  }
}

using PictureOrientationOnScreen = SaverTest;

TEST_F(PictureOrientationOnScreen, EachPhotoStandsUprightFullScreenAndAtItsOwnSize) {
  ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1024) << "the test bed's screen is 1024 x 768";
  ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 768) << "the test bed's screen is 1024 x 768";
  // A 4:3 picture fills the screen; at its own size it stands in the middle.
  EXPECT_EQ(NeverSeenUpright(true, {0, 0, 1024, 768}), std::vector<int>{});
  EXPECT_EQ(NeverSeenUpright(false, {352, 264, 672, 504}), std::vector<int>{});
}
