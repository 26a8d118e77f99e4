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

// The models that wait out of sight until a power or the power-up needs them.
constexpr const char* kWaitingModels[] = {"\\model\\bear2.x", "\\model\\cursor.x", "\\model\\item.x", "\\model\\fish2.x"};
constexpr const char* kFireModel = "\\model\\fire.x";
constexpr const char* kSnowModel = "\\model\\snow.x";
constexpr const char* kNetModel = "\\model\\net.x";
constexpr const char* kBoardModel = "\\model\\message.x";
constexpr const char* kBlockModel = "\\model\\block.x";
constexpr const char* kBackModel = "\\model\\back.x";
constexpr const char* kNetTextureFile = "\\tex\\net.bmp";
constexpr const char* kHurryTextureFile = "\\tex\\hurry.bmp";
constexpr const char* kWinnerTextures[] = {"\\tex\\1pwin.bmp", "\\tex\\2pwin.bmp", "\\tex\\3pwin.bmp", "\\tex\\4pwin.bmp"};

// A stage's own models: its ground, and the raft's block or the rail's backdrop.
void AddStageFiles(const Game& g, int stage, std::vector<scene::FileToParse>& files) {
  using scene::FileKind;
  files.push_back({FileKind::StaticModel, g.Asset(scene::kStages[stage].model)});
  if (stage == scene::kRaftStage) files.push_back({FileKind::StaticModel, g.Asset(kBlockModel)});
  if (stage == scene::kRailStage) files.push_back({FileKind::StaticModel, g.Asset(kBackModel)});
}

// The models and textures every match loads after its stage's own.
void AddSharedFiles(const Game& g, std::vector<scene::FileToParse>& files) {
  using scene::FileKind;
  for (const char* path : kWaitingModels) files.push_back({FileKind::StaticModel, g.Asset(path)});
  files.push_back({FileKind::StaticModel, g.Asset(kSnowModel)});
  files.push_back({FileKind::Texture, g.Asset(kNetTextureFile)});
  files.push_back({FileKind::StaticModel, g.Asset(kNetModel)});
  files.push_back({FileKind::Texture, g.Asset(kHurryTextureFile)});
  for (const char* path : kWinnerTextures) files.push_back({FileKind::Texture, g.Asset(path)});
  files.push_back({FileKind::StaticModel, g.Asset(kBoardModel)});
}

scene::TextureHandle LoadDecal(Game& g, const char* path, int r, int gr, int b) {
  scene::TextureHandle t = g.scene.LoadTexture(g.Asset(path));
  g.scene.SetDecalTransparentColor(t, r, gr, b);
  g.scene.SetDecalTransparency(t, true);
  return t;
}
}  // namespace

std::vector<scene::FileToParse> MatchFiles(const Game& g) {
  std::vector<scene::FileToParse> files;
  for (const int16_t c : g.st.playerCharacter) {
    if (c >= 0 && c <= 8) files.push_back({scene::FileKind::AnimatedModel, g.Asset(scene::kCharacterModels[c])});
  }
  files.push_back({scene::FileKind::AnimatedModel, g.Asset(kFireModel)});
  AddStageFiles(g, g.st.stage, files);
  AddSharedFiles(g, files);
  return files;
}

std::vector<scene::FileToParse> EveryMatchFile(const Game& g) {
  std::vector<scene::FileToParse> files;
  for (const char* path : scene::kCharacterModels) files.push_back({scene::FileKind::AnimatedModel, g.Asset(path)});
  files.push_back({scene::FileKind::AnimatedModel, g.Asset(kFireModel)});
  AddSharedFiles(g, files);
  for (int stage = 0; stage < static_cast<int>(scene::kStages.size()); ++stage) AddStageFiles(g, stage, files);
  return files;
}

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
  sc.LoadAnimationSet(st.fireAnim, g.Asset(kFireModel), st.fireFrame);
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
    sc.AddVisual(st.blockFrame, LoadStaticModel(g, kBlockModel));
    sc.SetPosition(st.blockFrame, {}, 0, -5, 0);
  } else if (st.stage == scene::kRailStage) {
    const scene::MeshHandle back = LoadStaticModel(g, kBackModel);
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
  scene::FrameHandle* const waiting[] = {&st.bear2Frame, &st.cursorFrame, &st.itemFrame, &st.fish2Frame};
  for (int i = 0; i < 4; ++i) {
    const scene::MeshHandle mesh = LoadStaticModel(g, kWaitingModels[i]);
    scene::FrameHandle* const frame = waiting[i];
    *frame = NewFrame(g);
    sc.AddVisual(*frame, mesh);
    Park(g, *frame);
  }

  const scene::MeshHandle snow = LoadStaticModel(g, kSnowModel);
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

  st.textures[kNetTexture] = LoadDecal(g, kNetTextureFile, 255, 255, 255);
  const scene::MeshHandle net = LoadStaticModel(g, kNetModel);
  for (int i = 0; i < kNetSlots; ++i) {
    st.netFrames[i] = NewFrame(g);
    sc.SetTexture(net, st.textures[kNetTexture]);
    sc.AddVisual(st.netFrames[i], net);
    st.netX[i] = kFreeSlot;
    st.netZ[i] = 0;
    sc.SetPosition(st.netFrames[i], {}, st.netX[i], 0, st.netZ[i]);
  }

  st.textures[kHurryTexture] = LoadDecal(g, kHurryTextureFile, 0, 0, 0);
  for (int i = 0; i < 4; ++i) st.textures[1 + i] = LoadDecal(g, kWinnerTextures[i], 0, 0, 0);

  st.messageFrame = NewFrame(g);
  const scene::MeshHandle board = LoadStaticModel(g, kBoardModel);
  sc.SetTexture(board, st.textures[kHurryTexture]);
  sc.AddVisual(st.messageFrame, board);
  sc.SetPosition(st.messageFrame, {}, kFreeSlot, 0, 0);
}

}  // namespace kelmora
