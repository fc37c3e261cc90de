#include "forms/stirred_random.h"

#include <chrono>
#include <cstring>

namespace {

// SplitMix64's finaliser: spreads every input bit over the whole word.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

StirredRandom::StirredRandom(std::function<double()> timeOfDay)
    : StirredRandom(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
                    std::move(timeOfDay)) {}

StirredRandom::StirredRandom(std::uint64_t seed, std::function<double()> timeOfDay)
    : timeOfDay_(std::move(timeOfDay)), state_(Mix(seed)) {}

double StirredRandom::SystemTimeOfDay() {
  using namespace std::chrono;
  auto sinceEpoch = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<double>(sinceEpoch % 86400000000LL) / 1e6;
}

void StirredRandom::Stir() {
  double now = timeOfDay_();
  std::uint64_t bits = 0;
  std::memcpy(&bits, &now, sizeof bits);
  // Mixed in, never put in place of the state: two stirs with the same time still move on.
  state_ ^= Mix(bits);
  Next();
}

double StirredRandom::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

std::uint64_t StirredRandom::Next() {
  state_ += 0x9E3779B97F4A7C15ull;
  return Mix(state_);
}
