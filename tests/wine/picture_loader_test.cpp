#include <gtest/gtest.h>
#include <windows.h>
// The kernel32 form of the memory query, so that the test needs no psapi import library.
#define PSAPI_VERSION 2
#include <psapi.h>

#include <cstdint>
#include <optional>
#include <string>

#include "display/picture_scaling.h"
#include "forms/picture_loader.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using forms::LoadPictureFile;
using testbed::Near;
using testbed::PixelOf;
using testbed::Rgb;

namespace {

const std::uint32_t kRed = Rgb(220, 30, 40), kBlue = Rgb(20, 60, 200);

// Red in the top-left and bottom-right quarters, blue in the others: a picture drawn mirrored or
// upside down shows at once.
std::uint32_t Diagonal(int x, int y, int width, int height) {
  return (x < width / 2) == (y < height / 2) ? kRed : kBlue;
}
// Red above blue, as the metafiles draw.
std::uint32_t Bands(int, int y, int, int height) { return y < height / 2 ? kRed : kBlue; }
// Red, then the GIF's transparent colour, which shows white.
std::uint32_t RedThenClear(int x, int, int, int) { return x == 0 ? kRed : 0xFFFFFF; }
// 2 x 1 pixels: a red one and one of a green marked transparent.
const std::string kClearGif("GIF89a\x02\x00\x01\x00\x80\x00\x00" "\xDC\x1E\x28\x00\xFF\x00"
                            "\x21\xF9\x04\x01\x00\x00\x01\x00" "\x2C\x00\x00\x00\x00\x02\x00\x01\x00\x00"
                            "\x02\x02\x44\x0A\x00\x3B", 43);

testbed::PixelColour DiagonalOf(int width, int height) {
  return [=](int x, int y) { return Diagonal(x, y, width, height); };
}
std::string Bmp(int width, int height, int bits) {
  return testbed::BmpBytes(width, height, bits, DiagonalOf(width, height));
}
std::string Gif(int width, int height) { return testbed::GifBytes(width, height, DiagonalOf(width, height)); }
std::string Jpeg(int width, int height) { return testbed::JpegBytes(width, height, DiagonalOf(width, height)); }
std::string Wmf(int width, int height, int unitsPerInch) {
  return testbed::MetafileBytes(width, height, unitsPerInch, kRed, kBlue);
}

std::size_t PagefileUsage() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

}  // namespace

// Bitmaps of each depth, GIFs and JPEGs (whatever their name says) at their own pixel size, the
// smallest among them; metafiles at the size of the placeable header's box in its units per inch.
// Each also at its own size on a screen half as large: the middle half, a quarter of each quarter.
TEST(PictureLoader, EachKindLoadsAtItsOwnSizeTheRightWayUpAndCutToTheMiddle) {
  testbed::TempFolder folder;
  const forms::WindowDC screen(nullptr);
  const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX), dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  const struct {
    const char* name;
    std::wstring file;
    std::string bytes;
    int width, height;
    std::uint32_t (*colour)(int x, int y, int width, int height);
    int tolerance;
  } cases[] = {
      {"1-bit bitmap of an odd width", L"one.bmp", Bmp(33, 17, 1), 33, 17, Diagonal, 0},
      {"8-bit bitmap", L"eight.bmp", Bmp(40, 30, 8), 40, 30, Diagonal, 0},
      {"24-bit bitmap under a name outside the ANSI code page", L"\x0444\x043E\x0442\x043E-\x5199\x771F-\xD55C.bmp",
       Bmp(31, 20, 24), 31, 20, Diagonal, 0},
      {"gif", L"one.gif", Gif(50, 26), 50, 26, Diagonal, 0},
      {"gif with a transparent colour", L"clear.gif", kClearGif, 2, 1, RedThenClear, 0},
      {"1 x 1 gif", L"dot.gif", Gif(1, 1), 1, 1, Diagonal, 0},
      {"jpeg named as a bitmap", L"jpeg.bmp", Jpeg(64, 48), 64, 48, Diagonal, 12},
      {"1 x 1 jpeg", L"dot.jpg", Jpeg(1, 1), 1, 1, Diagonal, 12},
      {"metafile in twips", L"twips.wmf", Wmf(3000, 1500, 1440), 3000 * dpiX / 1440, 1500 * dpiY / 1440, Bands, 0},
      {"metafile in tenths of a millimetre", L"tall.wmf", Wmf(254, 508, 254), dpiX, 2 * dpiY, Bands, 0},
      {"metafile in pixels", L"pixels.wmf", Wmf(96, 48, 96), dpiX, dpiY / 2, Bands, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    folder.WriteBytes(c.file, c.bytes);
    const auto expectShown = [&c](const std::optional<forms::LoadedPicture>& picture, int w, int h) {
      ASSERT_TRUE(picture);
      EXPECT_EQ(picture->width(), w);
      EXPECT_EQ(picture->height(), h);
      // Corners and the middle of each quarter, away from JPEG's blurred edges between colours.
      for (int y : {0, h / 4, 3 * h / 4, h - 1}) {
        for (int x : {0, w / 4, 3 * w / 4, w - 1}) {
          EXPECT_PRED3(Near, PixelOf(picture->dc(), x, y), c.colour(x, y, w, h), c.tolerance) << x << ", " << y;
        }
      }
    };
    expectShown(LoadPictureFile(folder.File(c.file)), c.width, c.height);
    if (c.width < 8 || c.height < 8) continue;
    SCOPED_TRACE("cut");
    const int w = c.width / 2, h = c.height / 2;
    const auto halfScreen = [w, h](std::int32_t width, std::int32_t height) {
      return ShownView(width, height, false, static_cast<std::int16_t>(w), static_cast<std::int16_t>(h));
    };
    expectShown(LoadPictureFile(folder.File(c.file), halfScreen), w, h);
  }
}

