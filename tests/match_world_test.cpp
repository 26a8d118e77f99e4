// The stage set-up and the world work of each tick: piles, stage table, sway, spotlight,
// power-up, camera and the status strip.
#include <gtest/gtest.h>

#include <cmath>

#include "headless_run.h"
#include "match/view/match_view.h"
#include "match/numbers.h"
#include "match/play/run_match.h"
#include "match/view/status_panels.h"
#include "match/world_steps.h"
#include "platform/headless/recording_audio.h"
#include "platform/screen.h"
#include "scene/scene.h"
#include "match/stage_table.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

// A run that has started up and set up a match on a stage.
struct MatchOn : HeadlessRun {
  explicit MatchOn(int16_t stage, Seat16 characters = {0, 1, 2, 3}) {
    EXPECT_TRUE(form.Form_Load());
    game.st.stage = stage;
    game.st.playerCharacter = characters;
    SetUpMatch(game);
  }
  MatchState& st() { return game.st; }
  MatchScene& obj() { return game.view.objects; }
  // The scene, posed by the view for the state as it stands.
  scene::Scene& sc() {
    PoseScene(game.view, game.st);
    return game.scene;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) MatchTick(game);
  }
};

// Draws the status strip for the seats as they stand, as a redraw event of the rules asks.
void Redraw(MatchOn& m) {
  DrawPanels(m.game.view, m.st().displayMode, m.st().playerCharacter, m.st().score, m.st().power);
}

TEST(StageSetUp, PilesAreDrawnXThenZSlotBySlotFromTheOneGenerator) {
  MatchOn m(0);
  Random expected;
  for (int i = 0; i < kPileSlots; ++i) {
    const int x = Int(expected.Rnd() * 500 - 250);
    const int z = Int(expected.Rnd() * 400 - 300);
    EXPECT_EQ(m.st().pileX[i], x) << "slot " << i;
    EXPECT_EQ(m.st().pileZ[i], z) << "slot " << i;
    EXPECT_EQ(m.sc().WorldPosition(m.obj().snowFrames[i]), glm::dvec3(x, 0, z));
  }
}

TEST(StageSetUp, TheDarkStageDrawsItsSpotTargetsBeforeThePiles) {
  MatchOn m(kDarkStage);
  Random expected;
  const int tx = Int(expected.Rnd() * 80 - 40) * 10;
  const int tz = Int(expected.Rnd() * 80 - 40) * 10;
  EXPECT_EQ(m.st().spotX, 300);
  EXPECT_EQ(m.st().spotZ, 0);
  EXPECT_EQ(m.st().spotTargetX, tx);
  EXPECT_EQ(m.st().spotTargetZ, tz);
  EXPECT_EQ(m.st().pileX[0], Int(expected.Rnd() * 500 - 250));
}

TEST(StageSetUp, EachStageTakesItsGoalBackgroundAndObstacles) {
  for (int16_t stage = 0; stage < 6; ++stage) {
    MatchOn m(stage);
    const auto& info = kStages[stage];
    EXPECT_EQ(m.st().goalX, info.goalX) << "stage " << stage;
    EXPECT_EQ(m.st().goalZ, info.goalZ);
    EXPECT_EQ(m.st().goalWidth, info.goalWidth);
    EXPECT_EQ(m.st().goalDepth, info.goalDepth);
    EXPECT_EQ(m.sc().Background(), glm::dvec3(info.red, info.green, info.blue));
    if (stage == kSecondStage) {
      EXPECT_EQ(m.st().blockX[0], -210);
      EXPECT_EQ(m.st().blockD[1], 300);
      EXPECT_EQ(m.st().blockX[1], 60);
    } else {
      EXPECT_EQ(m.st().blockX[0], kAbsent);
    }
    EXPECT_EQ(static_cast<bool>(m.obj().blockFrame), stage == kRaftStage);
    EXPECT_EQ(static_cast<bool>(m.obj().backFrames[3]), stage == kRailStage);
  }
}

TEST(StageSetUp, SeatsFaceTheCentreAndEmptySeatsHaveAFrameButNoModel) {
  MatchOn m(0, {0, -1, 2, 3});
  const glm::dvec3 d0 = m.sc().Direction(m.obj().playerFrames[0]);
  EXPECT_NEAR(d0.x, std::sqrt(0.5), 1e-9);
  EXPECT_NEAR(d0.z, -std::sqrt(0.5), 1e-9);
  EXPECT_TRUE(m.sc().Exists(m.obj().playerFrames[1]));
  EXPECT_TRUE(m.sc().Children(m.obj().playerFrames[1]).empty());
  EXPECT_FALSE(m.sc().Children(m.obj().playerFrames[0]).empty());
}

