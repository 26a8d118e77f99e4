#include "shell/online_screens.h"

#include <cstdio>

#include "frontend/online_menu.h"
#include "frontend/screens.h"
#include "match/play/game.h"
#include "platform/window.h"

namespace kelmora {

int RunOnlineScreens(Game& g, const OnlineOptions& o, const std::function<void(int)>& onConfirmed,
                     const std::function<void(const std::string&)>& onRecordLine,
                     const std::function<void(const OnlineResult&)>& onResult) {
  // Every match of the session starts from the state the program started with.
  const MatchState loaded = g.st;
  // What ends a session or a match early is said on stderr, and in the window in a message too.
  auto tell = [&](const std::string& why) {
    std::fprintf(stderr, "kelmora: %s\n", why.c_str());
    if (!o.headless) g.window.MessageBox(why, "Kelmora", platform::MessageIcon::Information);
  };
  for (;;) {
    if (ShowTitleScreen(g) != NextScreen::Menu) return 0;
    std::string why;
    std::unique_ptr<frontend::OnlineMenu> menu = frontend::OnlineMenu::Open(g, o, loaded, why);
    if (!menu) {
      if (g.closing) return 0;
      tell(why);
      if (o.headless) return 1;
      continue;
    }
    for (;;) {
      OnlineOptions match = o;
      why.clear();
      const frontend::OnlineMenu::Outcome outcome = menu->Run(match, why);
      if (outcome == frontend::OnlineMenu::Outcome::Closed) return 0;
      if (outcome == frontend::OnlineMenu::Outcome::Left) {
        if (!why.empty()) tell(why);
        if (o.headless) return why.empty() ? 0 : 1;
        break;
      }
      const OnlineResult r = RunMenuMatch(g, match, menu->link(), menu->peers(), onConfirmed, onRecordLine);
      if (onResult) onResult(r);
      if (g.closing) return 0;
      if (o.headless) {
        menu->Leave();
        return r.status;
      }
      if (!r.ended.empty() && !r.quit) tell(r.ended);
      // Esc on a joiner leaves the session; on the host it ends the match, back to the menu.
      if (r.quit && !o.host) {
        menu->Leave();
        break;
      }
      menu->Back();
    }
  }
}

}  // namespace kelmora
