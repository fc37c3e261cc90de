#include "preview/preview_form.h"

#include <algorithm>

#include "resources/resource_ids.h"

PreviewForm::PreviewForm(HMODULE resources)
    : resources_(resources ? resources : ::GetModuleHandleW(nullptr)) {}

PreviewForm::~PreviewForm() { Destroy(); }

bool PreviewForm::Load() {
  if (handle()) return true;
  CreateOptions options;
  options.className = L"RubblitPreviewForm";
  options.caption = L"Preview Window";
  options.style = WS_POPUP | WS_CLIPCHILDREN;
  options.background = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  options.width = Img_Prev.width;
  options.height = Img_Prev.height;
  if (!Create(options)) return false;
  LoadPicture();
  return true;
}

void PreviewForm::Unload() {
  if (!handle()) return;
  ::PostMessageA(handle(), WM_CLOSE, 0, 0);
  Destroy();
}

void PreviewForm::PlaceImage(int left, int top, int width, int height) {
  Img_Prev = ImageElement{left, top, std::max(width, 0), std::max(height, 0)};
  if (handle()) ::InvalidateRect(handle(), nullptr, TRUE);
}

void PreviewForm::LoadPicture() { picture_ = forms::LoadPictureResource(resources_, IDR_PREVIEW_PICTURE); }

void PreviewForm::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(handle(), &paint);
  if (!dc) return;
  if (picture_) {
    int width = std::min(picture_->width(), Img_Prev.width);
    int height = std::min(picture_->height(), Img_Prev.height);
    if (width > 0 && height > 0) ::BitBlt(dc, Img_Prev.left, Img_Prev.top, width, height, picture_->dc(), 0, 0, SRCCOPY);
  }
  ::EndPaint(handle(), &paint);
}

LRESULT PreviewForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DESTROY:
      // The preview is the process's only form: with it gone the process has nothing left to do.
      ::PostQuitMessage(0);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}
