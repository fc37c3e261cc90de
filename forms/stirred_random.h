// The program's random numbers: a 64-bit generator whose state the time of day is mixed into.
#pragma once

#include <cstdint>
#include <functional>

#include "forms/random_source.h"

class StirredRandom : public RandomSource {
 public:
  // timeOfDay gives seconds since midnight with a fraction; the default reads the system clock.
  explicit StirredRandom(std::function<double()> timeOfDay = SystemTimeOfDay);
  // Starts from seed rather than the clock: with a fixed timeOfDay as well, every run draws alike.
  StirredRandom(std::uint64_t seed, std::function<double()> timeOfDay);
  void Stir() override;
  double Uniform() override;

  static double SystemTimeOfDay();

 private:
  std::uint64_t Next();
  std::function<double()> timeOfDay_;
  std::uint64_t state_;
};
