#pragma once
namespace kelmora {
struct Game;

// Stops a running loop (running = 0) and releases the scene objects of the match.
void ReleaseScene(Game& g);

}  // namespace kelmora
