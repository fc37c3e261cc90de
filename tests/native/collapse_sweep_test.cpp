#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "display/collapse_sweep.h"

namespace {

// A line as the test compares it; the colour's red and green give the pixel's column and row.
struct Line {
  std::int32_t column, from, to, colourColumn, colourRow;
  bool operator==(const Line& o) const {
    return std::tie(column, from, to, colourColumn, colourRow) ==
           std::tie(o.column, o.from, o.to, o.colourColumn, o.colourRow);
  }
};

void PrintTo(const Line& l, std::ostream* os) {
  *os << "(" << l.column << ": " << l.from << ".." << l.to << " colour of " << l.colourColumn << ","
      << l.colourRow << ")";
}

class RecordingSink : public LineSink {
 public:
  void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) override {
    lines.push_back({column, fromRow, toRow, colour.Red, colour.Green});
  }
  std::vector<Line> lines;
};

// Every pixel names its own column and row, so a line shows which pixel coloured it.
PixelGrid LabelledPixels(std::int32_t width, std::int32_t height) {
  PixelGrid grid(width, height);
  for (std::int32_t x = 0; x <= width; ++x)
    for (std::int32_t y = 0; y <= height; ++y) {
      grid.At(x, y)->Red = static_cast<std::uint8_t>(x);
      grid.At(x, y)->Green = static_cast<std::uint8_t>(y);
    }
  return grid;
}

struct Outcome {
  std::vector<Line> lines;
  int passes = 0;
  bool finished = false;
  SweepState state;
};

Outcome Sweep(SweepPhase phase, const PixelGrid& pixels, const std::vector<std::int32_t>& profile,
              std::int16_t profileMin, std::int16_t profileMax, std::int32_t sw, std::int32_t sh, std::int16_t speed,
              int stopAfterPasses = -1) {
  Outcome outcome;
  RecordingSink sink;
  SweepInput input{pixels, profile, profileMin, profileMax, sw, sh, speed};
  outcome.finished = RunSweep(phase, input, outcome.state, sink, [&] {
    ++outcome.passes;
    return outcome.passes != stopAfterPasses;
  });
  outcome.lines = sink.lines;
  return outcome;
}

// Two columns, two rows, the left pair one row higher than the spare column 2.
const std::vector<std::int32_t> kRaisedPair = {1, 1, 0};

TEST(CollapseSweep, BuildUpPaintsFromTheTopToJustAboveTheRisingFront) {
  PixelGrid pixels = LabelledPixels(2, 2);
  Outcome run = Sweep(SweepPhase::BuildUp, pixels, kRaisedPair, 0, 1, 2, 2, 1);
  // The first pass starts at column 1; the phase ends right after column 0 at the level of ProfileMin.
  // Fronts on row 0 draw nothing.
  std::vector<Line> expected = {{1, 0, 1, 1, 2}, {0, 0, 0, 0, 1}, {1, 0, 0, 1, 1}};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.passes, 3);
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.state.FrontLevel, 0);
  EXPECT_EQ(run.state.SweepColumn, 0);
}

// What the lines leave on a screen: per column, the snapshot row whose colour each row shows last.
std::vector<std::vector<std::int32_t>> Paint(const std::vector<Line>& lines, std::int32_t sw, std::int32_t sh) {
  std::vector<std::vector<std::int32_t>> canvas(static_cast<std::size_t>(sw), std::vector<std::int32_t>(sh, -1));
  for (const Line& line : lines) {
    for (std::int32_t row = std::max(line.from, 0); row <= std::min(line.to, sh - 1); ++row)
      canvas[static_cast<std::size_t>(line.column)][static_cast<std::size_t>(row)] = line.colourRow;
  }
  return canvas;
}

