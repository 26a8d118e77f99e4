// A stand-in menu: Enter starts a match of seats 0 and 1 (characters 0 and 1) on the chosen
// stage; Esc goes back to the title. The full menu replaces it.
#include "audio/music.h"
#include "frontend/screens.h"
#include "match/game.h"
#include "match/numbers.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora {

namespace {
constexpr int kSoundConfirm = 1, kSoundCancel = 2;

void DrawMenuScreen(Game& g) {
  auto& s = g.screen;
  s.FillRect(0, 0, 640, 480, {0, 0, 0});
  s.Copy(g.menuSheet, {0, 100, 320, 50}, {10, 10, 320, 50});
  s.Copy(g.characterSheet, {0, 100, 450, 50}, {95, 190, 450, 50});
  g.window.Present(s);
}

void DrawLoadingScreen(Game& g, int i) {
  auto& s = g.screen;
  s.Clear();
  s.Copy(g.characterSheet, {600 + 100 * i, 150, 100, 100}, {490, 330, 100, 100});
  g.window.Present(s);
}
}  // namespace

NextScreen RunMenu(Game& g) {
  auto& st = g.st;
  g.music.MusicPlay("MENU", true);
  for (int s = 0; s < kSeats; ++s) {
    st.pushTicks[s] = 0;
    if (st.isCpu[s] == 1) {
      st.playerCharacter[s] = -1;
      st.isCpu[s] = 0;
    }
  }
  DrawMenuScreen(g);
  st.enterPressed = 0;
  st.running = -1;
  st.lastTick = g.TickNow();
  while (st.enterPressed != 1) {
    if (g.TickNow() >= st.lastTick + 1) {
      st.lastTick = g.TickNow();
      if (st.running == 0) {
        g.music.MusicStop("MENU");
        g.SoundPlay(kSoundCancel);
        return NextScreen::Title;
      }
      g.DoEvents();
      if (g.closing) return NextScreen::Closed;
      g.music.MusicPoll();
    } else {
      g.window.WaitUntil(static_cast<uint32_t>(st.lastTick + 1) * platform::kTickMs);
    }
  }
  g.music.MusicStop("MENU");
  DrawLoadingScreen(g, Int(g.rnd.Rnd() * 3));
  g.DoEvents();
  if (g.closing) return NextScreen::Closed;
  for (int s = 0; s < kSeats; ++s) st.isCpu[s] = 0;
  st.playerCharacter = {0, 1, -1, -1};
  g.SoundPlay(kSoundConfirm);
  return NextScreen::Match;
}

}  // namespace kelmora
