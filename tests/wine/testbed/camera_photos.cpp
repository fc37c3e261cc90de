#include "wine/testbed/camera_photos.h"

#include "wine/testbed/picture_files.h"

namespace testbed {
namespace {

std::string Bytes16(std::uint32_t value, bool bigEndian) {
  const char high = static_cast<char>((value >> 8) & 0xFF), low = static_cast<char>(value & 0xFF);
  return bigEndian ? std::string{high, low} : std::string{low, high};
}

std::string Bytes32(std::uint32_t value, bool bigEndian) {
  return bigEndian ? Bytes16(value >> 16, true) + Bytes16(value & 0xFFFF, true)
                   : Bytes16(value & 0xFFFF, false) + Bytes16(value >> 16, false);
}

struct Point {
  int x, y;
};

// Where stored pixel (x, y) of a storedWidth x storedHeight picture stands once upright, from the
// tag's definition: which side of the upright picture the stored rows and columns start at.
Point UprightPoint(std::uint16_t orientation, int x, int y, int storedWidth, int storedHeight) {
  switch (orientation) {
    case 2: return {storedWidth - 1 - x, y};                       // row 0 at the top, column 0 on the right
    case 3: return {storedWidth - 1 - x, storedHeight - 1 - y};    // row 0 at the bottom, column 0 on the right
    case 4: return {x, storedHeight - 1 - y};                      // row 0 at the bottom, column 0 on the left
    case 5: return {y, x};                                         // row 0 on the left, column 0 at the top
    case 6: return {storedHeight - 1 - y, x};                      // row 0 on the right, column 0 at the top
    case 7: return {storedHeight - 1 - y, storedWidth - 1 - x};    // row 0 on the right, column 0 at the bottom
    case 8: return {y, storedWidth - 1 - x};                       // row 0 on the left, column 0 at the bottom
    default: return {x, y};
  }
}

}  // namespace

std::string ExifPayload(std::uint16_t value, bool bigEndian) {
  std::string out = std::string("Exif\0\0", 6) + (bigEndian ? std::string("MM\0\x2A", 4) : std::string("II\x2A\0", 4));
  out += Bytes32(8, bigEndian) + Bytes16(2, bigEndian);
  out += Bytes16(271, bigEndian) + Bytes16(2, bigEndian) + Bytes32(4, bigEndian) + std::string("Cam\0", 4);
  out += Bytes16(274, bigEndian) + Bytes16(3, bigEndian) + Bytes32(1, bigEndian) + Bytes16(value, bigEndian) +
         std::string(2, '\0');
  return out + Bytes32(0, bigEndian);
}

std::string WithApp1(const std::string& jpeg, const std::string& payload) {
  const std::size_t length = payload.size() + 2;
  return jpeg.substr(0, 2) + "\xFF\xE1" + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + payload +
         jpeg.substr(2);
}

std::uint32_t MarkedCorner(int x, int y, int width, int height, std::uint32_t background, std::uint32_t mark) {
  return x < width / 2 && y < height / 2 ? mark : background;
}

std::string CameraJpeg(int uprightWidth, int uprightHeight, std::uint16_t orientation, std::uint32_t background,
                       std::uint32_t mark, bool bigEndian) {
  const bool quarterTurn = orientation >= 5 && orientation <= 8;
  const int storedWidth = quarterTurn ? uprightHeight : uprightWidth;
  const int storedHeight = quarterTurn ? uprightWidth : uprightHeight;
  const std::string jpeg = JpegBytes(storedWidth, storedHeight, [=](int x, int y) {
    const Point upright = UprightPoint(orientation, x, y, storedWidth, storedHeight);
    return MarkedCorner(upright.x, upright.y, uprightWidth, uprightHeight, background, mark);
  });
  return jpeg.empty() ? jpeg : WithApp1(jpeg, ExifPayload(orientation, bigEndian));
}

}  // namespace testbed