TEST(StageMotion, TheRaftSwaysOverFortyTicksAndStopsAtTheDecision) {
  MatchOn m(kRaftStage);
  std::vector<int> seen;
  for (int t = 1; t <= 40; ++t) {
    m.Ticks(1);
    seen.push_back(m.st().sway[0]);
  }
  EXPECT_EQ(seen[0], -1);
  EXPECT_EQ(seen[9], -10);
  EXPECT_EQ(seen[29], 10);
  EXPECT_EQ(seen[39], 0) << "one period is 40 ticks";
  EXPECT_DOUBLE_EQ(m.sc().Position(m.obj().stageFrame).y, -10.0);
  m.Ticks(3);  // sway -3
  EXPECT_DOUBLE_EQ(m.sc().Position(m.obj().stageFrame).y, -11.5);
  EXPECT_DOUBLE_EQ(m.sc().Position(m.obj().blockFrame).y, -8.0);
  m.Ticks(1700 - 43);
  const auto frozen = m.st().sway;
  m.Ticks(50);
  EXPECT_EQ(m.st().sway, frozen);
}

TEST(StageMotion, TheRailStageScrollsItsBackdropSeamlessly) {
  MatchOn m(kRailStage);
  m.Ticks(12);
  EXPECT_EQ(m.st().sway[0], 0) << "period 12";
  m.Ticks(1);
  EXPECT_EQ(m.st().sway[0], -1);
  EXPECT_EQ(m.st().backX, (std::array<int16_t, 4>{-175, 325, 825, -675}));
  m.Ticks(7);  // piece 2 passes 1000 and comes back at -1000
  EXPECT_EQ(m.st().backX[2], -1000);
  EXPECT_EQ(m.sc().Position(m.obj().backFrames[2]), glm::dvec3(-1000, -100, 450));
}

TEST(Spotlight, StepsFiveUnitsPerAxisAndDrawsANewTargetWhenReached) {
  MatchOn m(kDarkStage);
  auto& st = m.st();
  st.spotX = 0;
  st.spotZ = 0;
  st.spotTargetX = 10;
  st.spotTargetZ = -5;
  Random copy = m.game.rnd;
  SpotlightStep(m.game.rules);
  EXPECT_EQ(st.spotX, 5);
  EXPECT_EQ(st.spotZ, -5);
  const int nextZ = Int(copy.Rnd() * 80 - 40) * 10;
  EXPECT_EQ(st.spotTargetZ, nextZ) << "z reached its target: a new one";
  EXPECT_EQ(st.spotTargetX, 10);
  EXPECT_EQ(m.sc().Position(m.obj().lightFrame), glm::dvec3(5, 1000, -5));
}

TEST(Spotlight, StandsStillFromTick1652) {
  MatchOn m(kDarkStage);
  m.Ticks(1651);
  const int16_t x = m.st().spotX, z = m.st().spotZ;
  const int16_t tx = m.st().spotTargetX;
  m.Ticks(10);
  EXPECT_EQ(m.st().spotX, x);
  EXPECT_EQ(m.st().spotZ, z);
  EXPECT_EQ(m.st().spotTargetX, tx);
}

TEST(PowerUp, TheFirstSeatInRangeCollectsEvenAnEmptySeat) {
  MatchOn m(0, {0, -1, 2, -1});
  auto& st = m.st();
  st.posX[0] = 10;
  st.posZ[0] = 0;
  st.power = {5, 5, 5, 5};
  st.dropX = 0;
  st.dropZ = 0;
  st.dropHeight = 80;
  PowerUpStep(m.game.rules);  // falls to 60: within reach of the ground
  EXPECT_EQ(st.power, (Seat16{100, 5, 5, 5})) << "seat 0 comes first; seat 1 (empty, at 0,0) too late";
  EXPECT_EQ(st.dropX, kAbsent);
  EXPECT_EQ(m.sc().Position(m.obj().itemFrame).x, kAbsent);

  st.posX[0] = 300;
  st.dropX = 20;
  st.dropZ = -20;
  st.dropHeight = 0;
  PowerUpStep(m.game.rules);
  EXPECT_EQ(st.power[1], 100) << "the empty seat at the centre collects it";
}

