#pragma once
// A tune as notes on a tick grid, and the helpers that compose one: chord progressions, melody
// lines written as note names, chord-relative patterns for bass and accompaniment, drum grids.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace assetgen::music {

constexpr int kTicksPerQuarter = 480;

struct Note {
  int64_t start = 0, length = 0;  // ticks
  int pitch = 60;                 // MIDI note number
  int velocity = 100;
};

struct Track {
  std::string name;
  int channel = 0;  // 0-based; 9 is the drum channel
  int program = 0;  // General MIDI program, 0-based
  int volume = 100, pan = 64, reverb = 40, chorus = 0;
  std::vector<Note> notes;
};

inline Track Instrument(std::string name, int channel, int program, int volume, int pan, int reverb,
                        int chorus = 0) {
  Track t;
  t.name = std::move(name);
  t.channel = channel;
  t.program = program;
  t.volume = volume;
  t.pan = pan;
  t.reverb = reverb;
  t.chorus = chorus;
  return t;
}

struct Song {
  std::string name;
  double bpm = 120;          // quarter notes per minute
  int meterTop = 4, meterBottom = 4;
  int bars = 0;
  std::vector<Track> tracks;

  int64_t BarTicks() const { return static_cast<int64_t>(kTicksPerQuarter) * 4 * meterTop / meterBottom; }
  int64_t EndTick() const { return BarTicks() * bars; }
  double Seconds() const { return static_cast<double>(EndTick()) / kTicksPerQuarter * 60.0 / bpm; }
  double TickSeconds() const { return 60.0 / bpm / kTicksPerQuarter; }
};

struct Chord {
  int64_t start = 0, length = 0;
  int root = 0;               // pitch class, 0 = C
  int bass = 0;               // pitch class of the bass note (differs in slash chords)
  std::vector<int> intervals; // from the root, first is 0
};

// Chords bar by bar: "C | Am | F G7 | Dm7/A". A bar with several chords splits evenly.
// Qualities: (none) m 7 m7 maj7 dim m7b5 dim7 sus4 7sus4 6 m6 aug.
std::vector<Chord> ParseChords(const Song& song, int firstBar, const std::string& text);
const Chord& ChordAt(const std::vector<Chord>& chords, int64_t tick);

// A melody from note names with durations, bar lines checked: "E5e G5e C6q | A5h. R q".
// Durations: w h q e s, '.' dotted, 't' triplet; a note without one repeats the last.
// "_q" ties a further quarter onto the previous note. gate < 1 shortens every note.
void AddMelody(const Song& song, Track& track, int firstBar, const std::string& text, int velocity,
               double gate = 0.92, int transpose = 0);

// One character per step, the bar split evenly into the pattern's steps:
//   1 root, 3 third, 5 fifth, 7 seventh (or octave), 8 octave, 9 ninth, A approach to the next
//   chord's root, '.' holds the previous note, '-' rest. The root sits at the lowest pitch >= low.
void AddChordPattern(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                     const std::string& pattern, int low, int velocity, uint64_t seed);

// Chords struck on the steps marked 'x' (accented 'X'), voiced within [low, high] with smooth
// voice leading; each chord lasts `steps` steps (0: until the chord changes).
void AddComping(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                const std::string& pattern, int low, int high, int velocity, int steps, uint64_t seed);

// A walking bass: a note a beat, roots where the chord changes, approach notes before them.
void AddWalkingBass(const Song& song, Track& track, const std::vector<Chord>& chords, int firstBar, int bars,
                    int low, int velocity, uint64_t seed);

// Drum grid for one drum: 'X' accent, 'x' normal, 'o' ghost, '.' nothing; repeats every bar.
void AddDrum(const Song& song, Track& track, int firstBar, int bars, int drumNote, const std::string& pattern,
             uint64_t seed);

// Swings every track: off-beat eighths move to the last third of the beat.
void Swing(Song& song);

// Raises (or lowers) every track's channel volume by about this many decibels.
void Louder(Song& song, double decibels);

// Sorted notes, clipped to the song's end, no overlapping notes of the same pitch in a track.
void Tidy(Song& song);

}  // namespace assetgen::music
