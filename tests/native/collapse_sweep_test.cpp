#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "display/collapse_sweep.h"

namespace {

// A line as the test compares it: column, from row, to row, then the colour's red and green, which
// give the column and row of the pixel that coloured it.
using Line = std::array<std::int32_t, 5>;

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

// What a phase drew, how many passes it handed back and whether it ended by itself.
struct Outcome : LineSink {
  void DrawLine(std::int32_t column, std::int32_t fromRow, std::int32_t toRow, PixelRecord colour) override {
    lines.push_back({column, fromRow, toRow, colour.Red, colour.Green});
  }
  std::vector<Line> lines;
  int passes = 0;
  bool finished = false;
};

Outcome Sweep(SweepPhase phase, const SweepInput& input, int stopAfterPasses = -1) {
  Outcome outcome;
  SweepState state;
  outcome.finished = RunSweep(phase, input, state, outcome, [&] { return ++outcome.passes != stopAfterPasses; });
  return outcome;
}

TEST(CollapseSweep, BuildUpPaintsAboveTheRisingFrontAndCollapseFromItDownAndEitherStopsWhenAPassSaysSo) {
  // Two columns, two rows, the left pair one row higher than the spare column 2. The first pass
  // starts at column 1; the phase ends right after column 0 at the level of ProfileMin. Fronts on
  // row 0 draw nothing; a front on row SH is drawn in the bottom row's colour.
  const std::vector<Line> buildUp = {{1, 0, 1, 1, 2}, {0, 0, 0, 0, 1}, {1, 0, 0, 1, 1}};
  const struct {
    SweepPhase phase;
    int stopAfter;
    std::vector<Line> lines;
    int passes;
    bool finished;
  } cases[] = {
      {SweepPhase::BuildUp, -1, buildUp, 3, true},
      {SweepPhase::Collapse, -1, {{1, 2, 2, 1, 2}, {0, 1, 2, 0, 1}, {1, 1, 2, 1, 1}}, 3, true},
      {SweepPhase::BuildUp, 2, buildUp, 2, false},
  };
  PixelGrid pixels = LabelledPixels(2, 2);
  for (const auto& c : cases) {
    Outcome run = Sweep(c.phase, {pixels, {1, 1, 0}, 0, 1, 2, 2, 1}, c.stopAfter);
    EXPECT_EQ(run.lines, c.lines) << "stop after " << c.stopAfter;
    EXPECT_EQ(run.passes, c.passes) << "stop after " << c.stopAfter;
    EXPECT_EQ(run.finished, c.finished) << "stop after " << c.stopAfter;
  }
}

TEST(CollapseSweep, EachPassMovesTheFrontBySpeedRowsAndASpeedBelowOneAsOne) {
  struct Case {
    std::int32_t sh;
    std::int16_t profileMin, profileMax, speed;
    int passes;
  };
  // ceil((SH + ProfileMax - ProfileMin) / Speed)
  const Case cases[] = {{10, -4, 3, 1, 17},     {10, -4, 4, 3, 6},  {9, 0, 0, 3, 3},
                        {768, -21, 35, 2, 412}, {10, -4, 3, 0, 17}, {10, -4, 3, -32768, 17}};
  for (const Case& c : cases) {
    PixelGrid pixels = LabelledPixels(4, c.sh);
    for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
      const std::vector<std::int32_t> profile = {c.profileMax, c.profileMax, c.profileMin, c.profileMin, 0};
      Outcome run = Sweep(phase, {pixels, profile, c.profileMin, c.profileMax, 4, c.sh, c.speed});
      EXPECT_EQ(run.passes, c.passes) << "SH " << c.sh << " min " << c.profileMin << " max " << c.profileMax
                                      << " speed " << c.speed;
      EXPECT_TRUE(run.finished);
    }
  }
}

TEST(CollapseSweep, PicturesSweptTogetherEachDrawWhatTheyDrawAloneInAsManyPassesAsTheLongestAndStopTogether) {
  PixelGrid small = LabelledPixels(2, 2), large = LabelledPixels(6, 9);
  const std::vector<std::int32_t> smallProfile = {1, 1, 0}, largeProfile = {4, 4, -3, -3, 7, 7, 0};
  const SweepInput inputs[] = {{small, smallProfile, 0, 1, 2, 2, 1}, {large, largeProfile, -3, 7, 6, 9, 2}};
  for (SweepPhase phase : {SweepPhase::BuildUp, SweepPhase::Collapse}) {
    for (int stopAfter : {-1, 2}) {
      Outcome alone[2] = {Sweep(phase, inputs[0], stopAfter), Sweep(phase, inputs[1], stopAfter)};
      Outcome together[2];
      SweepState states[2];
      int passes = 0;
      const bool finished = RunSweep(phase, {{inputs[0], states[0], together[0]}, {inputs[1], states[1], together[1]}},
                                     [&] { return ++passes != stopAfter; });
      EXPECT_EQ(together[0].lines, alone[0].lines) << "stop after " << stopAfter;
      EXPECT_EQ(together[1].lines, alone[1].lines) << "stop after " << stopAfter;
      EXPECT_EQ(passes, std::max(alone[0].passes, alone[1].passes)) << "stop after " << stopAfter;
      EXPECT_EQ(finished, stopAfter < 0);
    }
  }
}

}  // namespace
