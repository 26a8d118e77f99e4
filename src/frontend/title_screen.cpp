#include "frontend/screens.h"
#include "match/game.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "shell/release_scene.h"

namespace kelmora {

namespace {
constexpr int16_t kGameStart = 360, kExit = 410;
constexpr int kSoundCursor = 0, kSoundConfirm = 1;

void DrawTitleChoices(Game& g) {
  auto& s = g.screen;
  s.Copy(g.menuSheet, {0, 0, 320, 100}, {160, 360, 320, 100});
  for (int i = 0; i <= 9; ++i) {
    const auto grey = static_cast<uint8_t>(12 * i);
    s.OutlineRect(160 + i, g.st.menuCursor + i, 479 - i, g.st.menuCursor + 49 - i, {grey, grey, grey});
  }
  g.window.Present(s);
}

void DrawTitleScreen(Game& g) {
  auto& s = g.screen;
  s.FillRect(0, 0, 640, 480, {0, 0, 0});
  s.Copy(g.menuSheet, {0, 250, 320, 240}, {160, 110, 320, 240});
  s.Copy(g.characterSheet, {0, 250, 500, 75}, {70, 20, 500, 75});
}
}  // namespace

NextScreen ShowTitleScreen(Game& g) {
  auto& st = g.st;
  st.menuCursor = kGameStart;
  DrawTitleScreen(g);
  DrawTitleChoices(g);
  for (;;) {
    // No tick clock here: wait for input (or the next 20 ms) instead of spinning.
    g.window.WaitUntil((g.clock.GetTickCount() / platform::kTickMs + 1) * platform::kTickMs);
    g.DoEvents();
    if (g.closing) return NextScreen::Closed;
    if (st.stickZ[0] == 1 && st.menuCursor == kGameStart) {
      st.menuCursor = kExit;
      g.SoundPlay(kSoundCursor);
      DrawTitleChoices(g);
    }
    if (st.stickZ[0] == -1 && st.menuCursor == kExit) {
      st.menuCursor = kGameStart;
      g.SoundPlay(kSoundCursor);
      DrawTitleChoices(g);
    }
    if (st.enterPressed == 1) break;
  }
  st.enterPressed = 0;
  g.SoundPlay(kSoundConfirm);
  if (st.menuCursor == kExit) {
    ReleaseScene(g);
    return NextScreen::Exit;
  }
  st.menuCursor = 200;
  return NextScreen::Menu;
}

}  // namespace kelmora
