#pragma once
// The game's tunes, each a complete loop that ends on a bar line.
#include "music_song.h"

namespace assetgen::music {

Song CheerfulTune();     // menu and the sunny yard
Song NightSwingTune();   // the night courtyard
Song SeaTune();          // the harbour
Song TenseTune();        // the dark hall
Song AdventureTune();    // the raft
Song DrivingTune();      // the platform over the scrolling backdrop (rendered to a wave)

// General MIDI drum keys used by the tunes.
enum Drum {
  kKick = 36, kSideStick = 37, kSnare = 38, kClap = 39, kClosedHat = 42, kLowTom = 45, kPedalHat = 44,
  kOpenHat = 46, kMidTom = 47, kHighTom = 50, kCrash = 49, kRide = 51, kTambourine = 54, kMaracas = 70,
  kFloorTom = 41,
};

}  // namespace assetgen::music
