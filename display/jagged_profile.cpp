#include "display/jagged_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

namespace {

template <typename Narrow>
Narrow Saturate(std::int64_t value) {
  return static_cast<Narrow>(std::clamp<std::int64_t>(value, std::numeric_limits<Narrow>::min(),
                                                      std::numeric_limits<Narrow>::max()));
}

bool SizeProfile(std::vector<std::int32_t>& profile, std::int32_t masterWidth) {
  try {
    profile.assign(masterWidth >= 0 ? static_cast<std::size_t>(masterWidth) + 1 : 0, 0);
    return true;
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  profile.clear();
  return false;
}

}  // namespace

void BuildProfile(JaggedProfile& profile, std::int32_t masterWidth, RandomSource& random) {
  const bool sized = SizeProfile(profile.Profile, masterWidth);
  profile.WalkHeight = 0;
  profile.ProfileMin = 0;
  profile.ProfileMax = 0;
  random.Stir();
  profile.WalkStep = static_cast<std::int32_t>(std::clamp(std::floor(5.0 * random.Uniform() + 3.0), 3.0, 7.0));
  if (!sized) return;

  // The walk moves once per pair of columns, so it leaves the 16 bits of ProfileMin and ProfileMax
  // only on a picture thousands of columns wide; there they stop at the 16-bit limit.
  const std::int64_t lastPairStart = std::int64_t{masterWidth} - 1;
  std::int64_t column = 0;
  for (; column <= lastPairStart; column += 2) {
    random.Stir();
    const std::int32_t step = random.Uniform() < 0.5 ? profile.WalkStep : -profile.WalkStep;
    profile.WalkHeight = Saturate<std::int32_t>(std::int64_t{profile.WalkHeight} + step);
    profile.Profile[static_cast<std::size_t>(column)] = profile.WalkHeight;
    profile.Profile[static_cast<std::size_t>(column) + 1] = profile.WalkHeight;
    if (profile.WalkHeight < profile.ProfileMin) profile.ProfileMin = Saturate<std::int16_t>(profile.WalkHeight);
    if (profile.WalkHeight > profile.ProfileMax) profile.ProfileMax = Saturate<std::int16_t>(profile.WalkHeight);
  }
  profile.ProfileColumn = Saturate<std::int16_t>(column);
}
