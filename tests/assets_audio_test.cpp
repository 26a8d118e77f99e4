// The generated sound effects and music: every file of the sound table and the music list is
// there, well formed, clean, of the right length, and made the same way on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kSoundDir = fs::path(KELMORA_BUILD_DIR) / "sound";

const std::vector<std::string> kEffects = {
    "cur.wav",     "ok.wav",        "cancel.wav",    "bearyeah.wav", "skorp.wav",     "step.wav",
    "zoyeah.wav",  "pigyeah.wav",   "fishyeah.wav",  "foxyeah.wav",  "spiyeah.wav",   "atack.wav",
    "mouseyeah.wav", "fishyeah2.wav", "momongayeah.wav", "moguyeah.wav", "hurry.wav", "win.wav", "fire.wav",
};
const std::vector<std::string> kTunes = {"bgm.mid", "bgm2.mid", "bgm3.mid", "bgm4.mid", "bgm5.mid"};

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b.at(at + i);
  return v;
}
uint32_t Be(const Bytes& b, size_t at, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b.at(at + i);
  return v;
}
std::string Tag(const Bytes& b, size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); }

// ---- waves ----

struct Wave {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;  // interleaved
  double Seconds() const { return static_cast<double>(samples.size()) / channels / rate; }
};

// Walks the RIFF chunks; fails the test on anything malformed.
Wave ReadWave(const fs::path& path) {
  Wave w;
  const Bytes b = ReadAll(path);
  EXPECT_GE(b.size(), 44u) << path;
  if (b.size() < 44) return w;
  EXPECT_EQ(Tag(b, 0), "RIFF") << path;
  EXPECT_EQ(Tag(b, 8), "WAVE") << path;
  EXPECT_EQ(Le(b, 4, 4) + 8, b.size()) << path << ": RIFF size";
  for (size_t at = 12; at + 8 <= b.size();) {
    const std::string id = Tag(b, at);
    const uint32_t size = Le(b, at + 4, 4);
    EXPECT_LE(at + 8 + size, b.size()) << path << ": chunk " << id << " runs past the end";
    if (at + 8 + size > b.size()) break;
    if (id == "fmt ") {
      w.format = static_cast<int>(Le(b, at + 8, 2));
      w.channels = static_cast<int>(Le(b, at + 10, 2));
      w.rate = static_cast<int>(Le(b, at + 12, 4));
      w.bits = static_cast<int>(Le(b, at + 22, 2));
      EXPECT_EQ(Le(b, at + 16, 4), static_cast<uint32_t>(w.rate * w.channels * w.bits / 8)) << path;
      EXPECT_EQ(Le(b, at + 20, 2), static_cast<uint32_t>(w.channels * w.bits / 8)) << path;
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < size; i += 2)
        w.samples.push_back(static_cast<int16_t>(Le(b, at + 8 + i, 2)));
    }
    at += 8 + size + (size & 1);
  }
  return w;
}

void ExpectPlayableFormat(const Wave& w, const std::string& name) {
  EXPECT_EQ(w.format, 1) << name << " is not PCM";
  EXPECT_EQ(w.bits, 16) << name;
  EXPECT_TRUE(w.channels == 1 || w.channels == 2) << name;
  EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << name;
  EXPECT_FALSE(w.samples.empty()) << name;
}

int Peak(const Wave& w) {
  int peak = 0;
  for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

// Clipping shows as samples pinned at full scale.
int SamplesAtFullScale(const Wave& w) {
  return static_cast<int>(std::count_if(w.samples.begin(), w.samples.end(),
                                        [](int16_t s) { return s >= 32767 || s <= -32767; }));
}

TEST(EffectFiles, EverySlotIsAShortCleanNormalisedPcmWave) {
  for (const std::string& name : kEffects) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::exists(kSoundDir / name)) << (kSoundDir / name);
    const Wave w = ReadWave(kSoundDir / name);
    ExpectPlayableFormat(w, name);
    if (w.samples.empty()) continue;
    EXPECT_GE(w.Seconds(), 0.05);
    EXPECT_LE(w.Seconds(), 3.0);
    EXPECT_GE(Peak(w), 32767 * 8 / 10) << "not normalised";
    EXPECT_EQ(SamplesAtFullScale(w), 0) << "clipped";
    // Starts and ends in silence: no click when a copy starts or is cut off at its end.
    const int quiet = 32767 / 100;
    for (int c = 0; c < w.channels; ++c) {
      EXPECT_LE(std::abs(w.samples[c]), quiet) << "click at the start";
      EXPECT_LE(std::abs(w.samples[w.samples.size() - w.channels + c]), quiet) << "click at the end";
    }
  }
}

