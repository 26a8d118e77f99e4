#include "audio/music.h"

#include "platform/music_device.h"

namespace kelmora::audio {

namespace {
constexpr int16_t kTrue = -1;
}

Music::Music(platform::MusicDevice& device) : device_(device) {}

int Music::Send(const std::string& command, std::string* reply) {
  return device_.SendString(command, reply);
}

int Music::Find(const std::string& name) const {
  for (int i = 1; i <= musicCount_; ++i) {
    if (musicNames_[i] == name) return i;
  }
  return 0;
}

void Music::SetLoop(const std::string& name, bool loop) {
  if (const int i = Find(name)) musicLoops_[i] = loop ? kTrue : 0;
}

int Music::MusicOpen(const std::string& path, const std::string& name) {
  const std::string alias = MusicAlias(name);
  int result = Send("stop " + alias);
  result += Send("close " + alias);
  result += Send("open " + path + " alias " + alias);
  if (Find(name) == 0 && musicCount_ < kMusicNamesMax) {
    ++musicCount_;
    musicNames_[musicCount_] = name;
  }
  SetLoop(name, false);
  return result;
}

int Music::MusicPlay(const std::string& name, bool loop) {
  SetLoop(name, loop);
  return Send("play " + MusicAlias(name) + " from 0");
}

int Music::MusicStop(const std::string& name) {
  SetLoop(name, false);
  return Send("stop " + MusicAlias(name));
}

int Music::MusicPause(const std::string& name) { return Send("pause " + MusicAlias(name)); }

int Music::MusicResume(const std::string& name) { return Send("resume " + MusicAlias(name)); }

int Music::MusicClose(const std::string& name) {
  SetLoop(name, false);
  return Send("close " + MusicAlias(name));
}

int Music::MusicCloseAll() {
  int result = 0;
  for (int i = 1; i <= musicCount_; ++i) {
    musicLoops_[i] = 0;
    result += Send("stop " + MusicAlias(musicNames_[i]));
    result += Send("close " + MusicAlias(musicNames_[i]));
  }
  return result;
}

int Music::MusicPoll() {
  int result = 0;
  for (int i = 1; i <= musicCount_; ++i) {
    if (musicLoops_[i] == 0) continue;
    // Asked every tick: the alias is made again only for another piece than last time, and
    // the reply reuses its buffer.
    if (pollIndex_ != i || pollName_ != musicNames_[i]) {
      pollAlias_ = MusicAlias(musicNames_[i]);
      pollIndex_ = i;
      pollName_ = musicNames_[i];
    }
    pollReply_.clear();
    result += device_.StatusMode(pollAlias_, &pollReply_);
    if (pollReply_ == "stopped") result += Send("play " + MusicAlias(musicNames_[i]) + " from 0");
  }
  return result;
}

}  // namespace kelmora::audio