TEST(PowerUp, FallsTwentyPerTickAndWaitsAbove60) {
  MatchOn m(kRaftStage);
  auto& st = m.st();
  st.dropX = 100;
  st.dropZ = 100;
  st.dropHeight = 500;
  st.sway[0] = -4;
  PowerUpStep(m.game.rules);
  EXPECT_EQ(st.dropHeight, 480);
  EXPECT_EQ(m.sc().Position(m.obj().itemFrame), glm::dvec3(100, 476, 100));
}

TEST(Camera, AimsAtHalfTheMeanOfTheSeatsFromAbove) {
  MatchOn m(0, {0, 1, -1, -1});
  CameraStep(m.game.rules);
  EXPECT_EQ(m.sc().WorldPosition(m.obj().cameraTarget), glm::dvec3(0, 0, 50)) << "(-300+300+0+0)/8, (200+200+0+0)/8";
  EXPECT_EQ(m.sc().WorldPosition(m.obj().cameraFrame), glm::dvec3(0, 475, -1000));
  const glm::dvec3 d = m.sc().Direction(m.obj().cameraFrame);
  const glm::dvec3 aim = glm::normalize(glm::dvec3(0, -500, 1050));
  EXPECT_NEAR(d.y, aim.y, 1e-9) << "turned while standing at 500, then lowered to 475";
  EXPECT_NEAR(d.z, aim.z, 1e-9);
}

// Only its turn turns a seat's frame during a match (its model's animation poses the frames
// below it), so after any tick each seat's frame faces the way the stick it was last turned
// by points.
TEST(SeatFacing, SeatFramesFaceTheirLastTurnThroughAComputerMatch) {
  MatchOn m(1);
  m.st().isCpu = {1, 1, 1, 1};
  auto& sc = m.sc();
  const scene::FrameHandle probe = sc.CreateFrame({});
  for (int chunk = 0; chunk < 30; ++chunk) {
    m.Ticks(37);
    for (int s = 0; s < kSeats; ++s) {
      sc.SetOrientation(probe, {}, glm::dvec3(m.st().turnX[s], 0, -m.st().turnZ[s]), glm::dvec3(0, 1, 0));
      ASSERT_EQ(sc.Direction(m.obj().playerFrames[s]), sc.Direction(probe)) << "seat " << s << " chunk " << chunk;
      ASSERT_EQ(sc.Up(m.obj().playerFrames[s]), sc.Up(probe)) << "seat " << s << " chunk " << chunk;
    }
  }
}

TEST(Camera, EveryStompingPigShakesItOnce) {
  MatchOn m(0, {2, 2, -1, -1});
  auto& st = m.st();
  st.specialTimer = {5, 14, 0, 0};
  const uint64_t before = m.game.rnd.draws();
  CameraStep(m.game.rules);
  EXPECT_EQ(m.game.rnd.draws() - before, 6u) << "two pigs, three jolts each";
  st.specialTimer = {15, 0, 0, 0};
  const uint64_t again = m.game.rnd.draws();
  CameraStep(m.game.rules);
  EXPECT_EQ(m.game.rnd.draws(), again);
}

