#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "forms/picture_header.h"

using forms::PictureKind;
using forms::ReadPictureHeader;

namespace {

std::string U16LE(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string U16BE(unsigned v) { return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }
std::string U32LE(std::uint32_t v) { return U16LE(v & 0xFFFF) + U16LE(v >> 16); }
std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// A bitmap file with room for its colour table and rows, unless dataBytes says how many follow.
std::string Bmp(std::int32_t width, std::int32_t height, unsigned bitCount = 24, std::uint32_t compression = 0,
                long long dataBytes = -1) {
  const bool runLength = compression == 1 || compression == 2;
  std::string info = U32LE(40) + U32LE(static_cast<std::uint32_t>(width)) + U32LE(static_cast<std::uint32_t>(height)) +
                     U16LE(1) + U16LE(bitCount) + U32LE(compression) + U32LE(runLength ? 16 : 0) +
                     std::string(16, '\0');
  std::string table(bitCount <= 8 ? (4u << bitCount) : 0, '\0');
  long long rows = (static_cast<long long>(width) * bitCount + 31) / 32 * 4 * (height < 0 ? -height : height);
  if (dataBytes < 0) dataBytes = runLength ? 16 : rows;
  std::uint32_t offBits = static_cast<std::uint32_t>(14 + info.size() + table.size());
  return "BM" + U32LE(0) + U32LE(0) + U32LE(offBits) + info + table +
         std::string(static_cast<std::size_t>(dataBytes), '\0');
}
std::string CoreBmp(unsigned width, unsigned height, unsigned bitCount) {
  std::size_t table = bitCount <= 8 ? (1u << bitCount) * 3 : 0;
  std::size_t rows = (width * bitCount + 31) / 32 * 4 * height;
  return "BM" + U32LE(0) + U32LE(0) + U32LE(static_cast<std::uint32_t>(26 + table)) + U32LE(12) + U16LE(width) +
         U16LE(height) + U16LE(1) + U16LE(bitCount) + std::string(table + rows, '\0');
}

// A GIF's header with a table of 4 colours.
std::string GifStart(unsigned width, unsigned height) {
  return "GIF89a" + U16LE(width) + U16LE(height) + Bytes({0x81, 0, 0}) + std::string(12, '\x7F');
}
std::string GifFrame(unsigned left, unsigned top, unsigned width, unsigned height) {
  return "\x2C" + U16LE(left) + U16LE(top) + U16LE(width) + U16LE(height) + Bytes({0, 2, 1, 0x44, 0, 0x3B});
}

std::string Segment(int marker, const std::string& body) {
  return Bytes({0xFF, marker}) + U16BE(static_cast<unsigned>(body.size() + 2)) + body;
}
std::string Sof(int marker, unsigned width, unsigned height) {
  return Segment(marker, Bytes({8}) + U16BE(height) + U16BE(width) + Bytes({1, 1, 0x11, 0}));
}
const std::string kSoi = Bytes({0xFF, 0xD8});
const std::string kApp0 = Segment(0xE0, "JFIF" + std::string(10, '\0'));
// An Exif block whose thumbnail carries a frame header of its own, which must not be taken.
const std::string kExifThumbnail = Segment(0xE1, "Exif" + std::string(2, '\0') + kSoi + Sof(0xC0, 160, 120));
const std::string kHuffman = Segment(0xC4, std::string(20, '\0'));
const std::string kXmp = Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
// A camera's Exif segment: a first directory at directoryOffset holding just the orientation.
std::string Exif(unsigned orientation, std::uint32_t directoryOffset = 8) {
  return Segment(0xE1, std::string("Exif\0\0II*\0", 10) + U32LE(directoryOffset) + U16LE(1) + U16LE(274) + U16LE(3) +
                           U32LE(1) + U16LE(orientation) + U16LE(0) + U32LE(0));
}

std::string Placeable(int left, int top, int right, int bottom, unsigned inch) {
  return U32LE(0x9AC6CDD7) + U16LE(0) + U16LE(static_cast<unsigned>(left)) + U16LE(static_cast<unsigned>(top)) +
         U16LE(static_cast<unsigned>(right)) + U16LE(static_cast<unsigned>(bottom)) + U16LE(inch) + U32LE(0) +
         U16LE(0) + std::string(18, '\0');
}

struct Case {
  const char* name;
  std::string bytes;
  bool recognised;
  PictureKind kind;
  std::uint32_t width, height, unitsPerInch;
  std::uint16_t orientation = 1;
};

}  // namespace

TEST(PictureHeader, ReadsKindSizeAndOrientationFromContent) {
  // The plain pictures of each kind and the usual bad files are the Wine picture loader tests' own.
  const std::vector<Case> cases = {
      {"bitmap stored top row first", Bmp(640, -480), true, PictureKind::Bitmap, 640, 480, 0},
      {"bitmap with the old core header", CoreBmp(300, 200, 8), true, PictureKind::Bitmap, 300, 200, 0},
      {"run-length bitmap", Bmp(100, 100, 8, 1), true, PictureKind::Bitmap, 100, 100, 0},
      {"bitmap one byte short of its rows", Bmp(640, 480, 24, 0, 640 * 3 * 480 - 1), false, {}, 0, 0, 0},
      {"gif frame reaching past its screen", GifStart(64, 48) + GifFrame(40, 30, 60000, 20), true, PictureKind::Gif,
       60040, 50, 0},
      {"gif frame needing more than the decode budget", GifStart(64, 48) + GifFrame(0, 0, 65535, 1025), false, {}, 0,
       0, 0},
      // Found by the fuzzer: a frame header, its length running past the file, of 65370 x 65371.
      {"jpeg frame needing more than the decode budget", Bytes({0xFF, 0xD8, 0xFF, 0xCB, 0xFF, 0xD8, 0x3A, 0xFF, 0x5B,
                                                                0xFF, 0x5A}), false, {}, 0, 0, 0},
      {"gif cut inside its colour table", GifStart(64, 48).substr(0, 16), false, {}, 0, 0, 0},
      {"progressive jpeg after a Huffman table", kSoi + kApp0 + kHuffman + Sof(0xC2, 17, 9), true, PictureKind::Jpeg,
       17, 9, 0},
      {"jpeg with an Exif thumbnail", kSoi + kExifThumbnail + Sof(0xC0, 640, 480), true, PictureKind::Jpeg, 640, 480,
       0},
      {"jpeg turned by an Exif after an APP0 and another APP1", kSoi + kApp0 + kXmp + Exif(5) + Sof(0xC0, 640, 480),
       true, PictureKind::Jpeg, 640, 480, 0, 5},
      {"jpeg whose damaged first Exif hides the next", kSoi + Exif(6, 4000) + Exif(7) + Sof(0xC0, 640, 480), true,
       PictureKind::Jpeg, 640, 480, 0, 1},
      {"jpeg ending inside an Exif that claims more", kSoi + Exif(6).replace(2, 2, "\xFF\xF0"), false, {}, 0, 0, 0},
      {"metafile of an offset box", Placeable(-100, 50, 100, 250, 576), true, PictureKind::Metafile, 200, 200, 576},
      {"metafile without units", Placeable(0, 0, 3000, 1500, 0), false, {}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto header = ReadPictureHeader(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
    ASSERT_EQ(header.has_value(), c.recognised);
    if (!header) continue;
    EXPECT_EQ(header->kind, c.kind);
    EXPECT_EQ(header->width, c.width);
    EXPECT_EQ(header->height, c.height);
    EXPECT_EQ(header->unitsPerInch, c.unitsPerInch);
    EXPECT_EQ(header->orientation, c.orientation);
  }
}