// What a folder may hold that must not load, one of each kind: an empty file, a file that is no
// picture (each format's damaged headers are PictureHeader.ReadsKindAndSizeFromContent's), sizes
// past what may be decoded, a file too long to be read, a cut photo and a damaged picture that only
// the two decoders can refuse, and paths that are no readable file.
TEST(PictureLoader, BadFilesAreRefused) {
  testbed::TempFolder folder;
  const std::string gif = Gif(40, 30), jpeg = Jpeg(40, 30);
  ASSERT_FALSE(gif.empty() || jpeg.empty());
  const struct {
    const char* name;
    std::wstring file;
    std::string bytes;
  } files[] = {
      {"zero bytes", L"empty.bmp", ""},
      {"text named as a jpeg", L"notes.jpg", "This is not a picture, only some text.\r\n"},
      {"gif claiming 30000 x 30000", L"huge.gif", testbed::WithGifScreenSize(gif, 30000, 30000)},
      {"metafile of 32767 x 32767 inches", L"huge.wmf", Wmf(32767, 32767, 1)},
      {"jpeg cut in its scan data", L"cut.jpg", jpeg.substr(0, jpeg.size() - 40)},
      {"gif with damaged image data", L"flip-data.gif", testbed::Flipped(gif, gif.size() - 40, 30)},
  };
  for (const auto& f : files) {
    folder.WriteBytes(f.file, f.bytes);
    EXPECT_FALSE(LoadPictureFile(folder.File(f.file))) << f.name;
  }
  // A sound bitmap grown past 256 MiB: only its size can make the loader refuse it.
  folder.WriteBytes(L"long.bmp", Bmp(8, 8, 24));
  ASSERT_TRUE(LoadPictureFile(folder.File(L"long.bmp")));
  {
    forms::KernelHandle file(
        ::CreateFileW(folder.File(L"long.bmp").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    size.QuadPart = (256ll << 20) + 1;
    ASSERT_TRUE(file && ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
  }
  EXPECT_FALSE(LoadPictureFile(folder.File(L"long.bmp"))) << "a file over 256 MiB";
  EXPECT_FALSE(LoadPictureFile(folder.File(L"gone.bmp"))) << "a file deleted after the scan";
  EXPECT_FALSE(LoadPictureFile(L"NUL")) << "the null device";
}

TEST(PictureLoader, TwoHundredLoadsLeakNothing) {
  testbed::TempFolder folder;
  // Pictures of 1 MiB decoded, so that a leaked bitmap or decoder shows in the memory used.
  const std::wstring names[] = {L"a.bmp", L"b.jpg", L"c.gif", L"d.wmf", L"e.bmp"};
  const std::string files[] = {Bmp(512, 512, 24), Jpeg(512, 512), Gif(512, 512), Wmf(7680, 7680, 1440),
                               testbed::BmpClaimingSize(512, 512)};
  for (int i = 0; i < 5; ++i) {
    folder.WriteBytes(names[i], files[i]);
    LoadPictureFile(folder.File(names[i]));  // first-use allocations
  }

  const DWORD gdiBefore = testbed::GdiFootprint();
  const std::size_t memoryBefore = PagefileUsage();
  int loaded = 0;
  for (int i = 0; i < 200; ++i) loaded += LoadPictureFile(folder.File(names[i % 5])).has_value();
  EXPECT_EQ(loaded, 160);
  EXPECT_LE(testbed::GdiFootprint(), gdiBefore) << "GDI objects left over";
  EXPECT_LT(PagefileUsage(), memoryBefore + (16u << 20));
}
