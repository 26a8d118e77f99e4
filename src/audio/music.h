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

class Music {
 public:
  explicit Music(platform::MusicDevice& device);
  int MusicOpen(const std::string& path, const std::string& name);
  int MusicPlay(const std::string& name, bool loop);
  int MusicStop(const std::string& name);
  int MusicClose(const std::string& name);
  int MusicCloseAll();
  int MusicPoll();

 private:
  platform::MusicDevice& device_;
};

}  // namespace kelmora::audio
