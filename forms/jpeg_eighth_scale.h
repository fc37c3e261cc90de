// A JPEG decoded at an eighth of its width and height from the mean of each 8 x 8 block, which its
// compressed data carries apart from the detail: the preview and a small screen need no more, and
// it takes neither the time nor the memory of the whole picture. No Win32 here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace forms {

struct EighthScaleImage {
  // The stored picture's width and height divided by 8, rounded up.
  std::int32_t width = 0;
  std::int32_t height = 0;
  // 0x00RRGGBB, top row first, as stored (not stood upright).
  std::vector<std::uint32_t> pixels;
};

// Reads 8-bit Huffman-coded JPEGs, sequential or progressive, in grey or YCbCr, and only those.
// Nothing for other kinds (arithmetic coding, lossless, 12 bits, CMYK, Adobe RGB), for data that
// ends or breaks off before the picture's end, and when the memory is missing; the caller then
// leaves the file to a full decoder, which decides. keepGoing, where given, is asked every few rows
// of blocks; when it says no, the decode is abandoned and gives nothing.
std::optional<EighthScaleImage> DecodeJpegEighthScale(const unsigned char* bytes, std::size_t size,
                                                      const std::function<bool()>& keepGoing = nullptr);

}  // namespace forms
