#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>

#include "music_song.h"
#include "synth_dsp.h"

namespace assetgen::music {

namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, sep)) parts.push_back(part);
  return parts;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

[[noreturn]] void Fail(const Song& song, const std::string& what) {
  throw std::runtime_error("tune " + song.name + ": " + what);
}

// Reads "C", "F#", "Bb" at pos; returns the pitch class and advances pos.
int ParsePitchClass(const std::string& s, size_t& pos) {
  static const int kLetter[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
  if (pos >= s.size() || s[pos] < 'A' || s[pos] > 'G') return -1;
  int pc = kLetter[s[pos++] - 'A'];
  if (pos < s.size() && s[pos] == '#') { ++pc; ++pos; }
  else if (pos < s.size() && s[pos] == 'b') { --pc; ++pos; }
  return (pc + 12) % 12;
}

const std::map<std::string, std::vector<int>>& Qualities() {
  static const std::map<std::string, std::vector<int>> q = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},          {"7", {0, 4, 7, 10}},     {"m7", {0, 3, 7, 10}},
      {"maj7", {0, 4, 7, 11}}, {"dim", {0, 3, 6}},        {"m7b5", {0, 3, 6, 10}},  {"dim7", {0, 3, 6, 9}},
      {"sus4", {0, 5, 7}},     {"7sus4", {0, 5, 7, 10}},  {"6", {0, 4, 7, 9}},      {"m6", {0, 3, 7, 9}},
      {"aug", {0, 4, 8}},
  };
  return q;
}

// The pitch of class pc at or above low.
int AtOrAbove(int pc, int low) { return low + ((pc - low) % 12 + 12) % 12; }

// The pitch of class pc nearest to near, kept within [low, low + 23].
int Nearest(int pc, int near, int low) {
  int p = AtOrAbove(pc, near - 6);
  while (p < low) p += 12;
  while (p > low + 23) p -= 12;
  return p;
}

int Humanise(synth::Rng& rng, int velocity, int spread) {
  return std::clamp(velocity + static_cast<int>(rng.Signed() * spread), 1, 127);
}

void CheckGrid(const Song& song, size_t steps) {
  if (steps == 0 || song.BarTicks() % static_cast<int64_t>(steps) != 0)
    Fail(song, "a pattern of " + std::to_string(steps) + " steps does not divide the bar");
}

const Chord& NextChord(const std::vector<Chord>& chords, int64_t tick) {
  for (const Chord& c : chords)
    if (c.start > tick) return c;
  return chords.front();  // the tune loops: after the last chord comes the first
}

}  // namespace

std::vector<Chord> ParseChords(const Song& song, int firstBar, const std::string& text) {
  std::vector<Chord> chords;
  int bar = firstBar;
  for (const std::string& barText : Split(text, '|')) {
    const std::vector<std::string> names = Words(barText);
    if (names.empty()) continue;
    const int64_t each = song.BarTicks() / static_cast<int64_t>(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
      const std::string& name = names[i];
      size_t pos = 0;
      Chord c;
      c.root = ParsePitchClass(name, pos);
      const size_t slash = name.find('/', pos);
      const std::string quality = name.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
      const auto q = Qualities().find(quality);
      if (c.root < 0 || q == Qualities().end()) Fail(song, "unknown chord " + name);
      c.intervals = q->second;
      c.bass = c.root;
      if (slash != std::string::npos) {
        size_t bpos = slash + 1;
        c.bass = ParsePitchClass(name, bpos);
        if (c.bass < 0 || bpos != name.size()) Fail(song, "unknown bass note in " + name);
      }
      c.start = bar * song.BarTicks() + static_cast<int64_t>(i) * each;
      c.length = each;
      chords.push_back(c);
    }
    ++bar;
  }
  return chords;
}

const Chord& ChordAt(const std::vector<Chord>& chords, int64_t tick) {
  for (const Chord& c : chords)
    if (tick >= c.start && tick < c.start + c.length) return c;
  return tick < chords.front().start ? chords.front() : chords.back();
}

