#pragma once
// Short taps: a key released before any tick has seen its press would set a flag and clear it
// again unseen. KeyTaps hands key events to the key map, but holds a release back until a
// tick has seen the press it ends; events that come after a held release wait behind it, so
// their order never changes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace kelmora {
struct MatchState;
struct ControlOp;
}

namespace kelmora::input {

class KeyTaps {
 public:
  // `pass` numbers the ticks: it grows by one whenever the running loop has run a tick.
  void KeyDown(MatchState& st, int16_t keyCode, int16_t shift, int64_t pass);
  void KeyUp(MatchState& st, int16_t keyCode, int16_t shift, int64_t pass);
  // Lets the held releases go (and the events behind them) once a tick has seen their presses.
  void Release(MatchState& st, int64_t pass);
  // Number of events waiting.
  size_t Waiting() const { return waiting_.size(); }
  // While a match runs, what the keys do to the seats goes to the next tick's controls.
  void Gather(std::vector<ControlOp>* to) { gather_ = to; }

 private:
  struct Event {
    bool down;
    int16_t keyCode, shift;
  };
  // Whether a tick has yet to see a press that this release would undo.
  bool Unseen(const Event& up, int64_t pass) const;
  void Apply(MatchState& st, const Event& e, int64_t pass);

  static constexpr int64_t kNever = INT64_MIN;
  std::deque<Event> waiting_;
  std::vector<ControlOp>* gather_ = nullptr;
  std::array<int64_t, 256> pressedIn_ = Filled();  // pass of each key's latest key-down
  int64_t modifierPressIn_ = kNever;  // pass of the latest key-down with Ctrl alone or Shift alone

  static std::array<int64_t, 256> Filled() {
    std::array<int64_t, 256> a;
    a.fill(kNever);
    return a;
  }
};

}  // namespace kelmora::input
