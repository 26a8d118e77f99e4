#pragma once
// music: background music through command strings, with a registry of logical names and
// loop flags; looping pieces are restarted by MusicPoll once per tick.
#include <array>
#include <cstdint>
#include <string>

namespace kelmora::platform {
class MusicDevice;
}

namespace kelmora::audio {

// Most logical names the registry holds (entries 1..kMusicNamesMax; entry 0 stays empty).
constexpr int kMusicNamesMax = 1000;

class Music {
 public:
  explicit Music(platform::MusicDevice& device);
  // Each operation returns the sum of the result codes of the commands it sent; the game
  // never looks at them, so a missing file or synthesiser only leaves the music silent.

  // (Re)opens the file under the name's alias and registers the name, not looping.
  int MusicOpen(const std::string& path, const std::string& name);
  // Sets the name's loop flag and plays the piece from its start.
  int MusicPlay(const std::string& name, bool loop);
  // Clears the loop flag and stops the piece (it stays open).
  int MusicStop(const std::string& name);
  // Holds the piece where it is while it sounds (a paused match), and lets it go on from there.
  int MusicPause(const std::string& name);
  int MusicResume(const std::string& name);
  // Clears the loop flag and closes the piece.
  int MusicClose(const std::string& name);
  // Clears every loop flag, stops and closes every registered piece.
  int MusicCloseAll();
  // Plays again from the start every looping piece that has stopped.
  int MusicPoll();

  // The registry.
  int32_t musicCount() const { return musicCount_; }
  const std::string& musicNames(int i) const { return musicNames_[i]; }
  int16_t musicLoops(int i) const { return musicLoops_[i]; }

 private:
  // Index of a registered name, or 0 when it is not registered.
  int Find(const std::string& name) const;
  void SetLoop(const std::string& name, bool loop);
  int Send(const std::string& command, std::string* reply = nullptr);

  platform::MusicDevice& device_;
  std::array<std::string, kMusicNamesMax + 1> musicNames_;
  std::array<int16_t, kMusicNamesMax + 1> musicLoops_{};
  int32_t musicCount_ = 0;
  std::string pollAlias_, pollReply_;
  int pollIndex_ = 0;      // the entry pollAlias_ names (0: none yet)
  std::string pollName_;   // and its name then
};

// The alias under which a logical name is opened: "audiofile" followed by the name.
inline std::string MusicAlias(const std::string& name) { return "audiofile" + name; }

}  // namespace kelmora::audio
