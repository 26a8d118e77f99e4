#include "platform/sdl/sdl_music_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/music_interpreter.h"

namespace kelmora::platform {

std::string FindSoundFont() {
  if (const char* env = std::getenv("SDL_SOUNDFONTS"); env && *env) return env;
  static const char* const kPlaces[] = {
      "/usr/share/sounds/sf2/TimGM6mb.sf2",
      "/usr/share/soundfonts/TimGM6mb.sf2",
      "/usr/local/share/sounds/sf2/TimGM6mb.sf2",
      "/usr/local/share/soundfonts/TimGM6mb.sf2",
      "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/soundfonts/default.sf2",
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",
      "/usr/share/soundfonts/FluidR3_GM.sf2",
  };
  for (const char* place : kPlaces) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(place, ec)) return place;
  }
  return "";
}

// SDL2_mixer's music stream; handles index the loaded pieces.
class SdlMusicStream final : public MusicStream {
 public:
  ~SdlMusicStream() override {
    for (Mix_Music* m : pieces_) {
      if (m) Mix_FreeMusic(m);
    }
  }

  bool Ready() override { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

  int Load(const std::string& path, std::string* why) override {
    if (!midiReady_) {
      Mix_Init(MIX_INIT_MID);
      midiReady_ = true;
    }
    Mix_Music* m = Mix_LoadMUS(path.c_str());
    if (!m) {
      if (why) *why = Mix_GetError();
      return -1;
    }
    for (size_t i = 0; i < pieces_.size(); ++i) {
      if (!pieces_[i]) {
        pieces_[i] = m;
        return static_cast<int>(i);
      }
    }
    pieces_.push_back(m);
    return static_cast<int>(pieces_.size()) - 1;
  }

  void Free(int handle) override {
    if (Mix_Music* m = At(handle)) {
      Mix_FreeMusic(m);
      pieces_[handle] = nullptr;
    }
  }

  bool Start(int handle) override {
    Mix_Music* m = At(handle);
    if (!m) return false;
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    return Mix_PlayMusic(m, 0) == 0;
  }

  void Halt() override { Mix_HaltMusic(); }
  bool Busy() override { return Mix_PlayingMusic() != 0; }

  double Length(int handle) override {
    Mix_Music* m = At(handle);
    return m ? Mix_MusicDuration(m) : -1.0;
  }

 private:
  Mix_Music* At(int handle) const {
    return handle >= 0 && handle < static_cast<int>(pieces_.size()) ? pieces_[handle] : nullptr;
  }

  std::vector<Mix_Music*> pieces_;
  bool midiReady_ = false;
};

SdlMusicDevice::SdlMusicDevice(Clock& clock)
    : stream_(std::make_unique<SdlMusicStream>()),
      interpreter_(std::make_unique<MusicInterpreter>(*stream_, clock)) {
  const std::string font = FindSoundFont();
  if (!font.empty()) Mix_SetSoundFonts(font.c_str());
}

SdlMusicDevice::~SdlMusicDevice() {
  interpreter_.reset();  // frees its pieces through the stream
  stream_.reset();
}

int SdlMusicDevice::SendString(const std::string& command, std::string* reply) {
  return interpreter_->SendString(command, reply);
}

}  // namespace kelmora::platform
