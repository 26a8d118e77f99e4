// The menu: its own 20 ms tick in which every seat takes its step, Esc back to the title, and
// Enter to the start of a match. F1 lays the help page over it, and the seats wait meanwhile.
#include "audio/music.h"
#include "frontend/help_page.h"
#include "frontend/match_start.h"
#include "frontend/menu_seat_step.h"
#include "frontend/screens.h"
#include "frontend/show_screen.h"
#include "match/play/game.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace kelmora {

namespace {

// Entry: music from the start, computer seats emptied (humans keep their characters).
void EnterMenu(Game& g) {
  auto& st = g.st;
  g.music.MusicPlay("MENU", true);
  for (int s = 0; s < kSeats; ++s) {
    st.pushTicks[s] = 0;
    if (st.isCpu[s] == 1) {
      st.playerCharacter[s] = -1;
      st.isCpu[s] = 0;
    }
  }
  frontend::RedrawMenu(g);
  frontend::ShowScreen(g);
  st.enterPressed = 0;
  st.running = -1;
  st.lastTick = g.TickNow();
}

}  // namespace

NextScreen RunMenu(Game& g) {
  auto& st = g.st;
  EnterMenu(g);
  const frontend::HelpHere help(g);
  while (st.enterPressed != 1) {
    const int32_t now = g.TickNow();
    if (now < st.lastTick + 1) {
      g.window.WaitUntil(static_cast<uint32_t>(st.lastTick + 1) * platform::kTickMs);
      // Whatever woke the wait is handled now, so a waiting event never makes the loop spin.
      g.DoEvents();
      if (g.closing) return NextScreen::Closed;
      frontend::ApplyHelp(g);
      continue;
    }
    st.lastTick = now;
    if (!g.helpShown) {
      for (int s = 0; s < kSeats; ++s) frontend::MenuSeatStep(g, s);
    }
    if (st.running == 0) {
      g.music.MusicStop("MENU");
      g.SoundPlay(frontend::kSoundCancel);
      return NextScreen::Title;
    }
    frontend::ShowScreen(g);
    g.DoEvents();
    if (g.closing) return NextScreen::Closed;
    frontend::ApplyHelp(g);
    g.music.MusicPoll();
  }
  // A refused start enters the menu afresh (its entry steps), without nesting.
  if (!frontend::StartMatch(g)) return g.closing ? NextScreen::Closed : NextScreen::Menu;
  return NextScreen::Match;
}

}  // namespace kelmora
