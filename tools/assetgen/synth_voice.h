#pragma once
// A small formant singer: a harmonic glottal source shaped by a moving vocal-tract envelope.
// It says a gliding "ye-ah" with the pitch, size and colour of each animal.
#include <cstdint>

#include "wav_writer.h"

namespace assetgen {

struct VoiceRecipe {
  double seconds = 0.45;
  double pitchHz = 200;       // base pitch
  double pitchStart = 1.0;    // pitch contour as multiples of the base: start, top, end
  double pitchTop = 1.25;
  double pitchEnd = 0.8;
  double topAt = 0.3;         // where the top is reached, 0..1 of the length
  double tractScale = 1.0;    // formant frequencies times this: small animals > 1
  double darkness = 1.0;      // source slope: harmonic k has weight k^-darkness
  double vibratoHz = 5.5, vibratoSemitones = 0.15;
  double jitter = 0.01;       // random pitch wander, as a fraction of the pitch
  double roughHz = 0, roughDepth = 0;  // growl: amplitude flutter
  double breath = 0.02;       // aspiration noise level
  uint64_t seed = 1;
};

// The "yeah" as a mono 44.1 kHz sound, not yet normalised.
Audio SingYeah(const VoiceRecipe& recipe);

}  // namespace assetgen
