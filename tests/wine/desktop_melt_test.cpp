// With no pictures the saver melts the desktop it captured at start: checked on screenshots of the
// running saver against a desktop painted in known colours. At Speed 1 the check is exact, row for
// row; at a higher speed, where the picture stands in blocks of Speed rows, it allows for the blocks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "wine/testbed/desktop_painter.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"

using namespace testbed;

namespace {

constexpr int kSpeed = 8;
// A block of Speed rows takes one colour: near a band edge a pixel may belong to the neighbouring band.
constexpr int kTolerance = kSpeed + 2;

// Sampled columns: every 16th, away from column 0, which the first pass of a phase skips.
constexpr int kFirstColumn = 5;
constexpr int kColumnStep = 16;

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
  for (int x = kFirstColumn; x < shot.width; x += kColumnStep) {
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

using DesktopMelt = SaverTest;

}  // namespace

TEST_F(DesktopMelt, AtAHigherSpeedTheDesktopRisesBehindTheFrontThenDrainsAwayAgainAndAgain) {
  DesktopPainter desktop({0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x808080});
  RunningSaver saver({kSpeed});
  ASSERT_NE(saver.window, nullptr);

  // What is seen, in order: 0 building up, 1 whole, 2 collapsing, 3 whole again (the same
  // capture, not a new one of the melted screen).
  int stage = 0;
  PumpUntil([&] {
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
    return stage == 4;
  }, 60000);
  EXPECT_EQ(stage, 4) << "the melt did not go through build-up, whole, collapse and whole again";
}

namespace {

// A screen column at Speed 1, exactly. Building up, the rows from the front down show their own
// rows of the desktop and everything above the front shows the front's row: row r shows desktop
// row max(r, front). Collapsing, the rows above the front keep theirs and everything from the
// front down shows the row just above it: row r shows desktop row min(r, front).
enum class ExactState { Black, Whole, BuildingUp, Collapsing, Other };

ExactState ClassifyExactly(const ScreenShot& shot, int x, const DesktopPainter& desktop) {
  const int h = shot.height;
  bool black = true;
  for (int y = 0; y < h && black; ++y) black = shot.At(x, y) == 0;
  if (black) return ExactState::Black;
  int tail = h;  // the rows tail .. h - 1 are the desktop's own
  while (tail > 0 && shot.At(x, tail - 1) == desktop.ColourAt(tail - 1)) --tail;
  if (tail == 0) return ExactState::Whole;
  bool streakAbove = tail < h;
  for (int y = 0; y < tail && streakAbove; ++y) streakAbove = shot.At(x, y) == desktop.ColourAt(tail);
  if (streakAbove) return ExactState::BuildingUp;
  int head = 0;  // the rows 0 .. head - 1 are the desktop's own
  while (head < h && shot.At(x, head) == desktop.ColourAt(head)) ++head;
  bool streakBelow = head > 0;
  for (int y = head; y < h && streakBelow; ++y) streakBelow = shot.At(x, y) == desktop.ColourAt(head - 1);
  return streakBelow ? ExactState::Collapsing : ExactState::Other;
}

// One colour per screen row, no two alike and none black.
std::vector<std::uint32_t> DistinctRows(int rows) {
  std::vector<std::uint32_t> colours;
  for (int y = 0; y < rows; ++y) colours.push_back(Rgb(y & 0xFF, 0x40 + (y >> 8) * 0x30, 0xFF - (y & 0xFF)));
  return colours;
}

}  // namespace

TEST_F(DesktopMelt, AtSpeedOneEveryRowOfTheDesktopStandsAtItsOwnPlace) {
  DesktopPainter desktop(DistinctRows(::GetSystemMetrics(SM_CYSCREEN)));
  RunningSaver saver({1});
  ASSERT_NE(saver.window, nullptr);

  // Each sampled column must be seen building up, then whole; the run ends once a column collapses
  // after that. The desktop itself is whole too, so a column counts as whole only after its build-up.
  enum Progress { Waiting, BuiltUp, Stood };
  std::vector<Progress> progress;
  bool collapsed = false;
  int shots = 0, torn = 0, firstTorn = 0;
  PumpUntil([&] {
    const ScreenShot shot = CaptureScreen();
    ++shots;
    progress.resize(static_cast<std::size_t>((shot.width - kFirstColumn + kColumnStep - 1) / kColumnStep), Waiting);
    int other = 0;
    for (std::size_t i = 0; i < progress.size(); ++i) {
      const ExactState state = ClassifyExactly(shot, kFirstColumn + static_cast<int>(i) * kColumnStep, desktop);
      if (state == ExactState::Other) ++other;
      if (state == ExactState::BuildingUp && progress[i] == Waiting) progress[i] = BuiltUp;
      if (state == ExactState::Whole && progress[i] == BuiltUp) progress[i] = Stood;
      if (state == ExactState::Collapsing && progress[i] == Stood) collapsed = true;
    }
    // A capture may catch a pass half presented, rows of two passes in every column.
    if (other * 10 > static_cast<int>(progress.size()) && torn++ == 0) firstTorn = shots;
    return collapsed;
  }, 60000);
  EXPECT_LE(torn * 10, shots) << torn << " of " << shots << " shots show rows out of place, the first shot "
                              << firstTorn;
  int stood = 0;
  for (Progress p : progress) stood += p == Stood;
  EXPECT_EQ(stood, static_cast<int>(progress.size())) << "columns seen whole, row for row, after their build-up";
  EXPECT_TRUE(collapsed) << "no column began to collapse within the time";
}
