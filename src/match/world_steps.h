#pragma once
// The world work of a tick that belongs to no seat.
namespace kelmora {
struct Rules;

// The two swaying stages and the scrolling backdrop.
void StageMotionStep(Rules& r);
// The roaming spotlight of the dark stage.
void SpotlightStep(Rules& r);
// The falling power-up and its collection.
void PowerUpStep(Rules& r);
// The stomp shake of the camera.
void CameraStep(Rules& r);

}  // namespace kelmora
