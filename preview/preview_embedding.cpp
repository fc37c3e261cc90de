#include "preview/preview_embedding.h"

#include <windows.h>

#include <cstdint>

#include "forms/process.h"
#include "common/arguments.h"
#include "preview/preview_layout.h"

namespace {

HWND HostWindow(const std::wstring& windowHandleField) {
  // Handles are 32-bit values even on 64-bit Windows, sign-extended like LongToHandle.
  std::int32_t handleValue = ReadLeadingNumber(windowHandleField).value_or(0);
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(handleValue));
}

}  // namespace

bool EmbedPreview(PreviewForm& form, const std::wstring& windowHandleField) {
  HWND host = HostWindow(windowHandleField);
  const double twipsPerPixelX = forms::ScreenTwipsPerPixelX();
  const double twipsPerPixelY = forms::ScreenTwipsPerPixelY();

  PaneTwips pane;
  RECT paneRect{};
  if (::GetWindowRect(host, &paneRect)) {
    pane = PaneSizeInTwips(paneRect.right - paneRect.left, paneRect.bottom - paneRect.top, twipsPerPixelX,
                           twipsPerPixelY);
  }

  if (!form.Load()) return false;
  HWND window = form.handle();
  // A window cannot be a child and a pop-up at once; the pop-up style only served while the form
  // had no parent.
  LONG style = ::GetWindowLongA(window, GWL_STYLE);
  ::SetWindowLongA(window, GWL_STYLE, (style & ~static_cast<LONG>(WS_POPUP)) | static_cast<LONG>(WS_CHILD));
  ::SetParent(window, host);

  const int widthPixels = TwipsToPixels(pane.width, twipsPerPixelX);
  const int heightPixels = TwipsToPixels(pane.height, twipsPerPixelY);
  ::SetWindowPos(window, nullptr, 0, 0, widthPixels, heightPixels, SWP_NOZORDER | SWP_NOACTIVATE);
  form.PlaceImage(0, 0, widthPixels, heightPixels);
  ::ShowWindow(window, SW_SHOWNA);
  return true;
}

bool PreviewStillInPane(const PreviewForm& form, const std::wstring& windowHandleField) {
  return form.handle() && ::IsWindow(form.handle()) && ::IsWindow(HostWindow(windowHandleField));
}
