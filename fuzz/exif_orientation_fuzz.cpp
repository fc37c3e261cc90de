// Any bytes as an APP1 segment's contents, as a whole JPEG, and wrapped into a JPEG whose frame
// follows that segment: the orientation is always 1 to 8, and the header reader takes the one
// the segment holds.
#include <vector>

#include "forms/exif_orientation.h"
#include "forms/picture_header.h"
#include "fuzz/fuzz_support.h"

namespace {

bool ValidOrientation(std::uint16_t orientation) { return orientation >= 1 && orientation <= 8; }

// SOI, one APP1 with the payload, and a 1 x 1 baseline frame header.
std::vector<std::uint8_t> JpegAround(const std::uint8_t* payload, std::size_t size) {
  const std::size_t length = size + 2;
  std::vector<std::uint8_t> jpeg = {
      0xFF, 0xD8, 0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
  jpeg.insert(jpeg.end(), payload, payload + size);
  jpeg.insert(jpeg.end(), {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01, 0x01, 0x01, 0x11, 0x00});
  return jpeg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint16_t orientation = forms::ExifOrientation(data, size);
  fuzz::Require(ValidOrientation(orientation), "an orientation from 1 to 8");

  // A tag found stays found when more bytes follow the segment.
  std::vector<std::uint8_t> longer(data, data + size);
  longer.resize(size + 16, 0xA5);
  if (orientation != forms::kUprightAsStored) {
    fuzz::Require(forms::ExifOrientation(longer.data(), longer.size()) == orientation, "the same tag with bytes after");
  }

  if (const auto header = forms::ReadPictureHeader(data, size)) {
    fuzz::Require(ValidOrientation(header->orientation), "a whole file's orientation from 1 to 8");
  }

  if (size <= 0xFFFF - 2) {
    const std::vector<std::uint8_t> jpeg = JpegAround(data, size);
    const auto header = forms::ReadPictureHeader(jpeg.data(), jpeg.size());
    fuzz::Require(header && header->kind == forms::PictureKind::Jpeg && header->width == 1 && header->height == 1,
                  "a JPEG whose frame follows one APP1");
    fuzz::Require(header->orientation == orientation, "the header reader takes the segment's orientation");
  }
  return 0;
}
