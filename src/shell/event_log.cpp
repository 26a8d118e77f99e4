#include "shell/event_log.h"

#include "match/play/game.h"

namespace kelmora {

bool EventLog::Open(const std::string& path) {
  out_.open(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out_);
}

bool EventLog::Stamp(Game& g) {
  if (g.matchTick < 0 && matchOnly_) return false;
  if (g.matchTick < 0) {
    out_ << g.TickNow();
    return true;
  }
  if (wholeProgram_ && matchAnnounced_ != g.matchesStarted) {
    matchAnnounced_ = g.matchesStarted;
    out_ << "match " << matchAnnounced_ << '\n';
  }
  out_ << g.matchTick;
  return true;
}

void EventLog::Attach(Game& g, bool wholeProgram, bool matchOnly) {
  wholeProgram_ = wholeProgram;
  matchOnly_ = matchOnly;
  g.onSound = [this](Game& game, int id) {
    if (!Stamp(game)) return;
    out_ << " sound " << id << '\n';
  };
  g.onPanels = [this](Game& game, const TickEvent& redraw) {
    if (!Stamp(game)) return;
    out_ << " panels";
    for (int s = 0; s < kSeats; ++s) out_ << ' ' << redraw.score[s] << '/' << redraw.power[s];
    out_ << '\n';
  };
  g.onLoop = [this](Game& game, int id) {
    if (!Stamp(game)) return;
    out_ << " loop " << id << '\n';
  };
}

}  // namespace kelmora
