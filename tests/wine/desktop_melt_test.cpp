// With no pictures the saver melts the desktop it captured at start: checked on screenshots of the
// running saver against a desktop painted in known colours.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wine/testbed/desktop_painter.h"
#include "wine/testbed/saver_process.h"
#include "wine/testbed/screen.h"
#include "wine/testbed/temp_folder.h"

using namespace testbed;

namespace {

constexpr int kSpeed = 8;
// A block of Speed rows takes one colour, and row y of the picture is sampled one row down:
// near a band edge a pixel may belong to the neighbouring band.
constexpr int kTolerance = kSpeed + 2;

enum class ColumnState { Black, Complete, BuildingUp, Collapsing, Other };

class Column {
 public:
  Column(const ScreenShot& shot, int x, const DesktopPainter& desktop) : desktop_(desktop) {
    for (int y = 0; y < shot.height; ++y) pixels_.push_back(shot.At(x, y));
  }

  ColumnState Classify() const {
    int h = static_cast<int>(pixels_.size());
    bool black = true;
    for (auto p : pixels_) black = black && p == 0;
    if (black) return ColumnState::Black;
    if (MatchesDesktop(0, h)) return ColumnState::Complete;
    // Building up: one streak from the top down to the front, the picture below it.
    int f = 0;
    while (f + 1 < h && pixels_[f + 1] == pixels_[0]) ++f;
    if (MatchesDesktop(f + 1, h) && StreakColourNear(pixels_[0], f)) return ColumnState::BuildingUp;
    // Collapsing: the picture above the front, one streak from the front to the bottom.
    int g = h - 1;
    while (g > 0 && pixels_[g - 1] == pixels_[h - 1]) --g;
    if (MatchesDesktop(0, g) && StreakColourNear(pixels_[h - 1], g)) return ColumnState::Collapsing;
    return ColumnState::Other;
  }

 private:
  // The picture's own edges count too: the first block of a column may stop a few rows short of
  // the bottom edge, and the last a few rows short of the top.
  bool NearBandEdge(int y) const {
    int h = static_cast<int>(pixels_.size());
    if (y < kTolerance || y >= h - kTolerance) return true;
    return desktop_.ColourAt(y) != desktop_.ColourAt(y - kTolerance) ||
           desktop_.ColourAt(y) != desktop_.ColourAt(y + kTolerance);
  }
  bool MatchesDesktop(int from, int to) const {
    for (int y = from; y < to; ++y) {
      if (pixels_[y] != desktop_.ColourAt(y) && !NearBandEdge(y)) return false;
    }
    return true;
  }
  bool StreakColourNear(std::uint32_t colour, int row) const {
    for (int y = row - kTolerance; y <= row + kTolerance; ++y) {
      if (desktop_.ColourAt(y < 0 ? 0 : y) == colour) return true;
    }
    return false;
  }

  const DesktopPainter& desktop_;
  std::vector<std::uint32_t> pixels_;
};

struct ShotSummary {
  int columns = 0;
  int black = 0, complete = 0, buildingUp = 0, collapsing = 0, other = 0;
};

ShotSummary Summarise(const ScreenShot& shot, const DesktopPainter& desktop) {
  ShotSummary summary;
  for (int x = 5; x < shot.width; x += 16) {
    ++summary.columns;
    switch (Column(shot, x, desktop).Classify()) {
      case ColumnState::Black: ++summary.black; break;
      case ColumnState::Complete: ++summary.complete; break;
      case ColumnState::BuildingUp: ++summary.buildingUp; break;
      case ColumnState::Collapsing: ++summary.collapsing; break;
      case ColumnState::Other: ++summary.other; break;
    }
  }
  return summary;
}

}  // namespace

TEST(DesktopMelt, TheCapturedDesktopRisesBehindTheFrontThenDrainsAwayAgainAndAgain) {
  DesktopPainter desktop({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x808080});
  TempFolder folder;
  folder.WriteBytes(L"Rubblit.ini", "[Section]\r\n\x91\xac\x82\xb3=" + std::to_string(kSpeed) + "\r\n");
  SaverProcess saver(folder.CopySaverHere(), L"/s");
  ASSERT_NE(saver.WaitForWindow(L"Rubblit(main)", 15000), nullptr);

  // What is seen, in order: 0 building up, 1 whole, 2 collapsing, 3 whole again (the same
  // capture, not a new one of the melted screen).
  int stage = 0;
  DWORD start = ::GetTickCount();
  while (stage < 4 && ::GetTickCount() - start < 60000) {
    ShotSummary s = Summarise(CaptureScreen(), desktop);
    // A capture may catch a pass half presented: allow a few odd columns.
    EXPECT_LE(s.other * 10, s.columns) << "stage " << stage << ": " << s.other << " columns fit no phase";
    bool whole = s.complete == s.columns;
    if (stage == 0 && !whole && s.buildingUp > 0) {
      EXPECT_EQ(s.collapsing, 0);
      stage = 1;
    } else if (stage == 1 && whole) {
      stage = 2;
    } else if (stage == 2 && s.collapsing > 0) {
      EXPECT_EQ(s.black, 0) << "the collapse left black columns";
      stage = 3;
    } else if (stage == 3 && whole) {
      stage = 4;
    }
    ::Sleep(50);
  }
  EXPECT_EQ(stage, 4) << "the melt did not go through build-up, whole, collapse and whole again";
}