void AddMelody(const Song& song, Track& track, int firstBar, const std::string& text, int velocity, double gate,
               int transpose) {
  const int64_t origin = firstBar * song.BarTicks();
  int64_t at = origin;
  int64_t duration = kTicksPerQuarter;
  std::vector<Note> line;
  int bar = firstBar;
  const std::vector<std::string> words = Words(text);
  for (size_t w = 0; w < words.size(); ++w) {
    std::string token = words[w];
    // "R q" reads as a quarter rest.
    if (token == "R" && w + 1 < words.size() && std::string("whqes").find(words[w + 1][0]) != std::string::npos)
      token += words[++w];
    if (token == "|") {
      ++bar;
      if ((at - origin) != (bar - firstBar) * song.BarTicks())
        Fail(song, "melody bar " + std::to_string(bar) + " does not add up");
      continue;
    }
    size_t pos = 0;
    int pitch = -1;
    bool rest = false, tie = false;
    if (token[0] == 'R') { rest = true; pos = 1; }
    else if (token[0] == '_') { tie = true; pos = 1; }
    else {
      const int pc = ParsePitchClass(token, pos);
      const size_t digits = token.find_first_not_of("0123456789", pos);
      if (pc < 0 || digits == pos) Fail(song, "bad note " + token);
      const int octave = std::atoi(token.substr(pos, digits - pos).c_str());
      pos = digits == std::string::npos ? token.size() : digits;
      // Note names carry their accidental: B#/Cb stay in the written octave.
      pitch = (octave + 1) * 12 + pc + transpose;
    }
    if (pos < token.size()) {
      static const std::map<char, int64_t> kLength = {{'w', 1920}, {'h', 960}, {'q', 480}, {'e', 240}, {'s', 120}};
      const auto len = kLength.find(token[pos]);
      if (len == kLength.end()) Fail(song, "bad duration in " + token);
      duration = len->second;
      for (++pos; pos < token.size(); ++pos) {
        if (token[pos] == '.') duration = duration * 3 / 2;
        else if (token[pos] == 't') duration = duration * 2 / 3;
        else Fail(song, "bad duration in " + token);
      }
    }
    if (tie) {
      if (line.empty()) Fail(song, "tie without a note");
      line.back().length += duration;
    } else if (!rest) {
      const int64_t inBar = (at - origin) % song.BarTicks();
      const int accent = inBar == 0 ? 8 : inBar % kTicksPerQuarter ? -6 : 0;
      line.push_back(Note{at, duration, pitch, std::clamp(velocity + accent, 1, 127)});
    }
    at += duration;
  }
  if ((at - origin) % song.BarTicks() != 0) Fail(song, "melody does not end on a bar line");
  for (Note& n : line) {
    const int64_t gap = std::min<int64_t>(static_cast<int64_t>(static_cast<double>(n.length) * (1.0 - gate)),
                                          static_cast<int64_t>(kTicksPerQuarter * (1.0 - gate)));
    n.length = std::max<int64_t>(30, n.length - gap);
    track.notes.push_back(n);
  }
}

void AddChordPattern(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                     const std::string& pattern, int low, int velocity, uint64_t seed) {
  CheckGrid(song, pattern.size());
  const int64_t step = song.BarTicks() / static_cast<int64_t>(pattern.size());
  synth::Rng rng(seed);
  const size_t firstNote = track.notes.size();
  Note* current = nullptr;
  int last = low + 7;
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (size_t s = 0; s < pattern.size(); ++s) {
      const char c = pattern[s];
      const int64_t tick = bar * song.BarTicks() + static_cast<int64_t>(s) * step;
      if (c == '.') {
        if (current) current->length += step;
        continue;
      }
      current = nullptr;
      if (c == '-') continue;
      const Chord& chord = ChordAt(chords, tick);
      const int root = AtOrAbove(chord.root, low);
      int pitch;
      switch (c) {
        case '1': pitch = AtOrAbove(chord.bass, low); break;
        case '3': pitch = root + chord.intervals[1]; break;
        case '5': pitch = root + chord.intervals[2]; break;
        case '7': pitch = root + (chord.intervals.size() > 3 ? chord.intervals[3] : 12); break;
        case '8': pitch = root + 12; break;
        case '9': pitch = root + 14; break;
        case 'A': {
          const int target = AtOrAbove(NextChord(chords, tick).bass, low);
          pitch = last < target ? target - 1 : target + 1;
          break;
        }
        default: Fail(song, std::string("bad pattern step '") + c + "'");
      }
      last = pitch;
      const int accent = s == 0 ? 10 : 0;
      track.notes.push_back(Note{tick, step, pitch, Humanise(rng, velocity + accent, 5)});
      current = &track.notes.back();
    }
    current = nullptr;  // patterns do not hold across bar lines
  }
  for (size_t i = firstNote; i < track.notes.size(); ++i)
    track.notes[i].length = std::max<int64_t>(30, track.notes[i].length - 12);
}

