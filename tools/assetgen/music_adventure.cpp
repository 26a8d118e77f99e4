// The raft: adventurous, horn and trumpet over galloping strings, brass stabs and timpani.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kCall =
    "D5q. A4e D5e E5e F5q | G5q F5e D5e Bb4h | C5q. G4e C5e D5e E5q | F5q E5e D5e A4h |";
const char* kAnswer = " D5q. A4e D5e E5e F5q | G5q A5e Bb5e D6h | C6q Bb5e A5e G5q E5q | A5h. R q |";
const char* kAnswerLow = " Bb4q. D5e G5h | F5q D5e Bb4e F5q D5q | E5q. C#5e A4q E5q | A5h. R q |";
const char* kBridge =
    "A5q. F5e C6h | G5q. E5e C5h | D5q F5q Bb5q D6q | C6h. A5q |"
    " Bb5q. A5e G5q D5q | E5q G5q C6q E6q | D6q. C6e Bb5q F5q | E5h C#5q E5q |";

}  // namespace

Song AdventureTune() {
  Song song;
  song.name = "bgm5";
  song.bpm = 132;
  song.bars = 32;
  const std::string call = "Dm | Bb | C | Dm |";
  const auto chords = ParseChords(song, 0,
      call + " Dm | Bb | C | A |" + call + " Gm | Bb | A | A |" + "F | C | Bb | F | Gm | C | Bb | A |" + call +
      " Dm | Bb | C | A");

  Track horn = Instrument("Horn", 0, 60, 104, 56, 60);
  AddMelody(song, horn, 0, std::string(kCall) + kAnswer, 100, 0.9);
  AddMelody(song, horn, 8, std::string(kCall) + kAnswerLow, 100, 0.9);
  AddMelody(song, horn, 24, std::string(kCall) + kAnswer, 104, 0.9);
  Track trumpet = Instrument("Trumpet", 1, 56, 96, 72, 60);
  AddMelody(song, trumpet, 16, kBridge, 100, 0.9);
  AddMelody(song, trumpet, 24, std::string(kCall) + kAnswer, 72, 0.9);

  Track strings = Instrument("Strings", 2, 48, 84, 40, 55);
  AddChordPattern(song, strings, chords, 0, 32, "15851585", 50, 80, 41);
  Track brass = Instrument("Brass", 3, 61, 80, 88, 50);
  AddComping(song, brass, chords, 8, 24, "x..x..x...x..x..", 55, 70, 78, 1, 42);
  Track bass = Instrument("Bass", 4, 33, 104, 64, 20);
  AddChordPattern(song, bass, chords, 0, 32, "1.111.111.111.11", 33, 92, 43);
  Track timpani = Instrument("Timpani", 5, 47, 92, 64, 50);
  AddChordPattern(song, timpani, chords, 0, 32, "1-----1-", 38, 88, 44);

  Track drums = Instrument("Drums", 9, 0, 92, 64, 35);
  for (int section = 0; section < 4; ++section) {
    const int at = section * 8;
    AddDrum(song, drums, at, 7, kKick, "x.......x.x.....", 45 + at);
    AddDrum(song, drums, at, 7, kSnare, "....x.......x..o", 46 + at);
    AddDrum(song, drums, at, 8, kClosedHat, "x.x.x.x.x.x.x.x.", 47 + at);
    AddDrum(song, drums, at, 1, kCrash, "X...............", 48 + at);
    AddDrum(song, drums, at + 7, 1, kKick, "x...............", 49 + at);
    AddDrum(song, drums, at + 7, 1, kHighTom, "....x.x.........", 50 + at);
    AddDrum(song, drums, at + 7, 1, kMidTom, "........x.x.....", 51 + at);
    AddDrum(song, drums, at + 7, 1, kLowTom, "............x.x.", 52 + at);
    AddDrum(song, drums, at + 7, 1, kSnare, "............XXXX", 53 + at);
  }

  song.tracks = {horn, trumpet, strings, brass, bass, timpani, drums};
  Louder(song, -4.5);
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
