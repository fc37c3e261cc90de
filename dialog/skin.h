// The settings dialog's pictures, built into the program: the holders Pic_Mbl, Img_TT,
// Img_O_button, Img_Opt and Img_Ra. A picture that cannot be loaded stays empty and its elements
// show nothing.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "forms/picture_loader.h"

namespace dialog {

struct Skin {
  std::optional<forms::LoadedPicture> Pic_Mbl;                     // background tile, 555 x 20
  std::optional<forms::LoadedPicture> Img_TT;                      // header strip, 95 x 22
  std::array<std::optional<forms::LoadedPicture>, 2> Img_O_button;  // 0 pressed, 1 normal
  std::array<std::optional<forms::LoadedPicture>, 2> Img_Opt;       // 0 not selected, 1 selected
  std::array<std::optional<forms::LoadedPicture>, 2> Img_Ra;        // 0 check box off, 1 on
};

Skin LoadSkin(HMODULE resources);

// The picture of a holder array for a 0/1 state; nullptr for an empty holder.
inline const forms::LoadedPicture* StatePicture(const std::array<std::optional<forms::LoadedPicture>, 2>& holder,
                                                bool on) {
  const auto& picture = holder[on ? 1 : 0];
  return picture ? &*picture : nullptr;
}

}  // namespace dialog
