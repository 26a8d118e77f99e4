#pragma once
// Pitched and noisy sound layers that the effects are mixed from.
#include <cstdint>

#include "wav_writer.h"

namespace assetgen {

enum class Wave { Sine, Square, Saw, Bell };

struct Tone {
  Wave wave = Wave::Sine;
  double attack = 0.003;       // seconds
  double decay = 0.0;          // > 0: exponential decay time after the attack (percussive)
  double release = 0.02;       // linear fade at the end of the note
  double brightness = 8000;    // harmonics above this roll off (Hz)
  double glide = 1.0;          // the pitch at the end of the note as a multiple of the start
  double vibratoHz = 0, vibratoSemitones = 0;
};

// A silent mono 44.1 kHz sound of the given length.
Audio Silence(double seconds);
// Adds a band-limited note (harmonics stop below Nyquist, so no aliasing whistles).
void AddNote(Audio& audio, double start, double seconds, double hz, double amp, const Tone& tone);

struct Noise {
  double lowHz = 200, highHz = 4000;  // band centre sweeps from the first to the second value
  double q = 1.0;
  double attack = 0.01, decay = 0.1;  // percussive envelope
  double grains = 0;                  // > 0: crunchy, made of this many short bursts per second
  uint64_t seed = 7;
};
// Adds band-filtered noise, optionally broken into crunchy grains.
void AddNoise(Audio& audio, double start, double seconds, double amp, const Noise& noise);

// Scale, fade and encode: the last step of every effect.
Bytes FinishEffect(Audio audio);

}  // namespace assetgen
