// The title screen: Up and Down of seat 0 choose between Game Start and Exit, Enter takes
// the choice. It has no tick clock and no music, and looks at the keys on every pass. F1 lays
// the help page over it.
#include "frontend/help_page.h"
#include "frontend/screens.h"
#include "frontend/show_screen.h"
#include "match/play/game.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "match/view/release_scene.h"

namespace kelmora {

namespace {
void RedrawChoices(Game& g) { frontend::DrawTitleChoices(g.screen, frontend::SheetsOf(g), g.st.menuCursor); }
}  // namespace

NextScreen ShowTitleScreen(Game& g) {
  auto& st = g.st;
  st.menuCursor = frontend::kTitleGameStart;
  frontend::DrawTitleScreen(g.screen, frontend::SheetsOf(g));
  RedrawChoices(g);
  frontend::ShowScreen(g);
  const frontend::HelpHere help(g);
  for (;;) {
    // Wait for a key (or the next 20 ms) instead of spinning.
    g.window.WaitUntil((g.clock.GetTickCount() / platform::kTickMs + 1) * platform::kTickMs);
    g.DoEvents();
    if (g.closing) return NextScreen::Closed;
    frontend::ApplyHelp(g);
    // A held key moves the cursor once: it only moves from the other word.
    if (st.stickZ[0] == 1 && st.menuCursor == frontend::kTitleGameStart) {
      st.menuCursor = frontend::kTitleExit;
      g.SoundPlay(frontend::kSoundCursor);
      RedrawChoices(g);
    }
    if (st.stickZ[0] == -1 && st.menuCursor == frontend::kTitleExit) {
      st.menuCursor = frontend::kTitleGameStart;
      g.SoundPlay(frontend::kSoundCursor);
      RedrawChoices(g);
    }
    frontend::ShowScreen(g);
    if (st.enterPressed == 1) break;
  }
  st.enterPressed = 0;
  g.SoundPlay(frontend::kSoundConfirm);
  if (st.menuCursor == frontend::kTitleExit) {
    g.st.running = 0;
    ReleaseScene(g.view);
    return NextScreen::Exit;
  }
  st.menuCursor = frontend::kRowCharacter;
  return NextScreen::Menu;
}

}  // namespace kelmora
