#pragma once
// The main window Form1: start-up, the close request, and the one loop over the screens.
#include "match/game.h"
#include "match/hand_over.h"
#include "platform/window.h"
#include "shell/options.h"

namespace kelmora {

class MainWindow final : public platform::WindowEvents {
 public:
  explicit MainWindow(Game& g) : g_(g) { g_.handlers = this; }

  // Start-up in order; false when the program must end (the sound device failed).
  bool Form_Load();
  // Runs the screens from `first` until the program ends; returns the exit status.
  int RunScreens(NextScreen first, bool singleMatch);

  void Form_KeyDown(int16_t keyCode, int16_t shift) override;
  void Form_KeyUp(int16_t keyCode, int16_t shift) override;
  // Releases everything and marks the run closed: every loop returns at once.
  void Form_QueryUnload() override;

 private:
  Game& g_;
};

// The folder with model/, tex/ and sound/: `dataDir` if given, else beside the program, else
// the installed data folder.
std::string ResolveProgramFolder(const std::string& dataDir);

}  // namespace kelmora
