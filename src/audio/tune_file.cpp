#include "audio/tune_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/asset_error.h"
#include "platform/music_interpreter.h"

namespace kelmora::audio {

namespace {

uint32_t BigEndian(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
  return v;
}

// The whole file, or nothing when it cannot be read.
bool ReadAll(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  out = s.str();
  return !f.bad();
}

}  // namespace

std::string MidiProblem(const std::string& b) {
  if (b.empty()) return "the file is empty";
  if (b.compare(0, std::min<size_t>(4, b.size()), "MThd", 0, std::min<size_t>(4, b.size())) != 0) {
    return "not a MIDI file";
  }
  if (b.size() < 14) return "cut short in its header";
  const uint32_t headerLength = BigEndian(b, 4, 4);
  if (headerLength < 6 || headerLength > b.size() - 8) return "not a MIDI file (bad header)";
  const uint32_t format = BigEndian(b, 8, 2), tracks = BigEndian(b, 10, 2);
  if (format > 2 || tracks == 0) return "not a MIDI file (bad header)";
  size_t at = 8 + headerLength;
  uint32_t found = 0;
  while (found < tracks) {
    if (b.size() - at < 8) {
      return "cut short: " + std::to_string(found) + " of its " + std::to_string(tracks) + " tracks";
    }
    const uint32_t length = BigEndian(b, at + 4, 4);
    if (length > b.size() - at - 8) return "cut short in track " + std::to_string(found + 1);
    // Chunks of other kinds are skipped, as every reader of the format does.
    if (b.compare(at, 4, "MTrk") == 0) {
      const size_t end = at + 8 + length;
      if (length < 3 || b.compare(end - 3, 3, "\xFF\x2F\x00", 3) != 0) {
        return "track " + std::to_string(found + 1) + " does not end with its end-of-track event";
      }
      ++found;
    }
    at += 8 + length;
  }
  return "";
}

void CheckTuneFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::string bytes;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec) || !ReadAll(path, bytes)) throw platform::AssetError(path, "no such file");
  if (const std::string why = MidiProblem(bytes); !why.empty()) throw platform::AssetError(path, why);

  const std::string lengths = (fs::path(path).parent_path() / "music-lengths.txt").string();
  std::string listed;
  if (!fs::is_regular_file(lengths, ec) || !ReadAll(lengths, listed)) {
    throw platform::AssetError(lengths, "no such file");
  }
  // Every line ends with its newline: a list without one at its end was cut short.
  if (listed.empty()) throw platform::AssetError(lengths, "the file is empty");
  if (listed.back() != '\n') throw platform::AssetError(lengths, "its last line is incomplete (the file was cut short)");
  if (platform::MusicInterpreter::ListedLength(path) <= 0) {
    throw platform::AssetError(lengths, "no length listed for " + fs::path(path).filename().string());
  }
}

}  // namespace kelmora::audio