namespace {

std::vector<int> Voicing(const Chord& chord, int low, int high, const std::vector<int>& previous) {
  std::vector<int> pcs;
  for (int iv : chord.intervals) pcs.push_back((chord.root + iv) % 12);
  std::vector<int> best;
  double bestCost = 1e9;
  for (int bottom = low; bottom < low + 12; ++bottom) {
    if (std::find(pcs.begin(), pcs.end(), bottom % 12) == pcs.end()) continue;
    std::vector<int> v{bottom};
    while (v.size() < std::max<size_t>(pcs.size(), 3)) {
      int p = v.back() + 1;
      while (std::find(pcs.begin(), pcs.end(), p % 12) == pcs.end()) ++p;
      v.push_back(p);
    }
    if (v.back() > high) continue;
    double cost = 0;
    if (previous.empty()) {
      cost = std::abs((v.front() + v.back()) / 2.0 - (low + high) / 2.0);
    } else {
      for (size_t i = 0; i < v.size(); ++i) cost += std::abs(v[i] - previous[std::min(i, previous.size() - 1)]);
    }
    if (cost < bestCost) { bestCost = cost; best = v; }
  }
  return best;
}

}  // namespace

void AddComping(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                const std::string& pattern, int low, int high, int velocity, int steps, uint64_t seed) {
  synth::Rng rng(seed);
  std::vector<int> previous;
  auto strike = [&](int64_t tick, int64_t length, int vel) {
    const Chord& chord = ChordAt(chords, tick);
    previous = Voicing(chord, low, high, previous);
    if (previous.empty()) Fail(song, "no voicing fits between " + std::to_string(low) + " and " + std::to_string(high));
    for (int p : previous) track.notes.push_back(Note{tick, length, p, Humanise(rng, vel, 4)});
  };
  const int64_t from = firstBar * song.BarTicks(), to = (firstBar + bars) * song.BarTicks();
  if (pattern.empty()) {  // one held chord per chord change
    for (const Chord& c : chords)
      if (c.start >= from && c.start < to) strike(c.start, c.length - 20, velocity);
    return;
  }
  CheckGrid(song, pattern.size());
  const int64_t step = song.BarTicks() / static_cast<int64_t>(pattern.size());
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (size_t s = 0; s < pattern.size(); ++s) {
      if (pattern[s] != 'x' && pattern[s] != 'X') continue;
      const int64_t tick = bar * song.BarTicks() + static_cast<int64_t>(s) * step;
      int64_t length = steps * step * 9 / 10;
      if (steps == 0) {
        const Chord& c = ChordAt(chords, tick);
        length = c.start + c.length - tick - 20;
      }
      strike(tick, length, pattern[s] == 'X' ? velocity + 15 : velocity);
    }
  }
}

