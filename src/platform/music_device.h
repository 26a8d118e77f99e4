#pragma once
// The music command interpreter: takes command texts such as
// "open PATH alias audiofileNAME", "play audiofileNAME from 0", "status audiofileNAME mode",
// "stop audiofileNAME", "close audiofileNAME", carries them out, and answers with a result
// code (0 = success) and, for status queries, a reply text ("playing", "stopped").
// Backends: SDL2_mixer music (MIDI through FluidSynth) and a headless recorder; both share
// the interpreter of music_interpreter.h.
#include <string>

namespace kelmora::platform {

// Result codes of the music commands.
enum MusicResult : int {
  kMusicOk = 0,
  kMusicUnknownCommand = 261,  // not a command the interpreter knows
  kMusicNoDevice = 262,        // the sound output is not open, or the stream would not start
  kMusicUnknownAlias = 263,    // no piece is open under that alias
  kMusicBadParameter = 273,    // a command word is missing or not understood
  kMusicCannotOpen = 275,      // the file is missing or cannot be decoded
  kMusicAliasInUse = 289,      // "open" of an alias that is already open
};

class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  // Carries out one command; reply (may be null) receives the answer text.
  virtual int SendString(const std::string& command, std::string* reply) = 0;
  // The answer to "status ALIAS mode". The music poll asks it every tick, so a device may
  // answer it without taking a command text apart.
  virtual int StatusMode(const std::string& alias, std::string* reply) {
    return SendString("status " + alias + " mode", reply);
  }
};

}  // namespace kelmora::platform
