#pragma once
// Standard MIDI Files (type 1) from a composed song.
#include "assetgen.h"
#include "music_song.h"

namespace assetgen::music {

// Microseconds per quarter note as stored in the file's tempo event.
int TempoMicroseconds(const Song& song);
// The length of the song as the file plays it: from the start to the end of the last bar.
double FileSeconds(const Song& song);
// Conductor track (tempo, metre) first, then one track per instrument with its program,
// volume, pan, reverb and chorus set at the start. Every track ends exactly on the last bar line.
Bytes EncodeMidi(const Song& song);

}  // namespace assetgen::music
