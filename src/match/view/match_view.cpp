#include "match/view/match_view.h"

#include <algorithm>
#include <vector>

#include "match/stage_table.h"
#include "platform/asset_path.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "match/view/display_setup.h"
#include "match/view/stage_construction.h"
#include "scene/scene.h"

namespace kelmora {

namespace {

void Place(scene::Scene& sc, scene::FrameHandle frame, const ObjectPlace& at) {
  sc.SetPosition(frame, {}, at.x, at.y, at.z);
}

// Turns a seat's model to face the way the stick (x, z) points (z +1 faces towards lower z).
void Turn(scene::Scene& sc, scene::FrameHandle frame, double x, double z) {
  sc.SetOrientation(frame, {}, glm::dvec3(x, 0, -z), glm::dvec3(0, 1, 0));
}

// Places the frames of a row whose places changed since they were last placed (all of them
// when `all`), in one call.
template <size_t N>
void PlaceRow(scene::Scene& sc, const std::array<scene::FrameHandle, N>& frames, const std::array<ObjectPlace, N>& at,
              const std::array<ObjectPlace, N>& was, bool all) {
  std::array<scene::FramePlacement, N> moved;
  size_t n = 0;
  for (size_t k = 0; k < N; ++k) {
    if (all || !(at[k] == was[k])) moved[n++] = {frames[k], at[k].x, at[k].y, at[k].z};
  }
  sc.SetPositions(std::span<const scene::FramePlacement>(moved.data(), n));
}

// The seats' models: where they stand, which way they turn and the frame they are posed at.
void PoseSeats(MatchView& v, const ScenePose& p, bool all) {
  auto& o = v.objects;
  for (int s = 0; s < kSeats; ++s) {
    if (!p.playing[s]) continue;
    const SeatPose& seat = p.seats[s];
    const SeatPose& was = v.posed.seats[s];
    if (all || !(seat.place == was.place)) Place(v.scene, o.playerFrames[s], seat.place);
    if (all || seat.turnX != was.turnX || seat.turnZ != was.turnZ) Turn(v.scene, o.playerFrames[s], seat.turnX, seat.turnZ);
    if (all || seat.frame != was.frame) v.scene.SetTime(o.playerAnims[s], seat.frame);
  }
}

// The camera over the seats (shaken by a stomping pig), then, once the match is decided, over
// the winner or the arena's centre.
void PoseCamera(MatchView& v, const ScenePose& p) {
  auto& o = v.objects;
  auto& sc = v.scene;
  Place(sc, o.cameraTarget, p.cameraTarget);
  sc.SetPosition(o.cameraFrame, {}, 0, 500, -1000);
  sc.LookAt(o.cameraFrame, o.cameraTarget);
  sc.SetPosition(o.cameraFrame, {}, 0, 475, -1000);
  for (int s = 0; s < kSeats; ++s) {
    if (p.shaking[s]) sc.SetPosition(o.cameraFrame, o.cameraFrame, p.shakes[s].x, p.shakes[s].y, p.shakes[s].z);
  }
  if (p.presentation != Presentation::Winner) return;
  const scene::FrameHandle light = p.stage == kDarkStage ? o.decisionLightFrame : o.lightFrame;
  if (p.drawn) {
    sc.SetPosition(light, {}, 0, 250, -500);
    sc.SetPosition(o.cameraFrame, {}, 0, 250, -500);
    sc.SetPosition(o.cameraTarget, {}, 0, 0, 0);
    sc.LookAt(o.cameraFrame, o.cameraTarget);
    return;
  }
  const ObjectPlace& w = p.winnerAt;
  sc.SetPosition(light, {}, w.x, 250, w.z - 500);
  sc.SetPosition(o.cameraFrame, {}, w.x, 250, w.z - 500);
  sc.LookAt(o.cameraFrame, o.playerFrames[p.winner]);
  sc.SetPosition(o.winnerFrame, {}, w.x, 50, w.z - 200);
}

// The decision: the hurry board goes, the dark stage's winner light comes on and the
// winner's board shows (at the arena's origin until the next tick moves it over the winner),
// or the draw's board over the arena's centre.
void ShowDecision(MatchView& v, const ScenePose& p) {
  auto& o = v.objects;
  auto& sc = v.scene;
  v.decisionShown = true;
  if (p.stage == kDarkStage) sc.AddLight(o.decisionLightFrame, o.decisionLight);
  sc.SetPosition(o.messageFrame, {}, kFreeSlot, 0, 0);
  if (p.drawn) {
    // Nobody won: the draw's board stands where a winner's would, over the arena's centre, in
    // front of the camera that looks down on it.
    sc.SetTexture(o.winnerBoard, o.drawTexture);
    sc.AddVisual(o.winnerFrame, o.winnerBoard);
    sc.SetPosition(o.winnerFrame, {}, 0, 50, -200);
    return;
  }
  sc.SetTexture(o.winnerBoard, o.textures[p.winner + 1]);
  sc.AddVisual(o.winnerFrame, o.winnerBoard);
}

void ApplyPose(MatchView& v, const ScenePose& p) {
  auto& o = v.objects;
  auto& sc = v.scene;
  const bool all = !v.posedValid;
  const ScenePose& was = v.posed;
  if (p.stage == kRaftStage) {
    sc.SetPosition(o.stageFrame, {}, 0, p.stageY, 0);
    sc.SetPosition(o.blockFrame, {}, 0, p.blockY, 0);
  } else if (p.stage == kRailStage) {
    sc.SetPosition(o.stageFrame, {}, 0, p.stageY, 0);
    for (int k = 0; k < 4; ++k) sc.SetPosition(o.backFrames[k], {}, p.backX[k], -100, 450);
  }
  PoseSeats(v, p, all);
  PlaceRow(sc, o.snowFrames, p.piles, was.piles, all);
  PlaceRow(sc, o.netFrames, p.nets, was.nets, all);
  PlaceRow(sc, o.decoyFrames, p.decoys, was.decoys, all);
  if (all || !(p.giantBear == was.giantBear)) Place(sc, o.bear2Frame, p.giantBear);
  if (all || !(p.bigFish == was.bigFish)) Place(sc, o.fish2Frame, p.bigFish);
  if (all || !(p.moleMarker == was.moleMarker)) Place(sc, o.cursorFrame, p.moleMarker);
  if (all || !(p.fire == was.fire)) Place(sc, o.fireFrame, p.fire);
  if (p.fireTime >= 0 && (all || p.fireTime != was.fireTime)) sc.SetTime(o.fireAnim, p.fireTime);
  if (all || !(p.gift == was.gift)) Place(sc, o.itemFrame, p.gift);
  if (p.stage == kDarkStage) Place(sc, o.lightFrame, p.spot);
  if (p.presentation == Presentation::Hurry) sc.SetPosition(o.messageFrame, {}, 0, 150, -250);
  if (p.presentation >= Presentation::Decision && !v.decisionShown) ShowDecision(v, p);
  PoseCamera(v, p);
  v.posed = p;
  v.posedValid = true;
}

}  // namespace

std::string MatchView::Asset(const char* path) const { return AssetPath(programFolder, path); }

void ApplyDisplayMode(platform::Screen& s, int16_t displayMode) {
  if (displayMode == 80) {
    s.SetMode(320, 240);
    s.Picture1.place = platform::Rect{0, 215, 320, 25};
    s.Picture2.place = platform::Rect{0, 0, 320, 215};
  } else {
    s.SetMode(640, 480);
    s.Picture1.place = platform::Rect{0, 430, 640, 50};
    s.Picture2.place = platform::Rect{0, 0, 640, 430};
  }
}

void BuildMatchScene(MatchView& v, const MatchState& st) {
  // The set-up loads its files from the first while the other core parses them from the last.
  scene::ParseAhead(MatchFiles(v.programFolder, st), true);
  SetUpDisplay(v, st.displayMode);
  BuildSeatsFireAndStageFrame(v, st);
  BuildStageBranch(v, st);
  SetUpLight(v, st.stage);
  BuildFieldObjects(v, st);
  SetViewportBack(v);
  BuildDecisionObjects(v);
  // Every seat, playing or not, at its start, turned as the set-up turned it.
  auto& o = v.objects;
  for (int s = 0; s < kSeats; ++s) {
    Turn(v.scene, o.playerFrames[s], st.turnX[s], st.turnZ[s]);
    v.scene.SetPosition(o.playerFrames[s], {}, st.posX[s], st.sway[0], st.posZ[s]);
  }
  v.posedValid = false;
  v.decisionShown = false;
  v.tickPoses = 0;
}

namespace {

// The tick's pose becomes the latest of the two that pictures between ticks are blended from.
const ScenePose& TakeTickPose(MatchView& v, const MatchState& st) {
  v.previousTickPose = v.tickPose;
  v.tickPose = PoseOf(st);
  v.tickPoses = std::min(v.tickPoses + 1, 2);
  return v.tickPose;
}

void DrawAndShow(MatchView& v) {
  v.scene.Clear(v.objects.viewport);
  v.scene.Render(v.objects.viewport, v.objects.sceneFrame);
  v.scene.Update();
  v.window.Present(v.screen);
}

}  // namespace

void PoseScene(MatchView& v, const MatchState& st) { ApplyPose(v, TakeTickPose(v, st)); }

void RenderMatch(MatchView& v, const MatchState& st) {
  if (v.picturesBetweenTicks) {
    TakeTickPose(v, st);
    return;
  }
  PoseScene(v, st);
  DrawAndShow(v);
}

bool RenderBetweenTicks(MatchView& v, double f) {
  if (v.tickPoses == 0) return false;
  ApplyPose(v, v.tickPoses == 2 ? BlendPoses(v.previousTickPose, v.tickPose, f) : v.tickPose);
  DrawAndShow(v);
  return true;
}

void PlaySound(MatchView& v, int id) { v.snd.SoundPlay(v.soundTable[id]); }

}  // namespace kelmora
