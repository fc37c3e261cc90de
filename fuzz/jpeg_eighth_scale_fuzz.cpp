// Any bytes as a JPEG for the block-average reader: a picture it gives has an eighth of the size the
// header reader reads from the same bytes and one pixel for each of its places, and an abandoned
// decode gives nothing.
#include "forms/jpeg_eighth_scale.h"
#include "forms/picture_header.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The loader reads no picture its header reader refuses; the reader must hold without it too.
  const auto image = forms::DecodeJpegEighthScale(data, size);
  if (!image) return 0;
  fuzz::Require(image->width > 0 && image->height > 0, "a picture with area");
  fuzz::Require(image->pixels.size() == static_cast<std::size_t>(image->width) * image->height,
                "one pixel for each place");
  const auto header = forms::ReadPictureHeader(data, size);
  if (header && header->kind == forms::PictureKind::Jpeg) {
    fuzz::Require(static_cast<std::uint32_t>(image->width) == (header->width + 7) / 8 &&
                      static_cast<std::uint32_t>(image->height) == (header->height + 7) / 8,
                  "an eighth of the header's size");
  }
  fuzz::Require(!forms::DecodeJpegEighthScale(data, size, [] { return false; }), "nothing from an abandoned decode");
  return 0;
}
