// A random source that plays back given draws.
#pragma once

#include <vector>

#include "forms/random_source.h"

namespace {

class ScriptedRandom : public RandomSource {
 public:
  // After the last draw it goes on from the draw at repeatFrom.
  explicit ScriptedRandom(std::vector<double> draws, std::size_t repeatFrom = 0)
      : draws_(std::move(draws)), repeatFrom_(repeatFrom) {}
  void Stir() override {}
  double Uniform() override {
    std::size_t at = static_cast<std::size_t>(drawn++);
    if (at >= draws_.size()) at = repeatFrom_ + (at - draws_.size()) % (draws_.size() - repeatFrom_);
    return draws_.at(at);
  }
  int drawn = 0;

 private:
  std::vector<double> draws_;
  std::size_t repeatFrom_;
};

}  // namespace
