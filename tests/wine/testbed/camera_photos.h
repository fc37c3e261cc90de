// Photos as a camera stores them: the pixels as the sensor saw them, and in the Exif orientation
// tag the turn or mirror image that stands them upright. The upright picture has a marked corner,
// so that a picture shown turned or mirrored shows at once.
#pragma once

#include <cstdint>
#include <string>

namespace testbed {

// An Exif APP1 payload in either byte order whose first directory holds a make tag and then the
// orientation tag with value.
std::string ExifPayload(std::uint16_t value, bool bigEndian);

// The JPEG with an APP1 segment of payload right after its start marker.
std::string WithApp1(const std::string& jpeg, const std::string& payload);

// The colour of upright pixel (x, y) of a picture of width x height: mark in the top-left
// quarter, background elsewhere.
std::uint32_t MarkedCorner(int x, int y, int width, int height, std::uint32_t background, std::uint32_t mark);

// A JPEG that shows the marked-corner picture of uprightWidth x uprightHeight once stood upright
// by orientation, tagged with it. Empty when the encoder fails.
std::string CameraJpeg(int uprightWidth, int uprightHeight, std::uint16_t orientation, std::uint32_t background,
                       std::uint32_t mark, bool bigEndian = false);

}  // namespace testbed
