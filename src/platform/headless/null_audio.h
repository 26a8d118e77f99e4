#pragma once
// Silent sound and music devices (placeholders for the headless recorders).
#include "platform/music_device.h"
#include "platform/sound_device.h"

namespace kelmora::platform {

class NullSoundDevice final : public SoundDevice {
 public:
  bool Open() override { return true; }
  void Close() override {}
  int LoadSample(const std::string&) override { return 0; }
  int CreateVoice(int) override { return 0; }
  void ReleaseVoice(int) override {}
  bool IsPlaying(int) override { return false; }
  void Play(int, bool) override {}
  void Stop(int) override {}
};

class NullMusicDevice final : public MusicDevice {
 public:
  int SendString(const std::string&, std::string* reply) override {
    if (reply) reply->clear();
    return 0;
  }
};

}  // namespace kelmora::platform
