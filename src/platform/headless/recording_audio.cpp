#include "platform/headless/recording_audio.h"

#include <SDL.h>

#include <filesystem>

#include "platform/clock.h"

namespace kelmora::platform {

namespace {

// Length of a wave file in milliseconds; false when SDL cannot read it.
bool WaveLength(const std::string& path, uint32_t& ms, std::string* why) {
  SDL_AudioSpec format;
  Uint8* data = nullptr;
  Uint32 bytes = 0;
  // A wave file cut short is refused, as the real device refuses it.
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "verystrict");
  if (!SDL_LoadWAV(path.c_str(), &format, &data, &bytes)) {
    if (why) *why = SDL_GetError();
    return false;
  }
  SDL_FreeWAV(data);
  const uint32_t frameBytes = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
  ms = frameBytes && format.freq ? static_cast<uint32_t>(uint64_t{bytes} / frameBytes * 1000 / format.freq) : 0;
  return true;
}

}  // namespace

bool HeadlessSoundDevice::Open() {
  open_ = available_;
  return open_;
}

void HeadlessSoundDevice::Close() {
  open_ = false;
  samples_.clear();
  voices_.clear();
}

int HeadlessSoundDevice::LoadSample(const std::string& path, std::string* why) {
  if (!open_) {
    if (why) *why = "the sound device is not open";
    return -1;
  }
  uint32_t ms = 0;
  if (!WaveLength(path, ms, why)) return -1;
  // A sample goes with its last voice, and its place is taken by the next one loaded.
  int sample = 0;
  while (sample < static_cast<int>(samples_.size()) && !samples_[sample].file.empty()) ++sample;
  if (sample == static_cast<int>(samples_.size())) samples_.emplace_back();
  samples_[sample] = {path, ms, 0, 0};
  return sample;
}

int HeadlessSoundDevice::CreateVoice(int sample) {
  if (!open_ || sample < 0 || sample >= static_cast<int>(samples_.size()) || samples_[sample].file.empty()) {
    return -1;
  }
  int voice = 0;
  while (voice < static_cast<int>(voices_.size()) && voices_[voice].sample >= 0) ++voice;
  if (voice == static_cast<int>(voices_.size())) voices_.emplace_back();
  Voice& v = voices_[voice];
  v = Voice{};
  v.sample = sample;
  v.copy = samples_[sample].voicesMade++;
  ++samples_[sample].liveVoices;
  return voice;
}

bool HeadlessSoundDevice::Valid(int voice) const {
  return voice >= 0 && voice < static_cast<int>(voices_.size()) && voices_[voice].sample >= 0;
}

void HeadlessSoundDevice::ReleaseVoice(int voice) {
  if (!Valid(voice)) return;
  Sample& s = samples_[voices_[voice].sample];
  if (--s.liveVoices == 0) s = Sample{};
  voices_[voice] = Voice{};
}

int HeadlessSoundDevice::liveVoices() const {
  int n = 0;
  for (const Voice& v : voices_) n += v.sample >= 0 ? 1 : 0;
  return n;
}

bool HeadlessSoundDevice::IsPlaying(int voice) {
  if (!Valid(voice)) return false;
  const Voice& v = voices_[voice];
  if (!v.started) return false;
  const uint32_t now = held_ ? heldMs_ : clock_.GetTickCount();
  return v.looping || now - v.startMs < samples_[v.sample].lengthMs;
}

void HeadlessSoundDevice::HoldAll(bool held) {
  if (held == held_) return;
  const uint32_t now = clock_.GetTickCount();
  if (held) {
    heldMs_ = now;
  } else {
    // A held voice goes on where it stood: it sounds as much longer as it was held.
    for (Voice& v : voices_) v.startMs += now - heldMs_;
  }
  held_ = held;
}

void HeadlessSoundDevice::Record(SoundEvent::Kind kind, int voice, bool wasSounding) {
  if (!recording_) return;
  const Voice& v = voices_[voice];
  events_.push_back({kind, voice, samples_[v.sample].file, v.copy, wasSounding, clock_.GetTickCount()});
}

void HeadlessSoundDevice::Play(int voice, bool loop) {
  if (!Valid(voice)) return;
  const bool sounding = IsPlaying(voice);
  Voice& v = voices_[voice];
  v.started = true;
  v.looping = loop;
  v.startMs = clock_.GetTickCount();
  Record(loop ? SoundEvent::Kind::Loop : SoundEvent::Kind::Play, voice, sounding);
}

void HeadlessSoundDevice::Stop(int voice) {
  if (!Valid(voice)) return;
  const bool sounding = IsPlaying(voice);
  Voice& v = voices_[voice];
  v.started = false;
  v.looping = false;
  Record(SoundEvent::Kind::Stop, voice, sounding);
}

// A stream that plays nothing: pieces are files that exist, and a started piece sounds
// until it is halted or another one starts.
class HeadlessMusicDevice::SilentStream final : public MusicStream {
 public:
  bool Ready() override { return true; }
  int Load(const std::string& path, std::string* why) override {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      if (why) *why = "no such file";
      return -1;
    }
    files_.push_back(path);
    return static_cast<int>(files_.size()) - 1;
  }
  void Free(int handle) override {
    if (handle == current_) current_ = -1;
  }
  bool Start(int handle) override {
    current_ = handle;
    return true;
  }
  void Halt() override { current_ = -1; }
  void Pause() override {}
  void Resume() override {}
  bool Busy() override { return current_ >= 0; }
  double Length(int) override { return 0; }

  const std::string& sounding() const {
    static const std::string kNone;
    return current_ >= 0 ? files_[current_] : kNone;
  }

 private:
  std::vector<std::string> files_;
  int current_ = -1;
};

HeadlessMusicDevice::HeadlessMusicDevice(Clock& clock)
    : clock_(clock), stream_(std::make_unique<SilentStream>()), interpreter_(*stream_, clock) {}

HeadlessMusicDevice::~HeadlessMusicDevice() = default;

int HeadlessMusicDevice::SendString(const std::string& command, std::string* reply) {
  if (!recording_) return interpreter_.SendString(command, reply);
  std::string answer;
  const int result = interpreter_.SendString(command, &answer);
  if (recording_) commands_.push_back({command, result, answer, clock_.GetTickCount()});
  if (reply) *reply = answer;
  return result;
}

int HeadlessMusicDevice::StatusMode(const std::string& alias, std::string* reply) {
  if (recording_) return MusicDevice::StatusMode(alias, reply);
  return interpreter_.StatusMode(alias, reply);
}

const std::string& HeadlessMusicDevice::sounding() const { return stream_->sounding(); }

}  // namespace kelmora::platform
