#include "common/dialog_effects.h"

#include "forms/picture_surface.h"

void DrawBoxEdge(forms::PictureSurface& box, UINT edgeStyle) {
  if (!box.dc()) return;
  RECT rect{0, 0, box.width(), box.height()};
  ::DrawEdge(box.dc(), &rect, edgeStyle, BF_RECT);
}

namespace {

void Animate(HWND window, std::int16_t openPointX, std::int16_t openPointY, bool opening) {
  RECT windowRect{};
  if (!window || !::GetWindowRect(window, &windowRect)) return;
  const RECT point{openPointX, openPointY, openPointX, openPointY};
  ::DrawAnimatedRects(window, IDANI_CAPTION, opening ? &point : &windowRect, opening ? &windowRect : &point);
}

}  // namespace

void AnimateOpen(HWND window, std::int16_t openPointX, std::int16_t openPointY) {
  Animate(window, openPointX, openPointY, true);
}

void AnimateClose(HWND window, std::int16_t openPointX, std::int16_t openPointY) {
  Animate(window, openPointX, openPointY, false);
}
