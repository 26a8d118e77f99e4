#pragma once
// Sound effects over SDL2_mixer: every voice is a mixer channel of its own, so voices that
// share a sample overlap, and playing a voice that still sounds restarts it.
#include <SDL_mixer.h>

#include <vector>

#include "platform/sound_device.h"

namespace kelmora::platform {

// The name the sound server (and the desktop) shows for the program's stream: SDL reads these
// hints when its audio starts. A name the user sets in the environment still wins.
void SetAppNameHints();

class SdlSoundDevice final : public SoundDevice {
 public:
  ~SdlSoundDevice() override { Close(); }

  bool Open() override;
  void Close() override;
  int LoadSample(const std::string& path, std::string* why) override;
  int CreateVoice(int sample) override;
  void ReleaseVoice(int voice) override;
  bool IsPlaying(int voice) override;
  void Play(int voice, bool loop) override;
  void Stop(int voice) override;
  void HoldAll(bool held) override;

 private:
  struct Sample {
    Mix_Chunk* chunk = nullptr;
    int voices = 0;
  };
  bool Valid(int voice) const;
  void DropVoiceOf(int sample);

  bool open_ = false;
  std::vector<Sample> samples_;  // by sample id
  std::vector<int> voices_;      // by voice id (= mixer channel): its sample, or -1 when free
};

}  // namespace kelmora::platform
