#include "images/preview_picture.h"

#include <cstdint>
#include <utility>

std::optional<PreviewPicture> LoadPreviewPicture(const std::wstring& path, int boxSide,
                                                 const std::function<bool()>& keepGoing) {
  int width = 0, height = 0;
  PreviewFit fit;
  std::optional<forms::LoadedPicture> picture = forms::LoadPictureFile(
      path,
      [&](std::int32_t uprightWidth, std::int32_t uprightHeight) {
        width = uprightWidth;
        height = uprightHeight;
        fit = FitPreview(width, height, boxSide);
        return forms::PictureView{{0, 0, width, height}, fit.boxWidth, fit.boxHeight};
      },
      keepGoing);
  if (!picture || picture->width() != fit.boxWidth || picture->height() != fit.boxHeight) return std::nullopt;
  return PreviewPicture{std::move(*picture), width, height, fit};
}
