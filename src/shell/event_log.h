#pragma once
// The headless event log: one line for every sound played and every redraw of the status
// strip, in the order the game makes them, stamped with the match's own tick (0 for set-up)
// or, outside a match, the program's tick.
#include <fstream>
#include <string>

namespace kelmora {
struct Game;

class EventLog {
 public:
  // Opens the file for writing; false when it cannot be written.
  bool Open(const std::string& path);
  // Hooks the log into the game. In a run of the whole program every match's lines are
  // preceded by "match N". With `matchOnly` (online runs) only a match's lines are written:
  // the menus around it sound differently on each machine.
  void Attach(Game& g, bool wholeProgram, bool matchOnly = false);

 private:
  // Writes the line's stamp; false when the line is not written.
  bool Stamp(Game& g);

  std::ofstream out_;
  bool wholeProgram_ = false, matchOnly_ = false;
  int matchAnnounced_ = 0;
};

}  // namespace kelmora
