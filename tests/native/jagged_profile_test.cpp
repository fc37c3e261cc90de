#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "display/jagged_profile.h"
#include "forms/stirred_random.h"
#include "native/scripted_random.h"

namespace {

TEST(JaggedProfile, OneStepPerPairOfColumns) {
  struct Case {
    std::int32_t width;
    int pairs;
  };
  for (const Case c : {Case{1024, 512}, Case{1, 1}, Case{0, 0}, Case{5, 3}, Case{2, 1}}) {
    ScriptedRandom random({0.0, 0.1}, 1);
    JaggedProfile profile;
    profile.Profile.assign(4000, 99);
    BuildProfile(profile, c.width, random);
    ASSERT_EQ(profile.Profile.size(), static_cast<std::size_t>(c.width) + 1) << "width " << c.width;
    EXPECT_EQ(random.drawn, c.pairs + 1) << "width " << c.width;
    EXPECT_EQ(profile.WalkHeight, 3 * c.pairs);
    for (std::int32_t column = 0; column < 2 * c.pairs; ++column)
      EXPECT_EQ(profile.Profile[column], 3 * (column / 2 + 1)) << "width " << c.width << " column " << column;
    // An even width leaves its last index as it was dimensioned.
    if (c.width % 2 == 0) {
      EXPECT_EQ(profile.Profile[c.width], 0);
    }
  }
}

TEST(JaggedProfile, WalkStepIsThreeToSeven) {
  const std::pair<double, std::int32_t> cases[] = {
      {0.0, 3}, {0.1999, 3}, {0.2, 4}, {0.5, 5}, {0.7, 6}, {0.8, 7}, {std::nextafter(1.0, 0.0), 7}};
  for (auto [draw, step] : cases) {
    ScriptedRandom random({draw, 0.9}, 1);
    JaggedProfile profile;
    BuildProfile(profile, 4, random);
    EXPECT_EQ(profile.WalkStep, step) << "draw " << draw;
    EXPECT_EQ(profile.Profile, (std::vector<std::int32_t>{-step, -step, -2 * step, -2 * step, 0}));
  }
}

TEST(JaggedProfile, WalksUpBelowAHalfAndDownFromAHalfAndKeepsItsExtremes) {
  // Step 5; up, down, down, down, up.
  ScriptedRandom random({0.5, 0.1, 0.5, 0.7, 0.99, 0.49}, 1);
  JaggedProfile profile;
  BuildProfile(profile, 10, random);
  EXPECT_EQ(profile.Profile, (std::vector<std::int32_t>{5, 5, 0, 0, -5, -5, -10, -10, -5, -5, 0}));
  EXPECT_EQ(profile.ProfileMin, -10);
  EXPECT_EQ(profile.ProfileMax, 5);
  EXPECT_EQ(profile.WalkHeight, -5);
}

TEST(JaggedProfile, TheExtremesCountTheStartingHeight) {
  struct Case {
    std::int32_t width;
    double coin;
    std::int16_t min, max;
    std::int32_t last;
  };
  // Step 7, straight up or straight down.
  const Case cases[] = {{6, 0.0, 0, 21, 21}, {6, 0.9, -21, 0, -21}, {0, 0.0, 0, 0, 0}};
  for (const Case& c : cases) {
    ScriptedRandom random({0.99, c.coin}, 1);
    JaggedProfile profile;
    profile.Profile.assign(10, 5);
    profile.ProfileMin = -100;
    profile.ProfileMax = 100;
    BuildProfile(profile, c.width, random);
    EXPECT_EQ(profile.ProfileMin, c.min) << "width " << c.width;
    EXPECT_EQ(profile.ProfileMax, c.max) << "width " << c.width;
    ASSERT_EQ(profile.Profile.size(), static_cast<std::size_t>(std::max(c.width + 1, 0)));
    if (c.width > 0) {
      EXPECT_EQ(profile.Profile[c.width - 1], c.last);
    }
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
      EXPECT_EQ(height % profile.WalkStep, 0);
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
