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

// The front's column at the current level: nothing when it lies outside the picture.
void DrawColumn(SweepPhase phase, const SweepInput& input, SweepState& state, LineSink& sink) {
  const std::int32_t column = state.SweepColumn;
  if (column >= input.ScaleWidth || static_cast<std::size_t>(column) >= input.Profile.size()) return;
  state.FrontRow = ToInt32(std::int64_t{state.FrontLevel} - input.Profile[static_cast<std::size_t>(column)]);
  if (!FrontInPicture(state.FrontRow, input.ScaleHeight)) return;
  const PixelRecord* colour = input.Pixels.At(column, state.FrontRow);
  if (!colour) return;
  // The build-up stops just above the front: the row on the front keeps the colour the pass before
  // gave it, which is its own picture row, so at Speed 1 every row ends up showing its own row.
  if (phase == SweepPhase::BuildUp)
    sink.DrawLine(column, 0, state.FrontRow - 1, *colour);
  else
    sink.DrawLine(column, state.FrontRow, input.ScaleHeight, *colour);
}

bool PhaseGoesOn(const SweepInput& input, const SweepState& state) {
  return std::int64_t{state.FrontLevel} - input.ProfileMin > 0;
}

// Draws from where the part stands to its next wrap, where it stops with the front moved up, or to
// the end of its phase. True at a wrap.
bool SweepToWrap(SweepPhase phase, const SweepPart& part) {
  SweepState& state = part.State;
  if (state.AtWrap) {
    state.AtWrap = false;
    DrawColumn(phase, part.Input, state, part.Sink);
    if (!PhaseGoesOn(part.Input, state)) return false;
  }
  // A speed below 1 would never let the front reach the top, and the saver would repaint the same
  // rows for ever; the front moves at least one row per pass.
  const std::int32_t speed = std::max<std::int32_t>(part.Input.Speed, 1);
  for (;;) {
    ++state.SweepColumn;
    if (state.SweepColumn >= part.Input.ScaleWidth) {
      state.SweepColumn = 0;
      state.FrontLevel -= speed;
      state.AtWrap = true;
      return true;
    }
    DrawColumn(phase, part.Input, state, part.Sink);
    if (!PhaseGoesOn(part.Input, state)) return false;
  }
}

}  // namespace

bool RunSweep(SweepPhase phase, const std::vector<SweepPart>& parts, const std::function<bool()>& endOfPass) {
  for (const SweepPart& part : parts) {
    part.State.SweepColumn = 0;
    part.State.FrontLevel = ToInt32(std::int64_t{part.Input.ScaleHeight} + part.Input.ProfileMax);
    part.State.AtWrap = false;
    part.State.Running = true;
  }
  bool passEnded = false;
  for (;;) {
    bool wrapped = false;
    for (const SweepPart& part : parts) {
      if (!part.State.Running) continue;
      part.State.Running = SweepToWrap(phase, part);
      wrapped = wrapped || part.State.Running;
    }
    if (!wrapped) break;
    passEnded = true;
    if (!endOfPass()) return false;
  }
  // A picture with no rows can end its phase within the first pass; input must still be handled
  // once per phase, or an endless run of such phases would never let the saver end.
  if (!passEnded) return endOfPass();
  return true;
}

bool RunSweep(SweepPhase phase, const SweepInput& input, SweepState& state, LineSink& sink,
              const std::function<bool()>& endOfPass) {
  return RunSweep(phase, std::vector<SweepPart>{{input, state, sink}}, endOfPass);
}