TEST(CollapseSweep, AtSpeedOneEveryRowEndsUpShowingItsOwnPictureRow) {
  // Snapshot row r + 1 holds picture row r; row 0 is the snapshot's black spare row.
  const std::int32_t sw = 6, sh = 9;
  PixelGrid pixels = LabelledPixels(sw, sh);
  const std::vector<std::int32_t> profile = {4, 4, -3, -3, 7, 7, 0};
  Outcome run = Sweep(SweepPhase::BuildUp, pixels, profile, -3, 7, sw, sh, 1);
  std::vector<std::int32_t> ownRows(sh);
  for (std::int32_t row = 0; row < sh; ++row) ownRows[static_cast<std::size_t>(row)] = row + 1;
  for (const auto& column : Paint(run.lines, sw, sh)) EXPECT_EQ(column, ownRows);
}

TEST(CollapseSweep, CollapsePaintsFromTheFrontToTheBottomAndSkipsAFrontOnRowZero) {
  PixelGrid pixels = LabelledPixels(2, 2);
  Outcome run = Sweep(SweepPhase::Collapse, pixels, kRaisedPair, 0, 1, 2, 2, 1);
  // A front on row SH is drawn in the bottom row's colour; fronts on row 0 draw nothing.
  std::vector<Line> expected = {{1, 2, 2, 1, 2}, {0, 1, 2, 0, 1}, {1, 1, 2, 1, 1}};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.passes, 3);
  EXPECT_TRUE(run.finished);
}

TEST(CollapseSweep, SpeedThreeMovesTheFrontThreeRowsPerPass) {
  PixelGrid pixels = LabelledPixels(2, 6);
  Outcome run = Sweep(SweepPhase::BuildUp, pixels, {0, 0, 0}, 0, 0, 2, 6, 3);
  std::vector<Line> expected = {{1, 0, 5, 1, 6}, {0, 0, 2, 0, 3}, {1, 0, 2, 1, 3}};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.passes, 2);
}

TEST(CollapseSweep, PassesPerPhaseCountTheLevelsDownToProfileMin) {
  struct Case {
    std::int32_t sh;
    std::int16_t profileMin, profileMax, speed;
    int passes;
  };
  // ceil((SH + ProfileMax - ProfileMin) / Speed)
  const Case cases[] = {{10, 0, 0, 1, 10}, {10, -4, 3, 1, 17}, {10, -4, 3, 3, 6}, {10, -4, 4, 3, 6},
                        {9, 0, 0, 3, 3},   {768, -21, 35, 2, 412}};
  for (const Case& c : cases) {
    PixelGrid pixels = LabelledPixels(4, c.sh);
    for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
      Outcome run = Sweep(phase, pixels, {c.profileMax, c.profileMax, c.profileMin, c.profileMin, 0}, c.profileMin,
                          c.profileMax, 4, c.sh, c.speed);
      EXPECT_EQ(run.passes, c.passes) << "SH " << c.sh << " min " << c.profileMin << " max " << c.profileMax
                                      << " speed " << c.speed;
    }
  }
}

TEST(CollapseSweep, ASpeedBelowOneMovesTheFrontAsOneDoes) {
  PixelGrid pixels = LabelledPixels(2, 2);
  for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
    Outcome one = Sweep(phase, pixels, kRaisedPair, 0, 1, 2, 2, 1);
    for (std::int16_t speed : {0, -2, -32768}) {
      Outcome slow = Sweep(phase, pixels, kRaisedPair, 0, 1, 2, 2, speed);
      EXPECT_EQ(slow.lines, one.lines) << "speed " << speed;
      EXPECT_EQ(slow.passes, one.passes) << "speed " << speed;
      EXPECT_TRUE(slow.finished);
    }
  }
}

TEST(CollapseSweep, EndOfPassReturningFalseStopsAtOnce) {
  PixelGrid pixels = LabelledPixels(2, 2);
  Outcome run = Sweep(SweepPhase::BuildUp, pixels, kRaisedPair, 0, 1, 2, 2, 1, 2);
  EXPECT_FALSE(run.finished);
  EXPECT_EQ(run.passes, 2);
  // Nothing after the second wrap: the lines of the first two passes only.
  std::vector<Line> expected = {{1, 0, 1, 1, 2}, {0, 0, 0, 0, 1}, {1, 0, 0, 1, 1}};
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.state.SweepColumn, 0);
  EXPECT_EQ(run.state.FrontLevel, 1);
}

}  // namespace
