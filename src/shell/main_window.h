#pragma once
// The main window Form1: start-up, the close request, and the one loop over the screens.
#include <array>

#include "input/key_taps.h"
#include "match/play/game.h"
#include "match/hand_over.h"
#include "platform/window.h"
#include "shell/options.h"

namespace kelmora {

class MainWindow final : public platform::WindowEvents {
 public:
  explicit MainWindow(Game& g) : g_(g) { g_.handlers = this; }

  // Start-up in order; false when the program must end (the sound device failed, or the
  // window was asked to close while the program started).
  bool Form_Load();
  // Runs the screens from `first` until the program ends; returns the exit status. A failure
  // on the way (an asset that cannot be loaded, or anything unexpected) is reported in one
  // message, everything is released as by the close request, and the status is 1.
  int RunScreens(NextScreen first, bool singleMatch);

  void Form_KeyDown(int16_t keyCode, int16_t shift) override;
  void Form_KeyUp(int16_t keyCode, int16_t shift) override;
  // Releases everything and marks the run closed: every loop returns at once.
  void Form_QueryUnload() override;
  // Lets go the key releases held back until a tick had seen their presses.
  void BeforeEvents() override;
  // A script's seat controls: into the next tick's controls while a match runs.
  void SeatControl(int seat, int kind, int value) override;
  void SeatPad(int seat, int x, int z, uint32_t buttons) override;

 private:
  // Where the keys' changes to the seats go: the next tick's controls while a match runs.
  std::vector<ControlOp>* Gathering();
  // The code a key reaches the key map as (a pad's Start and Back are Enter and Esc).
  static int16_t KeyMapCode(int16_t keyCode);
  // The keys of the pause and the help page, taken here instead of by the key map: P, Pause
  // and a pad's Start (and Back) in a match, F1 where the help page can show, every key while
  // it shows, Esc in a paused match. True when the key was taken.
  bool PauseOrHelpKey(int16_t keyCode, bool pressed);

  Game& g_;
  // Key releases wait here until a tick has seen the press they end.
  input::KeyTaps taps_;
  // Counts the ticks that could have seen the keys: every tick of the menu and the match (a
  // new lastTick), and every pass of the title screen, which looks at the keys on each pass.
  int64_t pass_ = 0;
  int32_t lastTickSeen_ = 0;
  bool onTitle_ = false;
  // The keys held now, by code (the pause and the help page change only on a fresh press), and
  // those whose press PauseOrHelpKey took.
  std::array<bool, 256> held_{}, taken_{};
};

// The folder with model/, tex/ and sound/: `dataDir` if given, else beside the program, else
// the installed data folder.
std::string ResolveProgramFolder(const std::string& dataDir);

}  // namespace kelmora
