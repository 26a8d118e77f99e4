#pragma once
// The check a tune passes before the game opens it: a whole Standard MIDI File, every track
// present and ending with its end-of-track event, and its length listed in
// music-lengths.txt beside it (the loop poll times the tune by that length).
#include <string>

namespace kelmora::audio {

// Throws platform::AssetError naming the tune, or the list of lengths, and what is wrong.
void CheckTuneFile(const std::string& path);

// What is wrong with MIDI file bytes; empty when they hold a whole file.
std::string MidiProblem(const std::string& bytes);

}  // namespace kelmora::audio