// Status strip checks use sheets of our own: white bar columns and a red face strip.
struct PanelSheets {
  PanelSheets() {
    menu = SDL_CreateRGBSurfaceWithFormat(0, 345, 490, 32, SDL_PIXELFORMAT_RGB888);
    chars = SDL_CreateRGBSurfaceWithFormat(0, 900, 325, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Rect cols{320, 0, 2, 15};
    SDL_FillRect(menu, &cols, SDL_MapRGB(menu->format, 255, 255, 255));
    SDL_Rect faces{0, 100, 450, 50};
    SDL_FillRect(chars, &faces, SDL_MapRGB(chars->format, 255, 0, 0));
  }
  ~PanelSheets() {
    SDL_FreeSurface(menu);
    SDL_FreeSurface(chars);
  }
  SDL_Surface* menu;
  SDL_Surface* chars;
};

// Width of the white run starting at (x, y) of the strip.
int BarWidth(const platform::Screen& s, int x, int y) {
  const auto& p = s.Picture1.place;
  int w = 0;
  while (x + w < p.w && s.PixelAt(p.x + x + w, p.y + y).g == 255 && s.PixelAt(p.x + x + w, p.y + y).r == 255) ++w;
  return w;
}

TEST(StatusPanels, BarsMeasureScoreAndPowerInBothStripSizes) {
  MatchOn m(0, {0, 1, -1, 3});
  PanelSheets sheets;
  SDL_Surface* const ownMenu = m.game.view.menuSheet;
  SDL_Surface* const ownChars = m.game.view.characterSheet;
  m.game.view.menuSheet = sheets.menu;
  m.game.view.characterSheet = sheets.chars;
  auto& st = m.st();
  st.score = {3, 0, 9, 60};
  st.power = {100, 0, 100, -20};
  Redraw(m);
  const auto& s = m.game.screen;
  EXPECT_EQ(BarWidth(s, 55, 10), 7);
  EXPECT_EQ(BarWidth(s, 55, 30), 101);
  EXPECT_EQ(BarWidth(s, 160 + 55, 10), 1) << "a score of 0 still shows one pixel";
  EXPECT_EQ(BarWidth(s, 160 + 55, 30), 1);
  EXPECT_EQ(BarWidth(s, 320 + 55, 10), 0) << "an empty seat's quarter stays black";
  EXPECT_EQ(s.PixelAt(320 + 10, 430 + 10).r, 0);
  EXPECT_EQ(s.PixelAt(480 + 10, 430 + 10).r, 255) << "face of seat 3";
  EXPECT_EQ(BarWidth(s, 480 + 55, 10), 105) << "a long score bar stops at its own panel's edge";
  EXPECT_EQ(BarWidth(s, 480 + 55, 30), 0) << "a negative power draws nothing";
  m.game.window.Present(s);

  m.game.screen.SetMode(320, 240);
  m.game.screen.Picture1.place = {0, 215, 320, 25};
  st.displayMode = 80;
  st.score = {3, 60, 0, 0};
  st.power = {75, 100, 0, 0};
  Redraw(m);
  EXPECT_EQ(BarWidth(s, 30, 7), 4);
  EXPECT_EQ(BarWidth(s, 30, 17), 38) << "75 / 2 + 1 = 38.5, nearest even";
  EXPECT_EQ(BarWidth(s, 80 + 30, 7), 50) << "stops at the edge of the small panel";
  EXPECT_EQ(BarWidth(s, 80 + 30, 17), 50) << "a full gauge (51) stops at the edge of the small panel too";
  m.game.view.menuSheet = ownMenu;
  m.game.view.characterSheet = ownChars;
}

// The strip's pixels, row by row.
std::vector<uint32_t> StripPixels(const platform::Screen& s) {
  const auto& p = s.Picture1.place;
  std::vector<uint32_t> out;
  for (int y = p.y; y < p.y + p.h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s.surface()->pixels) +
                                                        y * s.surface()->pitch);
    out.insert(out.end(), row + p.x, row + p.x + p.w);
  }
  return out;
}

TEST(StatusPanels, PanelsRedrawnAloneGiveTheWholeStripAndAnyOtherDrawingRedrawsItWhole) {
  MatchOn m(0, {0, 1, -1, 3});
  auto& st = m.st();
  auto& s = m.game.screen;
  st.score = {3, 0, 0, 60};
  st.power = {100, 0, 0, -20};
  Redraw(m);
  // Nothing changed: nothing is drawn.
  const uint64_t drawn = s.revision();
  Redraw(m);
  EXPECT_EQ(s.revision(), drawn);
  // Seat 1 scores, seat 0's gauge falls (its longer bar would stay behind if the panel were
  // not cleared), seat 2 joins, seat 3 leaves.
  st.score[1] = 12;
  st.power[0] = 4;
  st.playerCharacter[2] = 4;
  st.playerCharacter[3] = -1;
  Redraw(m);
  const auto panels = StripPixels(s);
  m.game.view.stripShown = {};
  Redraw(m);
  EXPECT_EQ(StripPixels(s), panels);
  // Another drawing over the strip: the next call draws it all again, though no seat changed.
  s.FillRect(0, 400, 640, 480, {255, 255, 255});
  Redraw(m);
  EXPECT_EQ(StripPixels(s), panels);
}

