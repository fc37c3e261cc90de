#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "forms/stirred_random.h"
#include "images/show_order.h"
#include "native/scripted_random.h"
#include "support/failing_allocation.h"

namespace {

const double kJustBelowOne = std::nextafter(1.0, 0.0);

// Element 0 and anything past the count must keep this.
constexpr std::int16_t kUntouched = -7;

std::vector<std::int16_t> Build(std::int16_t count, std::int16_t changeOrder, RandomSource& random, std::size_t size) {
  std::vector<std::int16_t> order(size, kUntouched);
  BuildShowOrder(order, count, changeOrder, random);
  return order;
}

TEST(ShowOrder, SequentialIsOneToCountOnEveryBuild) {
  ScriptedRandom random({0.5});
  std::vector<std::int16_t> order(5, kUntouched);
  for (int build = 0; build < 3; ++build) {
    BuildShowOrder(order, 4, 0, random);
    EXPECT_EQ(order, (std::vector<std::int16_t>{kUntouched, 1, 2, 3, 4}));
  }
  EXPECT_EQ(random.drawn, 0);
}

TEST(ShowOrder, RandomPicksTheRthFreeIndex) {
  struct Case {
    std::int16_t changeOrder;
    std::vector<double> draws;
    std::vector<std::int16_t> expected;
  };
  const Case cases[] = {
      {1, {0.0}, {kUntouched, 1, 2, 3, 4}},
      {1, {kJustBelowOne}, {kUntouched, 4, 3, 2, 1}},
      // r = 3 of 4, 1 of 3, 2 of {2, 4}, the last one left.
      {1, {0.5, 0.0, 0.99, 0.3}, {kUntouched, 3, 1, 4, 2}},
      {2, {kJustBelowOne}, {kUntouched, 4, 3, 2, 1}},
      {-1, {0.25, 0.4, 0.5, 0.0}, {kUntouched, 2, 3, 4, 1}},
  };
  for (const Case& c : cases) {
    ScriptedRandom random(c.draws);
    EXPECT_EQ(Build(4, c.changeOrder, random, 5), c.expected) << "ChangeOrder " << c.changeOrder;
    EXPECT_EQ(random.drawn, 4);
  }
}

TEST(ShowOrder, OneOrNoPictureGivesTheOrderThereIs) {
  for (std::int16_t changeOrder : {0, 1}) {
    ScriptedRandom random({kJustBelowOne});
    EXPECT_EQ(Build(1, changeOrder, random, 2), (std::vector<std::int16_t>{kUntouched, 1}));
    EXPECT_EQ(Build(0, changeOrder, random, 1), (std::vector<std::int16_t>{kUntouched}));
  }
}

TEST(ShowOrder, WithoutMemoryToDrawARandomOrderTheOrderStaysAsItWas) {
  ScriptedRandom random({0.5});
  std::vector<std::int16_t> order = {kUntouched, 3, 1, 2};
  {
    testsupport::FailingAllocations outOfMemory;
    BuildShowOrder(order, 3, 1, random);
  }
  EXPECT_EQ(order, (std::vector<std::int16_t>{kUntouched, 3, 1, 2}));
}

TEST(ShowOrder, EveryPermutationOfThreeIsEquallyLikely) {
  // A fixed time of day makes the draws the same on every run: the bound below holds for them.
  StirredRandom random([] { return 43200.25; });
  std::map<std::vector<std::int16_t>, int> counts;
  const int builds = 60000;
  for (int i = 0; i < builds; ++i) ++counts[Build(3, 1, random, 4)];
  ASSERT_EQ(counts.size(), 6u);
  double chiSquare = 0;
  for (const auto& [order, count] : counts) {
    const double expected = builds / 6.0;
    chiSquare += (count - expected) * (count - expected) / expected;
  }
  // 5 degrees of freedom: a fair generator exceeds this once in a thousand seeds.
  EXPECT_LT(chiSquare, 20.5);
}

}  // namespace
