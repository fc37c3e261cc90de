#include <gtest/gtest.h>

#include <vector>

#include "startup/movement_rule.h"

namespace {

struct Move {
  float x, y;
  MovementVerdict expected;
};

constexpr MovementVerdict kRecorded = MovementVerdict::Recorded, kIgnore = MovementVerdict::Ignore,
                          kEnd = MovementVerdict::EndSession;

TEST(MovementRule, TheFirstMoveRecordsAndOnlyADiagonalMoveAwayEndsAndNeverWithoutASwitch) {
  const struct {
    bool startedWithoutSwitch;
    std::vector<Move> moves;
  } cases[] = {
      {false, {{500, 400, kRecorded}, {500, 400, kIgnore}}},
      {false, {{100, 100, kRecorded}, {300, 100, kIgnore}, {100, 250, kIgnore}, {100.5f, 100, kIgnore}, {101, 101, kEnd}}},
      {true, {{1, 1, kIgnore}, {500, 600, kIgnore}}},
  };
  for (const auto& c : cases) {
    FirstMouse first;
    for (size_t i = 0; i < c.moves.size(); ++i) {
      EXPECT_EQ(ApplyMovementRule(first, c.startedWithoutSwitch, c.moves[i].x, c.moves[i].y), c.moves[i].expected)
          << "move " << i;
    }
  }
}

TEST(MovementRule, AClearedSeenFlagRecordsAFreshPosition) {
  FirstMouse first;
  ApplyMovementRule(first, false, 10, 10);
  first.Seen = 0;  // what the handler does after a rejected password
  EXPECT_EQ(ApplyMovementRule(first, false, 50, 60), kRecorded);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 60), kIgnore);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 61), kEnd);
}

}  // namespace