TEST(EffectFiles, EveryAnimalCheersInItsOwnVoice) {
  // The nine cheers are distinct sounds, and the big animals sit lower than the small ones.
  std::map<std::string, double> crossings;  // zero crossings per second, a rough pitch-and-colour measure
  for (const char* name : {"bearyeah.wav", "zoyeah.wav", "pigyeah.wav", "fishyeah.wav", "foxyeah.wav",
                           "spiyeah.wav", "mouseyeah.wav", "momongayeah.wav", "moguyeah.wav"}) {
    const Wave w = ReadWave(kSoundDir / name);
    ASSERT_FALSE(w.samples.empty()) << name;
    int count = 0;
    for (size_t i = w.channels; i < w.samples.size(); i += w.channels)
      count += (w.samples[i] >= 0) != (w.samples[i - w.channels] >= 0);
    crossings[name] = count / w.Seconds();
  }
  EXPECT_LT(crossings["bearyeah.wav"], crossings["mouseyeah.wav"]);
  EXPECT_LT(crossings["zoyeah.wav"], crossings["foxyeah.wav"]);
  EXPECT_LT(crossings["bearyeah.wav"], crossings["foxyeah.wav"]);
  const Bytes bear = ReadAll(kSoundDir / "bearyeah.wav");
  for (const auto& [name, rate] : crossings)
    if (name != "bearyeah.wav") {
      EXPECT_NE(ReadAll(kSoundDir / name), bear) << name;
    }
}

TEST(StageSixWave, IsALoopingStereoWaveOfFortyToNinetySeconds) {
  const Wave w = ReadWave(kSoundDir / "bgm6.wav");
  ExpectPlayableFormat(w, "bgm6.wav");
  ASSERT_FALSE(w.samples.empty());
  EXPECT_GE(w.Seconds(), 40.0);
  EXPECT_LE(w.Seconds(), 90.0);
  EXPECT_EQ(SamplesAtFullScale(w), 0);
  EXPECT_GE(Peak(w), 32767 / 2);
  // The jump from the last frame back to the first is no bigger than the steps inside the piece.
  const size_t frames = w.samples.size() / w.channels;
  for (int c = 0; c < w.channels; ++c) {
    int largestStep = 0;
    for (size_t i = 1; i < frames; ++i)
      largestStep = std::max(largestStep, std::abs(w.samples[i * w.channels + c] - w.samples[(i - 1) * w.channels + c]));
    const int seam = std::abs(w.samples[c] - w.samples[(frames - 1) * w.channels + c]);
    EXPECT_LE(seam, largestStep / 2) << "channel " << c;
  }
}

// ---- MIDI ----

struct Tune {
  int format = -1, tracks = 0, division = 0;
  int tempo = 500000;  // microseconds per quarter note
  int meterTop = 4, meterBottom = 4;
  int64_t endTick = 0;                       // the latest end-of-track
  std::vector<int64_t> trackEnds;            // end-of-track tick of every track
  std::map<int, int> notesPerChannel;        // channel (0-based) -> note-ons
  int hangingNotes = 0;                      // note-ons never switched off
  int64_t lastNoteOff = 0;
};

uint32_t VarLen(const Bytes& b, size_t& at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t c = b.at(at++);
    v = (v << 7) | (c & 0x7f);
    if (!(c & 0x80)) return v;
  }
  ADD_FAILURE() << "variable-length number longer than four bytes";
  return v;
}

Tune ReadTune(const fs::path& path) {
  Tune t;
  const Bytes b = ReadAll(path);
  if (b.size() < 14 || Tag(b, 0) != "MThd" || Be(b, 4, 4) != 6) {
    ADD_FAILURE() << path << ": no MIDI header";
    return t;
  }
  t.format = static_cast<int>(Be(b, 8, 2));
  t.tracks = static_cast<int>(Be(b, 10, 2));
  t.division = static_cast<int>(Be(b, 12, 2));
  size_t at = 14;
  for (int track = 0; track < t.tracks; ++track) {
    if (at + 8 > b.size() || Tag(b, at) != "MTrk") {
      ADD_FAILURE() << path << ": track " << track << " missing";
      return t;
    }
    const size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) {
      ADD_FAILURE() << path << ": track " << track << " runs past the end";
      return t;
    }
    at += 8;
    int64_t tick = 0;
    uint8_t status = 0;
    bool ended = false;
    std::map<int, int> sounding;  // channel * 128 + key -> count
    while (at < end && !ended) {
      tick += VarLen(b, at);
      if (b.at(at) & 0x80) status = b.at(at++);
      if (status == 0xff) {
        const uint8_t type = b.at(at++);
        const uint32_t len = VarLen(b, at);
        if (type == 0x51) t.tempo = static_cast<int>(Be(b, at, 3));
        if (type == 0x58) { t.meterTop = b.at(at); t.meterBottom = 1 << b.at(at + 1); }
        if (type == 0x2f) { ended = true; t.trackEnds.push_back(tick); t.endTick = std::max(t.endTick, tick); }
        at += len;
      } else if (status == 0xf0 || status == 0xf7) {
        at += VarLen(b, at);
      } else {
        const int kind = status & 0xf0, channel = status & 0x0f;
        const int key = b.at(at), velocity = (kind == 0xc0 || kind == 0xd0) ? 0 : b.at(at + 1);
        at += (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
        if (kind == 0x90 && velocity > 0) {
          ++t.notesPerChannel[channel];
          ++sounding[channel * 128 + key];
        } else if (kind == 0x80 || kind == 0x90) {
          if (sounding[channel * 128 + key] > 0) --sounding[channel * 128 + key];
          t.lastNoteOff = std::max(t.lastNoteOff, tick);
        }
      }
    }
    EXPECT_TRUE(ended) << path << ": track " << track << " has no end-of-track";
    EXPECT_EQ(at, end) << path << ": track " << track << " length";
    for (const auto& [key, count] : sounding) t.hangingNotes += count;
    at = end;
  }
  return t;
}

