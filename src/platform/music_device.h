#pragma once
// The music command interpreter: takes command texts such as
// "open PATH alias audiofileNAME", "play audiofileNAME from 0", "status audiofileNAME mode",
// "stop audiofileNAME", "close audiofileNAME", carries them out, and answers with a result
// code (0 = success) and, for status queries, a reply text ("playing", "stopped").
// Backends: SDL2_mixer music (MIDI through FluidSynth) and a headless recorder.
#include <string>

namespace kelmora::platform {

class MusicDevice {
 public:
  virtual ~MusicDevice() = default;
  // Carries out one command; reply (may be null) receives the answer text.
  virtual int SendString(const std::string& command, std::string* reply) = 0;
};

}  // namespace kelmora::platform
