#include <gtest/gtest.h>

#include "session/movement_rule.h"

// The rest of the rule is checked end to end, with real mouse moves, by the saver session tests.
// A session end that returns is a refused password: the next movement only records where it is.
TEST(MovementRule, AfterASessionEndThatReturnsTheNextMovementRecordsAFreshPosition) {
  FirstMouse first;
  int ends = 0;
  const auto endSaver = [&ends] { ++ends; };
  const struct {
    float x, y;
    MovementVerdict verdict;
  } moves[] = {{10, 10, MovementVerdict::Recorded},   {50, 60, MovementVerdict::EndSession},
               {51, 61, MovementVerdict::Recorded},   {52, 61, MovementVerdict::Ignore},
               {51, 62, MovementVerdict::Ignore},     {52, 62, MovementVerdict::EndSession}};
  for (const auto& move : moves) {
    EXPECT_EQ(OnDisplayMouseMove(first, false, move.x, move.y, endSaver), move.verdict) << move.x << "," << move.y;
  }
  EXPECT_EQ(ends, 2);
}
