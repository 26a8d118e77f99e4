#pragma once
// An online match: friends in different homes in one match. The host's machine decides the
// match; every machine runs it ahead of the network with rollback, sends its own seats'
// controls to the others and writes out (dump, event log, recording) confirmed ticks only, so
// every machine writes the same files.
#include <cstdint>
#include <functional>
#include <string>

#include "net/link.h"

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
};

// What the network did in a match, for the result line.
struct OnlineResult {
  int status = 0;  // 0: the match ran to its end
  int rollbacks = 0, resimulated = 0, longestRollback = 0, longestStall = 0, desyncs = 0;
  uint64_t bytesSent = 0, bytesReceived = 0;  // the messages
  uint64_t wireSent = 0, wireReceived = 0;    // with ENet's own traffic, without UDP and IP headers
  int dropped = 0;  // packets refused: malformed, oversized, out of range or not the sender's
  int ticks = 0;    // confirmed ticks
  double seconds = 0;
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

}  // namespace kelmora
