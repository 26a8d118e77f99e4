#pragma once
// Dx7DSndSupport: sound effects with several copies per sound, played in turn.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelmora::platform {
class SoundDevice;
class Window;
}  // namespace kelmora::platform

namespace kelmora::audio {

// One loaded sound: buffer 0 from the wave file, the others copies of it.
struct SoundEntry {
  std::vector<int> buffers;  // voice ids of the sound device
  int16_t count = 0;         // 0 = never loaded (silent)
  int16_t next = 0;          // buffer used by the last play
};

constexpr int kSoundSlots = 21;
using SoundTable = std::array<SoundEntry, kSoundSlots>;

// A slot of the sound table: its wave file (relative to the program folder; empty for the
// unused slot) and how many copies of it may sound at once.
struct SoundSlot {
  const char* file;
  int copies;
};
extern const std::array<SoundSlot, kSoundSlots> kSoundSlotFiles;

class Dx7DSndSupport {
 public:
  Dx7DSndSupport(platform::SoundDevice& device, platform::Window& window);
  // Opens the default device; on failure warns with a message box and returns false.
  bool SoundInit(int cooperativeLevel);
  void SoundShutdown();
  // Loads a wave file (relative to the program folder) with that many buffers.
  // Throws platform::AssetError, naming the file, when it cannot be loaded.
  SoundEntry SoundLoad(const std::string& file, int copies);
  // Frees the entry's buffers; the entry is left empty (silent).
  void SoundRelease(SoundEntry& entry);
  // Plays the next buffer in turn, restarting it if it still sounds.
  void SoundPlay(SoundEntry& entry);
  // Loops an entry of exactly one buffer; does nothing for others.
  void SoundPlayLoop(SoundEntry& entry);
  // Stops every buffer of the entry; the next play starts from the beginning.
  void SoundStopAll(SoundEntry& entry);
  // Holds every sound where it is (a paused match), or lets them go on.
  void SoundHoldAll(bool held);

  void SetProgramFolder(const std::string& folder) { folder_ = folder; }
  // Full path of a file named relative to the program folder ("sound\\cur.wav").
  std::string PathOf(const std::string& file) const;

 private:
  platform::SoundDevice& device_;
  platform::Window& window_;
  std::string folder_;
};

// The stage-six music: about 8 MB, heard on one stage only, so read when that stage is set up.
constexpr int kStageSixMusicSlot = 20;

// Loads the effects of the sound table in slot order (slot 4 stays empty). The stage-six
// music is only checked here (CheckWaveFile), so that a missing or damaged file still stops
// the program at start-up; LoadWhenNeeded reads it.
void LoadSoundTable(Dx7DSndSupport& snd, SoundTable& table);
// Loads a slot that LoadSoundTable left empty, once; throws platform::AssetError as SoundLoad.
void LoadWhenNeeded(Dx7DSndSupport& snd, SoundTable& table, int id);

// The check of a wave file without reading its sound: a RIFF WAVE file whose format comes
// before its data and whose data is all there. Throws platform::AssetError naming the file.
void CheckWaveFile(const std::string& path);

}  // namespace kelmora::audio
