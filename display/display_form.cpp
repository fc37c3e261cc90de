#include "display/display_form.h"

#include <windowsx.h>

#include <algorithm>

#include "display/display_form_window.h"
#include "display/picture_scaling.h"
#include "display/read_pixels.h"
#include "forms/handles.h"
#include "forms/process.h"
#include "images/show_order.h"
#include "resources/resource_ids.h"
#include "session/session_end.h"

namespace {

const wchar_t kClassName[] = L"RubblitDisplayForm";
const wchar_t kCaption[] = L"Rubblit(main)";

std::int16_t ScreenPixels(int metric) {
  return static_cast<std::int16_t>(std::clamp(::GetSystemMetrics(metric), 0, 32767));
}

}  // namespace

void LoadDisplayForm(CommonModule& common) { LoadDisplayForm(common, forms::FramePacer::kFramesPerSecond); }

void LoadDisplayForm(CommonModule& common, int passesPerSecond) {
  DisplayForm form(common, passesPerSecond);
  form.Load();
}

DisplayForm::DisplayForm(CommonModule& common, int passesPerSecond)
    : common_(common), pacer_(passesPerSecond), Display() {}

void DisplayForm::Load() {
  // Read once here, so that the input handlers, which end the session, allocate nothing.
  session_.argumentString = forms::ProcessArgumentString();
  session_.loopActive = &LoopActive;
  session_.unloadForm = [this] { Destroy(); };
  session_.terminate = [] { forms::EndProcess(); };
  ScreenWidthPx = ScreenPixels(SM_CXSCREEN);
  ScreenHeightPx = ScreenPixels(SM_CYSCREEN);
  CreateOptions options;
  options.className = kClassName;
  options.caption = kCaption;
  options.style = WS_POPUP;
  options.width = ScreenWidthPx;
  options.height = ScreenHeightPx;
  options.background = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  options.icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RUBBLIT));
  // Hidden until the first picture is ready: the desktop is captured without the saver on it.
  if (!Create(options)) return;
  session_.form = handle();

  if (common_.images.ImageCount != 0) {
    ImageIndex = 0;
    PrepareNextPicture();
  } else {
    CaptureDesktop();
  }

  ::ShowWindow(handle(), SW_SHOWNORMAL);
  ::SetWindowPos(handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  LoopActive = -1;
  RunCollapse();
}

void DisplayForm::CaptureDesktop() {
  HWND desktop = ::GetDesktopWindow();
  {
    forms::WindowDC desktopDC(desktop);
    Master.Resize(ScreenWidthPx, ScreenHeightPx);
    if (desktopDC && Master.dc()) {
      ::BitBlt(Master.dc(), 0, 0, ScreenWidthPx, ScreenHeightPx, desktopDC.get(), 0, 0, SRCCOPY);
    }
  }
  Pixels = PixelGrid(Master.width(), Master.height());
  ReadPixels(Master, Pixels);
  BuildProfile(profile_, Master.width(), random_);
}

void DisplayForm::PrepareNextPicture() {
  ImageIndex = AdvanceImageIndex(ImageIndex);
  // The loader scales or cuts the picture to what the screen shows, so that a photograph is not
  // held at its own size beside its decoder's copy.
  std::optional<forms::LoadedPicture> Pic_Orgn;
  if (const std::wstring* file = PictureFileAt(common_.ShowOrder, common_.images, ImageIndex)) {
    const bool fullScreen = common_.settings.ImageSize != 0;
    Pic_Orgn = forms::LoadPictureFile(*file, [this, fullScreen](std::int32_t width, std::int32_t height) {
      return ShownView(width, height, fullScreen, ScreenWidthPx, ScreenHeightPx);
    });
  }
  // A file that cannot be loaded shows the picture before it again, which is what Master still holds.
  if (Pic_Orgn && Master.Resize(Pic_Orgn->width(), Pic_Orgn->height())) {
    ::BitBlt(Master.dc(), 0, 0, Pic_Orgn->width(), Pic_Orgn->height(), Pic_Orgn->dc(), 0, 0, SRCCOPY);
  }
  Pic_Orgn.reset();
  Pixels = PixelGrid(Master.width(), Master.height());
  ReadPixels(Master, Pixels);
  BuildProfile(profile_, Master.width(), random_);
  if (FinishImageIndex(ImageIndex, common_.images.ImageCount)) {
    BuildShowOrder(common_.ShowOrder, common_.images.ImageCount, common_.settings.ChangeOrder, random_);
  }
}

