// A JPEG shown small (the dialog's preview, a photo many times the screen's size) is made from an
// eighth-scale decode, averaged down to the view: each pixel the mean of what it covers, which
// keeps fine detail from flickering into stray dots as dropped rows and columns would.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "forms/jpeg_eighth_scale.h"
#include "forms/picture_decoders.h"

namespace forms {
namespace {

// The cells [first, last) of an eighth-scale row or column that target pixel t of count covers.
struct CellSpan {
  int first;
  int last;
};

CellSpan Cover(int t, int count, int storedSize, int cells) {
  const auto from = static_cast<int>(static_cast<std::int64_t>(t) * storedSize / count / 8);
  const auto to = static_cast<int>(static_cast<std::int64_t>(t + 1) * storedSize / count / 8);
  const int first = std::min(from, cells - 1);
  return {first, std::clamp(to, first + 1, cells)};
}

// Averages image down to width x height into pixels (rows of width, top first).
void AverageDown(const EighthScaleImage& image, std::int32_t storedWidth, std::int32_t storedHeight, std::int32_t width,
                 std::int32_t height, std::uint32_t* pixels) {
  for (int y = 0; y < height; ++y) {
    const CellSpan rows = Cover(y, height, storedHeight, image.height);
    for (int x = 0; x < width; ++x) {
      const CellSpan columns = Cover(x, width, storedWidth, image.width);
      std::uint32_t red = 0, green = 0, blue = 0;
      for (int row = rows.first; row < rows.last; ++row) {
        const std::uint32_t* cell =
            image.pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width);
        for (int column = columns.first; column < columns.last; ++column) {
          red += (cell[column] >> 16) & 0xFF;
          green += (cell[column] >> 8) & 0xFF;
          blue += cell[column] & 0xFF;
        }
      }
      const auto cells = static_cast<std::uint32_t>((rows.last - rows.first) * (columns.last - columns.first));
      *pixels++ =
          (((red + cells / 2) / cells) << 16) | (((green + cells / 2) / cells) << 8) | ((blue + cells / 2) / cells);
    }
  }
}

}  // namespace

std::optional<LoadedPicture> LoadEighthScale(IStream* stream, const PictureHeader& header, const ViewChoice& choose,
                                             const std::function<bool()>& keepGoing) {
  const auto storedWidth = static_cast<std::int32_t>(header.width),
             storedHeight = static_cast<std::int32_t>(header.height);
  const PixelRect upright = UprightRect(header.orientation, storedWidth, storedHeight);
  const auto plan = PlanView(header.orientation, storedWidth, storedHeight, choose(upright.Width, upright.Height));
  if (!plan || !plan->Scaled() || plan->Width * 8 > storedWidth || plan->Height * 8 > storedHeight) return std::nullopt;

  HGLOBAL memory = nullptr;
  STATSTG stat = {};
  if (FAILED(::GetHGlobalFromStream(stream, &memory)) || FAILED(stream->Stat(&stat, STATFLAG_NONAME))) {
    return std::nullopt;
  }
  std::optional<EighthScaleImage> image;
  {
    GlobalLockScope lock(memory);
    if (!lock.bytes()) return std::nullopt;
    image = DecodeJpegEighthScale(lock.bytes(), static_cast<std::size_t>(stat.cbSize.QuadPart), keepGoing);
  }
  // The decoder read another picture than the header announced.
  if (!image || image->width != (storedWidth + 7) / 8 || image->height != (storedHeight + 7) / 8) return std::nullopt;

  if (header.orientation == kUprightAsStored) {
    auto picture = NewPicture(plan->Width, plan->Height);
    if (!picture) return std::nullopt;
    ::GdiFlush();
    AverageDown(*image, storedWidth, storedHeight, plan->Width, plan->Height, picture->bits());
    return picture;
  }
  std::unique_ptr<std::uint32_t[]> block(
      new (std::nothrow) std::uint32_t[static_cast<std::size_t>(plan->Width) * static_cast<std::size_t>(plan->Height)]);
  if (!block) return std::nullopt;
  AverageDown(*image, storedWidth, storedHeight, plan->Width, plan->Height, block.get());
  return UprightPicture(header.orientation, block.get(), plan->Width, plan->Height);
}

}  // namespace forms
