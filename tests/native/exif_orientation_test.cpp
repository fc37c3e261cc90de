#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/exif_orientation.h"
#include "forms/picture_header.h"

namespace {

struct Entry {
  std::uint16_t tag, type;
  std::uint32_t count;
  std::uint16_t value;
};

class Writer {
 public:
  explicit Writer(bool bigEndian) : big_(bigEndian) {}
  void U16(std::uint32_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    bytes += big_ ? std::string{b[1], b[0]} : std::string{b[0], b[1]};
  }
  void U32(std::uint32_t v) {
    if (big_) U16(v >> 16);
    U16(v & 0xFFFF);
    if (!big_) U16(v >> 16);
  }
  std::string bytes;

 private:
  bool big_;
};

// An APP1 payload: the Exif mark, a TIFF header in the given byte order whose first directory
// lies at directoryOffset, and there a directory claiming claimedCount entries (by default as
// many as given).
std::string Payload(bool bigEndian, const std::vector<Entry>& entries, std::uint32_t directoryOffset = 8,
                    int claimedCount = -1) {
  Writer out(bigEndian);
  out.bytes = std::string("Exif\0\0", 6) + (bigEndian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4));
  out.U32(directoryOffset);
  out.U16(claimedCount < 0 ? static_cast<std::uint32_t>(entries.size()) : static_cast<std::uint32_t>(claimedCount));
  for (const Entry& e : entries) {
    out.U16(e.tag);
    out.U16(e.type);
    out.U32(e.count);
    out.U16(e.value);
    out.U16(0);
  }
  out.U32(0);  // no next directory
  return out.bytes;
}

std::uint16_t Orientation(const std::string& payload) {
  return forms::ExifOrientation(reinterpret_cast<const unsigned char*>(payload.data()), payload.size());
}

Entry Turned(std::uint16_t value) { return {274, 3, 1, value}; }
const Entry kMake{271, 2, 6, 0}, kModel{272, 2, 8, 0};

std::string Segment(unsigned char marker, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  return std::string{'\xFF', static_cast<char>(marker), static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} +
         payload;
}

// The start of a JPEG up to its frame header: the given segments, then a 640 x 480 frame.
std::string Jpeg(const std::string& segments) {
  const std::string frame("\x08\x01\xE0\x02\x80\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 15);
  return std::string("\xFF\xD8", 2) + segments + Segment(0xC0, frame);
}

std::optional<forms::PictureHeader> Header(const std::string& file) {
  return forms::ReadPictureHeader(reinterpret_cast<const unsigned char*>(file.data()), file.size());
}

}  // namespace

TEST(ExifOrientation, ReadsEveryValueInBothByteOrdersAndCountsAnyOtherAsStored) {
  for (bool big : {false, true}) {
    for (std::uint16_t value = 1; value <= 8; ++value) {
      EXPECT_EQ(Orientation(Payload(big, {kMake, kModel, Turned(value)})), value) << big << " " << value;
    }
    for (std::uint16_t value : {0, 9, 65535}) EXPECT_EQ(Orientation(Payload(big, {Turned(value)})), 1) << value;
    EXPECT_EQ(Orientation(Payload(big, {kMake})), 1) << "no tag";
    EXPECT_EQ(Orientation(Payload(big, {{274, 4, 1, 6}})), 1) << "not a short";
    EXPECT_EQ(Orientation(Payload(big, {{274, 3, 2, 6}})), 1) << "two values";
  }
}

TEST(ExifOrientation, NeverReadsOutsideThePayloadNorFollowsALoop) {
  const std::string good = Payload(true, {kMake, Turned(6)});
  ASSERT_EQ(Orientation(good), 6);
  // Cut anywhere before the end of the entries: inside the mark, the header, the count, the entries.
  for (std::size_t keep : {0, 5, 10, 13, 15, 20, 27, 34, 39}) {
    std::string cut = good.substr(0, keep);
    EXPECT_EQ(forms::ExifOrientation(reinterpret_cast<const unsigned char*>(cut.data()), cut.size()), 1) << keep;
  }
  EXPECT_EQ(Orientation(good.substr(0, 40)), 6) << "whole up to the last entry's end";

  const struct {
    const char* what;
    std::string payload;
    std::uint16_t expected;
  } cases[] = {
      {"directory past the end", Payload(false, {Turned(6)}, 4000), 1},
      {"directory at the last byte", Payload(false, {Turned(6)}, 29), 1},
      {"directory offset at the top of the range", Payload(false, {Turned(6)}, 0xFFFFFFFF), 1},
      {"directory on the header itself", Payload(false, {Turned(6)}, 0), 1},
      {"directory inside the header", Payload(true, {Turned(6)}, 4), 1},
      {"huge count, tag first", Payload(false, {Turned(3), kMake}, 8, 65535), 1},
      {"huge count, no tag", Payload(false, {kMake, kModel}, 8, 65535), 1},
      {"count past the entries given, tag after them", Payload(true, {kMake}, 8, 2) + std::string(12, '\0'), 1},
      {"no Exif mark", "Exig" + Payload(false, {Turned(6)}).substr(4), 1},
      {"no byte order", Payload(false, {Turned(6)}).replace(6, 2, "IM"), 1},
      {"no TIFF number", Payload(false, {Turned(6)}).replace(8, 2, std::string("\x2B\0", 2)), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Orientation(c.payload), c.expected) << c.what;
  EXPECT_EQ(forms::ExifOrientation(nullptr, 100), 1);
}

TEST(ExifOrientation, TheJpegHeaderTakesItFromTheFirstExifSegmentBeforeTheFrame) {
  const std::string xmp = Segment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
  const struct {
    const char* what;
    std::string segments;
    std::uint16_t expected;
  } cases[] = {
      {"none", "", 1},
      {"Exif", Segment(0xE1, Payload(false, {Turned(8)})), 8},
      {"after another APP1 and an APP0", Segment(0xE0, "JFIF") + xmp + Segment(0xE1, Payload(true, {Turned(5)})), 5},
      {"the second Exif ignored",
       Segment(0xE1, Payload(false, {Turned(2)})) + Segment(0xE1, Payload(false, {Turned(7)})), 2},
      {"a damaged Exif counts as stored",
       Segment(0xE1, Payload(false, {Turned(6)}, 4000)) + Segment(0xE1, Payload(false, {Turned(7)})), 1},
  };
  for (const auto& c : cases) {
    auto header = Header(Jpeg(c.segments));
    ASSERT_TRUE(header) << c.what;
    EXPECT_EQ(header->orientation, c.expected) << c.what;
    EXPECT_EQ(header->width, 640u) << c.what;
    EXPECT_EQ(header->height, 480u) << c.what;
  }
  // A segment claiming more bytes than the file has: its tag within the file is read, and the
  // file, which ends before any frame, is refused.
  std::string claimingMore = std::string("\xFF\xD8\xFF\xE1\xFF\xF0", 6) + Payload(false, {Turned(6)});
  EXPECT_FALSE(Header(claimingMore));
}
