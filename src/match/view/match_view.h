#pragma once
// The view of a match: the scene it is drawn in, the logical screen with the status strip,
// the sprite sheets and the sounds. It is built at the match's set-up from the rules' state,
// posed from that state after every tick, and plays the tick's events; it never changes the
// rules' state.
#include <SDL.h>

#include <array>
#include <string>

#include "audio/dx7_snd_support.h"
#include "match/match_state.h"
#include "match/view/scene_pose.h"
#include "match/view/status_panels.h"
#include "scene/scene_handles.h"

namespace kelmora::platform {
class Screen;
class Window;
}  // namespace kelmora::platform
namespace kelmora::audio {
class Music;
}
namespace kelmora::scene {
class Scene;
}

namespace kelmora {

// The objects of the match's scene, made at its set-up and released at its end.
struct MatchScene {
  scene::ObjectHandle clipper, d3drm, device;
  scene::ViewportHandle viewport;
  scene::FrameHandle sceneFrame, cameraFrame, cameraTarget;
  scene::FrameHandle lightFrame;
  scene::LightHandle light;
  scene::FrameHandle stageFrame, blockFrame;
  std::array<scene::FrameHandle, 4> backFrames{};
  scene::MeshHandle meshBuilder;
  std::array<scene::FrameHandle, kSeats> playerFrames{};
  std::array<scene::AnimationSetHandle, kSeats> playerAnims{};
  scene::FrameHandle fireFrame;
  scene::AnimationSetHandle fireAnim;
  scene::FrameHandle bear2Frame, fish2Frame, cursorFrame, itemFrame, messageFrame;
  std::array<scene::FrameHandle, kPileSlots> snowFrames{};
  std::array<scene::FrameHandle, kDecoySlots> decoyFrames{};
  std::array<scene::FrameHandle, kNetSlots> netFrames{};
  std::array<scene::TextureHandle, kTextureSlots> textures{};
  // What the decision shows, made at the set-up and switched on when the match is decided:
  // the light that follows the winner on the dark stage, and the winner's board (or the draw's).
  scene::FrameHandle decisionLightFrame;
  scene::LightHandle decisionLight;
  scene::FrameHandle winnerFrame;
  scene::MeshHandle winnerBoard;
  // The board's texture for a shared top score ("DRAW").
  scene::TextureHandle drawTexture;
};

struct MatchView {
  MatchView(scene::Scene& scn, platform::Screen& scr, platform::Window& win, audio::Dx7DSndSupport& sound,
            audio::SoundTable& sounds, audio::Music& tunes, const std::string& folder)
      : scene(scn), screen(scr), window(win), snd(sound), soundTable(sounds), music(tunes), programFolder(folder) {}

  scene::Scene& scene;
  platform::Screen& screen;
  platform::Window& window;
  audio::Dx7DSndSupport& snd;
  audio::SoundTable& soundTable;
  audio::Music& music;
  // Folder of the program's model/, tex/ and sound/ folders.
  const std::string& programFolder;
  // The sprite sheets held by Image1 (MenuSheet) and Image2 (CharacterSheet).
  SDL_Surface* menuSheet = nullptr;
  SDL_Surface* characterSheet = nullptr;

  MatchScene objects;
  // What the scene was last posed at, so that only what moved is placed again.
  ScenePose posed;
  bool posedValid = false;
  // The poses of the last two ticks (tickPoses of them so far in this match), which pictures
  // between ticks are blended from; and whether the match loop draws those pictures (the real
  // window), so that a tick's render only takes its pose.
  ScenePose previousTickPose, tickPose;
  int tickPoses = 0;
  bool picturesBetweenTicks = false;
  bool decisionShown = false;
  // What the status strip shows.
  StripShown stripShown;

  // Full path of an asset given as "\\model\\bear.x".
  std::string Asset(const char* path) const;
};

// Applies the display mode: the logical screen size and the two picture boxes.
void ApplyDisplayMode(platform::Screen& screen, int16_t displayMode);
// Builds the scene of the match from the rules' state as the set-up left it: display, seats,
// stage, music, light, piles, boards and what the decision will show, then the seats at
// their starts.
void BuildMatchScene(MatchView& v, const MatchState& st);
// Poses the whole scene from the rules' state.
void PoseScene(MatchView& v, const MatchState& st);
// Poses the scene, clears the viewport, renders the scene and shows the screen; while the loop
// draws pictures between ticks, only takes the tick's pose for them.
void RenderMatch(MatchView& v, const MatchState& st);
// Poses the scene `f` of the way from the previous tick's pose to the latest tick's (f 1: as
// the latest tick rendered it), renders it and shows the screen. False, with nothing drawn,
// before the match's first tick.
bool RenderBetweenTicks(MatchView& v, double f);
// Plays sound table entry id.
void PlaySound(MatchView& v, int id);

}  // namespace kelmora
