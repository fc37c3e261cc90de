#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "display/monitor_layout.h"

// Beside ScreenRect, where the test's messages look for it.
std::ostream& operator<<(std::ostream& out, const ScreenRect& r) {
  return out << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
}

namespace {

using Rects = std::vector<ScreenRect>;

const ScreenRect kFullHd{0, 0, 1920, 1080};

Rects Row(int count, std::int32_t width, std::int32_t height) {
  Rects monitors;
  for (int i = 0; i < count; ++i) monitors.push_back({i * width, 0, (i + 1) * width, height});
  return monitors;
}

TEST(MonitorLayout, TheWindowSpansEveryMonitorAndEachMonitorKeepsItsOwnRectangleWhateverTheArrangement) {
  const struct {
    const char* arrangement;
    Rects monitors;
    ScreenRect window;  // also the virtual screen as the system measures it
  } cases[] = {
      {"one monitor", {kFullHd}, kFullHd},
      {"side by side, the second smaller, a gap below it", {{0, 0, 800, 600}, {800, 0, 1440, 480}}, {0, 0, 1440, 600}},
      {"left of the primary", {kFullHd, {-1280, 56, 0, 1080}}, {-1280, 0, 1920, 1080}},
      {"above the primary", {kFullHd, {-320, -1440, 2240, 0}}, {-320, -1440, 2240, 1080}},
      {"stacked below with gaps beside", {kFullHd, {200, 1080, 1480, 1880}}, {0, 0, 1920, 1880}},
      {"a 1 x 1 monitor", {kFullHd, {1920, 0, 1921, 1}}, {0, 0, 1921, 1080}},
      {"five 4K monitors, 19,200 wide", Row(5, 3840, 2160), {0, 0, 19200, 2160}},
  };
  for (const auto& c : cases) {
    const MonitorLayout layout = LayOutMonitors(c.monitors, kFullHd, c.window);
    EXPECT_EQ(layout.Window, c.window) << c.arrangement;
    EXPECT_EQ(layout.Monitors, c.monitors) << c.arrangement;
  }
}

TEST(MonitorLayout, BadListsGiveNoOverlapNothingBeyondTheVirtualScreenAndAtWorstThePrimaryAlone) {
  const struct {
    const char* list;
    Rects monitors;
    ScreenRect virtualScreen, window;
    Rects kept;
  } cases[] = {
      {"mirrored displays are one", {kFullHd, kFullHd}, kFullHd, kFullHd, {kFullHd}},
      {"overlapping ones merge, and a merge that overlaps a third merges again",
       {{0, 0, 100, 100}, {200, 0, 300, 100}, {90, 0, 210, 50}},
       {0, 0, 300, 100},
       {0, 0, 300, 100},
       {{0, 0, 300, 100}}},
      {"a side beyond 16 bits is cut, with no virtual screen measured",
       {{0, 0, 40000, 100}},
       {},
       {0, 0, 32767, 100},
       {{0, 0, 32767, 100}}},
      {"changed since the system measured: cut to its virtual screen",
       {kFullHd, {1920, 0, 3840, 1080}, {-100, 1080, 100, 1300}},
       {0, 0, 1920, 1200},
       {0, 0, 1920, 1200},
       {kFullHd, {0, 1080, 100, 1200}}},
      {"beyond sixteen monitors the rest stay black",
       Row(20, 100, 100),
       {0, 0, 2000, 100},
       {0, 0, 1600, 100},
       Row(16, 100, 100)},
      {"an empty or failed list", {}, kFullHd, kFullHd, {kFullHd}},
      {"only rectangles without area", {{5, 5, 5, 900}, {10, 10, 0, 0}}, kFullHd, kFullHd, {kFullHd}},
  };
  for (const auto& c : cases) {
    const MonitorLayout layout = LayOutMonitors(c.monitors, kFullHd, c.virtualScreen);
    EXPECT_EQ(layout.Window, c.window) << c.list;
    EXPECT_EQ(layout.Monitors, c.kept) << c.list;
  }
}

TEST(MonitorLayout, EachPictureIsCentredOnItsOwnMonitorInTheWindowsCoordinates) {
  const struct {
    ScreenRect monitor, window;
    std::int32_t width, height;
    DisplayPlacement expected;
  } cases[] = {
      {{0, 0, 1024, 768}, {0, 0, 1024, 768}, 300, 200, {362, 284}},         // one monitor, as ever
      {{800, 0, 1440, 480}, {0, 0, 1440, 600}, 400, 300, {920, 90}},        // the second, right of it
      {{-1280, 0, 0, 1024}, {-1280, 0, 1920, 1080}, 1280, 960, {0, 32}},    // left of the primary
      {{0, -1440, 2560, 0}, {0, -1440, 2560, 1080}, 2560, 1600, {0, -80}},  // above, cut top and bottom
  };
  for (const auto& c : cases) {
    const DisplayPlacement at = PlaceOnMonitor(c.monitor, c.window, c.width, c.height);
    EXPECT_EQ(at.Left, c.expected.Left) << c.monitor;
    EXPECT_EQ(at.Top, c.expected.Top) << c.monitor;
  }
}

}  // namespace
