// The last stage: driving and fast, synth bass in octaves, a square arpeggio and a saw lead.
#include "music_tunes.h"

namespace assetgen::music {

namespace {

const char* kLead =
    "E5e E5e G5e E5e B5q A5e G5e | G5e E5e C5e E5e G5q C6q | B5e A5e G5e D5e B4q D5q | F#5q. E5e D5q F#5q |"
    " E5e E5e G5e E5e B5q A5e G5e | E6q. D6e C6q G5q | A5e B5e A5e G5e F#5q D5q | D#5h F#5q A5q |";
const char* kBreak = "G5w | A5w | B5h. G5q | E5w | C6h. B5q | G5h. E5q | F#5h D#5h | B5h A5h |";

}  // namespace

Song DrivingTune() {
  Song song;
  song.name = "bgm6";
  song.bpm = 160;
  song.bars = 32;
  const std::string run = "Em | C | G | D | Em | C | D | B7 |";
  const auto chords = ParseChords(song, 0, run + run + "C | D | Em | Em | Am | C | B7 | B7 |" + run);

  Track lead = Instrument("Lead", 0, 81, 100, 70, 0);
  AddMelody(song, lead, 8, kLead, 100, 0.85);
  AddMelody(song, lead, 16, kBreak, 92, 0.95);
  AddMelody(song, lead, 24, kLead, 104, 0.85);
  Track arp = Instrument("Arpeggio", 1, 80, 70, 40, 0);
  AddChordPattern(song, arp, chords, 0, 16, "1358135813581358", 64, 84, 61);
  AddChordPattern(song, arp, chords, 24, 8, "1358135813581358", 64, 84, 62);
  Track pad = Instrument("Pad", 2, 89, 66, 88, 0);
  AddComping(song, pad, chords, 0, 32, "", 55, 72, 80, 0, 63);
  Track bass = Instrument("Bass", 3, 38, 110, 64, 0);
  AddChordPattern(song, bass, chords, 0, 16, "18181858", 28, 100, 64);
  AddChordPattern(song, bass, chords, 16, 8, "1...5...", 28, 96, 65);
  AddChordPattern(song, bass, chords, 24, 8, "18181858", 28, 104, 66);

  Track drums = Instrument("Drums", 9, 0, 100, 64, 0);
  for (int section : {0, 8, 24}) {
    AddDrum(song, drums, section, 8, kKick, "x...x...x...x...", 67 + section);
    AddDrum(song, drums, section, 7, kClap, "....x.......x...", 68 + section);
    AddDrum(song, drums, section, 8, kClosedHat, "xoxoxoxoxoxoxoxo", 69 + section);
    AddDrum(song, drums, section + 7, 1, kSnare, "....x...x.x.xxxx", 70 + section);
    AddDrum(song, drums, section, 1, kCrash, "X...............", 71 + section);
  }
  AddDrum(song, drums, 24, 8, kOpenHat, "..x...x...x...x.", 72);
  AddDrum(song, drums, 16, 8, kKick, "x.......x.......", 73);
  AddDrum(song, drums, 16, 7, kSnare, "........x.......", 74);
  AddDrum(song, drums, 16, 8, kClosedHat, "x.x.x.x.x.x.x.x.", 75);
  AddDrum(song, drums, 23, 1, kSnare, "x.x.x.x.xxxxXXXX", 76);
  AddDrum(song, drums, 16, 1, kCrash, "X...............", 77);

  song.tracks = {lead, arp, pad, bass, drums};
  Tidy(song);
  return song;
}

}  // namespace assetgen::music
