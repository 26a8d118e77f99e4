// The dark hall: tense and sparse, a celesta motif over a low pulse and a heartbeat drum.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kMotif =
    "E5q R e F5e E5q R q | R h. C5q | B4q R e C5e B4q R q | A4h. R q |"
    " G4q R e A4e B4q C5q | D#5h. R q | E5q. F#5e G5q F#5q | D#5h. R q |";
const char* kRise =
    "A4q. C5e E5h | D5q C5q B4h | G4q. B4e E5h | F#5q E5q D#5h |"
    " F5h. A5q | G5q F5q E5h | E5w | D#5h F#5h |";

}  // namespace

Song TenseTune() {
  Song song;
  song.name = "bgm4";
  song.bpm = 92;
  song.bars = 24;
  const std::string dread = "Em | F/E | Em | F/E | C/E | B7/D# | Em | B7 |";
  const auto chords = ParseChords(song, 0, dread + "Am | Am | Em | Em | F | F | B7sus4 | B7 |" + dread);

  Track celesta = Instrument("Celesta", 0, 8, 96, 70, 80);
  AddMelody(song, celesta, 0, kMotif, 90, 0.9);
  Track oboe = Instrument("Oboe", 1, 68, 88, 54, 70);
  AddMelody(song, oboe, 8, kRise, 82, 0.97);
  Track vibes = Instrument("Vibraphone", 2, 11, 84, 76, 80);
  AddMelody(song, vibes, 16, kMotif, 84, 0.9, 12);
  AddMelody(song, celesta, 16, kMotif, 60, 0.9);

  Track tremolo = Instrument("Tremolo strings", 3, 44, 72, 50, 70);
  AddComping(song, tremolo, chords, 0, 24, "", 52, 67, 54, 0, 31);
  Track pizz = Instrument("Pizzicato", 4, 45, 88, 84, 40);
  AddChordPattern(song, pizz, chords, 0, 24, "1-1-1-1-", 40, 78, 32);
  Track bass = Instrument("Contrabass", 5, 43, 96, 60, 40);
  AddChordPattern(song, bass, chords, 0, 24, "1.......", 28, 84, 33);
  Track timpani = Instrument("Timpani", 6, 47, 90, 64, 50);
  AddChordPattern(song, timpani, chords, 0, 24, "1---", 40, 80, 34);

  Track drums = Instrument("Drums", 9, 0, 82, 64, 50);
  AddDrum(song, drums, 0, 24, kKick, "X..x............", 35);
  AddDrum(song, drums, 8, 16, kMaracas, "..o...o...o...o.", 36);
  AddDrum(song, drums, 8, 8, kSideStick, "............o...", 37);
  AddDrum(song, drums, 23, 1, kLowTom, "........x...x.x.", 38);

  song.tracks = {celesta, oboe, vibes, tremolo, pizz, bass, timpani, drums};
  Louder(song, 2);
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
