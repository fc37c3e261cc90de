// The jagged front's shape: one height per column, drawn anew for every picture.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/random_source.h"

struct JaggedProfile {
  std::vector<std::int32_t> Profile;  // indices 0 .. master width
  std::int32_t WalkHeight = 0;
  std::int32_t WalkStep = 0;
  std::int16_t ProfileColumn = 0;
  std::int16_t ProfileMin = 0;
  std::int16_t ProfileMax = 0;
};

void BuildProfile(JaggedProfile& profile, std::int32_t masterWidth, RandomSource& random);
