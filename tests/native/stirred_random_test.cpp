#include <gtest/gtest.h>

#include <set>

#include "forms/stirred_random.h"

TEST(StirredRandom, DrawsAreUniformInTheHalfOpenUnitIntervalAndStirsWithAnUnchangedTimeRepeatNone) {
  StirredRandom random([] { return 43200.25; });
  std::set<double> draws;
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    random.Stir();
    const double u = random.Uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    draws.insert(u);
    ++buckets[static_cast<int>(u * 10)];
  }
  EXPECT_EQ(draws.size(), 100000u);
  for (int count : buckets) EXPECT_NEAR(count, 10000, 600);
}
