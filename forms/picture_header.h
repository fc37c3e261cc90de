// What a picture file's first bytes say about it, read before any decoder sees the file, so that
// a header claiming a giant picture is refused before the platform tries to decode it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace forms {

enum class PictureKind { Bitmap, Gif, Jpeg, Metafile };

struct PictureHeader {
  PictureKind kind;
  // Raster kinds: the largest pixel extent a decoder may build (for a GIF the logical screen or
  // the first frame, whichever reaches further). Metafiles: the bounding box in the file's own
  // units, of which there are unitsPerInch to the inch.
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t unitsPerInch;
  // JPEG: the Exif orientation recorded before the frame (see exif_orientation.h); width and
  // height above are as stored. Every other kind stands as stored.
  std::uint16_t orientation = 1;
};

// Recognises the four kinds by content, whatever the file is called; bytes and size are the
// whole file. Nothing for anything else, for a header that is cut short or inconsistent, for a
// bitmap whose colour table or pixel rows reach past the end of the file, for a picture
// without area, and for a bitmap, GIF or JPEG that would not fit the decode budget.
std::optional<PictureHeader> ReadPictureHeader(const unsigned char* bytes, std::size_t size);

// The most a decoded picture may take, at 4 bytes a pixel.
constexpr std::uint64_t kMaxDecodedPictureBytes = std::uint64_t{256} << 20;

// Whether width x height pixels of 4 bytes stay within kMaxDecodedPictureBytes.
bool FitsDecodeBudget(std::uint64_t width, std::uint64_t height);

}  // namespace forms
