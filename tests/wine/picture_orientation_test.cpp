// Photos tagged with each Exif orientation stand upright, loaded whole, scaled for the screen or
// cut at their own size.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "display/picture_scaling.h"
#include "forms/picture_loader.h"
#include "support/failing_allocation.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

std::string Bytes16(std::uint32_t value, bool bigEndian) {
  const char high = static_cast<char>((value >> 8) & 0xFF), low = static_cast<char>(value & 0xFF);
  return bigEndian ? std::string{high, low} : std::string{low, high};
}

std::string Bytes32(std::uint32_t value, bool bigEndian) {
  return bigEndian ? Bytes16(value >> 16, true) + Bytes16(value & 0xFFFF, true)
                   : Bytes16(value & 0xFFFF, false) + Bytes16(value >> 16, false);
}

struct Point {
  int x, y;
};

// Where stored pixel (x, y) of a storedWidth x storedHeight picture stands once upright, from the
// tag's definition: which side of the upright picture the stored rows and columns start at.
Point UprightPoint(std::uint16_t orientation, int x, int y, int storedWidth, int storedHeight) {
  switch (orientation) {
    case 2: return {storedWidth - 1 - x, y};                       // row 0 at the top, column 0 on the right
    case 3: return {storedWidth - 1 - x, storedHeight - 1 - y};    // row 0 at the bottom, column 0 on the right
    case 4: return {x, storedHeight - 1 - y};                      // row 0 at the bottom, column 0 on the left
    case 5: return {y, x};                                         // row 0 on the left, column 0 at the top
    case 6: return {storedHeight - 1 - y, x};                      // row 0 on the right, column 0 at the top
    case 7: return {storedHeight - 1 - y, storedWidth - 1 - x};    // row 0 on the right, column 0 at the bottom
    case 8: return {y, storedWidth - 1 - x};                       // row 0 on the left, column 0 at the bottom
    default: return {x, y};
  }
}

// An Exif APP1 payload whose first directory holds a make tag and then the orientation tag.
std::string ExifPayload(std::uint16_t value, bool bigEndian) {
  std::string out = std::string("Exif\0\0", 6) + (bigEndian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4));
  out += Bytes32(8, bigEndian) + Bytes16(2, bigEndian);
  out += Bytes16(271, bigEndian) + Bytes16(2, bigEndian) + Bytes32(4, bigEndian) + std::string("Cam\0", 4);
  out += Bytes16(274, bigEndian) + Bytes16(3, bigEndian) + Bytes32(1, bigEndian) + Bytes16(value, bigEndian) +
         std::string(2, '\0');
  return out + Bytes32(0, bigEndian);
}

// The JPEG with an APP1 segment of payload right after its start marker.
std::string WithApp1(const std::string& jpeg, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  return jpeg.substr(0, 2) + "\xFF\xE1" + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + payload +
         jpeg.substr(2);
}

// Upright pixel (x, y): mark in the top-left quarter, background elsewhere.
std::uint32_t MarkedCorner(int x, int y, int width, int height, std::uint32_t background, std::uint32_t mark) {
  return x < width / 2 && y < height / 2 ? mark : background;
}

// A photo as a camera stores it: the pixels as the sensor saw them, tagged with the orientation
// that stands the marked-corner picture upright. Empty when the encoder fails.
std::string CameraJpeg(int uprightWidth, int uprightHeight, std::uint16_t orientation, std::uint32_t background,
                       std::uint32_t mark, bool bigEndian = false) {
  const bool quarterTurn = orientation >= 5 && orientation <= 8;
  const int storedWidth = quarterTurn ? uprightHeight : uprightWidth;
  const int storedHeight = quarterTurn ? uprightWidth : uprightHeight;
  const std::string jpeg = JpegBytes(storedWidth, storedHeight, [=](int x, int y) {
    const Point upright = UprightPoint(orientation, x, y, storedWidth, storedHeight);
    return MarkedCorner(upright.x, upright.y, uprightWidth, uprightHeight, background, mark);
  });
  return jpeg.empty() ? jpeg : WithApp1(jpeg, ExifPayload(orientation, bigEndian));
}

const std::uint32_t kMark = Rgb(245, 245, 245);
// One background per orientation, far apart, so that a photo taken for another shows.
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
