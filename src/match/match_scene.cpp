#include "match/match_scene.h"

#include "audio/music.h"
#include "match/game.h"
#include "match/players/seat_facing.h"
#include "platform/screen.h"
#include "scene/display_setup.h"
#include "scene/scene.h"
#include "scene/stage_construction.h"
#include "scene/stage_table.h"

namespace kelmora {

void ApplyDisplayMode(Game& g) {
  auto& s = g.screen;
  if (g.st.displayMode == 80) {
    s.SetMode(320, 240);
    s.Picture1.place = platform::Rect{0, 215, 320, 25};
    s.Picture2.place = platform::Rect{0, 0, 320, 215};
  } else {
    s.SetMode(640, 480);
    s.Picture1.place = platform::Rect{0, 430, 640, 50};
    s.Picture2.place = platform::Rect{0, 0, 640, 430};
  }
}

void BuildMatchScene(Game& g) {
  // The set-up loads its files from the first while the other core parses them from the last.
  scene::ParseAhead(MatchFiles(g), true);
  SetUpDisplay(g);
  BuildSeatsFireAndStageFrame(g);
  BuildStageBranch(g);
  SetUpLight(g);
  BuildFieldObjects(g);
  SetViewportBack(g);
}

void PlaceSeatsAtTheirStart(Game& g) {
  // Each seat starts facing the arena's middle, as a stick held that way would turn it.
  static constexpr int16_t kStickX[kSeats] = {1, -1, 1, -1};
  static constexpr int16_t kStickZ[kSeats] = {1, 1, -1, -1};
  for (int s = 0; s < kSeats; ++s) {
    FaceStick(g.scene, g.seatFacings[s], g.st.playerFrames[s], kStickX[s], kStickZ[s]);
    g.scene.SetPosition(g.st.playerFrames[s], {}, g.st.posX[s], g.st.sway[0], g.st.posZ[s]);
  }
}

void ShowHurryBoard(Game& g) { g.scene.SetPosition(g.st.messageFrame, {}, 0, 150, -250); }

void PresentDecision(Game& g, bool draw) {
  auto& st = g.st;
  auto& sc = g.scene;
  if (st.stage == scene::kDarkStage) {
    st.lightFrame = sc.CreateFrame(st.sceneFrame);
    st.light = sc.CreateLight(scene::LightKind::Point, 1, 1, 1);
    sc.AddLight(st.lightFrame, st.light);
  }
  sc.SetPosition(st.messageFrame, {}, kFreeSlot, 0, 0);
  g.music.MusicStop("BGM");
  st.messageFrame = sc.CreateFrame(st.sceneFrame);
  st.meshBuilder = sc.CreateMeshBuilder();
  sc.LoadMesh(st.meshBuilder, g.Asset("\\model\\message.x"));
  if (draw) {
    // Nobody won: the board stays out of sight.
    sc.SetPosition(st.messageFrame, {}, kFreeSlot, 0, 0);
    return;
  }
  sc.SetTexture(st.meshBuilder, st.textures[st.winner + 1]);
  sc.AddVisual(st.messageFrame, st.meshBuilder);
}

void PresentWinner(Game& g, bool draw) {
  auto& st = g.st;
  auto& sc = g.scene;
  if (draw) {
    // A draw: the camera and the light over the arena centre.
    sc.SetPosition(st.lightFrame, {}, 0, 250, -500);
    sc.SetPosition(st.cameraFrame, {}, 0, 250, -500);
    sc.SetPosition(st.cameraTarget, {}, 0, 0, 0);
    sc.LookAt(st.cameraFrame, st.cameraTarget);
    return;
  }
  const int w = st.winner;
  sc.SetPosition(st.lightFrame, {}, st.posX[w], 250, st.posZ[w] - 500);
  sc.SetPosition(st.cameraFrame, {}, st.posX[w], 250, st.posZ[w] - 500);
  sc.LookAt(st.cameraFrame, st.playerFrames[w]);
  sc.SetPosition(st.messageFrame, {}, st.posX[w], 50, st.posZ[w] - 200);
}

}  // namespace kelmora
