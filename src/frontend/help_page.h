#pragma once
// The help page (F1 on the title screen, in the menu and in a paused match) and the pause of a
// match, drawn on the screen's overlay (platform/screen.h) with the program's own text: the
// screens under them stay as they are and come back when the overlay goes.
#include <string>

#include "frontend/draw_screens.h"

namespace kelmora {
struct Game;
}
namespace kelmora::input {
struct Controls;
}

namespace kelmora::frontend {

// How to play: every seat's controls as `controls` give them, joining and starting, scoring
// and the bars, the nine animals with their faces and powers.
void DrawHelpPage(platform::Screen& screen, Sheets sheets, const input::Controls& controls);
// "Paused" over the dimmed view, and the keys that play on, end the match or open the help.
void DrawPauseOverlay(platform::Screen& screen);
// One line of notice over the top of the view (an online match waiting for a machine).
void DrawNotice(platform::Screen& screen, const std::string& text);
// The machines of an online session, in a band along the foot of the menu.
void DrawFootnote(platform::Screen& screen, const std::string& text);

// One seat's controls as the help page names them: its keys (or its pad's), by the names of
// the controls file, and the pad buttons by number and place.
struct SeatControlNames {
  std::string move, action, special;
};
SeatControlNames SeatControls(const input::Controls& controls, int seat);

// Puts the help page up or takes it down as F1 last asked, on the screen shown: under it comes
// back the pause overlay in a paused match, else nothing.
void ApplyHelp(Game& g);

// While it lives, the screen shown has the help page (the title and the menu); at its end the
// help page goes.
class HelpHere {
 public:
  explicit HelpHere(Game& g);
  ~HelpHere();
  HelpHere(const HelpHere&) = delete;
  HelpHere& operator=(const HelpHere&) = delete;

 private:
  Game& g_;
};

}  // namespace kelmora::frontend
