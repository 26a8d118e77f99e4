#include "match/play/pause.h"

#include "audio/music.h"
#include "frontend/help_page.h"
#include "match/play/game.h"
#include "match/stage_table.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora {

namespace {

// The music the stage plays under its name (the sixth stage's is a looping sound instead).
const char* StageMusic(const Game& g) { return kStages[g.st.stage].musicName; }

void Show(Game& g) {
  if (g.screen.revision() != g.frontShownRevision) {
    g.window.Present(g.screen);
    g.frontShownRevision = g.screen.revision();
  }
  // Headless runs photograph the screen as it shows ('@' screenshots).
  if (g.onFrontShown) g.onFrontShown(g);
}

}  // namespace

uint32_t MatchClockMs(Game& g) { return g.clock.GetTickCount() - g.pausedMs; }

int32_t MatchTickNow(Game& g) { return static_cast<int32_t>(MatchClockMs(g) / platform::kTickMs); }

void PauseMatch(Game& g) {
  g.pauseBeganMs = g.clock.GetTickCount();
  if (*StageMusic(g)) g.music.MusicPause(StageMusic(g));
  g.snd.SoundHoldAll(true);
  g.helpAsked = g.helpShown = false;
  frontend::DrawPauseOverlay(g.screen);
  g.screen.ShowOverlay(true);
  Show(g);
}

void WaitWhilePaused(Game& g) {
  g.window.WaitUntil((g.clock.GetTickCount() / platform::kTickMs + 1) * platform::kTickMs);
  g.DoEvents();
  if (g.closing) return;
  frontend::ApplyHelp(g);
  Show(g);
}

void ResumeMatch(Game& g) {
  g.pausedMs += g.clock.GetTickCount() - g.pauseBeganMs;
  if (*StageMusic(g)) g.music.MusicResume(StageMusic(g));
  g.snd.SoundHoldAll(false);
  g.helpAsked = g.helpShown = false;
  g.screen.ShowOverlay(false);
  g.window.Present(g.screen);
  g.frontShownRevision = g.screen.revision();
}

}  // namespace kelmora
