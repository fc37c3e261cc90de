// Any bytes as a picture file: the header reader must not read outside them, and what it accepts
// must be a picture the loader may decode.
#include <cstring>
#include <vector>

#include "forms/picture_header.h"
#include "fuzz/fuzz_support.h"

using forms::PictureHeader;
using forms::PictureKind;

namespace {

bool StartsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

PictureKind KindByMagic(const std::uint8_t* data, std::size_t size) {
  if (StartsWith(data, size, "BM", 2)) return PictureKind::Bitmap;
  if (StartsWith(data, size, "GIF", 3)) return PictureKind::Gif;
  if (StartsWith(data, size, "\xFF\xD8", 2)) return PictureKind::Jpeg;
  return PictureKind::Metafile;
}

bool Same(const PictureHeader& a, const PictureHeader& b) {
  return a.kind == b.kind && a.width == b.width && a.height == b.height && a.unitsPerInch == b.unitsPerInch &&
         a.orientation == b.orientation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto header = forms::ReadPictureHeader(data, size);
  if (!header) return 0;
  fuzz::Require(header->kind == KindByMagic(data, size), "the kind its first bytes name");
  fuzz::Require(header->width > 0 && header->height > 0, "a picture with area");
  fuzz::Require(header->orientation >= 1 && header->orientation <= 8, "an orientation from 1 to 8");
  fuzz::Require(header->kind == PictureKind::Jpeg || header->orientation == 1, "only a JPEG turned");
  if (header->kind == PictureKind::Metafile) {
    fuzz::Require(header->unitsPerInch > 0, "a metafile with units");
    fuzz::Require(header->width <= 0xFFFF && header->height <= 0xFFFF, "a metafile box of 16-bit corners");
  } else {
    // Each side is below 2^32, so their product is exact in 64 bits.
    const std::uint64_t pixels = std::uint64_t{header->width} * header->height;
    fuzz::Require(pixels <= forms::kMaxDecodedPictureBytes / 4, "a raster picture within the decode budget");
  }
  // The reader only ever asks whether something lies within the file, so more bytes after an
  // accepted file never change the answer.
  std::vector<std::uint8_t> longer(data, data + size);
  longer.insert(longer.end(), {0xFF, 0xD9, 0x00, 0x3B, 0x2C});
  const auto again = forms::ReadPictureHeader(longer.data(), longer.size());
  fuzz::Require(again && Same(*again, *header), "the same header with bytes after the file");
  return 0;
}
