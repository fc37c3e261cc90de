#include "forms/exif_orientation.h"

#include <cstring>

namespace forms {
namespace {

constexpr std::uint16_t kOrientationTag = 274;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntryBytes = 12;

// The TIFF structure after the "Exif" mark: offsets count from its first byte, and every read is
// checked against its end, so no offset in the file can lead outside it.
class Tiff {
 public:
  Tiff(const unsigned char* data, std::size_t size, bool bigEndian) : data_(data), size_(size), bigEndian_(bigEndian) {}
  bool Has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }
  std::uint16_t U16(std::size_t at) const {
    return bigEndian_ ? static_cast<std::uint16_t>((data_[at] << 8) | data_[at + 1])
                      : static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
  }
  std::uint32_t U32(std::size_t at) const {
    const std::uint32_t high = U16(bigEndian_ ? at : at + 2), low = U16(bigEndian_ ? at + 2 : at);
    return (high << 16) | low;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  bool bigEndian_;
};

}  // namespace

std::uint16_t ExifOrientation(const unsigned char* payload, std::size_t size) {
  constexpr std::size_t kMarkBytes = 6, kHeaderBytes = 8;
  if (!payload || size < kMarkBytes + kHeaderBytes || std::memcmp(payload, "Exif\0\0", kMarkBytes) != 0) {
    return kUprightAsStored;
  }
  const unsigned char* tiffBytes = payload + kMarkBytes;
  const bool little = std::memcmp(tiffBytes, "II\x2A\0", 4) == 0;
  const bool big = std::memcmp(tiffBytes, "MM\0\x2A", 4) == 0;
  if (!little && !big) return kUprightAsStored;
  const Tiff tiff(tiffBytes, size - kMarkBytes, big);

  // Only the first directory is read and no further offset is followed, so a directory that
  // points at itself or at another cannot make a loop; one that overlaps the header is damage.
  const std::uint32_t directory = tiff.U32(4);
  if (directory < kHeaderBytes || !tiff.Has(directory, 2)) return kUprightAsStored;
  const std::size_t count = tiff.U16(directory);
  // A directory that claims more entries than the segment holds is damage, whatever it says.
  if (!tiff.Has(directory + 2, count * kEntryBytes)) return kUprightAsStored;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = directory + 2 + i * kEntryBytes;
    if (tiff.U16(entry) != kOrientationTag) continue;
    if (tiff.U16(entry + 2) != kShortType || tiff.U32(entry + 4) != 1) return kUprightAsStored;
    const std::uint16_t value = tiff.U16(entry + 8);  // a single short sits in the value field itself
    return value >= 1 && value <= 8 ? value : kUprightAsStored;
  }
  return kUprightAsStored;
}

bool SwapsSides(std::uint16_t orientation) { return orientation >= 5 && orientation <= 8; }

}  // namespace forms
