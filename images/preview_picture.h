// The picture of the dialog's preview box: loaded at the size the box shows it, never whole, so
// that a camera's photo previews at the speed of a click and in little memory.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "forms/picture_loader.h"
#include "images/preview_fit.h"

struct PreviewPicture {
  // Already fitted: fit.boxWidth x fit.boxHeight pixels.
  forms::LoadedPicture picture;
  // The picture's own upright width and height, and its fit into the box.
  int width = 0;
  int height = 0;
  PreviewFit fit;
};

// Nothing when the file cannot be loaded, or when keepGoing (see forms::LoadPictureFile) said no.
std::optional<PreviewPicture> LoadPreviewPicture(const std::wstring& path, int boxSide,
                                                 const std::function<bool()>& keepGoing = nullptr);
