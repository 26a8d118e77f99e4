#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v & 0xff));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}
void PutTag(Bytes& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

void Normalise(Audio& audio, double peak) {
  float top = 0.0f;
  for (float s : audio.samples) top = std::max(top, std::fabs(s));
  if (top <= 0.0f) return;
  const float gain = static_cast<float>(peak / top);
  for (float& s : audio.samples) s *= gain;
}

void FadeEnds(Audio& audio, double fadeInMs, double fadeOutMs) {
  const size_t frames = audio.Frames();
  const size_t in = std::min(frames, static_cast<size_t>(fadeInMs * audio.rate / 1000.0));
  const size_t out = std::min(frames, static_cast<size_t>(fadeOutMs * audio.rate / 1000.0));
  for (size_t i = 0; i < in; ++i) {
    const float g = static_cast<float>(i) / static_cast<float>(in);
    for (int c = 0; c < audio.channels; ++c) audio.samples[i * audio.channels + c] *= g;
  }
  for (size_t i = 0; i < out; ++i) {
    // The very last frame reaches exactly zero.
    const float g = static_cast<float>(i) / static_cast<float>(out);
    const size_t frame = frames - 1 - i;
    for (int c = 0; c < audio.channels; ++c) audio.samples[frame * audio.channels + c] *= g;
  }
}

void RemoveDc(Audio& audio) {
  const double r = 1.0 - 2.0 * 3.14159265358979 * 20.0 / audio.rate;
  for (int c = 0; c < audio.channels; ++c) {
    double x1 = 0.0, y1 = 0.0;
    for (size_t i = 0; i < audio.Frames(); ++i) {
      float& s = audio.samples[i * audio.channels + c];
      const double y = s - x1 + r * y1;
      x1 = s;
      y1 = y;
      s = static_cast<float>(y);
    }
  }
}

Bytes EncodeWav(const Audio& audio) {
  if (audio.channels < 1 || audio.channels > 2 || audio.rate <= 0)
    throw std::runtime_error("wave: unsupported format");
  const uint32_t dataBytes = static_cast<uint32_t>(audio.samples.size() * 2);
  Bytes b;
  b.reserve(44 + dataBytes);
  PutTag(b, "RIFF");
  Put32(b, 36 + dataBytes);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, static_cast<uint32_t>(audio.channels));
  Put32(b, static_cast<uint32_t>(audio.rate));
  Put32(b, static_cast<uint32_t>(audio.rate * audio.channels * 2));
  Put16(b, static_cast<uint32_t>(audio.channels * 2));
  Put16(b, 16);
  PutTag(b, "data");
  Put32(b, dataBytes);
  for (float s : audio.samples) {
    const long v = std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0);
    Put16(b, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xffff);
  }
  return b;
}

}  // namespace assetgen
