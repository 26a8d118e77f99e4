#include "sound_tones.h"

#include <algorithm>
#include <cmath>

#include "synth_dsp.h"

namespace assetgen {

namespace {

double HarmonicWeight(Wave wave, int k) {
  switch (wave) {
    case Wave::Sine: return k == 1 ? 1.0 : 0.0;
    case Wave::Square: return k % 2 ? 1.0 / k : 0.0;
    case Wave::Saw: return 1.0 / k;
    case Wave::Bell:  // a few bright partials for chimes
      return k == 1 ? 1.0 : k == 2 ? 0.35 : k == 3 ? 0.12 : k == 5 ? 0.05 : 0.0;
  }
  return 0.0;
}

}  // namespace

Audio Silence(double seconds) {
  Audio a;
  a.rate = 44100;
  a.samples.assign(static_cast<size_t>(seconds * a.rate), 0.0f);
  return a;
}

void AddNote(Audio& audio, double start, double seconds, double hz, double amp, const Tone& tone) {
  const double rate = audio.rate;
  const size_t first = static_cast<size_t>(start * rate);
  const size_t count = static_cast<size_t>(seconds * rate);
  const double topHz = hz * std::max(1.0, tone.glide);
  const int harmonics = std::max(1, static_cast<int>(0.45 * rate / topHz));
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < audio.samples.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double x = t / seconds;
    double f = hz * std::pow(tone.glide, x);
    if (tone.vibratoHz > 0)
      f *= std::pow(2.0, tone.vibratoSemitones / 12.0 * std::sin(synth::kTwoPi * tone.vibratoHz * t) *
                             std::min(1.0, t / 0.15));
    phase += synth::kTwoPi * f / rate;
    double s = 0.0;
    for (int k = 1; k <= harmonics && k < 40; ++k) {
      const double w = HarmonicWeight(tone.wave, k);
      if (w == 0.0) continue;
      const double roll = 1.0 / (1.0 + std::pow(k * f / tone.brightness, 2.0));
      s += w * roll * std::sin(k * phase);
    }
    double env = synth::Gate(t, seconds, tone.attack, tone.release);
    if (tone.decay > 0) env *= synth::Percussive(t, tone.attack, tone.decay);
    audio.samples[first + i] += static_cast<float>(amp * env * s);
  }
}

void AddNoise(Audio& audio, double start, double seconds, double amp, const Noise& noise) {
  const double rate = audio.rate;
  const size_t first = static_cast<size_t>(start * rate);
  const size_t count = static_cast<size_t>(seconds * rate);
  synth::Rng rng(noise.seed);
  synth::Biquad band;
  double grainLeft = 0.0, grainAge = 0.0, grainAmp = 1.0, grainDecay = 0.004;
  for (size_t i = 0; i < count && first + i < audio.samples.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double x = t / seconds;
    if (i % 32 == 0) {
      const double centre = noise.lowHz * std::pow(noise.highHz / noise.lowHz, x);
      band.Set(synth::Biquad::Kind::BandPass, centre, noise.q, rate);
    }
    double grain = 1.0;
    if (noise.grains > 0) {
      grainLeft -= 1.0 / rate;
      grainAge += 1.0 / rate;
      if (grainLeft <= 0) {
        grainAge = 0.0;
        grainLeft = (0.4 + 1.2 * rng.Uniform()) / noise.grains;
        grainAmp = 0.3 + 0.7 * rng.Uniform();
        grainDecay = 0.002 + 0.004 * rng.Uniform();
      }
      grain = grainAmp * std::exp(-grainAge / grainDecay);
    }
    const double env = synth::Percussive(t, noise.attack, noise.decay) * synth::Gate(t, seconds, 0.0005, 0.01);
    audio.samples[first + i] += static_cast<float>(amp * env * grain * band.Process(rng.Signed()));
  }
}

Bytes FinishEffect(Audio audio) {
  RemoveDc(audio);
  FadeEnds(audio, 2.0, 15.0);
  Normalise(audio, 0.93);
  return EncodeWav(audio);
}

}  // namespace assetgen
