// Harbour stage: a rolling sea tune in 6/8, accordion over rocking guitar and the sound of the sea.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kVerseStart =
    "E5q A4e A4q B4e | C5q D5e E5q C5e | D5q B4e G4q B4e | E5q. E5q D5e |"
    " C5q A4e E5q A5e | A5q G5e F5q E5e |";
const char* kVerseEnd = " D5q B4e E5q G#4e | A4h. |";
const char* kVerseEndHigh = " B4q D5e G#5q. | A5q. E5q. |";
const char* kVerseEndLoop = " D5q B4e E5q G#4e | A4q. R e B4e C5e |";
const char* kChorus =
    "G5q. E5q C5e | F5q A5e C6q. | G5q E5e G5q E5e | D5h. |"
    " E5q A5e C6q B5e | A5q F5e D5q F5e | E5q G#5e B5q G#5e | D5q. B4q. |";

}  // namespace

Song SeaTune() {
  Song song;
  song.name = "bgm3";
  song.bpm = 90;  // dotted quarter = 60
  song.meterTop = 6;
  song.meterBottom = 8;
  song.bars = 32;
  const std::string verse = "Am | C | G | Em | Am | F | G E | Am |";
  const auto chords = ParseChords(song, 0, verse + verse + "C | F | C | G | Am | Dm | E | E7 |" + verse);

  Track accordion = Instrument("Accordion", 0, 21, 92, 58, 50);
  AddMelody(song, accordion, 0, std::string(kVerseStart) + kVerseEnd, 92, 0.9);
  AddMelody(song, accordion, 8, std::string(kVerseStart) + kVerseEndHigh, 96, 0.9);
  AddMelody(song, accordion, 24, std::string(kVerseStart) + kVerseEndLoop, 96, 0.9);
  Track whistle = Instrument("Whistle", 1, 78, 80, 80, 70);
  AddMelody(song, whistle, 16, kChorus, 90, 0.95);
  AddMelody(song, whistle, 8, std::string(kVerseStart) + kVerseEndHigh, 64, 0.9, 12);

  Track guitar = Instrument("Guitar", 2, 24, 88, 40, 45);
  AddChordPattern(song, guitar, chords, 0, 32, "135853", 52, 74, 11);
  Track strings = Instrument("Strings", 3, 48, 66, 84, 70);
  AddComping(song, strings, chords, 16, 16, "", 57, 76, 58, 0, 12);
  Track bass = Instrument("Bass", 4, 32, 104, 64, 30);
  AddChordPattern(song, bass, chords, 0, 32, "1..5..", 33, 92, 13);
  Track sea = Instrument("Sea", 5, 122, 70, 64, 40);
  const char* swell = "A3h. | _h. | R h. | R h. | A3h. | _h. | R h. | R h. |";  // waves every four bars
  AddMelody(song, sea, 0, swell, 70);
  AddMelody(song, sea, 24, swell, 70);

  Track drums = Instrument("Drums", 9, 0, 84, 64, 40);
  AddDrum(song, drums, 0, 32, kKick, "x..o..", 14);
  AddDrum(song, drums, 0, 32, kTambourine, "..x..x", 15);
  AddDrum(song, drums, 0, 32, kMaracas, "oxooxo", 16);
  AddDrum(song, drums, 16, 8, kSideStick, "...x..", 17);
  for (int bar : {7, 15, 23, 31}) AddDrum(song, drums, bar, 1, kLowTom, "...xxx", 18 + bar);

  song.tracks = {accordion, whistle, guitar, strings, bass, sea, drums};
  Louder(song, 3);
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
