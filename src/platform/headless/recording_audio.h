#pragma once
// Headless sound and music: nothing is heard, but everything that would be is recorded, so
// tests can check what was played, restarted, looped and stopped. Sounds take their length
// from their wave files and are timed on the run's clock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/music_device.h"
#include "platform/music_interpreter.h"
#include "platform/sound_device.h"

namespace kelmora::platform {

class Clock;

// One thing the sound device was told to do.
struct SoundEvent {
  enum class Kind { Play, Loop, Stop };
  Kind kind = Kind::Play;
  int voice = -1;
  std::string file;   // the wave file of the voice's sample
  int copy = 0;       // which voice of that sample: 0 for the first one made, then 1, 2, ...
  bool wasSounding = false;  // the voice was still sounding (a play restarts it)
  uint32_t ms = 0;    // clock time
};

class HeadlessSoundDevice final : public SoundDevice {
 public:
  explicit HeadlessSoundDevice(Clock& clock) : clock_(clock) {}

  // With `available` false, Open fails as a machine without sound output would.
  void SetAvailable(bool available) { available_ = available; }

  bool Open() override;
  void Close() override;
  int LoadSample(const std::string& path, std::string* why) override;
  int CreateVoice(int sample) override;
  void ReleaseVoice(int voice) override;
  bool IsPlaying(int voice) override;
  void Play(int voice, bool loop) override;
  void Stop(int voice) override;
  void HoldAll(bool held) override;

  bool isOpen() const { return open_; }
  // Off, nothing is kept: a long run that nobody reads back stays the same size.
  void SetRecording(bool on) { recording_ = on; }
  const std::vector<SoundEvent>& events() const { return events_; }
  void ClearEvents() { events_.clear(); }
  // Voices made and not yet released.
  int liveVoices() const;

 private:
  struct Sample {
    std::string file;  // "" = free
    uint32_t lengthMs = 0;
    int voicesMade = 0;
    int liveVoices = 0;
  };
  struct Voice {
    int sample = -1;  // -1 = free
    int copy = 0;
    bool looping = false;
    bool started = false;
    uint32_t startMs = 0;
  };
  bool Valid(int voice) const;
  void Record(SoundEvent::Kind kind, int voice, bool wasSounding);

  Clock& clock_;
  bool available_ = true;
  bool open_ = false;
  bool recording_ = true;
  bool held_ = false;
  uint32_t heldMs_ = 0;  // when the voices were held
  std::vector<Sample> samples_;
  std::vector<Voice> voices_;
  std::vector<SoundEvent> events_;
};

// The music interpreter on a silent stream; every command text is recorded, in order.
class HeadlessMusicDevice final : public MusicDevice {
 public:
  explicit HeadlessMusicDevice(Clock& clock);
  ~HeadlessMusicDevice() override;

  int SendString(const std::string& command, std::string* reply) override;
  // Recorded as the command text while recording, else asked of the interpreter directly.
  int StatusMode(const std::string& alias, std::string* reply) override;

  struct Command {
    std::string text;
    int result = 0;
    std::string reply;
    uint32_t ms = 0;
  };
  // Off, nothing is kept: a long run that nobody reads back stays the same size.
  void SetRecording(bool on) { recording_ = on; }
  const std::vector<Command>& commands() const { return commands_; }
  void ClearCommands() { commands_.clear(); }
  // The piece the silent stream would be sounding now ("" when none): its file.
  const std::string& sounding() const;

 private:
  class SilentStream;
  Clock& clock_;
  std::unique_ptr<SilentStream> stream_;
  MusicInterpreter interpreter_;
  bool recording_ = true;
  std::vector<Command> commands_;
};

}  // namespace kelmora::platform
