#include "display/display_form.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

#include "display/display_form_window.h"
#include "display/monitor_layout.h"
#include "display/picture_scaling.h"
#include "display/read_pixels.h"
#include "forms/handles.h"
#include "forms/monitors.h"
#include "forms/process.h"
#include "images/show_order.h"
#include "resources/resource_ids.h"
#include "session/session_end.h"

namespace {

const wchar_t kClassName[] = L"RubblitDisplayForm";
const wchar_t kCaption[] = L"Rubblit(main)";
constexpr UINT kJudgeActivation = WM_APP;

ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

void LoadDisplayForm(CommonModule& common) { LoadDisplayForm(common, forms::FramePacer::kFramesPerSecond); }

void LoadDisplayForm(CommonModule& common, int passesPerSecond) {
  DisplayForm form(common, passesPerSecond);
  form.Load();
}

DisplayForm::DisplayForm(CommonModule& common, int passesPerSecond) : common_(common), pacer_(passesPerSecond) {}

void DisplayForm::Load() {
  // Read once here, so that the input handlers, which end the session, allocate nothing.
  session_.argumentString = forms::ProcessArgumentString();
  session_.loopActive = &LoopActive;
  session_.unloadForm = [this] { Destroy(); };
  // The process ends inside the handler, where no destructor runs: the timer goes back first.
  session_.terminate = [this] {
    pacer_.RestoreTimerResolution();
    forms::EndProcess();
  };
  ChooseMonitors();
  CreateOptions options;
  options.className = kClassName;
  options.caption = kCaption;
  options.style = WS_POPUP;
  options.left = layout_.Window.Left;
  options.top = layout_.Window.Top;
  options.width = layout_.Window.Width();
  options.height = layout_.Window.Height();
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

void DisplayForm::ChooseMonitors() {
  const forms::MonitorList list = forms::ListMonitors(kMaxMonitors);
  const ScreenRect primary = ToScreenRect(list.Primary);
  try {
    std::vector<ScreenRect> monitors;
    for (const RECT& monitor : list.Monitors) monitors.push_back(ToScreenRect(monitor));
    layout_ = ::LayOutMonitors(monitors, primary, ToScreenRect(list.VirtualScreen));
    if (MakeParts()) return;
  } catch (const std::bad_alloc&) {
  }
  // With not even that, the window stays black and input still ends the session.
  try {
    layout_ = PrimaryOnly(primary);
    MakeParts();
  } catch (const std::bad_alloc&) {
    parts_.clear();
  }
}

bool DisplayForm::MakeParts() {
  parts_.clear();
  sweeps_.clear();
  sweeps_.reserve(layout_.Monitors.size());
  for (const ScreenRect& monitor : layout_.Monitors) {
    std::unique_ptr<ScreenPart> part(new (std::nothrow) ScreenPart);
    if (!part) return false;
    part->Monitor = monitor;
    part->ScreenWidthPx = static_cast<std::int16_t>(monitor.Width());
    part->ScreenHeightPx = static_cast<std::int16_t>(monitor.Height());
    // A monitor's worth of picture and of Display now, so that a virtual screen too large for the
    // memory is noticed before anything shows.
    if (!part->Master.Resize(monitor.Width(), monitor.Height()) ||
        !part->Display.Resize(monitor.Width(), monitor.Height()))
      return false;
    parts_.push_back(std::move(part));
  }
  return true;
}

void DisplayForm::CaptureDesktop() {
  HWND desktop = ::GetDesktopWindow();
  {
    // The desktop's device context spans the virtual screen in screen pixels.
    forms::WindowDC desktopDC(desktop);
    for (auto& part : parts_) {
      part->Master.Resize(part->ScreenWidthPx, part->ScreenHeightPx);
      if (desktopDC && part->Master.dc()) {
        ::BitBlt(part->Master.dc(), 0, 0, part->ScreenWidthPx, part->ScreenHeightPx, desktopDC.get(),
                 part->Monitor.Left, part->Monitor.Top, SRCCOPY);
      }
    }
  }
  for (auto& part : parts_) {
    part->Pixels = PixelGrid(part->Master.width(), part->Master.height());
    ReadPixels(part->Master, part->Pixels);
    BuildProfile(part->profile, part->Master.width(), random_);
  }
}

void DisplayForm::PrepareNextPicture() {
  ImageIndex = AdvanceImageIndex(ImageIndex);
  const std::wstring* file = PictureFileAt(common_.ShowOrder, common_.images, ImageIndex);
  const bool fullScreen = common_.settings.ImageSize != 0;
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    ScreenPart& part = *parts_[i];
    const ScreenPart* sameSize = nullptr;
    for (std::size_t j = 0; j < i && !sameSize; ++j) {
      const ScreenPart& earlier = *parts_[j];
      if (earlier.ScreenWidthPx == part.ScreenWidthPx && earlier.ScreenHeightPx == part.ScreenHeightPx)
        sameSize = &earlier;
    }
    if (sameSize) {
      // Monitors of one size show the same picture: loaded once.
      if (part.Master.Resize(sameSize->Master.width(), sameSize->Master.height())) {
        ::BitBlt(part.Master.dc(), 0, 0, part.Master.width(), part.Master.height(), sameSize->Master.dc(), 0, 0,
                 SRCCOPY);
      }
    } else if (file) {
      // The loader scales or cuts the picture to what the monitor shows, so that a photograph is
      // not held at its own size beside its decoder's copy.
      std::optional<forms::LoadedPicture> Pic_Orgn =
          forms::LoadPictureFile(*file, [&part, fullScreen](std::int32_t width, std::int32_t height) {
            return ShownView(width, height, fullScreen, part.ScreenWidthPx, part.ScreenHeightPx);
          });
      // A file that cannot be loaded shows the picture before it again, which is what Master still holds.
      if (Pic_Orgn && part.Master.Resize(Pic_Orgn->width(), Pic_Orgn->height())) {
        ::BitBlt(part.Master.dc(), 0, 0, Pic_Orgn->width(), Pic_Orgn->height(), Pic_Orgn->dc(), 0, 0, SRCCOPY);
      }
    }
    part.Pixels = PixelGrid(part.Master.width(), part.Master.height());
    ReadPixels(part.Master, part.Pixels);
    BuildProfile(part.profile, part.Master.width(), random_);
  }
  if (FinishImageIndex(ImageIndex, common_.images.ImageCount)) {
    BuildShowOrder(common_.ShowOrder, common_.images.ImageCount, common_.settings.ChangeOrder, random_);
  }
}

void DisplayForm::RunCollapse() {
  for (auto& part : parts_) part->Display.Clear();
  for (;;) {
    sweeps_.clear();
    for (auto& part : parts_) {
      part->Display.Resize(part->Master.width(), part->Master.height());
      part->displayPlacement =
          PlaceOnMonitor(part->Monitor, layout_.Window, part->Display.width(), part->Display.height());
      // Within the room made before the loop: nothing here allocates.
      if (sweeps_.size() < sweeps_.capacity()) {
        sweeps_.push_back({{part->Pixels, part->profile.Profile, part->profile.ProfileMin, part->profile.ProfileMax,
                            part->Master.width(), part->Master.height(), common_.settings.Speed},
                           part->sweep,
                           part->Display});
      }
    }
    if (handle()) {
      ::InvalidateRect(handle(), nullptr, FALSE);
      ::UpdateWindow(handle());
    }
    auto endOfPass = [this] { return EndOfPass(); };
    if (!RunSweep(SweepPhase::BuildUp, sweeps_, endOfPass)) return;
    if (!RunSweep(SweepPhase::Collapse, sweeps_, endOfPass)) return;
    if (common_.images.ImageCount != 0) PrepareNextPicture();
  }
}

bool DisplayForm::EndOfPass() {
  if (handle()) {
    forms::WindowDC dc(handle());
    for (auto& part : parts_) {
      const DisplayPlacement& at = part->displayPlacement;
      part->Display.PresentChanges(dc.get(), at.Left, at.Top, MonitorInWindow(*part));
    }
  }
  return pacer_.EndPass([this] { return LoopActive != 0; });
}

RECT DisplayForm::MonitorInWindow(const ScreenPart& part) const {
  return {part.Monitor.Left - layout_.Window.Left, part.Monitor.Top - layout_.Window.Top,
          part.Monitor.Right - layout_.Window.Left, part.Monitor.Bottom - layout_.Window.Top};
}

void DisplayForm::Paint(HDC dc) {
  // Black around each Display on its own monitor, without painting over it first: no flicker on a
  // repaint. Whatever lies outside every monitor is never painted.
  forms::Brush black(::CreateSolidBrush(RGB(0, 0, 0)));
  for (const auto& part : parts_) {
    const RECT monitor = MonitorInWindow(*part);
    const DisplayPlacement& at = part->displayPlacement;
    const RECT shown{std::max<LONG>(at.Left, monitor.left), std::max<LONG>(at.Top, monitor.top),
                     std::min<LONG>(at.Left + part->Display.width(), monitor.right),
                     std::min<LONG>(at.Top + part->Display.height(), monitor.bottom)};
    const RECT bands[4] = {{monitor.left, monitor.top, monitor.right, shown.top},
                           {monitor.left, shown.bottom, monitor.right, monitor.bottom},
                           {monitor.left, shown.top, shown.left, shown.bottom},
                           {shown.right, shown.top, monitor.right, shown.bottom}};
    for (const RECT& band : bands) {
      if (band.right > band.left && band.bottom > band.top) ::FillRect(dc, &band, black.get());
    }
    part->Display.PresentAll(dc, at.Left, at.Top, monitor);
  }
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
    case WM_ACTIVATEAPP:
      // Judged once the activation has settled: the thread in lParam is not told across processes
      // under every system.
      if (!wParam) ::PostMessageW(handle(), kJudgeActivation, 0, 0);
      return 0;
    case kJudgeActivation:
      JudgeActivation();
      return 0;
    case WM_DISPLAYCHANGE:
      // A monitor came, went or changed: the session ends rather than show a layout that is no more.
      CoverVirtualScreen();
      EndSaver();
      return 0;
    case WM_DESTROY:
      // Closed from outside: stop the loop, so that the program ends instead of drawing on.
      LoopActive = 0;
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void DisplayForm::JudgeActivation() {
  HWND active = ::GetForegroundWindow();
  DWORD process = 0;
  if (active) ::GetWindowThreadProcessId(active, &process);
  // Another program's window took the keyboard: it must not work on behind the saver.
  if (active && process != ::GetCurrentProcessId()) {
    EndSaver();
  } else if (!active) {
    // The activation went to no window at all (under X, a focus lost with no window manager): nobody
    // would get the keys that end the session, so the saver takes it back.
    ::SetForegroundWindow(handle());
  }
}

void DisplayForm::CoverVirtualScreen() {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (!handle() || width <= 0 || height <= 0) return;
  ::SetWindowPos(handle(), HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE);
  // Every picture stays where it stood on the screen.
  for (auto& part : parts_) {
    part->displayPlacement.Left += layout_.Window.Left - left;
    part->displayPlacement.Top += layout_.Window.Top - top;
  }
  layout_.Window = {left, top, left + width, top + height};
}

void DisplayForm::OnMouseMove(int x, int y) {
  // Only movement over a Display counts; the black border around a small picture is not Display.
  const auto overDisplay = [x, y, this](const std::unique_ptr<ScreenPart>& part) {
    const RECT monitor = MonitorInWindow(*part);
    const DisplayPlacement& at = part->displayPlacement;
    return x >= std::max<LONG>(at.Left, monitor.left) && y >= std::max<LONG>(at.Top, monitor.top) &&
           x < std::min<LONG>(at.Left + part->Display.width(), monitor.right) &&
           y < std::min<LONG>(at.Top + part->Display.height(), monitor.bottom);
  };
  if (std::none_of(parts_.begin(), parts_.end(), overDisplay)) return;
  const bool withoutSwitch = session_.argumentString.empty();
  // In screen pixels: the pointer does not move when a Display of another size is centred anew.
  OnDisplayMouseMove(firstMouse_, withoutSwitch, static_cast<float>(x + layout_.Window.Left),
                     static_cast<float>(y + layout_.Window.Top), [this] { EndSaver(); });
}

void DisplayForm::EndSaver() {
  // The older platform's password prompt runs its own message loop, where the loss of activation
  // or a display change may come: one check at a time.
  if (ending_) return;
  ending_ = true;
  ::EndSaver(session_);
  ending_ = false;
}
