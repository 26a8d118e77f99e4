#pragma once
// Starting SDL for a run in the window: the display, then joysticks and pads.

namespace kelmora {

// Starts SDL's video, joystick and game controller parts. Without a display to show the window
// on (SDL found none, or fell back to a driver that shows nothing while no driver was asked
// for in SDL_VIDEODRIVER) it prints one line that says so and returns false, with SDL shut
// down again. Joysticks and pads that cannot start leave the seats idle, with a line that
// says so.
bool StartWindowedSdl();

}  // namespace kelmora
