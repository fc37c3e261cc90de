#include <gtest/gtest.h>
#include <windows.h>
// The kernel32 form of the memory query, so that the test needs no psapi import library.
#define PSAPI_VERSION 2
#include <psapi.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/picture_loader.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using forms::LoadPictureFile;
using testbed::Rgb;

namespace {

const std::uint32_t kRed = Rgb(220, 30, 40), kBlue = Rgb(20, 60, 200), kGreen = Rgb(30, 180, 60),
                    kYellow = Rgb(250, 220, 10);

std::uint32_t PixelAt(const forms::LoadedPicture& picture, int x, int y) {
  COLORREF c = ::GetPixel(picture.dc(), x, y);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

int ScreenDpi(int axis) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

std::size_t PagefileUsage() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

struct RasterCase {
  const char* name;
  std::wstring file;
  std::string bytes;
  int width, height;
  testbed::PixelColour colour;
  int tolerance;
};

}  // namespace

TEST(PictureLoader, RasterPicturesLoadAtTheirOwnSizeAndColours) {
  testbed::TempFolder folder;
  auto bands = [](int height) { return testbed::TwoBands(kRed, kBlue, height); };
  auto quadrants = [](int width, int height) {
    return [=](int x, int y) -> std::uint32_t {
      return y < height / 2 ? (x < width / 2 ? kRed : kGreen) : (x < width / 2 ? kBlue : kYellow);
    };
  };
  const std::vector<RasterCase> cases = {
      {"1-bit bitmap of an odd width", L"one.bmp", testbed::BmpBytes(33, 17, 1, bands(17)), 33, 17, bands(17), 0},
      {"8-bit bitmap", L"eight.bmp", testbed::BmpBytes(40, 30, 8, quadrants(40, 30)), 40, 30, quadrants(40, 30), 0},
      {"24-bit bitmap", L"full.bmp", testbed::BmpBytes(31, 20, 24, quadrants(31, 20)), 31, 20, quadrants(31, 20), 0},
      {"gif", L"one.gif", testbed::GifBytes(50, 26, quadrants(50, 26)), 50, 26, quadrants(50, 26), 0},
      {"jpeg", L"one.jpg", testbed::JpegBytes(64, 48, quadrants(64, 48)), 64, 48, quadrants(64, 48), 12},
      {"1 x 1 bitmap", L"dot.bmp", testbed::BmpBytes(1, 1, 24, bands(1)), 1, 1, bands(1), 0},
      {"1 x 1 gif", L"dot.gif", testbed::GifBytes(1, 1, bands(1)), 1, 1, bands(1), 0},
      {"1 x 1 jpeg", L"dot.jpg", testbed::JpegBytes(1, 1, bands(1)), 1, 1, bands(1), 12},
      {"jpeg named as a bitmap", L"jpeg.bmp", testbed::JpegBytes(32, 32, bands(32)), 32, 32, bands(32), 12},
      {"bitmap named as a gif", L"bitmap.gif", testbed::BmpBytes(12, 10, 24, bands(10)), 12, 10, bands(10), 0},
      {"bitmap under a name outside the ANSI code page", L"\x0444\x043E\x0442\x043E-\x5199\x771F-\xD55C.bmp",
       testbed::BmpBytes(12, 10, 24, bands(10)), 12, 10, bands(10), 0},
  };
  for (const RasterCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.bytes.empty());
    folder.WriteBytes(c.file, c.bytes);
    auto picture = LoadPictureFile(folder.File(c.file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), c.width);
    EXPECT_EQ(picture->height(), c.height);
    // Corners and the middle of each quarter, away from JPEG's blurred band edges.
    const int w = c.width, h = c.height;
    const int xs[] = {0, w / 4, 3 * w / 4, w - 1}, ys[] = {0, h / 4, 3 * h / 4, h - 1};
    for (int y : ys) {
      for (int x : xs) {
        EXPECT_PRED3(Near, PixelAt(*picture, x, y), c.colour(x, y), c.tolerance) << "at " << x << ", " << y;
      }
    }
  }
}

TEST(PictureLoader, MetafileTakesItsSizeFromThePlaceableHeader) {
  testbed::TempFolder folder;
  const int dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
  struct {
    int widthUnits, heightUnits, unitsPerInch;
  } cases[] = {{3000, 1500, 1440}, {254, 508, 254}, {1000, 1000, 576}, {96, 48, 96}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.widthUnits) + " x " + std::to_string(c.heightUnits) + " at " +
                 std::to_string(c.unitsPerInch));
    folder.WriteBytes(L"drawing.wmf", testbed::MetafileBytes(c.widthUnits, c.heightUnits, c.unitsPerInch, kRed, kBlue));
    auto picture = LoadPictureFile(folder.File(L"drawing.wmf"));
    ASSERT_TRUE(picture);
    const int width = c.widthUnits * dpiX / c.unitsPerInch, height = c.heightUnits * dpiY / c.unitsPerInch;
    EXPECT_NEAR(picture->width(), width, 1);
    EXPECT_NEAR(picture->height(), height, 1);
    // Played over the whole picture, the right way up.
    EXPECT_EQ(PixelAt(*picture, 1, 1), kRed);
    EXPECT_EQ(PixelAt(*picture, picture->width() - 2, height / 4), kRed);
    EXPECT_EQ(PixelAt(*picture, 1, picture->height() - 2), kBlue);
    EXPECT_EQ(PixelAt(*picture, picture->width() - 2, picture->height() - 2), kBlue);
  }
}

