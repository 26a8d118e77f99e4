// Second stage: a sly night swing in D minor, vibraphone and tenor sax over walking bass.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kTheme =
    "R e A4e D5e F5e A5q F5e D5e | E5e F5e E5e D5e C5q. R e | R e G4e Bb4e D5e F5q D5e Bb4e | C5e D5e C5e Bb4e A4h |"
    " R e A4e D5e F5e A5e C6e A5e F5e | Ab5q G5e F5e E5e G5e C#5e E5e | D5q. E5e F5e E5e D5q |";
const char* kTurnaround = " R q G5e E5e R e C#5e A4q |";
const char* kBreak = " R h. F5e D5e |";
const char* kBridge =
    "D5q. F5e A5q G5q | E5h Bb4q C5q | A4q. C5e E5q F5q | A5h. R q |"
    " G5e F5e E5e D5e Bb4q G4q | C#5q. E5e G5q Bb5q | A5e F5e D5e F5e B4e D5e F5e G5e | Bb5q G5q E5e C#5e A4q |";

}  // namespace

Song NightSwingTune() {
  Song song;
  song.name = "bgm2";
  song.bpm = 116;
  song.bars = 32;
  const std::string verse = "Dm7 | Dm7 | Gm7 | Gm7 | Dm7 | Bb7 A7 | Dm7 |";
  const auto chords = ParseChords(song, 0,
      verse + " Em7b5 A7 |" + verse + " Dm7 |" +
      "Gm7 | C7 | Fmaj7 | Dm7 | Em7b5 | A7 | Dm7 G7 | Em7b5 A7 |" + verse + " Em7b5 A7");

  Track vibes = Instrument("Vibraphone", 0, 11, 100, 50, 60);
  AddMelody(song, vibes, 0, std::string(kTheme) + kTurnaround, 92, 0.85);
  AddMelody(song, vibes, 24, std::string(kTheme) + kTurnaround, 96, 0.85);
  Track sax = Instrument("Tenor sax", 1, 66, 92, 78, 55);
  AddMelody(song, sax, 8, std::string(kTheme) + kBreak, 88, 0.9);
  AddMelody(song, sax, 16, kBridge, 92, 0.95);

  Track piano = Instrument("Piano", 2, 0, 78, 40, 45);
  AddComping(song, piano, chords, 0, 32, "x.....x.........", 53, 70, 64, 2, 21);
  Track bass = Instrument("Bass", 3, 32, 110, 64, 25);
  AddWalkingBass(song, bass, chords, 0, 32, 33, 92, 22);

  Track drums = Instrument("Drums", 9, 0, 90, 64, 35);
  AddDrum(song, drums, 0, 32, kRide, "x...x.x.x...x.x.", 23);
  AddDrum(song, drums, 0, 32, kPedalHat, "....x.......x...", 24);
  AddDrum(song, drums, 0, 32, kKick, "o...o...o...o...", 25);
  for (int bar : {7, 15, 23, 31}) AddDrum(song, drums, bar, 1, kSnare, "........o.x.x.X.", 26 + bar);
  for (int bar = 0; bar < 32; bar += 8) AddDrum(song, drums, bar, 7, kSideStick, "..........o.....", 60 + bar);

  song.tracks = {vibes, sax, piano, bass, drums};
  Swing(song);
  Louder(song, 3);
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