// Scores and gauges rise and fall (past the panel's edge, below zero) in both strip sizes;
// after every update the strip must be what drawing it whole gives.
TEST(StatusPanels, BarsThatGrowAndShrinkGiveTheWholeStrip) {
  MatchOn m(0, {0, 1, -1, 3});
  PanelSheets sheets;
  SDL_Surface* const ownMenu = m.game.view.menuSheet;
  SDL_Surface* const ownChars = m.game.view.characterSheet;
  for (int y = 0; y < 15; ++y) {
    SDL_Rect row{320, y, 2, 1};
    SDL_FillRect(sheets.menu, &row, SDL_MapRGB(sheets.menu->format, static_cast<Uint8>(17 * y), 255, static_cast<Uint8>(5 * y)));
  }
  auto& st = m.st();
  auto& s = m.game.screen;
  uint32_t r = 7;
  auto draw = [&r](int lo, int hi) {
    r = r * 1103515245u + 12345u;
    return static_cast<int16_t>(lo + static_cast<int>((r >> 8) % static_cast<uint32_t>(hi - lo + 1)));
  };
  for (int size = 0; size < 2; ++size) {
    if (size == 1) {
      s.SetMode(320, 240);
      s.Picture1.place = {0, 215, 320, 25};
      st.displayMode = 80;
    }
    // The program's sheets, then our own with a colour for each row of the bar columns (the
    // small strip squeezes 15 rows into 10) and a black sheet around them.
    for (int look = 0; look < 2; ++look) {
      m.game.view.menuSheet = look == 0 ? ownMenu : sheets.menu;
      m.game.view.characterSheet = look == 0 ? ownChars : sheets.chars;
      for (int step = 0; step < 300; ++step) {
        const int seat = draw(0, kSeats - 1);
        if (draw(0, 1) == 0) {
          st.score[seat] = draw(-2, 70);
        } else {
          st.power[seat] = draw(-30, 120);
        }
        if (step % 3 == 0) st.power[draw(0, kSeats - 1)] = draw(-30, 120);
        Redraw(m);
        const auto updated = StripPixels(s);
        m.game.view.stripShown = {};
        Redraw(m);
        ASSERT_EQ(updated, StripPixels(s)) << "size " << size << " look " << look << " step " << step;
      }
    }
  }
  m.game.view.menuSheet = ownMenu;
  m.game.view.characterSheet = ownChars;
}

}  // namespace
}  // namespace kelmora

