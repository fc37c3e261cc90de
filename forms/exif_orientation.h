// The turn or mirror image that a camera recorded for a JPEG: the orientation tag (274) of the
// first image directory in an APP1 "Exif" segment.
#pragma once

#include <cstddef>
#include <cstdint>

namespace forms {

// Orientation 1 is the picture as stored; 2 to 8 are the turns and mirror images that make it upright.
constexpr std::uint16_t kUprightAsStored = 1;

// payload is an APP1 segment's contents after its length field. Reads the tag in either byte
// order without leaving the payload; anything not Exif, cut short, pointing outside the payload
// or holding a value outside 1 to 8 gives kUprightAsStored.
std::uint16_t ExifOrientation(const unsigned char* payload, std::size_t size);

// Whether an orientation turns the picture a quarter, so that its upright width is its stored height.
bool SwapsSides(std::uint16_t orientation);

}  // namespace forms
