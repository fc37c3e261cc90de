#include "session/movement_rule.h"

MovementVerdict ApplyMovementRule(FirstMouse& first, bool startedWithoutSwitch, float x, float y) {
  if (startedWithoutSwitch) return MovementVerdict::Ignore;
  if (!first.Seen) {
    first.X = x;
    first.Y = y;
    first.Seen = -1;
    return MovementVerdict::Recorded;
  }
  if (x == first.X || y == first.Y) return MovementVerdict::Ignore;
  return MovementVerdict::EndSession;
}
