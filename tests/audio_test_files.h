#pragma once
// Small sound and music files made on the spot for the audio tests.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace kelmora::testing {

// A fresh folder under the system's temporary folder, removed with the object.
struct TempFolder {
  TempFolder() {
    path = std::filesystem::temp_directory_path() /
           ("kelmora-audio-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::create_directories(path / "sound");
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path path;
};

inline void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An 8-bit mono 22 050 Hz wave file holding `ms` milliseconds of a 440 Hz tone.
inline void WriteTone(const std::filesystem::path& file, int ms) {
  const uint32_t rate = 22050, frames = rate * ms / 1000;
  std::vector<uint8_t> out;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 36 + frames, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 1, 2);  // mono
  PutLe(out, rate, 4);
  PutLe(out, rate, 4);
  PutLe(out, 1, 2);
  PutLe(out, 8, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, frames, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    out.push_back(static_cast<uint8_t>(128 + 100 * std::sin(2 * M_PI * 440.0 * i / rate)));
  }
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), out.size());
}

// A one-track MIDI file: one piano note of about `ms` milliseconds at 120 beats a minute.
inline void WriteMidiNote(const std::filesystem::path& file, int ms) {
  const uint32_t ticks = static_cast<uint32_t>(ms) * 96 / 500;  // 96 ticks a beat, 500 ms a beat
  std::vector<uint8_t> track = {0x00, 0xC0, 0x00, 0x00, 0x90, 60, 100};
  // Delta time as a variable-length number.
  std::vector<uint8_t> delta;
  uint32_t t = ticks;
  delta.push_back(t & 0x7F);
  while (t >>= 7) delta.insert(delta.begin(), static_cast<uint8_t>(0x80 | (t & 0x7F)));
  track.insert(track.end(), delta.begin(), delta.end());
  track.insert(track.end(), {0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
  const uint32_t n = static_cast<uint32_t>(track.size());
  out.insert(out.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
  out.insert(out.end(), track.begin(), track.end());
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), out.size());
}

}  // namespace kelmora::testing
