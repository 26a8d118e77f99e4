// Menu and first stage: cheerful and bouncy, flute and bells over piano off-beats.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kVerse =
    "E5e G5e C6q G5e E5e G5q | A5e G5e F5e A5e C6h | B5e A5e G5e F5e D5q G5q | E5e D5e C5q R q G4q |"
    " C5e E5e A5q A5e G5e A5q | C6e A5e F5q F5e E5e F5q | F#5e A5e D6q C6e A5e F#5q | G5q F5e D5e B4q R q |";
const char* kVerseAgain =
    "E5e G5e C6q G5e E5e G5q | A5e G5e F5e A5e C6h | D6e C6e B5e A5e G5e A5e B5q | G5e E5e B4q A4e C#5e E5q |"
    " F5e E5e D5q A5q F5q | G5e F5e D5e B4e G4q B4q | C5q E5q G5q C6q | C6h R h |";
const char* kBridge =
    "A4q. C5e F5q A5q | G5h. D5q | E5q. G5e B5q G5q | A5h. E5q |"
    " F5q. A5e D6q C6q | B5q A5q G5q F5q | E5q G5q C6q E6q | D6e C6e B5e A5e G5e F5e E5e D5e |";
const char* kVerseLast =
    "E5e G5e C6q G5e E5e G5q | A5e G5e F5e A5e C6h | B5e A5e G5e F5e D5q G5q | E5e D5e C5q R q G4q |"
    " C5e E5e A5q A5e G5e A5q | C6e A5e F5q F5e E5e F5q | B5e A5e G5e F5e D5e E5e F5e D5e | C5q G4q B4q D5q |";

}  // namespace

Song CheerfulTune() {
  Song song;
  song.name = "bgm";
  song.bpm = 144;
  song.bars = 32;
  const auto chords = ParseChords(song, 0,
      "C | F | G | C | Am | F | D7 | G7 |"
      "C | F | G | Em A7 | Dm | G7 | C | C |"
      "F | G | Em | Am | Dm | G | C | G7 |"
      "C | F | G | C | Am | F | G7 | C G7");

  Track flute = Instrument("Flute", 0, 73, 100, 64, 50);
  AddMelody(song, flute, 0, kVerse, 96, 0.8);
  AddMelody(song, flute, 8, kVerseAgain, 96, 0.8);
  AddMelody(song, flute, 24, kVerseLast, 100, 0.8);
  Track clarinet = Instrument("Clarinet", 1, 71, 96, 54, 50);
  AddMelody(song, clarinet, 16, kBridge, 92, 0.95);
  Track bells = Instrument("Bells", 2, 9, 62, 76, 60);
  AddMelody(song, bells, 0, kVerse, 80, 0.6, 12);
  AddMelody(song, bells, 24, kVerseLast, 80, 0.6, 12);

  Track piano = Instrument("Piano", 3, 0, 86, 44, 40);
  AddComping(song, piano, chords, 0, 16, "..x...x...x...x.", 55, 72, 76, 1, 31);
  AddComping(song, piano, chords, 16, 8, "x.....x.....x...", 55, 72, 70, 3, 32);
  AddComping(song, piano, chords, 24, 8, "..x...x...x...x.", 55, 72, 78, 1, 33);
  Track strings = Instrument("Strings", 4, 48, 70, 80, 70);
  AddComping(song, strings, chords, 16, 8, "", 60, 79, 62, 0, 34);
  Track pizz = Instrument("Pizzicato", 5, 45, 78, 90, 50);
  AddChordPattern(song, pizz, chords, 8, 8, "1358-8-5", 60, 70, 35);
  AddChordPattern(song, pizz, chords, 24, 8, "1358-8-5", 60, 70, 36);

  Track bass = Instrument("Bass", 6, 32, 104, 64, 20);
  AddChordPattern(song, bass, chords, 0, 16, "1-5-8-5-", 36, 96, 37);
  AddChordPattern(song, bass, chords, 16, 8, "1..35..A", 36, 90, 38);
  AddChordPattern(song, bass, chords, 24, 8, "1-5-8-5-", 36, 96, 39);

  Track drums = Instrument("Drums", 9, 0, 96, 64, 30);
  const char* kick = "x.......x.x.....";
  const char* snare = "....x.......x...";
  const char* hats = "x.x.x.x.x.x.x.x.";
  for (int section = 0; section < 4; ++section) {
    const int at = section * 8;
    AddDrum(song, drums, at, 7, kKick, kick, 40 + at);
    AddDrum(song, drums, at, 7, kSnare, section == 2 ? "....o.......o..." : snare, 41 + at);
    AddDrum(song, drums, at, 8, kClosedHat, section == 2 ? "x...x...x...x..." : hats, 42 + at);
    AddDrum(song, drums, at + 7, 1, kKick, "x.......x.......", 43 + at);
    AddDrum(song, drums, at + 7, 1, kSnare, "....x...x.x.xxXX", 44 + at);
    AddDrum(song, drums, at, 1, kCrash, "X...............", 45 + at);
  }
  AddDrum(song, drums, 24, 8, kTambourine, "....x.......x...", 50);

  song.tracks = {flute, clarinet, bells, piano, strings, pizz, bass, drums};
  Louder(song, 1);
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
