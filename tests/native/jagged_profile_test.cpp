#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "display/jagged_profile.h"
#include "forms/stirred_random.h"
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

TEST(JaggedProfile, ARealWalkMovesByWalkStepBetweenPairs) {
  StirredRandom random;
  JaggedProfile previous;
  for (int build = 0; build < 20; ++build) {
    JaggedProfile profile;
    BuildProfile(profile, 1024, random);
    ASSERT_GE(profile.WalkStep, 3);
    ASSERT_LE(profile.WalkStep, 7);
    std::int32_t low = 0, high = 0, last = 0;
    for (std::int32_t column = 0; column < 1024; column += 2) {
      const std::int32_t height = profile.Profile[column];
      EXPECT_EQ(profile.Profile[column + 1], height);
      EXPECT_EQ(std::abs(height - last), profile.WalkStep);
      last = height;
      low = std::min(low, height);
      high = std::max(high, height);
    }
    EXPECT_EQ(profile.Profile[1024], 0);
    EXPECT_EQ(profile.ProfileMin, low);
    EXPECT_EQ(profile.ProfileMax, high);
    EXPECT_NE(profile.Profile, previous.Profile);
    previous = profile;
  }
}

}  // namespace
