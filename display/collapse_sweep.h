// One phase of the effect: the sweep over the picture's columns, pass after pass, with the front
// rising by Speed rows per pass. It draws through a LineSink and hands control back once per pass,
// so the window side decides how lines reach the screen and how the loop is paced.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "display/pixel_grid.h"

class LineSink {
 public:
  virtual ~LineSink() = default;
  // A vertical line in one column from fromRow to toRow, both included, in the picture's pixels.
  virtual void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) = 0;
};

enum class SweepPhase { BuildUp, Collapse };

struct SweepInput {
  const PixelGrid& Pixels;
  const std::vector<std::int32_t>& Profile;
  std::int16_t ProfileMin;
  std::int16_t ProfileMax;
  std::int32_t ScaleWidth;   // SW
  std::int32_t ScaleHeight;  // SH
  std::int16_t Speed;
};

struct SweepState {
  std::int32_t SweepColumn = 0;
  std::int32_t FrontLevel = 0;
  std::int32_t FrontRow = 0;
  // Stopped at a wrap, with column 0 of the new level still to draw.
  bool AtWrap = false;
  bool Running = false;
};

// One picture of several swept together, one per monitor.
struct SweepPart {
  SweepInput Input;
  SweepState& State;
  LineSink& Sink;
};

// Runs one phase. endOfPass is called at every wrap, after FrontLevel has moved, and once at the
// end of a phase that ended before its first wrap; it presents the pass, processes input and
// returns false when the loop must stop. RunSweep returns false when it stopped that way, true
// when the phase ended. A Speed below 1 moves the front as 1 does.
bool RunSweep(SweepPhase phase, const SweepInput& input, SweepState& state, LineSink& sink,
              const std::function<bool()>& endOfPass);
// The same phase for several pictures at once, each with its own front: a pass draws the next pass of
// every picture whose phase goes on, and endOfPass comes once for all of them. The phase ends when
// every picture's has ended. One part runs exactly as RunSweep does.
bool RunSweep(SweepPhase phase, const std::vector<SweepPart>& parts, const std::function<bool()>& endOfPass);
