#include "dialog/skin_panel.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "forms/handles.h"

namespace dialog {

bool SkinPanel::Load(const Options& options) {
  look_ = options.look;
  events_ = options.events;
  if (options.rows) {
    for (const ElementRow& row : *options.rows) {
      elements_.push_back(Element{row, PixelRect{}, nullptr, row.caption ? row.caption : L""});
      rows_.push_back(row);
    }
  }
  ScaleElements(options.twipsPerPixelX, options.twipsPerPixelY);
  background_ = options.background;
  const int width = std::max(options.rect.width, 1);
  const int height = std::max(options.rect.height, 1);
  if (!image_.Resize(width, height) || !composed_.Resize(width, height)) return false;
  FillBackground();

  CreateOptions create;
  create.className = L"RubblitSkinPanel";
  create.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  create.left = options.rect.left;
  create.top = options.rect.top;
  create.width = options.rect.width;
  create.height = options.rect.height;
  create.parent = options.parent;
  return Create(create);
}

void SkinPanel::Refresh() {
  if (handle()) ::InvalidateRect(handle(), nullptr, FALSE);
}

bool SkinPanel::Reshape(int width, int height) {
  if (!image_.Resize(width, height) || !composed_.Resize(width, height)) return false;
  FillBackground();
  if (handle()) ::SetWindowPos(handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Refresh();
  return true;
}

bool SkinPanel::Rescale(const PixelRect& rect, double twipsPerPixelX, double twipsPerPixelY, int frame) {
  ScaleElements(twipsPerPixelX, twipsPerPixelY);
  const int width = std::max(rect.width, 1), height = std::max(rect.height, 1);
  forms::PictureSurface before;
  const bool kept = before.Resize(image_.width(), image_.height()) &&
                    ::BitBlt(before.dc(), 0, 0, before.width(), before.height(), image_.dc(), 0, 0, SRCCOPY);
  if (!image_.Resize(width, height) || !composed_.Resize(width, height)) return false;
  FillBackground();
  if (kept && width > 2 * frame && height > 2 * frame && before.width() > 2 * frame && before.height() > 2 * frame) {
    ::SetStretchBltMode(image_.dc(), HALFTONE);
    ::SetBrushOrgEx(image_.dc(), 0, 0, nullptr);
    ::StretchBlt(image_.dc(), frame, frame, width - 2 * frame, height - 2 * frame, before.dc(), frame, frame,
                 before.width() - 2 * frame, before.height() - 2 * frame, SRCCOPY);
  }
  if (handle()) {
    ::SetWindowPos(handle(), nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Refresh();
  return true;
}

void SkinPanel::ScaleElements(double twipsPerPixelX, double twipsPerPixelY) {
  twipsPerPixelX_ = twipsPerPixelX;
  twipsPerPixelY_ = twipsPerPixelY;
  rects_.clear();
  for (Element& element : elements_) {
    element.rect = ScaleRect(element.row.rect96, twipsPerPixelX, twipsPerPixelY);
    rects_.push_back(element.rect);
  }
}

void SkinPanel::FillBackground() {
  forms::Brush background(::CreateSolidBrush(background_));
  RECT all{0, 0, image_.width(), image_.height()};
  if (background && image_.dc()) ::FillRect(image_.dc(), &all, background.get());
}

SkinPanel::Element* SkinPanel::Find(Role role, std::int16_t index) {
  for (Element& element : elements_) {
    if (element.row.role == role && element.row.index == index) return &element;
  }
  return nullptr;
}

const SkinPanel::Element* SkinPanel::Find(Role role, std::int16_t index) const {
  for (const Element& element : elements_) {
    if (element.row.role == role && element.row.index == index) return &element;
  }
  return nullptr;
}

void SkinPanel::Invalidate(const Element& element) {
  if (!handle()) return;
  RECT rect{element.rect.left, element.rect.top, element.rect.left + element.rect.width,
            element.rect.top + element.rect.height};
  ::InvalidateRect(handle(), &rect, FALSE);
}

bool SkinPanel::SetPicture(Role role, std::int16_t index, const forms::LoadedPicture* picture) {
  Element* element = Find(role, index);
  if (!element) return false;
  element->picture = picture;
  Invalidate(*element);
  return true;
}

bool SkinPanel::SetCaption(Role role, std::int16_t index, const std::wstring& caption) {
  Element* element = Find(role, index);
  if (!element) return false;
  element->caption = caption;
  Invalidate(*element);
  return true;
}

std::optional<std::wstring> SkinPanel::Caption(Role role, std::int16_t index) const {
  const Element* element = Find(role, index);
  if (!element) return std::nullopt;
  return element->caption;
}

void SkinPanel::DrawImage(HDC dc, const Element& element) const {
  const forms::LoadedPicture* picture = element.picture;
  if (!picture || !picture->dc()) return;
  const PixelRect& r = element.rect;
  if (element.row.flags & kStretched) {
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, r.left, r.top, r.width, r.height, picture->dc(), 0, 0, picture->width(), picture->height(),
                 SRCCOPY);
    return;
  }
  // At its own size from the top-left corner, within the element. The skin was drawn for 96 dpi:
  // on a finer display it grows with the layout, or the faces would shrink under their captions.
  const PixelRect own = ScaleRect({0, 0, picture->width(), picture->height()}, twipsPerPixelX_, twipsPerPixelY_);
  if (own.width == picture->width() && own.height == picture->height()) {
    ::BitBlt(dc, r.left, r.top, std::min(r.width, own.width), std::min(r.height, own.height), picture->dc(), 0, 0,
             SRCCOPY);
    return;
  }
  ::SetStretchBltMode(dc, HALFTONE);
  ::SetBrushOrgEx(dc, 0, 0, nullptr);
  ::StretchBlt(dc, r.left, r.top, own.width, own.height, picture->dc(), 0, 0, picture->width(), picture->height(),
               SRCCOPY);
}

void SkinPanel::DrawLabel(HDC dc, const Element& element) const {
  const unsigned flags = element.row.flags;
  RECT rect{element.rect.left, element.rect.top, element.rect.left + element.rect.width,
            element.rect.top + element.rect.height};
  if (flags & kBorder) {
    forms::Brush frame(::CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME)));
    if (frame) ::FrameRect(dc, &rect, frame.get());
    ::InflateRect(&rect, -1, -1);
  }
  if (element.caption.empty() || !look_) return;
  HFONT font = (flags & kWindowFont) ? look_->windowFont : (flags & kUnderlined) ? look_->underlinedFont : look_->labelFont;
  forms::SelectedObject selected(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor((flags & kWindowTextColour) ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  UINT format = DT_NOPREFIX | DT_SINGLELINE | DT_TOP;
  // The rectangles were measured for the Japanese font the dialog was drawn with; a substitute
  // font that runs wider may overhang them rather than lose its last characters. A framed label
  // keeps its text inside the frame.
  if (!(flags & kBorder)) format |= DT_NOCLIP;
  format |= (flags & kCentred) ? DT_CENTER : (flags & kRightAligned) ? DT_RIGHT : DT_LEFT;
  ::DrawTextW(dc, element.caption.c_str(), static_cast<int>(element.caption.size()), &rect, format);
}

void SkinPanel::Paint(HDC target) {
  HDC dc = composed_.dc();
  if (!dc || !image_.dc()) return;
  ::BitBlt(dc, 0, 0, composed_.width(), composed_.height(), image_.dc(), 0, 0, SRCCOPY);
  // Labels lie above the images they overlap.
  for (const Element& element : elements_) {
    if (element.row.kind == ElementKind::Image) DrawImage(dc, element);
  }
  for (const Element& element : elements_) {
    if (element.row.kind == ElementKind::Label) DrawLabel(dc, element);
  }
  ::BitBlt(target, 0, 0, composed_.width(), composed_.height(), dc, 0, 0, SRCCOPY);
}

std::optional<std::size_t> SkinPanel::ElementAt(int x, int y) const { return HitTest(rows_, rects_, x, y); }

void SkinPanel::Press(int x, int y) {
  // A second button going down while one is held belongs to the press already under way.
  if (pressed_) return;
  pressed_ = ElementAt(x, y);
  if (!pressed_) return;
  ::SetCapture(handle());
  const ElementRow row = rows_[*pressed_];
  if (events_) events_->ElementPressed(row.role, row.index);
}

void SkinPanel::Release() {
  if (!pressed_) return;
  const ElementRow row = rows_[*pressed_];
  pressed_.reset();
  if (::GetCapture() == handle()) ::ReleaseCapture();
  if (events_) events_->ElementReleased(row.role, row.index);
}

bool SkinPanel::SetPointer(HWND over) {
  if (!look_ || !look_->hand) return false;
  if (look_->busy) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return true;
  }
  bool hand = over == handControl_ && handControl_ != nullptr;
  if (over == handle()) {
    POINT point{};
    if (::GetCursorPos(&point) && ::ScreenToClient(handle(), &point)) {
      std::optional<std::size_t> at = ElementAt(point.x, point.y);
      hand = at && (rows_[*at].flags & kHand);
    }
  }
  ::SetCursor(hand ? look_->hand : ::LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

LRESULT SkinPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The form's reactions run from here; a failure (out of memory for a text) skips that one
  // reaction and leaves the dialog usable.
  try {
    return HandleInput(message, wParam, lParam);
  } catch (const std::exception&) {
    return 0;
  }
}

LRESULT SkinPanel::HandleInput(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(handle(), &paint);
      if (dc) Paint(dc);
      ::EndPaint(handle(), &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      Release();
      return 0;
    case WM_CAPTURECHANGED:
      if (pressed_) {
        const ElementRow row = rows_[*pressed_];
        pressed_.reset();
        if (events_) events_->PressAbandoned(row.role, row.index);
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && SetPointer(reinterpret_cast<HWND>(wParam))) return TRUE;
      return DefaultHandling(message, wParam, lParam);
    case WM_COMMAND:
      if (events_ && lParam) events_->ControlNotified(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (events_ && lParam) {
        events_->Scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      }
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

}  // namespace dialog
