#pragma once
// The menu of an online session: the same menu on every machine, held by the host. A player
// on any machine joins with their own action key or pad button and takes the lowest free seat
// (1P stays with the host's arrow keys, which also keep the rows); the host's C key and Enter
// decide for everyone, and each machine keeps its own display mode and music (a joiner's arrow
// keys have a cursor of their own for it).
#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "frontend/draw_screens.h"
#include "match/match_state.h"
#include "match/play/online_match.h"
#include "net/link.h"
#include "net/protocol.h"

namespace kelmora {
struct Game;
}

namespace kelmora::frontend {

class OnlineMenu {
 public:
  enum class Outcome { Start, Left, Closed };

  // The host listens on o.port and says where friends join; a joiner connects and is let in.
  // Null with `why` set when the session cannot be opened or the host refuses. `loaded` is the
  // state as the program started: every machine starts its match from it.
  static std::unique_ptr<OnlineMenu> Open(Game& g, const OnlineOptions& o, const MatchState& loaded, std::string& why);

  // The menu's ticks until the host starts a match (Start: g.st holds it, `o` this machine's
  // seats and their devices), this machine leaves with Esc or the host goes (Left, with `why`
  // set when someone should be told), or the window closes.
  Outcome Run(OnlineOptions& o, std::string& why);
  // After a match: the machines as it left them.
  void Back();
  // Leaves the session: the others are told.
  void Leave();

  net::Link& link() { return *link_; }
  std::vector<SessionPeer>& peers() { return peers_; }

 private:
  struct Machine {
    int id = 0;  // 0: the host; else its number on the link
    std::string name;
    bool welcomed = false, gone = false;
    net::MenuPads now{};
    std::deque<net::MenuPads> queued;  // changes not yet seen by a tick, one a tick
    std::array<int, kSeats> wait{};     // a device that just left waits before it joins again
  };

  OnlineMenu(Game& g, const OnlineOptions& o, const MatchState& loaded, std::unique_ptr<net::Link> link);
  bool Connect(std::string& why);
  void Service(uint32_t waitMs, std::string& why);
  void HostReceive(Machine& m, const net::Message& msg);
  void HostTick();
  bool HostStart(OnlineOptions& o);
  void JoinerTick();
  void OwnRows(net::MenuDevice& dev);
  void SendLobby(bool now);
  void ApplyLobby(const net::Lobby& l);
  net::MenuPads ReadDevices();
  void ShowRoster();
  Machine* MachineById(int id);
  // A machine that left gives its seats back; true when it had any.
  bool FreeSeatsOf(int machine);
  void FromLoaded();

  Game& g_;
  OnlineOptions o_;
  MatchState loaded_;
  std::unique_ptr<net::Link> link_;
  std::vector<Machine> machines_;  // the host's: itself first
  std::vector<SessionPeer> peers_;
  std::array<int, kSeats> owner_{-1, -1, -1, -1};   // the machine whose device plays the seat
  std::array<int, kSeats> device_{-1, -1, -1, -1};  // and that device
  std::vector<uint8_t> lastLobby_;
  double lastLobbyMs_ = -1e9, lastPadsMs_ = -1e9;
  net::MenuPads sentPads_{};
  net::Lobby lobby_;  // a joiner's: the menu as the host last told it
  bool welcomed_ = false, hostGone_ = false, started_ = false;
  net::Welcome welcome_;
  int16_t cursor_ = kRowCharacter;  // a joiner's own cursor: the character or the display-mode row
  int rowWait_ = 0;       // and its repeat delay, in menu ticks
  std::string rosterShown_;
  bool rosterUp_ = false;
};

}  // namespace kelmora::frontend
