#pragma once
// Sound output for the sound-effect module: samples loaded from wave files, and voices that
// each hold one sample and play it once or looping. Backends: SDL2_mixer (one mixer channel
// per voice) and a headless recorder.
#include <string>

namespace kelmora::platform {

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Opens the default output device; false when there is none.
  virtual bool Open() = 0;
  // Closes the device and frees everything loaded.
  virtual void Close() = 0;
  // Loads a wave file; returns a sample id, or -1 when the file cannot be read (why, when
  // given, then says what went wrong).
  virtual int LoadSample(const std::string& path, std::string* why) = 0;
  // A new voice that plays the given sample; returns its id, or -1.
  virtual int CreateVoice(int sample) = 0;
  // Stops and frees the voice; the sample goes with its last voice.
  virtual void ReleaseVoice(int voice) = 0;
  // Whether the voice is sounding now.
  virtual bool IsPlaying(int voice) = 0;
  // Plays the voice from its start at full volume, centre pan, the file's own rate.
  virtual void Play(int voice, bool loop) = 0;
  // Stops the voice; the next play starts from the beginning.
  virtual void Stop(int voice) = 0;
  // Holds every voice where it is (a held voice still counts as sounding), or lets them all
  // go on from there.
  virtual void HoldAll(bool held) = 0;
};

}  // namespace kelmora::platform
