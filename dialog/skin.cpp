#include "dialog/skin.h"

#include "resources/resource_ids.h"

namespace dialog {

Skin LoadSkin(HMODULE resources) {
  Skin skin;
  skin.Pic_Mbl = forms::LoadPictureResource(resources, IDR_SKIN_TILE);
  skin.Img_TT = forms::LoadPictureResource(resources, IDR_SKIN_HEADER);
  skin.Img_O_button[0] = forms::LoadPictureResource(resources, IDR_SKIN_BUTTON_PRESSED);
  skin.Img_O_button[1] = forms::LoadPictureResource(resources, IDR_SKIN_BUTTON_NORMAL);
  skin.Img_Opt[0] = forms::LoadPictureResource(resources, IDR_SKIN_OPTION_OFF);
  skin.Img_Opt[1] = forms::LoadPictureResource(resources, IDR_SKIN_OPTION_ON);
  skin.Img_Ra[0] = forms::LoadPictureResource(resources, IDR_SKIN_CHECK_OFF);
  skin.Img_Ra[1] = forms::LoadPictureResource(resources, IDR_SKIN_CHECK_ON);
  return skin;
}

}  // namespace dialog
