#pragma once
// Renders a composed song with our own synthesizer into a seamless stereo loop: anything that
// rings past the last bar line wraps round to the start, so the wave loops without a bump.
//
// Instruments by General MIDI program: 38 synth bass, 80 square arpeggio, 81 saw lead (with a
// ping-pong echo), 89 pad; channel 9 is the drum kit (kick, snare, clap, hats, crash).
#include "music_song.h"
#include "wav_writer.h"

namespace assetgen {

// 44.1 kHz stereo, exactly the song's length, peaks at three quarters of full scale.
Audio RenderSong(const music::Song& song);

}  // namespace assetgen
