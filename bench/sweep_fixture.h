// What the pass benchmarks animate: a picture of a known size with colours that change from pixel
// to pixel, a profile drawn by the saver's own BuildProfile from a fixed seed, and a clock. The
// same input for every run, so that figures compare across builds.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "display/collapse_sweep.h"
#include "display/jagged_profile.h"
#include "display/pixel_grid.h"
#include "forms/random_source.h"

namespace bench {

// A fixed-seed generator: a profile that is the same in every run, with the saver's own walk.
class SeededRandom : public RandomSource {
 public:
  void Stir() override {}
  double Uniform() override {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ULL;
};

struct Picture {
  Picture(std::int32_t width, std::int32_t height) : Width(width), Height(height), Pixels(width, height) {
    for (std::int32_t row = 0; row <= height; ++row) {
      for (std::int32_t column = 0; column <= width; ++column) {
        PixelRecord* pixel = Pixels.At(column, row);
        pixel->Red = static_cast<std::uint8_t>(column * 255 / std::max(width, 1));
        pixel->Green = static_cast<std::uint8_t>(row * 255 / std::max(height, 1));
        pixel->Blue = static_cast<std::uint8_t>((column ^ row) & 0xFF);
      }
    }
    SeededRandom random;
    BuildProfile(Profile, width, random);
  }
  SweepInput Input(std::int16_t speed) const {
    return SweepInput{Pixels, Profile.Profile, Profile.ProfileMin, Profile.ProfileMax, Width, Height, speed};
  }

  std::int32_t Width, Height;
  PixelGrid Pixels;
  JaggedProfile Profile;
};

inline double Milliseconds() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The times of the passes of one phase.
struct PassTimes {
  std::vector<double> Samples;
  double Mean() const {
    double total = 0;
    for (double s : Samples) total += s;
    return Samples.empty() ? 0 : total / static_cast<double>(Samples.size());
  }
  double Worst() const { return Samples.empty() ? 0 : *std::max_element(Samples.begin(), Samples.end()); }
};

inline const char* PhaseName(SweepPhase phase) { return phase == SweepPhase::BuildUp ? "build-up" : "collapse"; }

}  // namespace bench
