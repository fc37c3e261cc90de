// Which mouse movements end the saver: the first one only records where the pointer is, and only
// a move that changes both coordinates counts, so a nudged desk or a jittery mouse does not.
#pragma once

#include <cstdint>
#include <functional>

struct FirstMouse {
  float X = 0;
  float Y = 0;
  std::int16_t Seen = 0;  // 0 false, -1 true
};

enum class MovementVerdict { Ignore, Recorded, EndSession };

// startedWithoutSwitch: the argument string is empty; then movement never ends the display.
MovementVerdict ApplyMovementRule(FirstMouse& first, bool startedWithoutSwitch, float x, float y);

// The handler of a movement over Display: the rule, and endSaver where it says so. When endSaver
// returns (the older platform's password check refused), the next movement records a fresh
// position.
MovementVerdict OnDisplayMouseMove(FirstMouse& first, bool startedWithoutSwitch, float x, float y,
                                   const std::function<void()>& endSaver);
