#include <gtest/gtest.h>

#include "session/movement_rule.h"

// The rest of the rule is checked end to end, with real mouse moves, by the saver session tests.
TEST(MovementRule, AClearedSeenFlagRecordsAFreshPosition) {
  FirstMouse first;
  ApplyMovementRule(first, false, 10, 10);
  first.Seen = 0;  // what the handler does after a rejected password
  EXPECT_EQ(ApplyMovementRule(first, false, 50, 60), MovementVerdict::Recorded);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 60), MovementVerdict::Ignore);
  EXPECT_EQ(ApplyMovementRule(first, false, 50, 61), MovementVerdict::Ignore);
  EXPECT_EQ(ApplyMovementRule(first, false, 51, 61), MovementVerdict::EndSession);
}
