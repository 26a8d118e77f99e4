#include "platform/music_interpreter.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/clock.h"

namespace kelmora::platform {

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Splits "WORD rest" into its first word and the trimmed rest.
std::pair<std::string, std::string> FirstWord(const std::string& s) {
  const std::string t = Trim(s);
  const auto sp = t.find_first_of(" \t");
  if (sp == std::string::npos) return {t, ""};
  return {t.substr(0, sp), Trim(t.substr(sp))};
}

}  // namespace

MusicInterpreter::~MusicInterpreter() {
  if (!current_.empty()) stream_.Halt();
  for (auto& [alias, p] : pieces_) {
    if (p.handle >= 0) stream_.Free(p.handle);
  }
}

double MusicInterpreter::ListedLength(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path tune(path);
  std::ifstream in(tune.parent_path() / "music-lengths.txt");
  const std::string name = tune.filename().string();
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string file;
    double seconds = 0;
    if (words >> file >> seconds && file == name) return seconds;
  }
  return 0;
}

int MusicInterpreter::SendString(const std::string& command, std::string* reply) {
  if (reply) reply->clear();
  const auto [verb, rest] = FirstWord(command);
  const std::string v = Lower(verb);
  if (v == "open") return Open(rest);
  const auto [alias, more] = FirstWord(rest);
  if (alias.empty()) return kMusicBadParameter;
  if (v == "play") return Play(alias, more);
  if (v == "stop") return Stop(alias);
  if (v == "close") return Close(alias);
  if (v == "status") return Status(alias, more, reply);
  return kMusicUnknownCommand;
}

int MusicInterpreter::Open(const std::string& rest) {
  const auto at = Lower(rest).rfind(" alias ");
  if (at == std::string::npos) return kMusicBadParameter;
  std::string path = Trim(rest.substr(0, at));
  const std::string alias = Trim(rest.substr(at + 7));
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
  if (path.empty() || alias.empty() || alias.find(' ') != std::string::npos) return kMusicBadParameter;
  if (pieces_.count(alias)) return kMusicAliasInUse;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return kMusicCannotOpen;

  Piece p;
  p.path = path;
  p.seconds = ListedLength(path);
  if (stream_.Ready() && !EnsureLoaded(p)) return kMusicCannotOpen;
  pieces_.emplace(alias, std::move(p));
  return kMusicOk;
}

bool MusicInterpreter::EnsureLoaded(Piece& p) {
  if (p.handle >= 0) return true;
  if (!stream_.Ready()) return false;
  p.handle = stream_.Load(p.path, nullptr);
  if (p.handle < 0) return false;
  if (p.seconds <= 0) p.seconds = stream_.Length(p.handle);
  return true;
}

int MusicInterpreter::Play(const std::string& alias, const std::string& rest) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  // Only playing from the start is offered ("from 0", or nothing).
  if (!rest.empty()) {
    const auto [word, pos] = FirstWord(rest);
    if (Lower(word) != "from" || pos != "0") return kMusicBadParameter;
  }
  Piece& p = it->second;
  if (!EnsureLoaded(p)) {
    if (!stream_.Ready()) return kMusicNoDevice;
    p.mode = Mode::NotReady;
    return kMusicCannotOpen;
  }
  if (!current_.empty() && current_ != alias) {
    auto old = pieces_.find(current_);
    if (old != pieces_.end() && old->second.mode == Mode::Playing) {
      old->second.mode = StillSounding(old->second) ? Mode::Paused : Mode::Stopped;
    }
  }
  if (!stream_.Start(p.handle)) {
    p.mode = Mode::Stopped;
    current_.clear();
    return kMusicNoDevice;
  }
  current_ = alias;
  p.mode = Mode::Playing;
  p.startMs = clock_.GetTickCount();
  return kMusicOk;
}

int MusicInterpreter::Stop(const std::string& alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (current_ == alias) {
    stream_.Halt();
    current_.clear();
  }
  it->second.mode = Mode::Stopped;
  return kMusicOk;
}

int MusicInterpreter::Close(const std::string& alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (current_ == alias) {
    stream_.Halt();
    current_.clear();
  }
  if (it->second.handle >= 0) stream_.Free(it->second.handle);
  pieces_.erase(it);
  return kMusicOk;
}

bool MusicInterpreter::StillSounding(Piece& p) {
  if (p.seconds > 0) {
    const uint32_t elapsed = clock_.GetTickCount() - p.startMs;
    return elapsed < static_cast<uint32_t>(p.seconds * 1000.0);
  }
  return stream_.Busy();
}

int MusicInterpreter::Status(const std::string& alias, const std::string& rest, std::string* reply) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (Lower(rest) != "mode") return kMusicBadParameter;
  Piece& p = it->second;
  if (p.mode == Mode::Playing && !StillSounding(p)) p.mode = Mode::Stopped;
  const char* mode = p.mode == Mode::Playing    ? "playing"
                     : p.mode == Mode::Paused   ? "paused"
                     : p.mode == Mode::NotReady ? "not ready"
                                                : "stopped";
  if (reply) *reply = mode;
  return kMusicOk;
}

}  // namespace kelmora::platform
