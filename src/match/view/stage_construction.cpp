#include "match/view/stage_construction.h"

#include "audio/dx7_snd_support.h"
#include "audio/music.h"
#include "audio/tune_file.h"
#include "match/stage_table.h"
#include "match/view/match_view.h"
#include "platform/asset_path.h"
#include "scene/scene.h"

namespace kelmora {

namespace {
constexpr int kSoundStageSix = audio::kStageSixMusicSlot;
constexpr int kHurryTexture = 0, kNetTexture = 5;

scene::MeshHandle LoadStaticModel(MatchView& v, const char* path) {
  v.objects.meshBuilder = v.scene.CreateMeshBuilder();
  v.scene.LoadMesh(v.objects.meshBuilder, v.Asset(path));
  return v.objects.meshBuilder;
}

scene::FrameHandle NewFrame(MatchView& v) { return v.scene.CreateFrame(v.objects.sceneFrame); }

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
constexpr const char* kDrawTextureFile = "\\tex\\draw.bmp";

// A stage's own models: its ground, and the raft's block or the rail's backdrop.
void AddStageFiles(const std::string& folder, int stage, std::vector<scene::FileToParse>& files) {
  using scene::FileKind;
  files.push_back({FileKind::StaticModel, AssetPath(folder, kStages[stage].model)});
  if (stage == kRaftStage) files.push_back({FileKind::StaticModel, AssetPath(folder, kBlockModel)});
  if (stage == kRailStage) files.push_back({FileKind::StaticModel, AssetPath(folder, kBackModel)});
}

// The models and textures every match loads after its stage's own.
void AddSharedFiles(const std::string& folder, std::vector<scene::FileToParse>& files) {
  using scene::FileKind;
  for (const char* path : kWaitingModels) files.push_back({FileKind::StaticModel, AssetPath(folder, path)});
  files.push_back({FileKind::StaticModel, AssetPath(folder, kSnowModel)});
  files.push_back({FileKind::Texture, AssetPath(folder, kNetTextureFile)});
  files.push_back({FileKind::StaticModel, AssetPath(folder, kNetModel)});
  files.push_back({FileKind::Texture, AssetPath(folder, kHurryTextureFile)});
  for (const char* path : kWinnerTextures) files.push_back({FileKind::Texture, AssetPath(folder, path)});
  files.push_back({FileKind::StaticModel, AssetPath(folder, kBoardModel)});
  files.push_back({FileKind::Texture, AssetPath(folder, kDrawTextureFile)});
}

scene::TextureHandle LoadDecal(MatchView& v, const char* path, int r, int gr, int b) {
  scene::TextureHandle t = v.scene.LoadTexture(v.Asset(path));
  v.scene.SetDecalTransparentColor(t, r, gr, b);
  v.scene.SetDecalTransparency(t, true);
  return t;
}
}  // namespace

std::vector<scene::FileToParse> MatchFiles(const std::string& folder, const MatchState& st) {
  std::vector<scene::FileToParse> files;
  for (const int16_t c : st.playerCharacter) {
    if (c >= 0 && c <= 8) files.push_back({scene::FileKind::AnimatedModel, AssetPath(folder, kCharacterModels[c])});
  }
  files.push_back({scene::FileKind::AnimatedModel, AssetPath(folder, kFireModel)});
  AddStageFiles(folder, st.stage, files);
  AddSharedFiles(folder, files);
  return files;
}

std::vector<scene::FileToParse> EveryMatchFile(const std::string& folder) {
  std::vector<scene::FileToParse> files;
  for (const char* path : kCharacterModels) files.push_back({scene::FileKind::AnimatedModel, AssetPath(folder, path)});
  files.push_back({scene::FileKind::AnimatedModel, AssetPath(folder, kFireModel)});
  AddSharedFiles(folder, files);
  for (int stage = 0; stage < static_cast<int>(kStages.size()); ++stage) AddStageFiles(folder, stage, files);
  return files;
}

void Park(MatchView& v, scene::FrameHandle frame) { v.scene.SetPosition(frame, {}, kAbsent, 0, 0); }

void BuildSeatsFireAndStageFrame(MatchView& v, const MatchState& st) {
  auto& o = v.objects;
  auto& sc = v.scene;
  for (int p = 0; p < kSeats; ++p) {
    o.playerFrames[p] = NewFrame(v);
    o.playerAnims[p] = sc.CreateAnimationSet();
    const int c = st.playerCharacter[p];
    if (c >= 0 && c <= 8) sc.LoadAnimationSet(o.playerAnims[p], v.Asset(kCharacterModels[c]), o.playerFrames[p]);
  }
  o.fireFrame = NewFrame(v);
  o.fireAnim = sc.CreateAnimationSet();
  sc.LoadAnimationSet(o.fireAnim, v.Asset(kFireModel), o.fireFrame);
  Park(v, o.fireFrame);
  o.stageFrame = NewFrame(v);
  o.meshBuilder = sc.CreateMeshBuilder();
  sc.SetPosition(o.stageFrame, {}, 0, -10, 0);
}

void BuildStageBranch(MatchView& v, const MatchState& st) {
  auto& o = v.objects;
  auto& sc = v.scene;
  v.music.MusicClose("BGM");
  v.music.MusicClose("BGM2");
  const StageInfo& info = kStages[st.stage];
  sc.SetSceneBackground(info.red, info.green, info.blue);
  if (st.musicOn == 1) {
    if (st.stage == kRailStage) {
      audio::LoadWhenNeeded(v.snd, v.soundTable, kSoundStageSix);
      v.snd.SoundPlayLoop(v.soundTable[kSoundStageSix]);
    } else {
      audio::CheckTuneFile(v.Asset(info.music));
      v.music.MusicOpen(v.Asset(info.music), info.musicName);
      v.music.MusicPlay(info.musicName, true);
    }
  }
  sc.LoadMesh(o.meshBuilder, v.Asset(info.model));
  sc.AddVisual(o.stageFrame, o.meshBuilder);
  if (st.stage == kRaftStage) {
    o.blockFrame = NewFrame(v);
    sc.AddVisual(o.blockFrame, LoadStaticModel(v, kBlockModel));
    sc.SetPosition(o.blockFrame, {}, 0, -5, 0);
  } else if (st.stage == kRailStage) {
    const scene::MeshHandle back = LoadStaticModel(v, kBackModel);
    for (int p = 0; p < 4; ++p) {
      o.backFrames[p] = NewFrame(v);
      sc.AddVisual(o.backFrames[p], back);
      sc.SetPosition(o.backFrames[p], {}, st.backX[p], -100, 450);
    }
  }
}

void BuildFieldObjects(MatchView& v, const MatchState& st) {
  auto& o = v.objects;
  auto& sc = v.scene;
  scene::FrameHandle* const waiting[] = {&o.bear2Frame, &o.cursorFrame, &o.itemFrame, &o.fish2Frame};
  for (int i = 0; i < 4; ++i) {
    const scene::MeshHandle mesh = LoadStaticModel(v, kWaitingModels[i]);
    scene::FrameHandle* const frame = waiting[i];
    *frame = NewFrame(v);
    sc.AddVisual(*frame, mesh);
    Park(v, *frame);
  }

  const scene::MeshHandle snow = LoadStaticModel(v, kSnowModel);
  for (int i = 0; i < kPileSlots; ++i) {
    o.snowFrames[i] = NewFrame(v);
    sc.AddVisual(o.snowFrames[i], snow);
    sc.SetPosition(o.snowFrames[i], {}, st.pileX[i], 0, st.pileZ[i]);
  }
  for (int i = 0; i < kDecoySlots; ++i) {
    o.decoyFrames[i] = NewFrame(v);
    sc.AddVisual(o.decoyFrames[i], snow);
    sc.SetPosition(o.decoyFrames[i], {}, st.decoyX[i], 0, st.decoyZ[i]);
  }

  o.textures[kNetTexture] = LoadDecal(v, kNetTextureFile, 255, 255, 255);
  const scene::MeshHandle net = LoadStaticModel(v, kNetModel);
  for (int i = 0; i < kNetSlots; ++i) {
    o.netFrames[i] = NewFrame(v);
    sc.SetTexture(net, o.textures[kNetTexture]);
    sc.AddVisual(o.netFrames[i], net);
    sc.SetPosition(o.netFrames[i], {}, st.netX[i], 0, st.netZ[i]);
  }

  o.textures[kHurryTexture] = LoadDecal(v, kHurryTextureFile, 0, 0, 0);
  for (int i = 0; i < 4; ++i) o.textures[1 + i] = LoadDecal(v, kWinnerTextures[i], 0, 0, 0);

  o.messageFrame = NewFrame(v);
  const scene::MeshHandle board = LoadStaticModel(v, kBoardModel);
  sc.SetTexture(board, o.textures[kHurryTexture]);
  sc.AddVisual(o.messageFrame, board);
  sc.SetPosition(o.messageFrame, {}, kFreeSlot, 0, 0);
}

}  // namespace kelmora

namespace kelmora {

void BuildDecisionObjects(MatchView& v) {
  auto& o = v.objects;
  auto& sc = v.scene;
  o.decisionLightFrame = NewFrame(v);
  o.decisionLight = sc.CreateLight(scene::LightKind::Point, 1, 1, 1);
  o.winnerFrame = NewFrame(v);
  o.winnerBoard = LoadStaticModel(v, kBoardModel);
  o.drawTexture = LoadDecal(v, kDrawTextureFile, 0, 0, 0);
}

}  // namespace kelmora
