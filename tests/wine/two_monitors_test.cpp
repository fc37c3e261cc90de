// The saver on two monitors, as Xephyr's two Xinerama heads give them to Wine: 800 x 600, the
// primary, and 640 x 480 right of it, top-aligned, with a gap below the second. scripts/test.sh
// runs these tests on that display alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "forms/handles.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/picture_files.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

const RECT kFirst{0, 0, 800, 600}, kSecond{800, 0, 1440, 480};
const std::uint32_t kTop = Rgb(220, 30, 40), kBottom = Rgb(20, 60, 200), kBlack = 0;

// Absolute coordinates over the virtual screen, not the primary monitor.
void MoveMouseOnDesktop(int x, int y) {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = ((x - left) * 65536 + width - 1) / width;
  input.mi.dy = ((y - top) * 65536 + height - 1) / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  ::SendInput(1, &input, sizeof input);
}

// A desktop with one colour per row and monitor, none black, none on both monitors.
std::uint32_t DesktopColour(bool second, int row) {
  return second ? Rgb(0xFF - (row & 0xFF), 0xC0 + (row >> 8) * 0x10, row & 0xFF)
                : Rgb(row & 0xFF, 0x40 + (row >> 8) * 0x30, 0xFF - (row & 0xFF));
}

class TwoMonitors : public SaverTest {
 protected:
  void SetUp() override {
    SaverTest::SetUp();
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "this display does not give Wine two monitors";
    ASSERT_NE(::MonitorFromPoint({1439, 0}, MONITOR_DEFAULTTONULL), nullptr);
    ASSERT_EQ(::MonitorFromPoint({1439, 480}, MONITOR_DEFAULTTONULL), nullptr) << "no gap below the second";
  }
};

struct Probe {
  int x, y;
  std::uint32_t colour;
};

// Each monitor shows the picture by its own size: full screen, a 400 x 300 picture fills both; at
// its own size it stands in the middle of each, with black around it.
TEST_F(TwoMonitors, EachMonitorShowsThePictureOnItsOwnAndADiagonalMoveOnTheSecondEndsTheSession) {
  const struct {
    int imageSize;
    std::vector<Probe> probes;
  } cases[] = {
      {1, {{400, 60, kTop}, {400, 560, kBottom}, {1120, 60, kTop}, {1120, 420, kBottom}}},
      {0,
       {{400, 200, kTop},
        {400, 400, kBottom},
        {150, 300, kBlack},
        {1120, 120, kTop},
        {1120, 360, kBottom},
        {850, 240, kBlack},
        {1390, 240, kBlack},
        {1120, 450, kBlack}}},
  };
  TempFolder pictures;
  pictures.WriteBytes(L"picture.bmp", BmpBytes(400, 300, 24, TwoBands(kTop, kBottom, 300)));
  for (const auto& c : cases) {
    MoveMouseOnDesktop(1000, 200);
    RunningSaver saver({20, c.imageSize, 0, pictures.path()});
    ASSERT_TRUE(saver.WaitUntilShowing({kTop, kBottom})) << "image size " << c.imageSize;
    RECT rect{}, desktop{0, 0, 1440, 600};
    ASSERT_TRUE(::GetWindowRect(saver.window, &rect));
    EXPECT_TRUE(::EqualRect(&rect, &desktop));
    const bool shown = PumpUntil(
        [&] {
          for (const Probe& probe : c.probes)
            if (Capture(probe.x, probe.y, 1, 1).pixels != std::vector<std::uint32_t>{probe.colour}) return false;
          return true;
        },
        20000);
    EXPECT_TRUE(shown) << "image size " << c.imageSize << ": the picture in its place on both monitors";
    MoveMouseOnDesktop(1100, 300);
    EXPECT_TRUE(saver.EndsWithin(20000)) << "image size " << c.imageSize;
  }
}

// With no pictures each monitor melts its own part of the desktop: a column of either shows its
// own monitor's rows moved out of place, and nothing else but black.
TEST_F(TwoMonitors, TheDesktopMeltsOnBothMonitorsEachFromItsOwnPart) {
  // No background brush: a repaint leaves the rows as they were painted.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.lpszClassName = L"RubblitTwoMonitorDesktop";
  ::RegisterClassW(&windowClass);
  HWND desktop = ::CreateWindowExW(0, windowClass.lpszClassName, L"desktop", WS_POPUP | WS_VISIBLE, 0, 0, 1440, 600,
                                   nullptr, nullptr, nullptr, nullptr);
  const forms::WindowDC dc(desktop);
  for (int m = 0; m < 2; ++m) {
    for (int row = 0; row < (m ? kSecond : kFirst).bottom; ++row) {
      const std::uint32_t colour = DesktopColour(m, row);
      const forms::Brush brush(::CreateSolidBrush(RGB(colour >> 16, colour >> 8 & 0xFF, colour & 0xFF)));
      const RECT line{m * 800, row, 800 + m * 640, row + 1};
      ::FillRect(dc.get(), &line, brush.get());
    }
  }
  ASSERT_TRUE(PumpUntil([] { return Capture(1120, 300, 1, 1).pixels[0] == DesktopColour(true, 300); }, 20000));

  RunningSaver saver({20, 1, 0, {}});
  ASSERT_NE(saver.window, nullptr);
  bool melting[2] = {false, false}, foreign[2] = {false, false};
  PumpUntil(
      [&] {
        for (int m = 0; m < 2; ++m) {
          const RECT& monitor = m ? kSecond : kFirst;
          const ScreenShot column = Capture((monitor.left + monitor.right) / 2 + 3, 0, 1, monitor.bottom);
          for (int y = 0; y < column.height; ++y) {
            const std::uint32_t shown = column.At(0, y);
            if (shown == kBlack || shown == DesktopColour(m, y)) continue;
            bool ownRow = false;
            for (int row = 0; row < monitor.bottom && !ownRow; ++row) ownRow = shown == DesktopColour(m, row);
            melting[m] = melting[m] || ownRow;
            foreign[m] = foreign[m] || !ownRow;
          }
        }
        return melting[0] && melting[1];
      },
      30000);
  EXPECT_TRUE(melting[0] && melting[1]) << "first monitor " << melting[0] << ", second " << melting[1];
  EXPECT_FALSE(foreign[0] || foreign[1]) << "first monitor " << foreign[0] << ", second " << foreign[1];
  ::DestroyWindow(desktop);
}

}  // namespace
