#include "audio/dx7_snd_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/asset_error.h"
#include "platform/sound_device.h"
#include "platform/window.h"

namespace kelmora::audio {

const std::array<SoundSlot, kSoundSlots> kSoundSlotFiles{{
    {"sound\\cur.wav", 1},        {"sound\\ok.wav", 1},          {"sound\\cancel.wav", 1},
    {"sound\\bearyeah.wav", 1},   {"", 0},                       {"sound\\skorp.wav", 4},
    {"sound\\step.wav", 4},       {"sound\\zoyeah.wav", 1},      {"sound\\pigyeah.wav", 1},
    {"sound\\fishyeah.wav", 1},   {"sound\\foxyeah.wav", 1},     {"sound\\spiyeah.wav", 1},
    {"sound\\atack.wav", 1},      {"sound\\mouseyeah.wav", 1},   {"sound\\fishyeah2.wav", 1},
    {"sound\\momongayeah.wav", 1}, {"sound\\moguyeah.wav", 1},   {"sound\\hurry.wav", 1},
    {"sound\\win.wav", 1},        {"sound\\fire.wav", 1},        {"sound\\bgm6.wav", 1},
}};

Dx7DSndSupport::Dx7DSndSupport(platform::SoundDevice& device, platform::Window& window)
    : device_(device), window_(window) {}

bool Dx7DSndSupport::SoundInit(int) {
  // The cooperative level has no counterpart: the mixer shares the output with other programs.
  if (device_.Open()) return true;
  window_.MessageBox("DirectSoundは利用できません。", "Kelmora", platform::MessageIcon::Warning);
  device_.Close();
  return false;
}

void Dx7DSndSupport::SoundShutdown() { device_.Close(); }

std::string Dx7DSndSupport::PathOf(const std::string& file) const {
  std::string path = file;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (folder_.empty()) return path;
  if (!path.empty() && path.front() == '/') return folder_ + path;
  return folder_ + "/" + path;
}

SoundEntry Dx7DSndSupport::SoundLoad(const std::string& file, int copies) {
  const std::string path = PathOf(file);
  std::string why;
  const int sample = device_.LoadSample(path, &why);
  if (sample < 0) throw platform::AssetError(path, why);
  SoundEntry entry;
  const int n = std::max(1, copies);
  for (int i = 0; i < n; ++i) {
    const int voice = device_.CreateVoice(sample);
    if (voice < 0) {
      SoundRelease(entry);
      throw platform::AssetError(path, "no mixer channel left for it");
    }
    entry.buffers.push_back(voice);
    entry.count = static_cast<int16_t>(entry.buffers.size());
  }
  entry.next = 0;
  return entry;
}

void Dx7DSndSupport::SoundRelease(SoundEntry& entry) {
  for (int voice : entry.buffers) device_.ReleaseVoice(voice);
  entry = SoundEntry{};
}

void Dx7DSndSupport::SoundPlay(SoundEntry& entry) {
  if (entry.count <= 0) return;
  entry.next = static_cast<int16_t>((entry.next + 1) % entry.count);
  const int voice = entry.buffers[entry.next];
  if (device_.IsPlaying(voice)) device_.Stop(voice);
  device_.Play(voice, false);
}

void Dx7DSndSupport::SoundPlayLoop(SoundEntry& entry) {
  if (entry.count != 1) return;
  device_.Play(entry.buffers[0], true);
}

void Dx7DSndSupport::SoundStopAll(SoundEntry& entry) {
  for (int i = 0; i < entry.count; ++i) device_.Stop(entry.buffers[i]);
}

void Dx7DSndSupport::SoundHoldAll(bool held) { device_.HoldAll(held); }

void LoadSoundTable(Dx7DSndSupport& snd, SoundTable& table) {
  for (int id = 0; id < kSoundSlots; ++id) {
    const SoundSlot& slot = kSoundSlotFiles[id];
    if (slot.copies == 0) continue;
    snd.SoundRelease(table[id]);
    if (id == kStageSixMusicSlot) {
      CheckWaveFile(snd.PathOf(slot.file));
    } else {
      table[id] = snd.SoundLoad(slot.file, slot.copies);
    }
  }
}

void LoadWhenNeeded(Dx7DSndSupport& snd, SoundTable& table, int id) {
  const SoundSlot& slot = kSoundSlotFiles[id];
  if (table[id].count > 0 || slot.copies == 0) return;
  table[id] = snd.SoundLoad(slot.file, slot.copies);
}

namespace {
uint32_t LittleEndian(const char* b, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[i]);
  return v;
}
}  // namespace

void CheckWaveFile(const std::string& path) {
  auto refuse = [&path](const std::string& why) { throw platform::AssetError(path, why); };
  std::ifstream f(path, std::ios::binary);
  std::error_code ec;
  const uint64_t size = std::filesystem::file_size(path, ec);
  if (!f || ec) refuse("the file cannot be opened");
  if (size == 0) refuse("the file is empty");
  char head[12];
  if (size < 12 || !f.read(head, 12)) refuse("cut short in its header");
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) refuse("not a wave file");
  bool format = false;
  for (uint64_t at = 12;;) {
    char chunk[16];
    if (size - at < 8 || !f.seekg(static_cast<std::streamoff>(at)) || !f.read(chunk, 8)) {
      refuse(format ? "cut short before its sound data" : "cut short before its format");
    }
    const std::string id(chunk, 4);
    const uint32_t length = LittleEndian(chunk + 4, 4);
    if (length > size - at - 8) refuse("cut short in its " + id + " chunk");
    if (id == "fmt ") {
      if (length < 16 || !f.read(chunk, 16)) refuse("bad format chunk");
      const uint32_t channels = LittleEndian(chunk + 2, 2), rate = LittleEndian(chunk + 4, 4),
                     bits = LittleEndian(chunk + 14, 2);
      if (channels == 0 || rate == 0 || bits == 0) refuse("bad format chunk");
      format = true;
    } else if (id == "data") {
      if (!format) refuse("sound data before its format");
      return;
    }
    at += 8 + uint64_t{length} + (length & 1);  // chunks are padded to even lengths
  }
}

}  // namespace kelmora::audio
