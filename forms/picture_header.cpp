#include "forms/picture_header.h"

#include <algorithm>
#include <cstring>

#include "forms/exif_orientation.h"

namespace forms {
namespace {

// A bounds-checked view of the file's bytes: every read past the end yields nothing.
class Bytes {
 public:
  Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  // The bytes from offset on, at most count of them, for a reader that checks its own bounds.
  const unsigned char* At(std::size_t offset) const { return data_ + offset; }
  std::size_t Available(std::size_t offset, std::size_t count) const {
    return offset >= size_ ? 0 : std::min(count, size_ - offset);
  }
  bool Has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }
  std::optional<std::uint32_t> U8(std::size_t at) const {
    if (!Has(at, 1)) return std::nullopt;
    return data_[at];
  }
  std::optional<std::uint32_t> U16LE(std::size_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return data_[at] | (data_[at + 1] << 8);
  }
  std::optional<std::uint32_t> U16BE(std::size_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return (data_[at] << 8) | data_[at + 1];
  }
  std::optional<std::uint32_t> U32LE(std::size_t at) const {
    if (!Has(at, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(data_[at]) | (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[at + 2]) << 16) | (static_cast<std::uint32_t>(data_[at + 3]) << 24);
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

// A raster picture that would take more than the decode budget is refused here, before any
// decoder sees it.
std::optional<PictureHeader> Raster(PictureKind kind, std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0 || !FitsDecodeBudget(width, height)) return std::nullopt;
  return PictureHeader{kind, width, height, 0};
}

bool IsKnownBitmapInfoSize(std::uint32_t size) {
  for (std::uint32_t known : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
    if (size == known) return true;
  }
  return false;
}

// Besides the size, the colour table and the pixel rows must lie within the file: the platform's
// bitmap reader takes them from the file's bytes without asking how many there are.
std::optional<PictureHeader> ReadBitmap(const Bytes& file, std::size_t fileSize) {
  auto offBits = file.U32LE(10), infoSize = file.U32LE(14);
  if (!offBits || !infoSize || !IsKnownBitmapInfoSize(*infoSize)) return std::nullopt;
  const bool core = *infoSize == 12;  // the old header, 16-bit sizes and 3-byte colours
  std::uint64_t width, height;
  std::optional<std::uint32_t> bitCount, compression = 0u, sizeImage = 0u, coloursUsed = 0u;
  if (core) {
    auto w = file.U16LE(18), h = file.U16LE(20);
    bitCount = file.U16LE(24);
    if (!w || !h) return std::nullopt;
    width = *w;
    height = *h;
  } else {
    auto w = file.U32LE(18), h = file.U32LE(22);
    bitCount = file.U16LE(28);
    if (!w || !h) return std::nullopt;
    auto signedWidth = static_cast<std::int32_t>(*w);
    // A negative height marks rows stored top first; its magnitude is the height.
    auto signedHeight = static_cast<std::int64_t>(static_cast<std::int32_t>(*h));
    if (signedWidth <= 0) return std::nullopt;
    width = static_cast<std::uint64_t>(signedWidth);
    height = static_cast<std::uint64_t>(signedHeight < 0 ? -signedHeight : signedHeight);
    if (*infoSize >= 40) {
      compression = file.U32LE(30);
      sizeImage = file.U32LE(34);
      coloursUsed = file.U32LE(46);
    }
  }
  if (!bitCount || !compression || !sizeImage || !coloursUsed || width == 0 || height == 0) return std::nullopt;

  std::uint64_t tableEntries = 0;
  switch (*bitCount) {
    case 1: case 4: case 8: tableEntries = std::uint64_t{1} << *bitCount; break;
    case 16: case 24: case 32: break;
    default: return std::nullopt;
  }
  if (*coloursUsed != 0) {
    if (tableEntries != 0 && *coloursUsed > tableEntries) return std::nullopt;
    tableEntries = *coloursUsed;
  }
  const std::uint64_t tableEnd = 14 + std::uint64_t{*infoSize} + tableEntries * (core ? 3 : 4);

  std::uint64_t pixelBytes;
  const std::uint64_t rowBytes = (width * *bitCount + 31) / 32 * 4;
  switch (*compression) {
    case 0:  // plain rows
    case 3:  // rows with colour masks
      if (height > fileSize / rowBytes) return std::nullopt;
      pixelBytes = rowBytes * height;
      break;
    case 1:  // run-length encoded, read up to the stated size
    case 2:
      if (*sizeImage == 0) return std::nullopt;
      pixelBytes = *sizeImage;
      break;
    default:  // embedded JPEG or PNG and other rarities
      return std::nullopt;
  }
  if (tableEnd > fileSize || *offBits < 14 + std::uint64_t{*infoSize} || *offBits > fileSize ||
      pixelBytes > fileSize - *offBits) {
    return std::nullopt;
  }
  return Raster(PictureKind::Bitmap, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

// Skips colour tables and extension blocks up to the first image descriptor.
std::optional<PictureHeader> ReadGif(const Bytes& file) {
  auto screenWidth = file.U16LE(6), screenHeight = file.U16LE(8), flags = file.U8(10);
  if (!screenWidth || !screenHeight || !flags) return std::nullopt;
  std::size_t at = 13;
  if (*flags & 0x80) at += 3u << ((*flags & 7) + 1);
  for (;;) {
    auto block = file.U8(at);
    if (!block) return std::nullopt;
    if (*block == 0x2C) {
      auto left = file.U16LE(at + 1), top = file.U16LE(at + 3);
      auto width = file.U16LE(at + 5), height = file.U16LE(at + 7);
      if (!left || !top || !width || !height || *width == 0 || *height == 0) return std::nullopt;
      return Raster(PictureKind::Gif, std::max(*screenWidth, *left + *width),
                    std::max(*screenHeight, *top + *height));
    }
    if (*block != 0x21) return std::nullopt;  // the trailer or garbage: no picture to show
    at += 2;  // introducer and label
    for (;;) {
      auto length = file.U8(at);
      if (!length) return std::nullopt;
      at += 1 + *length;
      if (*length == 0) break;
    }
  }
}

bool IsStartOfFrame(std::uint32_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments up to the frame header, taking the orientation from the first Exif
// segment; the others before it (the Exif thumbnail's among them) are skipped whole by their lengths.
std::optional<PictureHeader> ReadJpeg(const Bytes& file) {
  std::size_t at = 2;
  std::optional<std::uint16_t> orientation;
  for (;;) {
    auto introducer = file.U8(at);
    if (!introducer || *introducer != 0xFF) return std::nullopt;
    auto marker = file.U8(at + 1);
    while (marker && *marker == 0xFF) marker = file.U8(++at + 1);  // fill bytes
    if (!marker) return std::nullopt;
    at += 2;
    if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD8)) continue;  // no length follows
    if (*marker == 0xD9 || *marker == 0xDA) return std::nullopt;            // data before any frame
    auto length = file.U16BE(at);
    if (!length || *length < 2) return std::nullopt;
    if (IsStartOfFrame(*marker)) {
      auto height = file.U16BE(at + 3), width = file.U16BE(at + 5);
      if (!height || !width) return std::nullopt;
      auto header = Raster(PictureKind::Jpeg, *width, *height);
      if (header) header->orientation = orientation.value_or(kUprightAsStored);
      return header;
    }
    constexpr std::uint32_t kApp1 = 0xE1;
    if (*marker == kApp1 && !orientation) {
      const std::size_t payload = at + 2;
      const std::size_t available = file.Available(payload, *length - 2);
      if (available >= 6 && std::memcmp(file.At(payload), "Exif\0\0", 6) == 0) {
        orientation = ExifOrientation(file.At(payload), available);
      }
    }
    at += *length;
  }
}

// The placeable header in front of a Windows metafile: key, handle, bounding box, units per inch.
std::optional<PictureHeader> ReadMetafile(const Bytes& file) {
  auto left = file.U16LE(6), top = file.U16LE(8), right = file.U16LE(10), bottom = file.U16LE(12);
  auto inch = file.U16LE(14);
  if (!left || !top || !right || !bottom || !inch || *inch == 0 || !file.Has(0, 22 + 18)) return std::nullopt;
  auto extent = [](std::uint32_t from, std::uint32_t to) {
    int difference = static_cast<std::int16_t>(to) - static_cast<std::int16_t>(from);
    return static_cast<std::uint32_t>(difference < 0 ? -difference : difference);
  };
  std::uint32_t width = extent(*left, *right), height = extent(*top, *bottom);
  if (width == 0 || height == 0) return std::nullopt;
  return PictureHeader{PictureKind::Metafile, width, height, *inch};
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(const unsigned char* bytes, std::size_t size) {
  if (!bytes) return std::nullopt;
  Bytes file(bytes, size);
  auto starts = [&](const char* magic, std::size_t length) {
    return file.Has(0, length) && std::memcmp(magic, bytes, length) == 0;
  };
  if (starts("BM", 2)) return ReadBitmap(file, size);
  if (starts("GIF87a", 6) || starts("GIF89a", 6)) return ReadGif(file);
  if (starts("\xFF\xD8", 2)) return ReadJpeg(file);
  if (starts("\xD7\xCD\xC6\x9A", 4)) return ReadMetafile(file);
  return std::nullopt;
}

bool FitsDecodeBudget(std::uint64_t width, std::uint64_t height) {
  // Each factor is checked first so that the product cannot overflow 64 bits.
  const std::uint64_t pixels = kMaxDecodedPictureBytes / 4;
  return width <= pixels && height <= pixels && width * height <= pixels;
}

}  // namespace forms