namespace kelmora {
namespace {

// Sounds of the match as the headless recorder heard them: the file names played.
std::vector<std::string> PlayedFiles(MatchOn& m) {
  auto& dev = static_cast<platform::HeadlessSoundDevice&>(*m.backends.soundDevice);
  std::vector<std::string> files;
  for (const auto& e : dev.events()) {
    if (e.kind != platform::SoundEvent::Kind::Stop) files.push_back(e.file.substr(e.file.rfind('/') + 1));
  }
  return files;
}

bool Sent(MatchOn& m, const std::string& text) {
  auto& dev = static_cast<platform::HeadlessMusicDevice&>(*m.backends.musicDevice);
  for (const auto& c : dev.commands()) {
    if (c.text == text) return true;
  }
  return false;
}

TEST(Presentation, HurryBoardFromTick901UntilTheDecisionThenTheWinnerBoard) {
  MatchOn m(0);
  auto& dev = static_cast<platform::HeadlessSoundDevice&>(*m.backends.soundDevice);
  dev.ClearEvents();
  m.Ticks(899);
  EXPECT_TRUE(PlayedFiles(m).empty());
  const scene::FrameHandle hurryBoard = m.obj().messageFrame;
  EXPECT_EQ(m.sc().Position(hurryBoard).x, kFreeSlot);
  m.Ticks(1);  // tick 900
  EXPECT_EQ(PlayedFiles(m), std::vector<std::string>{"hurry.wav"});
  EXPECT_EQ(m.sc().Position(hurryBoard).x, kFreeSlot) << "the board follows the sound by a tick";
  m.Ticks(1);
  EXPECT_EQ(m.sc().Position(hurryBoard), glm::dvec3(0, 150, -250));
  m.Ticks(1699 - 901);
  m.st().score = {0, 2, 1, 0};
  m.Ticks(1);  // tick 1700: the decision
  EXPECT_EQ(m.st().winner, 1);
  EXPECT_EQ(m.sc().Position(hurryBoard).x, kFreeSlot) << "the hurry board is parked";
  EXPECT_EQ(m.sc().Visuals(m.obj().winnerFrame).size(), 1u) << "the winner's board shows";
  EXPECT_EQ(PlayedFiles(m).back(), "win.wav");
  m.Ticks(1);  // the presentation
  EXPECT_EQ(m.sc().WorldPosition(m.obj().cameraFrame), glm::dvec3(300, 250, 200 - 500));
  EXPECT_EQ(m.sc().WorldPosition(m.obj().lightFrame), glm::dvec3(300, 250, 200 - 500));
  EXPECT_EQ(m.sc().WorldPosition(m.obj().winnerFrame), glm::dvec3(300, 50, 0));
  const glm::dvec3 toWinner = glm::normalize(glm::dvec3(0, -250, 500));
  EXPECT_NEAR(glm::dot(m.sc().Direction(m.obj().cameraFrame), toWinner), 1.0, 1e-9);
}

TEST(Presentation, ADrawPlaysNoWinSoundAndShowsTheDrawBoardOverTheArenaCentre) {
  MatchOn m(0);
  auto& dev = static_cast<platform::HeadlessSoundDevice&>(*m.backends.soundDevice);
  const size_t objects = m.sc().ObjectCount();
  m.Ticks(1699);
  dev.ClearEvents();
  m.st().score = {2, 2, 1, 0};
  m.Ticks(2);
  EXPECT_TRUE(PlayedFiles(m).empty());
  EXPECT_EQ(m.st().matchDrawn, 1);
  const std::vector<scene::MeshHandle> board = m.sc().Visuals(m.obj().winnerFrame);
  ASSERT_EQ(board.size(), 1u) << "the draw's board shows";
  EXPECT_EQ(m.sc().Mesh(board[0])->groups[0].texture, m.obj().drawTexture.id);
  EXPECT_EQ(m.sc().WorldPosition(m.obj().winnerFrame), glm::dvec3(0, 50, -200));
  EXPECT_EQ(m.sc().WorldPosition(m.obj().cameraFrame), glm::dvec3(0, 250, -500));
  EXPECT_EQ(m.sc().ObjectCount(), objects) << "made at the set-up, like the winner's board";
}

// The winner's light and board are made with the scene at the set-up; the decision only
// switches them on and moves them.
TEST(Presentation, TheDarkStageGetsAPointLightAtTheDecision) {
  MatchOn m(kDarkStage);
  const size_t objects = m.sc().ObjectCount();
  m.Ticks(1699);
  const glm::dvec3 spot = m.sc().WorldPosition(m.obj().lightFrame);
  m.st().score = {0, 0, 3, 0};
  m.Ticks(2);
  EXPECT_EQ(m.sc().ObjectCount(), objects) << "nothing is made during the match";
  const glm::dvec3 winner(m.st().posX[2], 250, m.st().posZ[2] - 500);
  EXPECT_EQ(m.sc().WorldPosition(m.obj().decisionLightFrame), winner);
  EXPECT_EQ(m.sc().WorldPosition(m.obj().lightFrame), spot) << "the spotlight stays where it was";
}

TEST(StageMusic, EachStageOpensItsTuneAndOnlyBgmStopsAtTheDecision) {
  {
    MatchOn m(0);
    EXPECT_TRUE(Sent(m, "close audiofileBGM2"));
    EXPECT_TRUE(Sent(m, "play audiofileBGM from 0"));
    m.Ticks(1700);
    EXPECT_TRUE(Sent(m, "stop audiofileBGM"));
  }
  {
    MatchOn m(kSecondStage);
    EXPECT_TRUE(Sent(m, "play audiofileBGM2 from 0"));
    static_cast<platform::HeadlessMusicDevice&>(*m.backends.musicDevice).ClearCommands();
    m.Ticks(1700);
    EXPECT_FALSE(Sent(m, "stop audiofileBGM2")) << "the night tune plays through the presentation";
  }
  {
    MatchOn m(kRailStage);
    EXPECT_FALSE(Sent(m, "play audiofileBGM from 0"));
    auto& dev = static_cast<platform::HeadlessSoundDevice&>(*m.backends.soundDevice);
    ASSERT_FALSE(dev.events().empty());
    EXPECT_EQ(dev.events().back().kind, platform::SoundEvent::Kind::Loop);
    EXPECT_NE(dev.events().back().file.find("bgm6.wav"), std::string::npos);
  }
}

}  // namespace
}  // namespace kelmora
