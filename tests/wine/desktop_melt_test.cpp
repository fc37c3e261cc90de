// With no pictures the saver melts the desktop it captured at start, and builds up that same capture
// again, not one of itself: checked on screenshots of the running saver at Speed 1, row for row,
// against a desktop painted one colour per row.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "wine/testbed/desktop_painter.h"
#include "wine/testbed/host_window.h"
#include "wine/testbed/running_saver.h"
#include "wine/testbed/saver_test.h"
#include "wine/testbed/screen.h"

using namespace testbed;

namespace {

// Sampled columns: every 16th, away from column 0, which the first pass of a phase skips.
constexpr int kFirstColumn = 5;
constexpr int kColumnStep = 16;

using DesktopMelt = SaverTest;

// A screen column at Speed 1, exactly. Building up, the rows from the front down show their own
// rows of the desktop and everything above the front shows the front's row: row r shows desktop
// row max(r, front). Collapsing, the rows above the front keep theirs and everything from the
// front down shows the row just above it: row r shows desktop row min(r, front).
enum class ExactState { Black, Whole, BuildingUp, Collapsing, Other };

ExactState ClassifyExactly(const ScreenShot& shot, int x) {
  const int h = shot.height;
  bool black = true;
  for (int y = 0; y < h && black; ++y) black = shot.At(x, y) == 0;
  if (black) return ExactState::Black;
  int tail = h;  // the rows tail .. h - 1 are the desktop's own
  while (tail > 0 && shot.At(x, tail - 1) == DesktopPainter::ColourAt(tail - 1)) --tail;
  if (tail == 0) return ExactState::Whole;
  bool streakAbove = tail < h;
  for (int y = 0; y < tail && streakAbove; ++y) streakAbove = shot.At(x, y) == DesktopPainter::ColourAt(tail);
  if (streakAbove) return ExactState::BuildingUp;
  int head = 0;  // the rows 0 .. head - 1 are the desktop's own
  while (head < h && shot.At(x, head) == DesktopPainter::ColourAt(head)) ++head;
  bool streakBelow = head > 0;
  for (int y = head; y < h && streakBelow; ++y) streakBelow = shot.At(x, y) == DesktopPainter::ColourAt(head - 1);
  return streakBelow ? ExactState::Collapsing : ExactState::Other;
}

}  // namespace

TEST_F(DesktopMelt, AtSpeedOneEveryRowOfTheDesktopStandsAtItsOwnPlaceInEachBuildUp) {
  DesktopPainter desktop;
  RunningSaver saver({1, 1, 0, {}});
  ASSERT_NE(saver.window, nullptr);

  // Each sampled column must be seen building up, then whole, collapsing and building up again; the
  // desktop itself is whole too, so a column counts as whole only after its build-up. A capture of
  // the saver's own streaks never builds up row for row.
  enum Progress { Waiting, BuiltUp, Stood, Collapsed, BuiltUpAgain };
  std::vector<Progress> progress((::GetSystemMetrics(SM_CXSCREEN) - kFirstColumn + kColumnStep - 1) / kColumnStep,
                                 Waiting);
  int shots = 0, torn = 0;
  PumpUntil(
      [&] {
        const ScreenShot shot = CaptureScreen();
        ++shots;
        int other = 0;
        for (std::size_t i = 0; i < progress.size(); ++i) {
          const ExactState state = ClassifyExactly(shot, kFirstColumn + static_cast<int>(i) * kColumnStep);
          other += state == ExactState::Other;
          const ExactState next[] = {ExactState::BuildingUp, ExactState::Whole, ExactState::Collapsing,
                                     ExactState::BuildingUp};
          if (progress[i] != BuiltUpAgain && state == next[progress[i]]) progress[i] = Progress(progress[i] + 1);
        }
        // A capture may catch a pass half presented, rows of two passes in every column.
        torn += other * 10 > static_cast<int>(progress.size());
        return std::count(progress.begin(), progress.end(), BuiltUpAgain) ==
               static_cast<std::ptrdiff_t>(progress.size());
      },
      120000);
  EXPECT_LE(torn * 10, shots) << torn << " of " << shots << " shots show rows out of place";
  EXPECT_EQ(std::count_if(progress.begin(), progress.end(), [](Progress p) { return p >= Stood; }),
            static_cast<std::ptrdiff_t>(progress.size()))
      << "columns seen whole, row for row, after their build-up";
  EXPECT_EQ(std::count(progress.begin(), progress.end(), BuiltUpAgain), static_cast<std::ptrdiff_t>(progress.size()))
      << "columns seen building up the first capture again after their collapse";
}
