#pragma once
// An online match: friends in different homes in one match. The host's machine decides the
// match; every machine runs it ahead of the network with rollback, sends its own seats'
// controls to the others and writes out (dump, event log, recording) confirmed ticks only, so
// every machine writes the same files.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/link.h"
#include "net/protocol.h"

namespace kelmora {
struct Game;

struct OnlineOptions {
  bool host = false;
  bool watch = false;                  // joins as a watcher (no seats)
  bool headless = true;                // false: in the window, on the real clock
  std::string address = "127.0.0.1";  // the host to join
  uint16_t port = 7790;
  uint8_t seats = 0;                   // bit s: seat s is played on this machine
  int tickMs = 20;
  int inputDelay = 2;
  int window = 8;
  net::NetSim sim;
  std::string name;                    // how the others call this machine
  std::string version;                 // told to the others; the program's own when empty
  int stopAfter = 0;                   // tests: the match ends after this many confirmed ticks
  bool menu = false;                   // the machines meet in the host's menu (no set match)
  // The device on this machine that plays each of its seats: the key sets of 1P and 2P (with
  // the pads beside them), then the pads of 3P and 4P. A set match plays each seat with its own.
  std::array<int8_t, 4> devices{0, 1, 2, 3};
};

// Another machine of a session that met in the menu, as a match starts and as it ends.
struct SessionPeer {
  int id = 0;  // its number on the link
  std::string name;
  uint8_t seats = 0;                          // bit s: seat s is played there
  std::array<int8_t, 4> devices{-1, -1, -1, -1};  // of each of its seats: its device there
  bool gone = false;                          // it left or went silent
};

// What the network did in a match, for the result line.
struct OnlineResult {
  int status = 0;  // 0: the match ran to its end
  int rollbacks = 0, resimulated = 0, longestRollback = 0, longestStall = 0, desyncs = 0;
  net::Traffic traffic;
  int dropped = 0;  // packets refused: malformed, oversized, out of range or not the sender's
  int ticks = 0;    // confirmed ticks
  double seconds = 0;
  bool quit = false;  // this machine's player ended it (Esc)
  std::string ended;  // why it ended early
  std::string Json() const;
};

// The rules' digest: a fixed computer match, played at start-up, hashed. Two programs whose
// rules differ in anything a match can show have different digests.
uint64_t RulesDigest();

// Plays one online match on the program started up in `g` (title and menu skipped): the
// host waits for a joiner for every seat that is neither its own nor a computer's, then all
// play. `onConfirmed(tick)` is told of each confirmed tick in order, with g.st holding its
// state (the dump); g.onSound and g.onPanels hear its events.
OnlineResult RunOnlineMatch(Game& g, const OnlineOptions& o, const std::function<void(int)>& onConfirmed,
                            const std::function<void(const std::string&)>& onRecordLine);

// One match of a session whose machines met in the menu, over its link. The host tells each
// of `peers` its seats and starts; a joiner (whose only peer is the host) has had the host's
// Welcome, applied with AdoptWelcome, and waits for the start. Machines that arrive during
// the match watch it and are added to `peers`; those that leave are marked gone.
OnlineResult RunMenuMatch(Game& g, const OnlineOptions& o, net::Link& link, std::vector<SessionPeer>& peers,
                          const std::function<void(int)>& onConfirmed,
                          const std::function<void(const std::string&)>& onRecordLine);

// A joiner takes the host's match: stage, characters, computer seats, the generator, and this
// machine's seats and their devices (into `o`).
void AdoptWelcome(Game& g, const net::Welcome& w, OnlineOptions& o);

// Why the host refuses a joiner of another program: empty when both run the same one.
std::string VersionRefusal(const net::Hello& h, const std::string& who, const std::string& version);
// The version told to the others: `o.version`, else the program's own.
std::string SessionVersion(const OnlineOptions& o);

}  // namespace kelmora
