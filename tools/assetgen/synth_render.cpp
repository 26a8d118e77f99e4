#include "synth_render.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "music_tunes.h"
#include "synth_dsp.h"

namespace assetgen {

namespace {

using synth::Biquad;
using synth::kTwoPi;

constexpr int kRate = 44100;

// Band-limited step correction for the naive sawtooth and pulse waves.
double PolyBlep(double t, double dt) {
  if (t < dt) { t /= dt; return t + t - t * t - 1.0; }
  if (t > 1.0 - dt) { t = (t - 1.0) / dt; return t * t + t + t + 1.0; }
  return 0.0;
}

struct Oscillator {
  double phase = 0;
  double Saw(double hz) {
    const double dt = hz / kRate;
    const double v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    return v;
  }
  double Pulse(double hz, double width) {
    const double dt = hz / kRate;
    double v = phase < width ? 1.0 : -1.0;
    v += PolyBlep(phase, dt);
    double shifted = phase - width;
    if (shifted < 0) shifted += 1.0;
    v -= PolyBlep(shifted, dt);
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    return v;
  }
};

// A loop of stereo samples; writes wrap round the end.
struct Loop {
  size_t frames;
  std::vector<double> left, right;
  explicit Loop(size_t n) : frames(n), left(n, 0.0), right(n, 0.0) {}
  void Add(size_t frame, double v, double panLeft, double panRight) {
    frame %= frames;
    left[frame] += v * panLeft;
    right[frame] += v * panRight;
  }
};

// One note of one instrument: fills `out` with mono samples from the note's start.
using Voice = void (*)(std::vector<double>& out, double hz, double seconds, synth::Rng& rng);

void Kick(std::vector<double>& out, double, double, synth::Rng& rng) {
  out.resize(static_cast<size_t>(0.35 * kRate));
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    phase += kTwoPi * (48.0 + 120.0 * std::exp(-t / 0.028)) / kRate;
    const double click = t < 0.004 ? rng.Signed() * (1.0 - t / 0.004) * 0.4 : 0.0;
    out[i] = std::sin(phase) * synth::Percussive(t, 0.001, 0.16) + click;
  }
}

void Snare(std::vector<double>& out, double, double, synth::Rng& rng) {
  out.resize(static_cast<size_t>(0.25 * kRate));
  Biquad band(Biquad::Kind::BandPass, 3200, 0.6, kRate);
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    phase += kTwoPi * 185.0 / kRate;
    out[i] = band.Process(rng.Signed()) * 1.6 * synth::Percussive(t, 0.001, 0.07) +
             std::sin(phase) * 0.6 * synth::Percussive(t, 0.001, 0.04);
  }
}

void Clap(std::vector<double>& out, double, double, synth::Rng& rng) {
  out.resize(static_cast<size_t>(0.2 * kRate));
  Biquad band(Biquad::Kind::BandPass, 1300, 1.2, kRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double burst = t < 0.03 ? std::exp(-std::fmod(t, 0.01) / 0.003) : std::exp(-(t - 0.03) / 0.05);
    out[i] = band.Process(rng.Signed()) * 2.5 * burst;
  }
}

void Hat(std::vector<double>& out, double decay, synth::Rng& rng) {
  out.resize(static_cast<size_t>(decay * 5 * kRate));
  Biquad high(Biquad::Kind::HighPass, 7500, 0.7, kRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    out[i] = high.Process(rng.Signed()) * 0.6 * synth::Percussive(t, 0.0005, decay) * synth::Gate(t, decay * 5, 0, 0.01);
  }
}
void ClosedHat(std::vector<double>& out, double, double, synth::Rng& rng) { Hat(out, 0.025, rng); }
void OpenHat(std::vector<double>& out, double, double, synth::Rng& rng) { Hat(out, 0.14, rng); }
void Crash(std::vector<double>& out, double, double, synth::Rng& rng) { Hat(out, 0.5, rng); }

void BassVoice(std::vector<double>& out, double hz, double seconds, synth::Rng&) {
  const double release = 0.02;
  out.resize(static_cast<size_t>((seconds + release) * kRate));
  Oscillator saw, sub;
  Biquad filter;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (i % 16 == 0) filter.Set(Biquad::Kind::LowPass, 180.0 + 1500.0 * std::exp(-t / 0.07), 2.0, kRate);
    const double s = filter.Process(saw.Saw(hz)) + 0.5 * std::sin(kTwoPi * sub.phase);
    sub.phase = std::fmod(sub.phase + hz / kRate, 1.0);
    out[i] = s * synth::Gate(t, seconds + release, 0.003, release);
  }
}

