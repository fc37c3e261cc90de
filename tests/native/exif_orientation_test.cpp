#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/exif_orientation.h"

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
