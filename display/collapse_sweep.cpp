#include "display/collapse_sweep.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t ToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// A front on row 0 has nothing above it to build up and nothing left below it to collapse.
bool FrontInPicture(std::int32_t frontRow, std::int32_t scaleHeight) { return frontRow >= 1 && frontRow <= scaleHeight; }

}  // namespace

bool RunSweep(SweepPhase phase, const SweepInput& input, SweepState& state, LineSink& sink,
              const std::function<bool()>& endOfPass) {
  // A speed below 1 would never let the front reach the top, and the saver would repaint the same
  // rows for ever; the front moves at least one row per pass.
  const std::int32_t speed = std::max<std::int32_t>(input.Speed, 1);
  const std::int32_t sh = input.ScaleHeight;
  state.SweepColumn = 0;
  state.FrontLevel = ToInt32(std::int64_t{sh} + input.ProfileMax);
  bool passEnded = false;
  do {
    ++state.SweepColumn;
    if (state.SweepColumn >= input.ScaleWidth) {
      state.SweepColumn = 0;
      state.FrontLevel -= speed;
      passEnded = true;
      if (!endOfPass()) return false;
    }
    const std::int32_t column = state.SweepColumn;
    if (column >= input.ScaleWidth || static_cast<std::size_t>(column) >= input.Profile.size()) continue;
    state.FrontRow = ToInt32(std::int64_t{state.FrontLevel} - input.Profile[static_cast<std::size_t>(column)]);
    if (!FrontInPicture(state.FrontRow, sh)) continue;
    const PixelRecord* colour = input.Pixels.At(column, state.FrontRow);
    if (!colour) continue;
    // The build-up stops just above the front: the row on the front keeps the colour the pass before
    // gave it, which is its own picture row, so at Speed 1 every row ends up showing its own row.
    if (phase == SweepPhase::BuildUp)
      sink.DrawLine(column, 0, state.FrontRow - 1, *colour);
    else
      sink.DrawLine(column, state.FrontRow, sh, *colour);
  } while (std::int64_t{state.FrontLevel} - input.ProfileMin > 0);
  // A picture with no rows can end its phase within the first pass; input must still be handled
  // once per phase, or an endless run of such phases would never let the saver end.
  if (!passEnded) return endOfPass();
  return true;
}
