#pragma once
// The program's one random generator: SplitMix64 (Steele, Lea and Flood, 2014) started
// from the state 0 and never seeded, so every run draws the same sequence. Rnd() takes the
// top 53 bits of one output as a double in [0, 1). Every random draw of the game goes through
// here, in the order the rules make them.
#include <cstdint>

namespace kelmora {

class Random {
 public:
  static constexpr uint64_t kStartState = 0;

  double Rnd() {
    ++draws_;
    state_ += 0x9E3779B97F4A7C15ULL;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
  }
  uint64_t draws() const { return draws_; }
  uint64_t state() const { return state_; }
  // Carries on from another generator's place (an online match starts from the host's).
  void Resume(uint64_t state, uint64_t draws) {
    state_ = state;
    draws_ = draws;
  }

 private:
  uint64_t state_ = kStartState;
  uint64_t draws_ = 0;
};

}  // namespace kelmora
