#include <gtest/gtest.h>

#include <vector>

#include "startup/movement_rule.h"

namespace {

struct Move {
  float x, y;
  MovementVerdict expected;
};

void Play(bool startedWithoutSwitch, const std::vector<Move>& moves) {
  FirstMouse first;
  for (size_t i = 0; i < moves.size(); ++i) {
    EXPECT_EQ(ApplyMovementRule(first, startedWithoutSwitch, moves[i].x, moves[i].y), moves[i].expected)
        << "move " << i;
  }
}

}  // namespace

TEST(MovementRule, FirstMoveOnlyRecordsEvenFarAway) {
  Play(false, {{500, 400, MovementVerdict::Recorded}, {500, 400, MovementVerdict::Ignore}});
}

TEST(MovementRule, OnlyDiagonalMovesAwayFromTheRecordedPointEnd) {
  Play(false, {{100, 100, MovementVerdict::Recorded},
               {300, 100, MovementVerdict::Ignore},   // horizontal only
               {100, 250, MovementVerdict::Ignore},   // vertical only
               {100.5f, 100, MovementVerdict::Ignore},
               {101, 101, MovementVerdict::EndSession}});
}

TEST(MovementRule, WithoutASwitchMovementNeverEnds) {
  Play(true, {{1, 1, MovementVerdict::Ignore}, {500, 600, MovementVerdict::Ignore}});
}

TEST(MovementRule, AClearedSeenFlagRecordsAFreshPosition) {
  FirstMouse first;
  ApplyMovementRule(first, false, 10, 10);
  first.Seen = 0;  // what the handler does after a rejected password
  EXPECT_EQ(ApplyMovementRule(first, false, 50, 60), MovementVerdict::Recorded);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 60), MovementVerdict::Ignore);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 61), MovementVerdict::EndSession);
}
