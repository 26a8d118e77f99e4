#pragma once
// The end of a match's scene.
namespace kelmora {
struct MatchView;

// Releases the scene objects of the match; a second release does nothing.
void ReleaseScene(MatchView& v);

}  // namespace kelmora
