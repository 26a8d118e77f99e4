#include "platform/sdl/sdl_sound_device.h"

#include <SDL.h>

#include <cstdio>

namespace kelmora::platform {

namespace {
constexpr int kOutputRate = 44100;
constexpr int kOutputChunk = 1024;  // about 23 ms of latency
}  // namespace

void SetAppNameHints() {
  SDL_SetHint(SDL_HINT_APP_NAME, "Kelmora");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Kelmora");
}

bool SdlSoundDevice::Open() {
  if (open_) return true;
  SetAppNameHints();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "kelmora: no sound device: %s\n", SDL_GetError());
    return false;
  }
  if (Mix_OpenAudio(kOutputRate, AUDIO_S16SYS, 2, kOutputChunk) != 0) {
    std::fprintf(stderr, "kelmora: cannot open the sound device: %s\n", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  open_ = true;
  // Only 8 channels exist by default; a voice needs one of its own.
  if (!voices_.empty()) Mix_AllocateChannels(static_cast<int>(voices_.size()));
  return true;
}

void SdlSoundDevice::Close() {
  if (!open_) return;
  Mix_HaltChannel(-1);
  for (Sample& s : samples_) {
    if (s.chunk) Mix_FreeChunk(s.chunk);
  }
  samples_.clear();
  voices_.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open_ = false;
}

int SdlSoundDevice::LoadSample(const std::string& path, std::string* why) {
  if (!open_) {
    if (why) *why = "the sound device is not open";
    return -1;
  }
  // A wave file cut short is refused rather than played as far as it goes.
  SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "verystrict");
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (!chunk) {
    if (why) *why = Mix_GetError();
    return -1;
  }
  samples_.push_back({chunk, 0});
  return static_cast<int>(samples_.size()) - 1;
}

int SdlSoundDevice::CreateVoice(int sample) {
  if (!open_ || sample < 0 || sample >= static_cast<int>(samples_.size()) || !samples_[sample].chunk) {
    return -1;
  }
  int voice = 0;
  while (voice < static_cast<int>(voices_.size()) && voices_[voice] >= 0) ++voice;
  if (voice == static_cast<int>(voices_.size())) {
    voices_.push_back(-1);
    if (Mix_AllocateChannels(-1) < static_cast<int>(voices_.size())) {
      Mix_AllocateChannels(static_cast<int>(voices_.size()));
    }
  }
  voices_[voice] = sample;
  ++samples_[sample].voices;
  return voice;
}

bool SdlSoundDevice::Valid(int voice) const {
  return open_ && voice >= 0 && voice < static_cast<int>(voices_.size()) && voices_[voice] >= 0;
}

void SdlSoundDevice::DropVoiceOf(int sample) {
  Sample& s = samples_[sample];
  if (--s.voices == 0 && s.chunk) {
    Mix_FreeChunk(s.chunk);
    s.chunk = nullptr;
  }
}

void SdlSoundDevice::ReleaseVoice(int voice) {
  if (!Valid(voice)) return;
  Mix_HaltChannel(voice);
  const int sample = voices_[voice];
  voices_[voice] = -1;
  DropVoiceOf(sample);
}

bool SdlSoundDevice::IsPlaying(int voice) { return Valid(voice) && Mix_Playing(voice) != 0; }

void SdlSoundDevice::Play(int voice, bool loop) {
  if (!Valid(voice)) return;
  Mix_Volume(voice, MIX_MAX_VOLUME);
  Mix_SetPanning(voice, 255, 255);  // centre: no panning effect
  Mix_PlayChannel(voice, samples_[voices_[voice]].chunk, loop ? -1 : 0);
}

void SdlSoundDevice::Stop(int voice) {
  if (Valid(voice)) Mix_HaltChannel(voice);
}

void SdlSoundDevice::HoldAll(bool held) {
  if (!open_) return;
  if (held) {
    Mix_Pause(-1);
  } else {
    Mix_Resume(-1);
  }
}

}  // namespace kelmora::platform