double Seconds(const Tune& t, int64_t tick) { return static_cast<double>(tick) / t.division * t.tempo / 1e6; }

std::map<std::string, double> ListedLengths() {
  std::map<std::string, double> lengths;
  std::ifstream in(kSoundDir / "music-lengths.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name;
    double seconds = 0;
    if (words >> name >> seconds) lengths[name] = seconds;
    else ADD_FAILURE() << "music-lengths.txt: bad line \"" << line << "\"";
  }
  return lengths;
}

TEST(TuneFiles, EveryTuneIsAGeneralMidiLoopWithMelodyHarmonyBassAndDrums) {
  for (const std::string& name : kTunes) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::exists(kSoundDir / name));
    Tune t = ReadTune(kSoundDir / name);
    EXPECT_TRUE(t.format == 0 || t.format == 1);
    ASSERT_GT(t.division, 0) << "ticks per quarter note";
    EXPECT_GT(t.notesPerChannel[9], 0) << "no drums on channel 10";
    int pitched = 0;
    for (const auto& [channel, notes] : t.notesPerChannel) pitched += channel != 9 && notes > 0;
    EXPECT_GE(pitched, 3) << "melody, harmony and bass";
    EXPECT_EQ(t.hangingNotes, 0);
    const double seconds = Seconds(t, t.endTick);
    EXPECT_GE(seconds, 40.0);
    EXPECT_LE(seconds, 90.0);
    // The loop restarts on a bar line, and every track ends there too.
    const int64_t bar = static_cast<int64_t>(t.division) * 4 * t.meterTop / t.meterBottom;
    EXPECT_EQ(t.endTick % bar, 0);
    for (int64_t end : t.trackEnds) EXPECT_EQ(end, t.endTick);
    EXPECT_LE(t.lastNoteOff, t.endTick);
  }
}

TEST(TuneFiles, ListedLengthsAreTheEndsOfTheLastBars) {
  const std::map<std::string, double> lengths = ListedLengths();
  EXPECT_EQ(lengths.size(), kTunes.size());
  std::map<std::string, Bytes> seen;
  for (const std::string& name : kTunes) {
    SCOPED_TRACE(name);
    ASSERT_EQ(lengths.count(name), 1u) << "not listed";
    const Tune t = ReadTune(kSoundDir / name);
    EXPECT_NEAR(lengths.at(name), Seconds(t, t.endTick), 0.0005);
    const Bytes bytes = ReadAll(kSoundDir / name);
    for (const auto& [other, otherBytes] : seen) EXPECT_NE(bytes, otherBytes) << "same tune as " << other;
    seen[name] = bytes;
  }
}

// ---- the generator ----

TEST(AudioGeneration, TwoRunsWriteTheSameBytes) {
  const fs::path assetgen = fs::path(KELMORA_BUILD_DIR) / "tools" / "assetgen" / "assetgen";
  ASSERT_TRUE(fs::exists(assetgen)) << assetgen;
  const fs::path root = fs::temp_directory_path() / ("kelmora-audio-" + std::to_string(getpid()));
  const fs::path first = root / "first", second = root / "second";
  for (const fs::path& dir : {first, second}) {
    const std::string command = "\"" + assetgen.string() + "\" --only sound --out \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  std::vector<std::string> files = kEffects;
  files.insert(files.end(), kTunes.begin(), kTunes.end());
  files.push_back("bgm6.wav");
  files.push_back("music-lengths.txt");
  for (const std::string& name : files) {
    const Bytes a = ReadAll(first / "sound" / name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_EQ(a, ReadAll(second / "sound" / name)) << name << " differs between runs";
  }
  fs::remove_all(root);
}

}  // namespace