void DisplayForm::RunCollapse() {
  Display.Clear();
  for (;;) {
    Display.Resize(Master.width(), Master.height());
    const DisplayPlacement previous = displayPlacement_;
    displayPlacement_ = PlaceDisplay(ScreenWidthPx, ScreenHeightPx, Display.width(), Display.height());
    // The recorded point is in Display's coordinates, and the pointer did not move with Display.
    firstMouse_.X += static_cast<float>(previous.Left - displayPlacement_.Left);
    firstMouse_.Y += static_cast<float>(previous.Top - displayPlacement_.Top);
    if (handle()) {
      ::InvalidateRect(handle(), nullptr, FALSE);
      ::UpdateWindow(handle());
    }
    SweepInput input{Pixels,        profile_.Profile, profile_.ProfileMin,     profile_.ProfileMax,
                     Master.width(), Master.height(),  common_.settings.Speed};
    auto endOfPass = [this] { return EndOfPass(); };
    if (!RunSweep(SweepPhase::BuildUp, input, sweep_, Display, endOfPass)) return;
    if (!RunSweep(SweepPhase::Collapse, input, sweep_, Display, endOfPass)) return;
    if (common_.images.ImageCount != 0) PrepareNextPicture();
  }
}

bool DisplayForm::EndOfPass() {
  if (handle()) {
    forms::WindowDC dc(handle());
    Display.PresentChanges(dc.get(), displayPlacement_.Left, displayPlacement_.Top);
  }
  return pacer_.EndPass([this] { return LoopActive != 0; });
}

void DisplayForm::Paint(HDC dc) {
  RECT client{};
  ::GetClientRect(handle(), &client);
  RECT shown{displayPlacement_.Left, displayPlacement_.Top, displayPlacement_.Left + Display.width(),
             displayPlacement_.Top + Display.height()};
  // Black around Display, without painting over it first: no flicker on a repaint.
  forms::Brush black(::CreateSolidBrush(RGB(0, 0, 0)));
  RECT bands[4] = {{client.left, client.top, client.right, shown.top},
                   {client.left, shown.bottom, client.right, client.bottom},
                   {client.left, shown.top, shown.left, shown.bottom},
                   {shown.right, shown.top, client.right, shown.bottom}};
  for (const RECT& band : bands) {
    if (band.right > band.left && band.bottom > band.top) ::FillRect(dc, &band, black.get());
  }
  Display.PresentAll(dc, displayPlacement_.Left, displayPlacement_.Top);
}

LRESULT DisplayForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(handle(), &paint);
      Paint(dc);
      ::EndPaint(handle(), &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      EndSaver();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_DESTROY:
      // Closed from outside: stop the loop, so that the program ends instead of drawing on.
      LoopActive = 0;
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void DisplayForm::OnMouseMove(int x, int y) {
  const DisplayPlacement& at = displayPlacement_;
  // Only movement over Display counts; the black border around a small picture is not Display.
  if (x < at.Left || y < at.Top || x >= at.Left + Display.width() || y >= at.Top + Display.height()) return;
  const bool withoutSwitch = session_.argumentString.empty();
  OnDisplayMouseMove(firstMouse_, withoutSwitch, static_cast<float>(x - at.Left), static_cast<float>(y - at.Top),
                     [this] { EndSaver(); });
}

void DisplayForm::EndSaver() { ::EndSaver(session_); }
