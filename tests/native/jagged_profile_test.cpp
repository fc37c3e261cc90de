#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "display/jagged_profile.h"
#include "native/scripted_random.h"

namespace {

TEST(JaggedProfile, StepsUpBelowAHalfAndDownFromAHalfOncePerPairOfColumns) {
  const double kJustBelowOne = std::nextafter(1.0, 0.0);
  const struct {
    std::int32_t width;
    std::vector<double> draws;  // the step, then a coin per pair
    std::vector<std::int32_t> profile;
    std::int16_t min, max;
  } cases[] = {
      {10, {0.5, 0.1, 0.5, 0.7, 0.99, 0.49}, {5, 5, 0, 0, -5, -5, -10, -10, -5, -5, 0}, -10, 5},
      // An odd width's last pair reaches into the spare column.
      {5, {0.0, 0.9}, {-3, -3, -6, -6, -9, -9}, -9, 0},
      {4, {kJustBelowOne, 0.0}, {7, 7, 14, 14, 0}, 0, 14},
      {0, {0.2}, {0}, 0, 0},
  };
  for (const auto& c : cases) {
    ScriptedRandom random(c.draws, 1);
    // What an earlier picture left must not count.
    JaggedProfile profile;
    profile.Profile.assign(4000, 99);
    profile.ProfileMin = -100;
    profile.ProfileMax = 100;
    BuildProfile(profile, c.width, random);
    EXPECT_EQ(profile.Profile, c.profile) << "width " << c.width;
    EXPECT_EQ(profile.ProfileMin, c.min) << "width " << c.width;
    EXPECT_EQ(profile.ProfileMax, c.max) << "width " << c.width;
    EXPECT_EQ(random.drawn, 1 + (c.width + 1) / 2) << "width " << c.width;
  }
}

}  // namespace