void LeadVoice(std::vector<double>& out, double hz, double seconds, synth::Rng&) {
  const double release = 0.08;
  out.resize(static_cast<size_t>((seconds + release) * kRate));
  Oscillator a, b;
  Biquad filter(Biquad::Kind::LowPass, 3800, 0.9, kRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double vib = std::pow(2.0, 0.2 / 12.0 * std::sin(kTwoPi * 5.8 * t) * std::min(1.0, std::max(0.0, t - 0.12) / 0.2));
    const double s = a.Saw(hz * vib * 1.003) + b.Pulse(hz * vib * 0.997, 0.4);
    out[i] = filter.Process(s) * 0.5 * synth::Gate(t, seconds + release, 0.006, release);
  }
}

void ArpVoice(std::vector<double>& out, double hz, double seconds, synth::Rng&) {
  out.resize(static_cast<size_t>((seconds + 0.05) * kRate));
  Oscillator sq;
  Biquad filter(Biquad::Kind::LowPass, 2600, 0.8, kRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    out[i] = filter.Process(sq.Pulse(hz, 0.5)) * synth::Percussive(t, 0.002, 0.1) *
             synth::Gate(t, seconds + 0.05, 0.0, 0.04);
  }
}

void PadVoice(std::vector<double>& out, double hz, double seconds, synth::Rng&) {
  const double release = 0.4;
  out.resize(static_cast<size_t>((seconds + release) * kRate));
  Oscillator o[3];
  const double detune[3] = {0.994, 1.0, 1.006};
  Biquad filter(Biquad::Kind::LowPass, 1300, 0.7, kRate);
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    double s = 0;
    for (int k = 0; k < 3; ++k) s += o[k].Saw(hz * detune[k]);
    out[i] = filter.Process(s) * 0.33 * synth::Gate(t, seconds + release, 0.2, release);
  }
}

Voice DrumVoice(int key) {
  switch (key) {
    case music::kKick: return Kick;
    case music::kSnare: return Snare;
    case music::kClap: return Clap;
    case music::kClosedHat: return ClosedHat;
    case music::kOpenHat: return OpenHat;
    case music::kCrash: return Crash;
    default: return nullptr;
  }
}

Voice PitchedVoice(int program) {
  switch (program) {
    case 38: return BassVoice;
    case 80: return ArpVoice;
    case 81: return LeadVoice;
    case 89: return PadVoice;
    default: return nullptr;
  }
}

// Ping-pong echo round the loop: the first lap fills the delay lines, the second one is kept,
// so the echoes at the start are the ones of the loop's end.
void Echo(Loop& dry, Loop& out, size_t delay, double feedback, double wet) {
  std::vector<double> lineL(delay, 0.0), lineR(delay, 0.0);
  size_t at = 0;
  for (int lap = 0; lap < 2; ++lap) {
    for (size_t i = 0; i < dry.frames; ++i) {
      const double echoL = lineL[at], echoR = lineR[at];
      lineL[at] = (dry.left[i] + dry.right[i]) * 0.5 + echoR * feedback;
      lineR[at] = echoL * feedback;
      at = (at + 1) % delay;
      if (lap == 1) {
        out.left[i] += dry.left[i] + echoL * wet;
        out.right[i] += dry.right[i] + echoR * wet;
      }
    }
  }
}

}  // namespace

Audio RenderSong(const music::Song& song) {
  const double samplesPerTick = kRate * song.TickSeconds();
  const size_t frames = static_cast<size_t>(std::llround(static_cast<double>(song.EndTick()) * samplesPerTick));
  Loop mix(frames), echoed(frames);
  std::vector<double> buffer;
  for (const music::Track& track : song.tracks) {
    const bool drums = track.channel == 9;
    const double angle = (track.pan / 127.0) * synth::kPi / 2;
    const double panLeft = std::cos(angle), panRight = std::sin(angle);
    const bool echo = !drums && track.program == 81;
    Loop& target = echo ? echoed : mix;
    synth::Rng rng(0x5eed0000u + static_cast<uint64_t>(track.channel));
    for (const music::Note& n : track.notes) {
      const Voice voice = drums ? DrumVoice(n.pitch) : PitchedVoice(track.program);
      if (!voice) throw std::runtime_error("tune " + song.name + ": no synth voice for " + track.name);
      voice(buffer, synth::MidiToHz(n.pitch), static_cast<double>(n.length) * song.TickSeconds(), rng);
      const double gain = (track.volume / 127.0) * (n.velocity / 127.0);
      const size_t start = static_cast<size_t>(std::llround(static_cast<double>(n.start) * samplesPerTick));
      for (size_t i = 0; i < buffer.size(); ++i) target.Add(start + i, buffer[i] * gain, panLeft, panRight);
    }
  }
  const size_t delay = static_cast<size_t>(std::llround(0.75 * 60.0 / song.bpm * kRate));
  Echo(echoed, mix, delay, 0.35, 0.3);

  Audio audio;
  audio.rate = kRate;
  audio.channels = 2;
  audio.samples.resize(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    audio.samples[2 * i] = static_cast<float>(mix.left[i]);
    audio.samples[2 * i + 1] = static_cast<float>(mix.right[i]);
  }
  Normalise(audio, 0.75);  // room for the effects that play over it
  return audio;
}

}  // namespace assetgen
