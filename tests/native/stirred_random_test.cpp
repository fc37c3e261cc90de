#include <gtest/gtest.h>

#include <set>

#include "forms/stirred_random.h"

TEST(StirredRandom, StirringWithAnUnchangedTimeDoesNotRepeatDraws) {
  StirredRandom random([] { return 43200.25; });
  std::set<double> draws;
  for (int i = 0; i < 1000; ++i) {
    random.Stir();
    draws.insert(random.Uniform());
  }
  EXPECT_EQ(draws.size(), 1000u);
}

TEST(StirredRandom, DrawsAreUniformInTheHalfOpenUnitInterval) {
  StirredRandom random([] { return 12345.5; });
  int buckets[10] = {};
  for (int i = 0; i < 100000; ++i) {
    random.Stir();
    double u = random.Uniform();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    ++buckets[static_cast<int>(u * 10)];
  }
  for (int count : buckets) EXPECT_NEAR(count, 10000, 600);
}
