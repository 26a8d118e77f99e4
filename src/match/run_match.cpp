#include "match/run_match.h"

#include "audio/music.h"
#include "input/get_controller.h"
#include "match/game.h"
#include "match/match_scene.h"
#include "match/seat_turn.h"
#include "match/status_panels.h"
#include "match/world_steps.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "shell/release_scene.h"

namespace kelmora {

namespace {

constexpr int kSoundHurry = 17;
constexpr int kSoundWin = 18;
constexpr int kSoundStageSix = 20;

constexpr double kStartX[kSeats] = {-300, 300, -300, 300};
constexpr double kStartZ[kSeats] = {200, 200, -200, -200};
constexpr int16_t kStartFaceX[kSeats] = {1, -1, 1, -1};
constexpr int16_t kStartFaceZ[kSeats] = {1, 1, -1, -1};

// A human joystick seat reads its stick and buttons at the start of its turn.
void ReadSeatJoystick(Game& g, int seat) {
  auto& st = g.st;
  g.joy.joyId = seat - 2;
  input::JoystickRead(g.joy, g.joyDevice);
  st.stickX[seat] = g.joy.joyX;
  st.stickZ[seat] = g.joy.joyY;
  st.actionButton[seat] = static_cast<int16_t>(g.joy.joyButtons);
  st.specialButton[seat] = g.joy.joyButtons == 2 ? 1 : 0;
}

void SeatTurns(Game& g, int16_t before) {
  auto& st = g.st;
  for (st.seat = 0; st.seat < kSeats; ++st.seat) {
    const int s = st.seat;
    if (st.playerCharacter[s] == -1 || before <= kDecisionCounter) continue;
    if (s >= 2 && st.isCpu[s] == 0) ReadSeatJoystick(g, s);
    if (st.isCpu[s] == 1 && st.fieldCleared == 0) DecideCpu(g);
    MovePlayer(g);
    BumpPlayers(g);
    ActionStep(g);
  }
}

void DecideAndPresent(Game& g) {
  auto& st = g.st;
  const int w = DecideWinner(st);
  st.matchDrawn = w < 0 ? 1 : 0;
  if (w >= 0) st.winner = static_cast<int16_t>(w);
  PresentDecision(g, w < 0);
  if (w >= 0) g.SoundPlay(kSoundWin);
}

}  // namespace

int DecideWinner(const MatchState& st) {
  for (int s = 0; s < kSeats; ++s) {
    bool highest = true;
    for (int o = 0; o < kSeats; ++o) {
      if (o != s && st.score[s] <= st.score[o]) highest = false;
    }
    if (highest) return s;
  }
  return -1;
}

void SetUpMatch(Game& g) {
  auto& st = g.st;
  ++g.matchesStarted;
  g.matchTick = 0;
  for (int i = 0; i < kBlockSlots; ++i) {
    st.blockX[i] = kAbsent;
    st.blockZ[i] = st.blockW[i] = st.blockD[i] = 0;
  }
  st.fishX = kAbsent;

  ApplyDisplayMode(g);
  BuildMatchScene(g);

  for (int s = 0; s < kSeats; ++s) {
    st.animFrame[s] = st.stickX[s] = st.stickZ[s] = st.actionButton[s] = 0;
    st.faceX[s] = st.faceZ[s] = 0;
    st.carrying[s] = st.score[s] = st.pushTicks[s] = 0;
    st.power[s] = 100;
    st.specialTimer[s] = 0;
    st.velX[s] = st.velZ[s] = 0;
  }
  for (int s = 0; s < kSeats; ++s) {
    st.posX[s] = kStartX[s];
    st.posZ[s] = kStartZ[s];
  }
  for (int s = 0; s < kSeats; ++s) {
    if (st.playerCharacter[s] == -1) st.posX[s] = st.posZ[s] = 0;
  }
  for (int s = 0; s < kSeats; ++s) {
    st.faceX[s] = kStartFaceX[s];
    st.faceZ[s] = kStartFaceZ[s];
  }
  st.sway = {0, -1};  // before the seats are placed: they stand at the height of the sway
  PlaceSeatsAtTheirStart(g);
  st.dropX = kAbsent;
  st.dropHeight = st.dropZ = 0;
  st.matchCounter = kMatchTicks;
  st.fieldCleared = 0;
  for (int s = 0; s < kSeats; ++s) {
    st.cpuTargetPile[s] = -1;
    st.cpuWaypointX[s] = kAbsent;
    st.cpuWaypointTicks[s] = 0;
    st.cpuSearchTicks[s] = st.cpuCarryTicks[s] = 0;
  }
  st.matchDrawn = 0;

  g.screen.Picture1.visible = true;
  g.screen.Picture2.visible = true;
  st.panelsDrawn = 0;
  st.lastTick = g.TickNow();
  st.running = -1;
}

bool MatchTick(Game& g) {
  auto& st = g.st;
  ++g.matchTick;
  const int16_t before = st.matchCounter;

  if (before > kDecisionCounter) StageMotionStep(g);                    // T1
  SeatTurns(g, before);                                                 // T2
  g.music.MusicPoll();                                                  // T3
  if (st.stage == 2 && before >= 250) SpotlightStep(g);                 // T4
  PowerUpStep(g);                                                       // T5
  CameraStep(g);                                                        // T6

  st.matchCounter = static_cast<int16_t>(st.matchCounter - 1);          // T7
  const int16_t after = st.matchCounter;
  if (after == 0) return true;
  if (after == kHurryCounter) g.SoundPlay(kSoundHurry);
  if (after > kDecisionCounter && after < kHurryCounter) ShowHurryBoard(g);
  if (after == kDecisionCounter) DecideAndPresent(g);                   // T8
  if (after < kDecisionCounter) PresentWinner(g, st.matchDrawn != 0);   // T9

  RenderMatch(g);                                                       // T10
  if (st.panelsDrawn == 0) {
    DrawPanels(g);
    st.panelsDrawn = 1;
  }
  return false;
}

void EndMatch(Game& g) {
  auto& st = g.st;
  g.music.MusicStop("BGM");
  g.music.MusicStop("BGM2");
  g.snd.SoundStopAll(g.soundTable[kSoundStageSix]);
  g.screen.SetMode(640, 480);
  ReleaseScene(g);
  g.screen.Clear();
  g.screen.Picture1.visible = false;
  g.screen.Picture2.visible = false;
  for (int s = 0; s < kSeats; ++s) {
    st.actionButton[s] = st.specialButton[s] = st.stickX[s] = st.stickZ[s] = 0;
  }
  g.window.Present(g.screen);
  g.matchTick = -1;
}

NextScreen RunMatch(Game& g) {
  SetUpMatch(g);
  int tick = 0;
  g.matchTicks = 0;
  for (;;) {
    if (g.closing) return NextScreen::Closed;
    if (g.st.running == 0) break;
    const int32_t now = g.TickNow();
    if (now >= g.st.lastTick + 1) {
      g.st.lastTick = now;
      const bool ended = MatchTick(g);
      ++tick;
      g.matchTicks = tick;
      if (g.afterTick) g.afterTick(g, tick);
      if (ended) break;
    } else {
      g.window.WaitUntil(static_cast<uint32_t>(g.st.lastTick + 1) * platform::kTickMs);
    }
    g.DoEvents();
  }
  EndMatch(g);
  return NextScreen::Menu;
}

}  // namespace kelmora
