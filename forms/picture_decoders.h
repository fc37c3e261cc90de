// The picture loader's two ways of decoding a checked file, and the bitmap both deliver into.
#pragma once

#include <windows.h>

#include <optional>

#include "forms/exif_orientation.h"
#include "forms/picture_header.h"
#include "forms/picture_loader.h"

namespace forms {

// A black 32-bit top-down picture of width x height, selected into a memory DC.
std::optional<LoadedPicture> NewPicture(int width, int height);

// The platform's imaging component: JPEG, decoded at a reduced scale where the decoder offers it
// and scaled while the pixels are copied. Nothing when it cannot read the file; the stream may
// then have been read from anywhere.
std::optional<LoadedPicture> LoadWithImaging(IStream* stream, const PictureHeader& header, const ViewChoice& choose);

// OLE picture loading: every kind, metafiles among them, rendered whole and then cut or scaled.
std::optional<LoadedPicture> LoadWithOle(IStream* stream, const PictureHeader& header, const ViewChoice& choose);

// A picture of the upright form of a block of blockWidth x blockHeight pixels as stored.
std::optional<LoadedPicture> UprightPicture(std::uint16_t orientation, const std::uint32_t* block,
                                            std::int32_t blockWidth, std::int32_t blockHeight);

}  // namespace forms
