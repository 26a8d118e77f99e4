#pragma once
// The music command interpreter shared by the real and the headless music devices. It keeps
// the open pieces by alias and carries the commands out on one music stream: only one piece
// sounds at a time, so playing a piece pushes the one that was sounding aside (its mode then
// reads "paused", which the loop poll leaves alone). A piece counts as stopped once its own
// length has run out since it was started, so a looping tune restarts within a tick of its
// end even while the synthesiser lets its last notes die away. A piece that cannot be loaded
// reads "not ready" until it is played again. "pause ALIAS" holds the sounding piece where it is
// (its mode reads "paused") and "resume ALIAS" lets it go on from there, its length counted
// without the time it was held.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "platform/music_device.h"

namespace kelmora::platform {

class Clock;

// The one music stream of a backend.
class MusicStream {
 public:
  virtual ~MusicStream() = default;
  // Whether pieces can be loaded now (the sound output is open).
  virtual bool Ready() = 0;
  // Loads a piece; returns a handle, or -1 (why, when given, says what went wrong).
  virtual int Load(const std::string& path, std::string* why) = 0;
  virtual void Free(int handle) = 0;
  // Starts the piece from its beginning in place of whatever sounds; false when it cannot.
  virtual bool Start(int handle) = 0;
  // Silences the stream.
  virtual void Halt() = 0;
  // Holds the stream where it is, and lets it go on from there (a stream that cannot hold
  // plays on).
  virtual void Pause() {}
  virtual void Resume() {}
  // Whether the stream still makes sound (may linger after the last note).
  virtual bool Busy() = 0;
  // Length of the piece in seconds, or a value <= 0 when the decoder cannot tell.
  virtual double Length(int handle) = 0;
};

class MusicInterpreter final : public MusicDevice {
 public:
  MusicInterpreter(MusicStream& stream, Clock& clock) : stream_(stream), clock_(clock) {}
  ~MusicInterpreter() override;

  int SendString(const std::string& command, std::string* reply) override;
  int StatusMode(const std::string& alias, std::string* reply) override;

  // Length in seconds of the tune file `path` as listed in music-lengths.txt beside it
  // ("bgm.mid 52.364" per line); a value <= 0 when it is not listed.
  static double ListedLength(const std::string& path);

 private:
  // NotReady: the last play could not load the piece. It stays silent, and its mode reads
  // "not ready" rather than "stopped", so the loop poll does not try again every tick; the
  // next play command does.
  // Held: paused by a pause command, to go on at a resume.
  enum class Mode { Stopped, Playing, Paused, NotReady, Held };
  struct Piece {
    std::string path;
    int handle = -1;      // -1 until loaded (loading waits until the stream is ready)
    double seconds = 0;   // the tune's own length; <= 0 unknown
    Mode mode = Mode::Stopped;
    uint32_t startMs = 0;
    uint32_t heldMs = 0;  // when it was held
  };

  int Open(const std::string& rest);
  int Play(std::string_view alias, std::string_view rest);
  int Stop(std::string_view alias);
  int Pause(std::string_view alias);
  int Resume(std::string_view alias);
  int Close(std::string_view alias);
  int Status(std::string_view alias, std::string_view rest, std::string* reply);
  int ModeOf(Piece& p, std::string* reply);
  bool EnsureLoaded(Piece& p);
  bool StillSounding(Piece& p);

  MusicStream& stream_;
  Clock& clock_;
  std::map<std::string, Piece, std::less<>> pieces_;
  std::string current_;  // alias that owns the stream, empty when none
  std::string askedAlias_;       // the alias StatusMode was last asked about
  Piece* askedPiece_ = nullptr;  // its piece; null when unknown or closed since
};

}  // namespace kelmora::platform
