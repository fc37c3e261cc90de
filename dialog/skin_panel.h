// A panel of the settings dialog: a child window with a persistent image (what is drawn into it,
// the tiled background or the 3-D edge, stays and is shown on every repaint) and the windowless
// image and label elements of its table, which it draws over that image and hit-tests. A press
// captures the mouse, so that its release goes to the element pressed wherever the pointer is.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialog/layout.h"
#include "forms/picture_loader.h"
#include "forms/picture_surface.h"
#include "forms/window.h"

namespace dialog {

// What the panel tells its form.
class PanelEvents {
 public:
  virtual ~PanelEvents() = default;
  virtual void ElementPressed(Role role, std::int16_t index) = 0;
  virtual void ElementReleased(Role role, std::int16_t index) = 0;
  // The system took the mouse away between a press and its release (another window, a menu): no
  // release will come.
  virtual void PressAbandoned(Role role, std::int16_t index) = 0;
  // WM_HSCROLL of a scroll bar on the panel.
  virtual void Scrolled(HWND scrollBar, int code, int trackPosition) = 0;
  // WM_COMMAND notification code of a control on the panel (List_1).
  virtual void ControlNotified(HWND control, int code) = 0;
};

// Fonts and pointer the panels share; owned by the form.
struct PanelLook {
  HFONT labelFont = nullptr;       // "ＭＳ Ｐゴシック" 9.75 pt, Shift_JIS
  HFONT underlinedFont = nullptr;  // the same, underlined
  HFONT windowFont = nullptr;      // the window's default font
  HCURSOR hand = nullptr;
  // The hourglass stays over every panel while the form is busy (a picture loading, the link
  // opening), however the pointer moves meanwhile.
  bool busy = false;
};

class SkinPanel : public forms::Window {
 public:
  struct Options {
    HWND parent = nullptr;
    PixelRect rect;  // in the parent's pixels
    COLORREF background = RGB(0, 0, 0);
    const std::vector<ElementRow>* rows = nullptr;  // may be null: a panel without elements
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    const PanelLook* look = nullptr;
    PanelEvents* events = nullptr;
  };

  // Creates the panel, visible, with its image filled with the background colour.
  bool Load(const Options& options);

  // The persistent image, as large as the panel.
  forms::PictureSurface& image() { return image_; }
  // Shows again what the image and the elements hold.
  void Refresh();
  // A new size, the top-left corner staying where it is; the image is the background colour again.
  bool Reshape(int width, int height);
  // A new rectangle at a new scale (the display's dpi changed): the elements take their rectangles
  // at that scale, and the image is stretched to the new size, all but a border of `frame` pixels,
  // which takes the background colour.
  bool Rescale(const PixelRect& rect, double twipsPerPixelX, double twipsPerPixelY, int frame = 0);

  // The element (role, index) of this panel; false when the panel has none such.
  bool SetPicture(Role role, std::int16_t index, const forms::LoadedPicture* picture);
  bool SetCaption(Role role, std::int16_t index, const std::wstring& caption);
  std::optional<std::wstring> Caption(Role role, std::int16_t index) const;

  // A child control (List_1) that shows the hand pointer.
  void SetHandControl(HWND control) { handControl_ = control; }

 private:
  struct Element {
    ElementRow row;
    PixelRect rect;
    const forms::LoadedPicture* picture = nullptr;
    std::wstring caption;
  };

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleInput(UINT message, WPARAM wParam, LPARAM lParam);
  Element* Find(Role role, std::int16_t index);
  const Element* Find(Role role, std::int16_t index) const;
  void Invalidate(const Element& element);
  void Paint(HDC target);
  void DrawImage(HDC dc, const Element& element) const;
  void DrawLabel(HDC dc, const Element& element) const;
  std::optional<std::size_t> ElementAt(int x, int y) const;
  void Press(int x, int y);
  void Release();
  bool SetPointer(HWND over);

  void FillBackground();
  void ScaleElements(double twipsPerPixelX, double twipsPerPixelY);

  std::vector<Element> elements_;
  // The rows and rectangles of elements_ again, as the hit test takes them.
  std::vector<ElementRow> rows_;
  std::vector<PixelRect> rects_;
  forms::PictureSurface image_;
  forms::PictureSurface composed_;  // image and elements together, blitted in one piece
  COLORREF background_ = RGB(0, 0, 0);
  double twipsPerPixelX_ = 15;
  double twipsPerPixelY_ = 15;
  const PanelLook* look_ = nullptr;
  PanelEvents* events_ = nullptr;
  std::optional<std::size_t> pressed_;
  HWND handControl_ = nullptr;
};

}  // namespace dialog
