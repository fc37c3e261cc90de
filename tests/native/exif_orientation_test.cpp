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

// The byteCount low bytes of value, in the given byte order.
std::string Bytes(bool bigEndian, std::uint32_t value, int byteCount) {
  std::string out;
  for (int i = 0; i < byteCount; ++i) out += static_cast<char>(value >> 8 * (bigEndian ? byteCount - 1 - i : i));
  return out;
}

// An APP1 payload: the Exif mark, a TIFF header in the given byte order whose first directory
// lies at directoryOffset, and there a directory claiming claimedCount entries (by default as
// many as given).
std::string Payload(bool big, const std::vector<Entry>& entries, std::uint32_t directoryOffset = 8,
                    int claimedCount = -1) {
  std::string out = std::string("Exif\0\0", 6) + (big ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4)) +
                    Bytes(big, directoryOffset, 4) +
                    Bytes(big, claimedCount < 0 ? static_cast<std::uint32_t>(entries.size()) : claimedCount, 2);
  for (const Entry& e : entries) {
    // A single short sits at the start of the value field in either byte order.
    out += Bytes(big, e.tag, 2) + Bytes(big, e.type, 2) + Bytes(big, e.count, 4) + Bytes(big, e.value, 2) +
           Bytes(big, 0, 2);
  }
  return out + Bytes(big, 0, 4);  // no next directory
}

std::uint16_t Orientation(const std::string& payload) {
  return forms::ExifOrientation(reinterpret_cast<const unsigned char*>(payload.data()), payload.size());
}

Entry Turned(std::uint16_t value) { return {274, 3, 1, value}; }
const Entry kMake{271, 2, 6, 0}, kModel{272, 2, 8, 0};

std::string Segment(char marker, const std::string& payload) {
  return std::string{'\xFF', marker} + Bytes(true, static_cast<std::uint32_t>(payload.size() + 2), 2) + payload;
}

}  // namespace

TEST(ExifOrientation, ReadsEveryValueInBothByteOrdersAndCountsAnyOtherAsStored) {
  for (bool big : {false, true}) {
    for (std::uint16_t value = 1; value <= 8; ++value) {
      EXPECT_EQ(Orientation(Payload(big, {kMake, kModel, Turned(value)})), value) << big << " " << value;
    }
    for (std::uint16_t value : {0, 9}) EXPECT_EQ(Orientation(Payload(big, {Turned(value)})), 1) << value;
    EXPECT_EQ(Orientation(Payload(big, {kMake})), 1) << "no tag";
    EXPECT_EQ(Orientation(Payload(big, {{274, 4, 1, 6}})), 1) << "not a short";
  }
}

TEST(ExifOrientation, NeverReadsOutsideThePayloadNorFollowsALoop) {
  const std::string good = Payload(true, {kMake, Turned(6)});
  ASSERT_EQ(Orientation(good), 6);
  // Cut anywhere before the end of the entries: inside the mark, the header, the count, the entries.
  for (std::size_t keep : {0, 5, 10, 13, 15, 20, 27, 34, 39}) EXPECT_EQ(Orientation(good.substr(0, keep)), 1) << keep;
  EXPECT_EQ(Orientation(good.substr(0, 40)), 6) << "whole up to the last entry's end";

  const struct {
    const char* what;
    std::string payload;
  } cases[] = {
      {"directory past the end", Payload(false, {Turned(6)}, 4000)},
      {"directory at the last byte", Payload(false, {Turned(6)}, 29)},
      {"directory offset at the top of the range", Payload(false, {Turned(6)}, 0xFFFFFFFF)},
      {"directory on the header itself", Payload(false, {Turned(6)}, 0)},
      {"directory inside the header", Payload(true, {Turned(6)}, 4)},
      {"huge count, tag first", Payload(false, {Turned(3), kMake}, 8, 65535)},
      {"count past the entries given, tag after them", Payload(true, {kMake}, 8, 2) + std::string(12, '\0')},
      {"no Exif mark", "Exig" + Payload(false, {Turned(6)}).substr(4)},
      {"no byte order", Payload(false, {Turned(6)}).replace(6, 2, "IM")},
  };
  for (const auto& c : cases) EXPECT_EQ(Orientation(c.payload), 1) << c.what;
}

TEST(ExifOrientation, TheJpegHeaderTakesItFromTheFirstExifSegmentBeforeTheFrame) {
  const std::string xmp = Segment('\xE1', std::string("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
  const std::string frame =
      Segment('\xC0', std::string("\x08\x01\xE0\x02\x80\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 15));
  const struct {
    const char* what;
    std::string segments;
    std::uint16_t expected;
  } cases[] = {
      {"none", "", 1},
      {"after another APP1 and an APP0", Segment('\xE0', "JFIF") + xmp + Segment('\xE1', Payload(true, {Turned(5)})),
       5},
      {"a damaged Exif counts as stored, the next one ignored",
       Segment('\xE1', Payload(false, {Turned(6)}, 4000)) + Segment('\xE1', Payload(false, {Turned(7)})), 1},
  };
  for (const auto& c : cases) {
    const std::string file = "\xFF\xD8" + c.segments + frame;
    auto header = forms::ReadPictureHeader(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    ASSERT_TRUE(header) << c.what;
    EXPECT_EQ(header->orientation, c.expected) << c.what;
  }
  // A segment claiming more bytes than the file has: its tag within the file is read, and the
  // file, which ends before any frame, is refused.
  const std::string claimingMore = std::string("\xFF\xD8\xFF\xE1\xFF\xF0", 6) + Payload(false, {Turned(6)});
  EXPECT_FALSE(
      forms::ReadPictureHeader(reinterpret_cast<const unsigned char*>(claimingMore.data()), claimingMore.size()));
}
