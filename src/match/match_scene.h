#pragma once
// The scene work of a match: building the stage, the hurry and winner boards, the winner
// presentation and the render of each tick.
namespace kelmora {
struct Game;

// Applies the display mode: the logical screen size and the two picture boxes.
void ApplyDisplayMode(Game& g);
// Builds the scene of the match: device, frames, camera, seats, stage, light, piles, boards.
void BuildMatchScene(Game& g);
// Turns every seat's model towards the arena centre and puts it at its start place.
void PlaceSeatsAtTheirStart(Game& g);
// The hurry board in front of the camera.
void ShowHurryBoard(Game& g);
// The scene side of the winner decision: light, boards. `draw` = no single winner.
void PresentDecision(Game& g, bool draw);
// Camera, light and board over the winner (or the arena centre for a draw), every tick.
void PresentWinner(Game& g, bool draw);
// Clears the viewport, renders the scene and shows the screen.
void RenderMatch(Game& g);

}  // namespace kelmora