void AddWalkingBass(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                    int low, int velocity, uint64_t seed) {
  synth::Rng rng(seed);
  int last = low + 7;
  const int64_t beat = song.BarTicks() / song.meterTop;
  for (int64_t tick = firstBar * song.BarTicks(); tick < (firstBar + bars) * song.BarTicks(); tick += beat) {
    const Chord& chord = ChordAt(chords, tick);
    const int64_t nextTick = tick + beat;
    const bool wraps = nextTick >= chords.back().start + chords.back().length;
    const Chord& next = wraps ? chords.front() : ChordAt(chords, nextTick);
    int pitch;
    if (chord.start == tick) {
      pitch = Nearest(chord.bass, last, low);
    } else if (wraps || next.start == nextTick) {
      // A half step into the next root, from the side we come from.
      const int target = Nearest(next.bass, last, low);
      pitch = last <= target ? target - 1 : target + 1;
      if (pitch == last) pitch = last <= target ? target + 1 : target - 1;
    } else {
      // Another tone of the chord: third, fifth, sixth or seventh, or the root; never the note just played.
      std::vector<int> tones{chord.intervals[1], chord.intervals[2],
                             chord.intervals.size() > 3 ? chord.intervals[3] : 9, 0};
      tones.erase(std::remove_if(tones.begin(), tones.end(),
                                 [&](int iv) { return (chord.root + iv) % 12 == last % 12; }),
                  tones.end());
      pitch = Nearest((chord.root + tones[rng.Below(static_cast<int>(tones.size()))]) % 12, last, low);
    }
    last = pitch;
    const int accent = (tick % song.BarTicks()) == 0 ? 8 : 0;
    track.notes.push_back(Note{tick, beat * 9 / 10, pitch, Humanise(rng, velocity + accent, 6)});
  }
}

void AddDrum(const Song& song, Track& track, int firstBar, int bars, int drumNote, const std::string& pattern,
             uint64_t seed) {
  CheckGrid(song, pattern.size());
  synth::Rng rng(seed);
  const int64_t step = song.BarTicks() / static_cast<int64_t>(pattern.size());
  for (int bar = firstBar; bar < firstBar + bars; ++bar) {
    for (size_t s = 0; s < pattern.size(); ++s) {
      const char c = pattern[s];
      if (c == '.') continue;
      const int vel = c == 'X' ? 118 : c == 'x' ? 92 : c == 'o' ? 52 : -1;
      if (vel < 0) Fail(song, std::string("bad drum step '") + c + "'");
      track.notes.push_back(Note{bar * song.BarTicks() + static_cast<int64_t>(s) * step, 60, drumNote,
                                 Humanise(rng, vel, 5)});
    }
  }
}

void Swing(Song& song) {
  auto warp = [](int64_t t) {
    const int64_t beat = t / kTicksPerQuarter * kTicksPerQuarter, in = t % kTicksPerQuarter;
    const int64_t half = kTicksPerQuarter / 2, twoThirds = kTicksPerQuarter * 2 / 3;
    return beat + (in <= half ? in * twoThirds / half : twoThirds + (in - half) * (kTicksPerQuarter - twoThirds) / half);
  };
  for (Track& track : song.tracks) {
    for (Note& n : track.notes) {
      const int64_t end = warp(n.start + n.length);
      n.start = warp(n.start);
      n.length = std::max<int64_t>(1, end - n.start);
    }
  }
}

void Louder(Song& song, double decibels) {
  // Channel volume acts on the square of its value: 40 log10(v / 127) decibels.
  const double factor = std::pow(10.0, decibels / 40.0);
  for (Track& track : song.tracks)
    track.volume = std::clamp(static_cast<int>(std::lround(track.volume * factor)), 1, 127);
}

void Tidy(Song& song) {
  const int64_t end = song.EndTick();
  for (Track& track : song.tracks) {
    std::vector<Note>& notes = track.notes;
    notes.erase(std::remove_if(notes.begin(), notes.end(), [&](const Note& n) { return n.start >= end; }),
                notes.end());
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
      return a.start != b.start ? a.start < b.start : a.pitch < b.pitch;
    });
    // Same pitch struck again (or struck twice at once) ends the sounding note first.
    std::map<int, Note*> sounding;
    std::vector<Note> kept;
    kept.reserve(notes.size());
    for (Note& n : notes) {
      n.length = std::min(n.length, end - n.start);
      auto it = sounding.find(n.pitch);
      if (it != sounding.end() && it->second->start == n.start) {
        it->second->velocity = std::max(it->second->velocity, n.velocity);
        n.length = 0;  // a duplicate: drop it
        continue;
      }
      if (it != sounding.end() && it->second->start + it->second->length > n.start)
        it->second->length = n.start - it->second->start;
      sounding[n.pitch] = &n;
    }
    for (const Note& n : notes)
      if (n.length > 0) kept.push_back(n);
    notes = std::move(kept);
  }
}

}  // namespace assetgen::music
