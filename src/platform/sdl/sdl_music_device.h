#pragma once
// Music over SDL2_mixer: the command interpreter on SDL2_mixer's one music stream. MIDI plays
// through FluidSynth with a General MIDI sound font found at start-up.
#include <memory>
#include <string>
#include <vector>

#include "platform/music_device.h"

namespace kelmora::platform {

class Clock;
class MusicInterpreter;
class SdlMusicStream;

// The folders where Debian and other systems keep General MIDI sound fonts.
const std::vector<std::string>& SoundFontFolders();

struct SoundFontChoice {
  std::string font;     // what SDL_mixer is given; empty when there is no font
  std::string warning;  // a line for stderr, or empty when the music has its font
};

// The sound font: `userFonts` (the value of SDL_SOUNDFONTS, null when unset) when any font it
// names exists; else the first of the usual names (the small TimGM6mb first) in `folders`,
// else any other .sf2 or .sf3 file there. The warning names what is missing, the folders
// searched and the Debian package that brings a font.
SoundFontChoice ChooseSoundFont(const char* userFonts, const std::vector<std::string>& folders);

class SdlMusicDevice final : public MusicDevice {
 public:
  // Finds the sound font (ChooseSoundFont in `fontFolders`) and says on stderr when there is
  // none, or when the one SDL_SOUNDFONTS names is missing.
  explicit SdlMusicDevice(Clock& clock, const std::vector<std::string>& fontFolders = SoundFontFolders());
  ~SdlMusicDevice() override;

  int SendString(const std::string& command, std::string* reply) override;

 private:
  std::unique_ptr<SdlMusicStream> stream_;
  std::unique_ptr<MusicInterpreter> interpreter_;
};


}  // namespace kelmora::platform
