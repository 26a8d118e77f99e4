#include "platform/sdl/sdl_music_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/music_interpreter.h"

namespace kelmora::platform {

namespace {

// The fonts looked for first, in this order (the small TimGM6mb first), in every folder.
constexpr const char* kPreferredFonts[] = {
    "TimGM6mb.sf2", "default-GM.sf2", "default-GM.sf3", "FluidR3_GM.sf2", "FluidR3_GM.sf3",
    "MuseScore_General.sf3", "default.sf2", "default.sf3",
};

bool IsFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec);
}

bool IsSoundFontName(const std::filesystem::path& p) {
  const std::string ext = p.extension().string();
  return ext == ".sf2" || ext == ".sf3";
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

// The first sound font in the folders: a preferred name, else any other .sf2 or .sf3 file.
std::string FirstFontIn(const std::vector<std::string>& folders) {
  for (const char* name : kPreferredFonts) {
    for (const std::string& folder : folders) {
      const std::filesystem::path p = std::filesystem::path(folder) / name;
      if (IsFile(p)) return p.string();
    }
  }
  for (const std::string& folder : folders) {
    std::error_code ec;
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (IsSoundFontName(entry.path()) && IsFile(entry.path())) found.push_back(entry.path().string());
    }
    if (!found.empty()) return *std::min_element(found.begin(), found.end());
  }
  return "";
}

}  // namespace

const std::vector<std::string>& SoundFontFolders() {
  static const std::vector<std::string> folders = {
      "/usr/share/sounds/sf2",       "/usr/share/sounds/sf3",       "/usr/share/soundfonts",
      "/usr/local/share/sounds/sf2", "/usr/local/share/sounds/sf3", "/usr/local/share/soundfonts",
  };
  return folders;
}

SoundFontChoice ChooseSoundFont(const char* userFonts, const std::vector<std::string>& folders) {
  SoundFontChoice choice;
  // SDL_SOUNDFONTS is a list, separated by ':' or ';' as SDL_mixer reads it; it is used as
  // it stands when any font in it exists.
  std::vector<std::string> named, missing;
  if (userFonts && *userFonts) {
    const std::string list = userFonts;
    size_t start = 0;
    while (start <= list.size()) {
      const size_t end = std::min(list.find_first_of(":;", start), list.size());
      if (end > start) named.push_back(list.substr(start, end - start));
      start = end + 1;
    }
    for (const std::string& font : named) {
      if (!IsFile(font)) missing.push_back(font);
    }
    if (missing.size() < named.size()) {
      choice.font = list;
      return choice;
    }
  }
  choice.font = FirstFontIn(folders);
  const std::string user =
      named.empty() ? "" : "SDL_SOUNDFONTS names " + Joined(missing) + (missing.size() == 1 ? ", which does" : ", which do") + " not exist";
  if (!choice.font.empty()) {
    if (!user.empty()) choice.warning = "kelmora: " + user + "; the music plays with " + choice.font + " instead\n";
    return choice;
  }
  choice.warning = "kelmora: no General MIDI sound font (TimGM6mb.sf2, or any other .sf2 or .sf3 file) in " + Joined(folders) +
                   (user.empty() ? "" : ", and " + user) +
                   ": the menu and stage music (five of the six tunes) will be silent. The Debian package "
                   "timgm6mb-soundfont brings one (fluid-soundfont-gm also works); SDL_SOUNDFONTS may name "
                   "another.\n";
  return choice;
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
  void Pause() override { Mix_PauseMusic(); }
  void Resume() override { Mix_ResumeMusic(); }
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

SdlMusicDevice::SdlMusicDevice(Clock& clock, const std::vector<std::string>& fontFolders)
    : stream_(std::make_unique<SdlMusicStream>()),
      interpreter_(std::make_unique<MusicInterpreter>(*stream_, clock)) {
  // Said here, once: every tune that needs the font would otherwise be silent without a word.
  const SoundFontChoice choice = ChooseSoundFont(std::getenv("SDL_SOUNDFONTS"), fontFolders);
  if (!choice.warning.empty()) std::fputs(choice.warning.c_str(), stderr);
  if (!choice.font.empty()) Mix_SetSoundFonts(choice.font.c_str());
}

SdlMusicDevice::~SdlMusicDevice() {
  interpreter_.reset();  // frees its pieces through the stream
  stream_.reset();
}

int SdlMusicDevice::SendString(const std::string& command, std::string* reply) {
  return interpreter_->SendString(command, reply);
}

}  // namespace kelmora::platform
