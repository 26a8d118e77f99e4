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

// Whether a word reads as `lower` (all lower case) in any case.
bool SameWord(std::string_view word, std::string_view lower) {
  if (word == lower) return true;
  if (word.size() != lower.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(word[i])) != lower[i]) return false;
  }
  return true;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && Blank(s[b])) ++b;
  while (e > b && Blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Splits "WORD rest" into its first word and the trimmed rest (views into s: the loop poll
// sends a command every tick, and taking it apart makes no copies).
std::pair<std::string_view, std::string_view> FirstWord(std::string_view s) {
  const std::string_view t = Trim(s);
  size_t sp = 0;
  while (sp < t.size() && !Blank(t[sp])) ++sp;
  if (sp == t.size()) return {t, {}};
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
  if (SameWord(verb, "open")) return Open(std::string(rest));
  const auto [alias, more] = FirstWord(rest);
  if (alias.empty()) return kMusicBadParameter;
  if (SameWord(verb, "play")) return Play(alias, more);
  if (SameWord(verb, "stop")) return Stop(alias);
  if (SameWord(verb, "pause")) return Pause(alias);
  if (SameWord(verb, "resume")) return Resume(alias);
  if (SameWord(verb, "close")) return Close(alias);
  if (SameWord(verb, "status")) return Status(alias, more, reply);
  return kMusicUnknownCommand;
}

int MusicInterpreter::StatusMode(const std::string& alias, std::string* reply) {
  // The poll asks about the same piece every tick: the piece found last is kept (a map's
  // element stays put until it is erased, and closing forgets it) with the alias it was asked by.
  if (askedPiece_ && alias == askedAlias_) return ModeOf(*askedPiece_, reply);
  // An alias that SendString would read as one word goes straight to the status; any other is
  // left to SendString, which reads the command text as it comes.
  if (alias.empty() || std::any_of(alias.begin(), alias.end(), Blank)) return MusicDevice::StatusMode(alias, reply);
  if (reply) reply->clear();
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  askedAlias_ = alias;
  askedPiece_ = &it->second;
  return ModeOf(*askedPiece_, reply);
}

int MusicInterpreter::Open(const std::string& rest) {
  const auto at = Lower(rest).rfind(" alias ");
  if (at == std::string::npos) return kMusicBadParameter;
  std::string path(Trim(std::string_view(rest).substr(0, at)));
  const std::string alias(Trim(std::string_view(rest).substr(at + 7)));
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

int MusicInterpreter::Play(std::string_view alias, std::string_view rest) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  // Only playing from the start is offered ("from 0", or nothing).
  if (!rest.empty()) {
    const auto [word, pos] = FirstWord(rest);
    if (!SameWord(word, "from") || pos != "0") return kMusicBadParameter;
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

int MusicInterpreter::Stop(std::string_view alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (current_ == alias) {
    stream_.Halt();
    current_.clear();
  }
  it->second.mode = Mode::Stopped;
  return kMusicOk;
}

int MusicInterpreter::Pause(std::string_view alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  Piece& p = it->second;
  if (current_ == alias && p.mode == Mode::Playing && StillSounding(p)) {
    stream_.Pause();
    p.mode = Mode::Held;
    p.heldMs = clock_.GetTickCount();
  }
  return kMusicOk;
}

int MusicInterpreter::Resume(std::string_view alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  Piece& p = it->second;
  if (current_ == alias && p.mode == Mode::Held) {
    stream_.Resume();
    p.mode = Mode::Playing;
    p.startMs += clock_.GetTickCount() - p.heldMs;
  }
  return kMusicOk;
}

int MusicInterpreter::Close(std::string_view alias) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (current_ == alias) {
    stream_.Halt();
    current_.clear();
  }
  if (it->second.handle >= 0) stream_.Free(it->second.handle);
  if (askedPiece_ == &it->second) askedPiece_ = nullptr;
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

int MusicInterpreter::Status(std::string_view alias, std::string_view rest, std::string* reply) {
  auto it = pieces_.find(alias);
  if (it == pieces_.end()) return kMusicUnknownAlias;
  if (!SameWord(rest, "mode")) return kMusicBadParameter;
  return ModeOf(it->second, reply);
}

int MusicInterpreter::ModeOf(Piece& p, std::string* reply) {
  if (p.mode == Mode::Playing && !StillSounding(p)) p.mode = Mode::Stopped;
  const std::string_view mode = p.mode == Mode::Playing    ? "playing"
                                : p.mode == Mode::Paused || p.mode == Mode::Held ? "paused"
                                : p.mode == Mode::NotReady ? "not ready"
                                                           : "stopped";
  if (reply) reply->assign(mode);
  return kMusicOk;
}

}  // namespace kelmora::platform