TEST(PictureLoader, BadFilesAreRefused) {
  testbed::TempFolder folder;
  const std::string bmp = testbed::BmpBytes(40, 30, 24, testbed::TwoBands(kRed, kBlue, 30));
  const std::string gif = testbed::GifBytes(40, 30, testbed::TwoBands(kRed, kBlue, 30));
  const std::string jpeg = testbed::JpegBytes(40, 30, testbed::TwoBands(kRed, kBlue, 30));
  const std::string wmf = testbed::MetafileBytes(600, 450, 1440, kRed, kBlue);
  ASSERT_FALSE(jpeg.empty());
  const struct {
    const char* name;
    std::wstring file;
    std::string bytes;
  } files[] = {
      {"zero bytes", L"empty.bmp", ""},
      {"bitmap cut inside its header", L"cut-header.bmp", bmp.substr(0, 30)},
      {"bitmap cut in its pixels", L"cut.bmp", bmp.substr(0, bmp.size() / 2)},
      {"gif cut inside its header", L"cut-header.gif", gif.substr(0, 10)},
      {"jpeg cut inside its headers", L"cut-header.jpg", jpeg.substr(0, 100)},
      {"metafile cut inside its header", L"cut-header.wmf", wmf.substr(0, 16)},
      {"bitmap with a damaged signature", L"flip-magic.bmp", testbed::Flipped(bmp, 0, 2)},
      {"text named as a jpeg", L"notes.jpg", "This is not a picture, only some text.\r\n"},
      {"png named as a gif", L"png.gif", std::string("\x89PNG\r\n\x1A\n", 8) + std::string(64, '\0')},
      {"bitmap claiming 30000 x 30000", L"huge.bmp", testbed::BmpClaimingSize(30000, 30000)},
      {"gif claiming 30000 x 30000", L"huge.gif", testbed::WithGifScreenSize(gif, 30000, 30000)},
      {"jpeg claiming 30000 x 30000", L"huge.jpg", testbed::WithJpegFrameSize(jpeg, 30000, 30000)},
      {"metafile of 32767 x 32767 inches", L"huge.wmf", testbed::MetafileBytes(32767, 32767, 1, kRed, kBlue)},
      {"jpeg with damaged scan data", L"flip-scan.jpg", testbed::Flipped(jpeg, jpeg.size() - 200, 100)},
      {"jpeg without its end marker", L"no-end.jpg", jpeg.substr(0, jpeg.size() - 2)},
      {"gif with damaged image data", L"flip-data.gif", testbed::Flipped(gif, 60, 200)},
  };
  for (const auto& f : files) folder.WriteBytes(f.file, f.bytes);

  std::vector<std::pair<std::string, std::wstring>> paths;
  for (const auto& f : files) paths.emplace_back(f.name, folder.File(f.file));
  folder.WriteBytes(L"gone.bmp", bmp);
  ::DeleteFileW(folder.File(L"gone.bmp").c_str());
  paths.emplace_back("a file deleted before the load", folder.File(L"gone.bmp"));
  ::CreateDirectoryW(folder.File(L"album.jpg").c_str(), nullptr);
  paths.emplace_back("a folder", folder.File(L"album.jpg"));
  paths.emplace_back("an empty path", L"");
  paths.emplace_back("the null device", L"NUL");

  for (const auto& [name, path] : paths) EXPECT_FALSE(LoadPictureFile(path)) << name;
}

TEST(PictureLoader, FilesOver256MebibytesAreRefusedUnread) {
  testbed::TempFolder folder;
  // A sound bitmap at the front: only the file's size can make the loader refuse it.
  folder.WriteBytes(L"long.bmp", testbed::BmpBytes(8, 8, 24, testbed::TwoBands(kRed, kBlue, 8)));
  ASSERT_TRUE(LoadPictureFile(folder.File(L"long.bmp")));
  HANDLE file = ::CreateFileW(folder.File(L"long.bmp").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (256ll << 20) + 1;
  EXPECT_TRUE(::SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
  EXPECT_TRUE(::SetEndOfFile(file));
  ::CloseHandle(file);

  EXPECT_FALSE(LoadPictureFile(folder.File(L"long.bmp")));
}

TEST(PictureLoader, TwoHundredLoadsLeakNothing) {
  testbed::TempFolder folder;
  // Pictures of 1 MiB decoded, so that a leaked bitmap or decoder shows in the memory used.
  folder.WriteBytes(L"a.bmp", testbed::BmpBytes(512, 512, 24, testbed::TwoBands(kRed, kBlue, 512)));
  folder.WriteBytes(L"b.jpg", testbed::JpegBytes(512, 512, testbed::TwoBands(kGreen, kBlue, 512)));
  folder.WriteBytes(L"c.gif", testbed::GifBytes(512, 512, testbed::TwoBands(kRed, kYellow, 512)));
  folder.WriteBytes(L"d.wmf", testbed::MetafileBytes(7680, 7680, 1440, kRed, kBlue));
  folder.WriteBytes(L"e.bmp", testbed::BmpClaimingSize(512, 512));
  const std::wstring names[] = {L"a.bmp", L"b.jpg", L"c.gif", L"d.wmf", L"e.bmp"};
  for (const auto& name : names) LoadPictureFile(folder.File(name));  // first-use allocations

  const DWORD gdiBefore = testbed::GdiFootprint();
  const std::size_t memoryBefore = PagefileUsage();
  int loaded = 0;
  for (int i = 0; i < 200; ++i) loaded += LoadPictureFile(folder.File(names[i % 5])).has_value();
  EXPECT_EQ(loaded, 160);
  EXPECT_LE(testbed::GdiFootprint(), gdiBefore) << "GDI objects left over";
  EXPECT_LT(PagefileUsage(), memoryBefore + (16u << 20));
}
