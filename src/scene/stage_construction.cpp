#include "scene/stage_construction.h"

#include "audio/dx7_snd_support.h"
#include "audio/music.h"
#include "audio/tune_file.h"
#include "match/game.h"
#include "match/numbers.h"
#include "scene/scene.h"
#include "scene/stage_table.h"

namespace kelmora {

namespace {
constexpr int kSoundStageSix = audio::kStageSixMusicSlot;
constexpr int kHurryTexture = 0, kNetTexture = 5;

scene::MeshHandle LoadStaticModel(Game& g, const char* path) {
  g.st.meshBuilder = g.scene.CreateMeshBuilder();
  g.scene.LoadMesh(g.st.meshBuilder, g.Asset(path));
  return g.st.meshBuilder;
}

scene::FrameHandle NewFrame(Game& g) { return g.scene.CreateFrame(g.st.sceneFrame); }

scene::TextureHandle LoadDecal(Game& g, const char* path, int r, int gr, int b) {
  scene::TextureHandle t = g.scene.LoadTexture(g.Asset(path));
  g.scene.SetDecalTransparentColor(t, r, gr, b);
  g.scene.SetDecalTransparency(t, true);
  return t;
}
}  // namespace

void Park(Game& g, scene::FrameHandle frame) { g.scene.SetPosition(frame, {}, kAbsent, 0, 0); }

void BuildSeatsFireAndStageFrame(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  for (int p = 0; p < kSeats; ++p) {
    st.playerFrames[p] = NewFrame(g);
    st.playerAnims[p] = sc.CreateAnimationSet();
    const int c = st.playerCharacter[p];
    if (c >= 0 && c <= 8) sc.LoadAnimationSet(st.playerAnims[p], g.Asset(scene::kCharacterModels[c]), st.playerFrames[p]);
  }
  st.fireFrame = NewFrame(g);
  st.fireAnim = sc.CreateAnimationSet();
  sc.LoadAnimationSet(st.fireAnim, g.Asset("\\model\\fire.x"), st.fireFrame);
  Park(g, st.fireFrame);
  st.stageFrame = NewFrame(g);
  st.meshBuilder = sc.CreateMeshBuilder();
  sc.SetPosition(st.stageFrame, {}, 0, -10, 0);
}

void BuildStageBranch(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  g.music.MusicClose("BGM");
  g.music.MusicClose("BGM2");
  const scene::StageInfo& info = scene::kStages[st.stage];
  sc.SetSceneBackground(info.red, info.green, info.blue);
  if (st.musicOn == 1) {
    if (st.stage == scene::kRailStage) {
      audio::LoadWhenNeeded(g.snd, g.soundTable, kSoundStageSix);
      g.snd.SoundPlayLoop(g.soundTable[kSoundStageSix]);
    } else {
      audio::CheckTuneFile(g.Asset(info.music));
      g.music.MusicOpen(g.Asset(info.music), info.musicName);
      g.music.MusicPlay(info.musicName, true);
    }
  }
  st.goalX = info.goalX;
  st.goalZ = info.goalZ;
  st.goalWidth = info.goalWidth;
  st.goalDepth = info.goalDepth;
  if (st.stage == scene::kSecondStage) {
    for (int k = 0; k < 2; ++k) {
      st.blockX[k] = scene::kSecondStageBlocks[k][0];
      st.blockZ[k] = scene::kSecondStageBlocks[k][1];
      st.blockW[k] = scene::kSecondStageBlocks[k][2];
      st.blockD[k] = scene::kSecondStageBlocks[k][3];
    }
  }
  sc.LoadMesh(st.meshBuilder, g.Asset(info.model));
  sc.AddVisual(st.stageFrame, st.meshBuilder);
  if (st.stage == scene::kRaftStage) {
    st.blockFrame = NewFrame(g);
    sc.AddVisual(st.blockFrame, LoadStaticModel(g, "\\model\\block.x"));
    sc.SetPosition(st.blockFrame, {}, 0, -5, 0);
  } else if (st.stage == scene::kRailStage) {
    const scene::MeshHandle back = LoadStaticModel(g, "\\model\\back.x");
    st.backX = {-500, 0, 500, -1000};
    for (int p = 0; p < 4; ++p) {
      st.backFrames[p] = NewFrame(g);
      sc.AddVisual(st.backFrames[p], back);
      sc.SetPosition(st.backFrames[p], {}, st.backX[p], -100, 450);
    }
  }
}

void BuildFieldObjects(Game& g) {
  auto& st = g.st;
  auto& sc = g.scene;
  // The models that wait out of sight until a power or the power-up needs them.
  const std::pair<scene::FrameHandle*, const char*> waiting[] = {
      {&st.bear2Frame, "\\model\\bear2.x"},
      {&st.cursorFrame, "\\model\\cursor.x"},
      {&st.itemFrame, "\\model\\item.x"},
      {&st.fish2Frame, "\\model\\fish2.x"},
  };
  for (const auto& [frame, path] : waiting) {
    const scene::MeshHandle mesh = LoadStaticModel(g, path);
    *frame = NewFrame(g);
    sc.AddVisual(*frame, mesh);
    Park(g, *frame);
  }

  const scene::MeshHandle snow = LoadStaticModel(g, "\\model\\snow.x");
  for (int i = 0; i < kPileSlots; ++i) {
    st.snowFrames[i] = NewFrame(g);
    sc.AddVisual(st.snowFrames[i], snow);
    st.pileX[i] = static_cast<int16_t>(Int(g.rnd.Rnd() * 500 - 250));
    st.pileZ[i] = static_cast<int16_t>(Int(g.rnd.Rnd() * 400 - 300));
    sc.SetPosition(st.snowFrames[i], {}, st.pileX[i], 0, st.pileZ[i]);
  }
  for (int i = 0; i < kDecoySlots; ++i) {
    st.decoyFrames[i] = NewFrame(g);
    sc.AddVisual(st.decoyFrames[i], snow);
    st.decoyX[i] = kFreeSlot;
    st.decoyZ[i] = 0;
    sc.SetPosition(st.decoyFrames[i], {}, st.decoyX[i], 0, st.decoyZ[i]);
  }

  st.textures[kNetTexture] = LoadDecal(g, "\\tex\\net.bmp", 255, 255, 255);
  const scene::MeshHandle net = LoadStaticModel(g, "\\model\\net.x");
  for (int i = 0; i < kNetSlots; ++i) {
    st.netFrames[i] = NewFrame(g);
    sc.SetTexture(net, st.textures[kNetTexture]);
    sc.AddVisual(st.netFrames[i], net);
    st.netX[i] = kFreeSlot;
    st.netZ[i] = 0;
    sc.SetPosition(st.netFrames[i], {}, st.netX[i], 0, st.netZ[i]);
  }

  st.textures[kHurryTexture] = LoadDecal(g, "\\tex\\hurry.bmp", 0, 0, 0);
  const char* winners[] = {"\\tex\\1pwin.bmp", "\\tex\\2pwin.bmp", "\\tex\\3pwin.bmp", "\\tex\\4pwin.bmp"};
  for (int i = 0; i < 4; ++i) st.textures[1 + i] = LoadDecal(g, winners[i], 0, 0, 0);

  st.messageFrame = NewFrame(g);
  const scene::MeshHandle board = LoadStaticModel(g, "\\model\\message.x");
  sc.SetTexture(board, st.textures[kHurryTexture]);
  sc.AddVisual(st.messageFrame, board);
  sc.SetPosition(st.messageFrame, {}, kFreeSlot, 0, 0);
}

}  // namespace kelmora
