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

MovementVerdict OnDisplayMouseMove(FirstMouse& first, bool startedWithoutSwitch, float x, float y,
                                   const std::function<void()>& endSaver) {
  const MovementVerdict verdict = ApplyMovementRule(first, startedWithoutSwitch, x, y);
  if (verdict == MovementVerdict::EndSession) {
    endSaver();
    first.Seen = 0;
  }
  return verdict;
}
