#include "match/play/run_match.h"

#include "audio/dx7_snd_support.h"
#include "audio/music.h"
#include "input/get_controller.h"
#include "input/seat_pads.h"
#include "match/play/between_ticks.h"
#include "match/play/game.h"
#include "match/play/pause.h"
#include "match/play/synctest.h"
#include "match/stage_table.h"
#include "match/view/match_view.h"
#include "match/view/release_scene.h"
#include "match/view/status_panels.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora {

namespace {

// The seats that play by hand read their pads at the start of the tick, as their turns take
// the reading; a pad on 1P or 2P plays beside the keys, through the key map's changes.
void ReadPads(Game& g) {
  auto& st = g.st;
  if (st.matchCounter <= kDecisionCounter) return;
  for (int s = 0; s < kSeats; ++s) {
    if (st.playerCharacter[s] == -1 || st.isCpu[s] != 0) continue;
    if (g.scriptedPads[s].read) {
      g.controls.pads[s] = g.scriptedPads[s];
      continue;
    }
    const input::SeatPad pad = input::ReadSeatPad(g.joy, g.joyDevice, s);
    if (s < 2) {
      input::PadKeyChanges(pad, s, g.controls.keys);  // a pad on a keyboard seat, beside its keys
    } else {
      g.controls.pads[s] = {true, pad.now.x, pad.now.y, pad.now.buttons};
    }
  }
}

}  // namespace

void PlayTickEvents(Game& g, const TickEvents& events, bool tellHooks) {
  for (const TickEvent& e : events.list) {
    switch (e.kind) {
      case TickEventKind::Sound:
        if (tellHooks && g.onSound) g.onSound(g, e.id);
        PlaySound(g.view, e.id);
        break;
      case TickEventKind::Panels:
        if (tellHooks && g.onPanels) g.onPanels(g, e);
        DrawPanels(g.view, g.st.displayMode, g.st.playerCharacter, e.score, e.power);
        break;
      case TickEventKind::MusicPoll: g.music.MusicPoll(); break;
      case TickEventKind::StopMusic: g.music.MusicStop("BGM"); break;
      case TickEventKind::Render: RenderMatch(g.view, g.st); break;
    }
  }
}

void SetUpMatch(Game& g) {
  auto& st = g.st;
  ++g.matchesStarted;
  g.matchTick = 0;
  SetUpRules(g);
  ApplyDisplayMode(g.screen, st.displayMode);
  BuildMatchScene(g.view, st);
  if (g.onLoop && st.musicOn == 1 && st.stage == kRailStage) g.onLoop(g, audio::kStageSixMusicSlot);
  g.controls.Clear();
  g.scriptedPads = {};
  g.gatherControls = true;
  g.screen.Picture1.visible = true;
  g.screen.Picture2.visible = true;
  g.pauseAsked = false;
  g.pausedMs = 0;
  st.lastTick = g.TickNow();
  st.running = -1;
}

bool MatchTick(Game& g) {
  ++g.matchTick;
  ReadPads(g);
  g.events.Clear();
  const bool ended = g.synctest > 0 ? SyncTestTick(g, g.controls, g.events) : RunTick(g, g.controls, g.events);
  g.controls.Clear();
  PlayTickEvents(g, g.events, true);
  input::FeelTick(g.joy, g.joyDevice, g.st, g.events);
  // The last tick draws nothing, but its scene stands where the state says, as every other.
  if (ended) PoseScene(g.view, g.st);
  return ended;
}

void EndMatch(Game& g) {
  auto& st = g.st;
  // Key changes that came after the last tick reach the state as they always did.
  for (const ControlOp& op : g.controls.keys) ApplyControl(st, op);
  g.controls.Clear();
  g.gatherControls = false;
  g.music.MusicStop("BGM");
  g.music.MusicStop("BGM2");
  g.snd.SoundStopAll(g.soundTable[audio::kStageSixMusicSlot]);
  g.screen.SetMode(640, 480);
  st.running = 0;
  ReleaseScene(g.view);
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
  // The real window draws at the display's rate between the ticks; other windows each tick.
  const bool between = StartPicturesBetweenTicks(g);
  int tick = 0;
  g.matchTicks = 0;
  g.pausable = true;
  bool paused = false;
  for (;;) {
    if (g.closing) return NextScreen::Closed;
    if (g.st.running == 0) break;
    // The pause keys ask (main window); while paused no tick runs and the loop waits on events.
    if (g.pauseAsked != paused) {
      paused = g.pauseAsked;
      paused ? PauseMatch(g) : ResumeMatch(g);
    }
    if (paused) {
      WaitWhilePaused(g);
      continue;
    }
    const int32_t now = MatchTickNow(g);
    if (now >= g.st.lastTick + 1) {
      g.st.lastTick = now;
      const bool ended = MatchTick(g);
      ++tick;
      g.matchTicks = tick;
      if (g.afterTick) g.afterTick(g, tick);
      if (ended) break;
    } else if (between) {
      PictureOrWait(g, static_cast<uint32_t>(g.st.lastTick) * platform::kTickMs + g.pausedMs);
    } else {
      g.window.WaitUntil(static_cast<uint32_t>(g.st.lastTick + 1) * platform::kTickMs + g.pausedMs);
    }
    g.DoEvents();
  }
  if (paused) ResumeMatch(g);
  g.pausable = g.pauseAsked = false;
  StopPicturesBetweenTicks(g);
  EndMatch(g);
  return NextScreen::Menu;
}

}  // namespace kelmora
