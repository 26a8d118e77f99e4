#pragma once
// The world work of a tick that belongs to no seat.
namespace kelmora {
struct Game;

// The two swaying stages and the scrolling backdrop.
void StageMotionStep(Game& g);
// The roaming spotlight of the dark stage.
void SpotlightStep(Game& g);
// The falling power-up and its collection.
void PowerUpStep(Game& g);
// The camera's aim at the seats, and the stomp shake.
void CameraStep(Game& g);

}  // namespace kelmora
