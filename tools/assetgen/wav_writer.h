#pragma once
// 16-bit PCM wave files from float samples in -1..1.
#include <vector>

#include "assetgen.h"

namespace assetgen {

struct Audio {
  int rate = 44100;
  int channels = 1;
  std::vector<float> samples;  // interleaved frames

  size_t Frames() const { return channels ? samples.size() / channels : 0; }
};

// Scales the audio so its largest sample has the given magnitude (0 < peak < 1).
void Normalise(Audio& audio, double peak);
// Ramps the first and last few milliseconds to silence so the sound starts and ends without a click.
void FadeEnds(Audio& audio, double fadeInMs, double fadeOutMs);
// Removes a constant offset with a gentle high-pass (about 20 Hz).
void RemoveDc(Audio& audio);
// The RIFF/WAVE bytes: PCM, 16 bits per sample, rounded and clamped.
Bytes EncodeWav(const Audio& audio);

}  // namespace assetgen
