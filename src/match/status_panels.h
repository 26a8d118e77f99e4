#pragma once
// The status strip under the 3D view, and the characters' cheers.
namespace kelmora {
struct Game;

// Redraws the whole status strip from the current state.
void DrawPanels(Game& g);
// Plays the cheer of the character of seat `seat`; an empty seat is silent.
void PlayVoice(Game& g);

}  // namespace kelmora
