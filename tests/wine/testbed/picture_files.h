// Picture files made on the spot, so that the loader's tests need no binary fixtures: bitmaps, GIFs
// and JPEGs through the platform's imaging component, placeable metafiles recorded by GDI, and the
// damaged variants the loader has to survive. Colours are 0x00RRGGBB, as Rgb in screen.h makes.
// Each is empty when the encoder fails.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace testbed {

// The colour of pixel (x, y), row 0 at the top.
using PixelColour = std::function<std::uint32_t(int x, int y)>;

// The upper half of the rows (rounded down) in top, the rest in bottom: a picture drawn upside down
// shows at once.
PixelColour TwoBands(std::uint32_t top, std::uint32_t bottom, int height);

// bitsPerPixel 1 or 8 (palette) or 24. With 1 and 8 bits the picture may use at most 2 and 256
// different colours.
std::string BmpBytes(int width, int height, int bitsPerPixel, const PixelColour& colour);

// One frame covering the whole logical screen; a picture of at most 256 colours.
std::string GifBytes(int width, int height, const PixelColour& colour);

// Baseline JPEG at the given quality (0 to 100).
std::string JpegBytes(int width, int height, const PixelColour& colour, int quality = 95);

// A metafile of two filled bands with a placeable header whose bounding box is widthUnits x
// heightUnits at unitsPerInch.
std::string MetafileBytes(int widthUnits, int heightUnits, int unitsPerInch, std::uint32_t top, std::uint32_t bottom);

// Damage.
std::string Flipped(const std::string& bytes, std::size_t from, std::size_t count);
// A header that claims another size than the data holds.
std::string BmpClaimingSize(std::int32_t width, std::int32_t height);
std::string WithGifScreenSize(std::string gif, int width, int height);
std::string WithJpegFrameSize(std::string jpeg, int width, int height);

}  // namespace testbed
