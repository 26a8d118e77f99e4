#pragma once
// Small deterministic building blocks for the sound and music generators: a seeded random
// source, second-order filters and envelopes. Everything here is plain arithmetic, so the same
// program writes the same samples on every run.
#include <cmath>
#include <cstdint>

namespace assetgen::synth {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// xorshift64*: a fixed-seed generator of our own, never seeded from the clock.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
  double Signed() { return Uniform() * 2.0 - 1.0; }                                             // [-1, 1)
  int Below(int n) { return static_cast<int>(Uniform() * n); }

 private:
  uint64_t state_;
};

// Second-order filter with the usual cookbook coefficients (direct form I).
class Biquad {
 public:
  enum class Kind { LowPass, HighPass, BandPass };
  Biquad() = default;
  Biquad(Kind kind, double freq, double q, double rate) { Set(kind, freq, q, rate); }

  void Set(Kind kind, double freq, double q, double rate) {
    freq = std::fmin(freq, rate * 0.45);
    const double w = kTwoPi * freq / rate;
    const double cw = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    double b0, b1, b2;
    switch (kind) {
      case Kind::LowPass: b0 = (1 - cw) / 2; b1 = 1 - cw; b2 = (1 - cw) / 2; break;
      case Kind::HighPass: b0 = (1 + cw) / 2; b1 = -(1 + cw); b2 = (1 + cw) / 2; break;
      default: b0 = alpha; b1 = 0; b2 = -alpha; break;  // band-pass, 0 dB peak
    }
    const double a0 = 1 + alpha;
    b0_ = b0 / a0; b1_ = b1 / a0; b2_ = b2 / a0;
    a1_ = -2 * cw / a0; a2_ = (1 - alpha) / a0;
  }
  double Process(double x) {
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_; x1_ = x; y2_ = y1_; y1_ = y;
    return y;
  }

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// One-pole low-pass, cheap enough to retune every sample.
class OnePole {
 public:
  double Process(double x, double freq, double rate) {
    const double a = 1.0 - std::exp(-kTwoPi * freq / rate);
    y_ += a * (x - y_);
    return y_;
  }

 private:
  double y_ = 0;
};

// Attack then exponential decay; t and the times in seconds.
inline double Percussive(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / decay);
}

// Linear attack, hold, linear release over a note of the given length.
inline double Gate(double t, double length, double attack, double release) {
  if (t < 0 || t > length) return 0;
  double g = 1.0;
  if (t < attack) g = t / attack;
  if (t > length - release) g = std::fmin(g, (length - t) / release);
  return g;
}

inline double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Smooth step between two values for 0 <= x <= 1.
inline double Ease(double a, double b, double x) {
  x = std::fmin(1.0, std::fmax(0.0, x));
  return a + (b - a) * (x * x * (3 - 2 * x));
}

}  // namespace assetgen::synth
