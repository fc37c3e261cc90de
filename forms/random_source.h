// Uniform random numbers that can be stirred with the time of day.
#pragma once

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Mixes the current time of day into the generator's state. Stirring twice within one clock
  // tick must not make two draws equal: the time is mixed in, never put in place of the state.
  virtual void Stir() = 0;
  // A uniform value in [0, 1).
  virtual double Uniform() = 0;
};
