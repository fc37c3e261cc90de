// The passes of the sweep as the saver draws them: lines into Display's back buffer, then the
// changed part presented to a real full-size popup window and the window system given its turn.
// Drawing and presenting are timed apart, both phases, at full HD, at 4K and on three full-HD
// monitors side by side, Speed 1.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

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

// The mean times of a whole pass (drawn and presented), build-up and collapse.
struct PassMeans {
  double BuildUp = 0, Collapse = 0;
};

// monitors side by side, each width x height with a picture of its own, swept together as the
// saver sweeps them and presented each to its own part of one window.
bool RunSize(int monitors, std::int32_t width, std::int32_t height, PassMeans& means) {
  HWND window = CreatePopup(monitors * width, height);
  std::vector<std::unique_ptr<DisplaySurface>> surfaces;
  std::vector<std::unique_ptr<bench::Picture>> pictures;
  std::vector<SweepState> states(static_cast<std::size_t>(monitors));
  std::vector<SweepPart> parts;
  bool made = window != nullptr;
  for (int m = 0; m < monitors && made; ++m) {
    surfaces.push_back(std::make_unique<DisplaySurface>());
    pictures.push_back(std::make_unique<bench::Picture>(width, height));
    made = surfaces.back()->Resize(width, height);
    surfaces.back()->Clear();
    parts.push_back({pictures.back()->Input(1), states[static_cast<std::size_t>(m)], *surfaces.back()});
  }
  if (!made) {
    std::printf("could not make a %d x %d window and surfaces\n", monitors * width, height);
    if (window) ::DestroyWindow(window);
    return false;
  }
  const auto present = [&](bool all) {
    const forms::WindowDC dc(window);
    for (int m = 0; m < monitors; ++m) {
      const RECT monitor{m * width, 0, (m + 1) * width, height};
      if (all)
        surfaces[static_cast<std::size_t>(m)]->PresentAll(dc.get(), m * width, 0, monitor);
      else
        surfaces[static_cast<std::size_t>(m)]->PresentChanges(dc.get(), m * width, 0, monitor);
    }
  };
  present(true);
  ProcessPendingMessages();

  std::printf("== %d x %d x %d monitor%s, Speed 1, profile %d .. %d%s\n", width, height, monitors,
              monitors > 1 ? "s side by side, a picture and a front each" : "",
              pictures.front()->Profile.ProfileMin, pictures.front()->Profile.ProfileMax,
              monitors * width > ::GetSystemMetrics(SM_CXSCREEN) || height > ::GetSystemMetrics(SM_CYSCREEN)
                  ? " (larger than the screen: only the part on it reaches the X server)"
                  : "");
  bool shownRight = true;
  for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
    bench::PassTimes drawing, presenting, whole;
    double passStart = bench::Milliseconds();
    RunSweep(phase, parts, [&] {
      const double drawn = bench::Milliseconds();
      present(false);
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
    (phase == SweepPhase::BuildUp ? means.BuildUp : means.Collapse) = whole.Mean();
    shownRight = WindowMatches(window, *surfaces.front()) && shownRight;
  }
  std::printf("check: the window shows the surface: %s\n\n", shownRight ? "yes" : "NO");
  ::DestroyWindow(window);
  ProcessPendingMessages();
  return shownRight;
}

}  // namespace

int main() {
  std::printf("screen %d x %d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  PassMeans one, three, fourK;
  bool right = RunSize(1, 1920, 1080, one);
  right = RunSize(1, 3840, 2160, fourK) && right;
  right = RunSize(3, 1920, 1080, three) && right;
  std::printf("three full-HD monitors against one, mean whole pass: build-up %.3f / %.3f ms = %.2f times, "
              "collapse %.3f / %.3f ms = %.2f times (target: at most 3)\n",
              three.BuildUp, one.BuildUp, one.BuildUp > 0 ? three.BuildUp / one.BuildUp : 0, three.Collapse,
              one.Collapse, one.Collapse > 0 ? three.Collapse / one.Collapse : 0);
  return right ? 0 : 1;
}
