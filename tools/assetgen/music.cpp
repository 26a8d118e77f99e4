// The music: five MIDI tunes, the wave tune of the sixth stage and the tunes' lengths.
#include <cstdio>
#include <string>
#include <vector>

#include "assetgen.h"
#include "midi_writer.h"
#include "music_tunes.h"
#include "synth_render.h"

namespace assetgen {

void GenerateMusic(const std::filesystem::path& out) {
  const std::filesystem::path dir = out / "sound";
  const std::vector<std::pair<const char*, music::Song (*)()>> tunes = {
      {"bgm.mid", music::CheerfulTune}, {"bgm2.mid", music::NightSwingTune}, {"bgm3.mid", music::SeaTune},
      {"bgm4.mid", music::TenseTune},   {"bgm5.mid", music::AdventureTune},
  };
  // One line per tune: "bgm.mid 52.364", the seconds from the start to the end of the last bar.
  std::string lengths;
  for (const auto& [file, compose] : tunes) {
    const music::Song song = compose();
    WriteFile(dir / file, music::EncodeMidi(song));
    char line[64];
    std::snprintf(line, sizeof line, "%s %.3f\n", file, music::FileSeconds(song));
    lengths += line;
  }
  WriteText(dir / "music-lengths.txt", lengths);
  WriteFile(dir / "bgm6.wav", EncodeWav(RenderSong(music::DrivingTune())));
}

}  // namespace assetgen
