#pragma once
// Music over SDL2_mixer: the command interpreter on SDL2_mixer's one music stream. MIDI plays
// through FluidSynth with a General MIDI sound font found at start-up.
#include <memory>
#include <string>

#include "platform/music_device.h"

namespace kelmora::platform {

class Clock;
class MusicInterpreter;
class SdlMusicStream;

class SdlMusicDevice final : public MusicDevice {
 public:
  explicit SdlMusicDevice(Clock& clock);
  ~SdlMusicDevice() override;

  int SendString(const std::string& command, std::string* reply) override;

 private:
  std::unique_ptr<SdlMusicStream> stream_;
  std::unique_ptr<MusicInterpreter> interpreter_;
};

// The General MIDI sound font to use: the first one found in the usual places (the small
// TimGM6mb first), or an empty string when there is none. SDL_SOUNDFONTS, when set, wins.
std::string FindSoundFont();

}  // namespace kelmora::platform
