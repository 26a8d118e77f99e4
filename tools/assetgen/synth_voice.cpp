#include "synth_voice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "synth_dsp.h"

namespace assetgen {

namespace {

using synth::Ease;
using synth::kTwoPi;

constexpr int kFormants = 4;

struct Vowel {
  double t;  // position along the word, 0..1
  std::array<double, kFormants> freq, width;
};

// "y" -> "e" -> "a" -> "ah": the tongue drops and moves back while the jaw opens.
const std::array<Vowel, 4> kYeah = {{
    {0.00, {290, 2250, 3000, 3700}, {60, 110, 160, 220}},
    {0.22, {530, 1850, 2550, 3550}, {70, 110, 160, 220}},
    {0.50, {740, 1620, 2450, 3500}, {90, 120, 170, 230}},
    {1.00, {800, 1250, 2500, 3500}, {100, 120, 170, 230}},
}};

Vowel VowelAt(double x) {
  for (size_t i = 1; i < kYeah.size(); ++i) {
    if (x <= kYeah[i].t || i + 1 == kYeah.size()) {
      const Vowel& a = kYeah[i - 1];
      const Vowel& b = kYeah[i];
      const double u = (x - a.t) / (b.t - a.t);
      Vowel v{x, {}, {}};
      for (int f = 0; f < kFormants; ++f) {
        v.freq[f] = Ease(a.freq[f], b.freq[f], u);
        v.width[f] = Ease(a.width[f], b.width[f], u);
      }
      return v;
    }
  }
  return kYeah.back();
}

// Gain of an all-pole vocal tract (four resonances in cascade) at frequency f.
double TractGain(const Vowel& v, double f) {
  double g = 1.0;
  for (int i = 0; i < kFormants; ++i) {
    const double F = v.freq[i], B = v.width[i];
    const double d = F * F - f * f;
    g *= F * F / std::sqrt(d * d + B * B * f * f);
  }
  return g;
}

double PitchAt(const VoiceRecipe& s, double x) {
  if (x < s.topAt) return s.pitchHz * Ease(s.pitchStart, s.pitchTop, x / s.topAt);
  return s.pitchHz * Ease(s.pitchTop, s.pitchEnd, (x - s.topAt) / (1.0 - s.topAt));
}

double LoudnessAt(double x) {
  // Soft "y" onset, full vowel, then a falling tail.
  const double on = x < 0.12 ? Ease(0.25, 1.0, x / 0.12) : 1.0;
  const double off = x > 0.65 ? Ease(1.0, 0.0, (x - 0.65) / 0.35) : 1.0;
  return on * off;
}

}  // namespace

Audio SingYeah(const VoiceRecipe& recipe) {
  Audio out;
  out.rate = 44100;
  const double rate = out.rate;
  const size_t frames = static_cast<size_t>(recipe.seconds * rate);
  out.samples.assign(frames, 0.0f);

  const double topPitch = recipe.pitchHz * std::max({recipe.pitchStart, recipe.pitchTop, recipe.pitchEnd}) * 1.1;
  const int harmonics = std::max(1, static_cast<int>(std::min(7000.0, 0.45 * rate) / topPitch));
  std::vector<double> gainFrom(harmonics + 1, 0.0), gainTo(harmonics + 1, 0.0);

  synth::Rng rng(recipe.seed);
  synth::OnePole wander;
  synth::Biquad breathLow, breathHigh;
  synth::Biquad breathTop(synth::Biquad::Kind::LowPass, 4500, 0.7, out.rate);
  constexpr size_t kBlock = 64;
  double phase = 0.0;
  Vowel vowel = VowelAt(0);

  for (size_t start = 0; start < frames; start += kBlock) {
    const double x = static_cast<double>(start) / static_cast<double>(frames);
    vowel = VowelAt(x);
    for (int f = 0; f < kFormants; ++f) {
      vowel.freq[f] *= recipe.tractScale;
      vowel.width[f] *= std::sqrt(recipe.tractScale);
    }
    const double f0 = PitchAt(recipe, x);
    gainFrom = gainTo;
    for (int k = 1; k <= harmonics; ++k) {
      const double f = k * f0;
      gainTo[k] = f < 0.45 * rate ? std::pow(k, -recipe.darkness) * TractGain(vowel, f) : 0.0;
    }
    if (start == 0) gainFrom = gainTo;
    breathLow.Set(synth::Biquad::Kind::BandPass, vowel.freq[1], 4.0, rate);
    breathHigh.Set(synth::Biquad::Kind::BandPass, vowel.freq[2], 4.0, rate);

    const size_t end = std::min(frames, start + kBlock);
    for (size_t i = start; i < end; ++i) {
      const double t = static_cast<double>(i) / rate;
      const double xi = static_cast<double>(i) / static_cast<double>(frames);
      const double u = static_cast<double>(i - start) / kBlock;
      const double drift = wander.Process(rng.Signed(), 25.0, rate) * 3.0 * recipe.jitter;
      const double vib = std::pow(2.0, recipe.vibratoSemitones / 12.0 * std::sin(kTwoPi * recipe.vibratoHz * t));
      const double pitch = PitchAt(recipe, xi) * vib * (1.0 + drift);
      phase += kTwoPi * pitch / rate;
      if (phase > kTwoPi * 1024) phase -= kTwoPi * 1024;
      double voiced = 0.0;
      for (int k = 1; k <= harmonics; ++k) {
        const double g = gainFrom[k] + (gainTo[k] - gainFrom[k]) * u;
        if (g != 0.0) voiced += g * std::sin(k * phase);
      }
      const double noise = rng.Signed();
      const double breath =
          breathTop.Process(breathLow.Process(noise) + 0.6 * breathHigh.Process(noise)) * recipe.breath * 8.0;
      double flutter = 1.0;
      if (recipe.roughDepth > 0)
        flutter = 1.0 - recipe.roughDepth * (0.5 + 0.5 * std::sin(kTwoPi * recipe.roughHz * t));
      out.samples[i] = static_cast<float>((voiced * 0.05 * flutter + breath) * LoudnessAt(xi));
    }
  }
  return out;
}

}  // namespace assetgen
