// The passes of the sweep as the saver draws them: lines into Display's back buffer, then the
// changed part presented to a real full-size popup window and the window system given its turn.
// Drawing and presenting are timed apart, both phases, at full HD and at 4K, Speed 1.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench/sweep_fixture.h"
#include "display/display_surface.h"

namespace {

LRESULT CALLBACK BlackWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePopup(int width, int height) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = BlackWindowProcedure;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DisplayPassBench";
  ::RegisterClassW(&windowClass);
  return ::CreateWindowExW(0, windowClass.lpszClassName, L"display pass bench", WS_POPUP | WS_VISIBLE, 0, 0,
                           width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// What the saver's frame does after presenting: every pending message handled, then a wait for
// more, here of no length. The wait is where Wine sends the window's new content to the X server.
void ProcessPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// The window shows what the surface holds, read back at a few points of its part on the screen.
bool WindowMatches(HWND window, const DisplaySurface& surface) {
  const int width = std::min(surface.width(), ::GetSystemMetrics(SM_CXSCREEN));
  const int height = std::min(surface.height(), ::GetSystemMetrics(SM_CYSCREEN));
  const forms::WindowDC dc(window);
  bool same = static_cast<bool>(dc);
  for (int i = 1; same && i < 8; ++i) {
    const int x = width * i / 8, y = height * i / 8;
    const COLORREF shown = ::GetPixel(dc.get(), x, y);
    const std::uint32_t held = surface.PixelAt(x, y);
    same = shown == RGB((held >> 16) & 0xFF, (held >> 8) & 0xFF, held & 0xFF);
  }
  return same;
}

void Report(const char* what, const bench::PassTimes& times) {
  std::printf("  %-8s mean %7.3f ms  worst %7.3f ms\n", what, times.Mean(), times.Worst());
}

bool RunSize(std::int32_t width, std::int32_t height) {
  HWND window = CreatePopup(width, height);
  DisplaySurface surface;
  if (!window || !surface.Resize(width, height)) {
    std::printf("could not make a %d x %d window and surface\n", width, height);
    if (window) ::DestroyWindow(window);
    return false;
  }
  surface.Clear();
  surface.PresentAll(forms::WindowDC(window).get(), 0, 0);
  ProcessPendingMessages();

  bench::Picture picture(width, height);
  const SweepInput input = picture.Input(1);
  std::printf("== %d x %d window, Speed 1, profile %d .. %d%s\n", width, height, picture.Profile.ProfileMin,
              picture.Profile.ProfileMax,
              width > ::GetSystemMetrics(SM_CXSCREEN) || height > ::GetSystemMetrics(SM_CYSCREEN)
                  ? " (larger than the screen: only the part on it reaches the X server)"
                  : "");
  bool shownRight = true;
  for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
    bench::PassTimes drawing, presenting, whole;
    SweepState state;
    double passStart = bench::Milliseconds();
    RunSweep(phase, input, state, surface, [&] {
      const double drawn = bench::Milliseconds();
      surface.PresentChanges(forms::WindowDC(window).get(), 0, 0);
      ProcessPendingMessages();
      const double presented = bench::Milliseconds();
      drawing.Samples.push_back(drawn - passStart);
      presenting.Samples.push_back(presented - drawn);
      whole.Samples.push_back(presented - passStart);
      passStart = presented;
      return true;
    });
    std::printf("%s, %zu passes (target for a whole pass at full HD: 4 ms)\n", bench::PhaseName(phase),
                whole.Samples.size());
    Report("drawing", drawing);
    Report("present", presenting);
    Report("pass", whole);
    shownRight = WindowMatches(window, surface) && shownRight;
  }
  std::printf("check: the window shows the surface: %s\n\n", shownRight ? "yes" : "NO");
  ::DestroyWindow(window);
  ProcessPendingMessages();
  return shownRight;
}

}  // namespace

int main() {
  std::printf("screen %d x %d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  bool right = RunSize(1920, 1080);
  right = RunSize(3840, 2160) && right;
  return right ? 0 : 1;
}
