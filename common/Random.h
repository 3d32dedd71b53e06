// The program-wide pseudo-random sequence. It always starts from the same state, so a
// run's random choices are the same after every start of a program.
#pragma once

#include <cstdint>

namespace Halvane_Common_Procedures {

class RandomSequence {
 public:
  RandomSequence() = default;

  // The next value in [0, 1), with 53 random bits.
  double Next();

 private:
  std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

// The sequence every part of a program draws from.
double Rnd();

}  // namespace Halvane_Common_Procedures
