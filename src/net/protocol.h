#pragma once
// The messages peers exchange, and their bytes. Every message starts with the two bytes "KM"
// and its kind; numbers are little-endian. Decoding checks every length and range and refuses
// what it cannot take whole: a packet is used as a whole or not at all.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "match/match_state.h"
#include "net/seat_input.h"

namespace kelmora::net {

constexpr uint16_t kProtocol = 3;
constexpr size_t kMaxPacket = 1200;  // under ENet's MTU: never fragmented
constexpr int kMaxRangeTicks = 40;   // ticks of one seat's controls in one packet

enum class MessageKind : uint8_t { Hello = 1, Welcome, Refuse, Start, Inputs, Hash, TakeOver, Bye, Lobby, MenuPads };

// Joiner to host: who it is and which seats it plays.
struct Hello {
  uint16_t protocol = kProtocol;
  std::string version;  // the program's version
  uint64_t rules = 0;   // digest of the rules: a fixed computer match played at start-up
  std::string name;
  uint8_t seats = 0;    // bit s: seat s is played on the joiner
  bool menu = false;    // joins the host's menu (its players take seats there), not a set match
};

// Host to joiner: the match and how it is played.
struct Welcome {
  int16_t stage = 0;
  Seat16 characters{}, cpu{};
  uint16_t tickMs = 20;
  uint8_t inputDelay = 2, window = 8;
  uint8_t seats = 0;       // the joiner's seats
  std::string hostName;
  uint64_t rndState = 0, rndDraws = 0;  // the random generator as the match starts
  int16_t cpuOption = 1, menuCursor = 200;
  std::array<int8_t, kSeats> devices{-1, -1, -1, -1};  // of each of the joiner's seats: its device there
};

// Host to every machine in the menu: the menu as the host holds it. Machines are numbered 0
// (the host) and then by the order they connected.
constexpr uint8_t kNoMachine = 255;
struct LobbyMachine {
  uint8_t id = 0;
  std::string name;
};
struct Lobby {
  uint8_t you = 0;  // the receiver's own number
  int16_t stage = 0, cpuOption = 1, menuCursor = 200;
  Seat16 characters{-1, -1, -1, -1};
  std::array<uint8_t, kSeats> owner{kNoMachine, kNoMachine, kNoMachine, kNoMachine};  // machine of each seat
  std::array<uint8_t, kSeats> device{kNoMachine, kNoMachine, kNoMachine, kNoMachine};  // its device there
  std::vector<LobbyMachine> machines;  // at most 5
};

// Joiner to host in the menu: its four devices as they are held now (the key sets of 1P and
// 2P with the pads beside them, then the pads of 3P and 4P).
struct MenuDevice {
  int8_t x = 0, z = 0;
  uint8_t action = 0;
  friend bool operator==(const MenuDevice&, const MenuDevice&) = default;
};
using MenuPads = std::array<MenuDevice, kSeats>;

struct Refuse {
  std::string why;
};

// Host to every joiner: the match starts now.
struct Start {};

// One seat's controls for a run of ticks.
struct InputRange {
  uint8_t seat = 0;
  uint32_t from = 0;  // the first tick (16 bits on the wire)
  std::vector<SeatInput> ticks;
};

// Ticks travel as 16 bits: a match has 1,900 (and a seat needing no more controls acks 65535).
struct Inputs {
  uint32_t tick = 0;   // the sender's last tick run (time sync)
  int8_t ahead = 0;    // how far the sender is ahead of the receiver's last tick it heard of
  uint8_t ackedSeats = 0;                // bit s: `acked[s]` is sent (a seat the receiver sends)
  std::array<uint32_t, kSeats> acked{};  // per seat: every tick up to this one has arrived
  std::vector<InputRange> ranges;
};

// A confirmed tick's state hash.
struct Hash {
  uint32_t tick = 0;
  uint64_t hash = 0;
};

// Host to every joiner: computers play these seats from this tick on.
struct TakeOver {
  uint32_t tick = 0;
  uint8_t seats = 0;
};

struct Bye {};

struct Message {
  MessageKind kind = MessageKind::Bye;
  Hello hello;
  Welcome welcome;
  Refuse refuse;
  Inputs inputs;
  Hash hash;
  TakeOver takeOver;
  bool byeDone = false;
  Lobby lobby;
  MenuPads menuPads{};
};

std::vector<uint8_t> Encode(const Hello& m);
std::vector<uint8_t> Encode(const Welcome& m);
std::vector<uint8_t> Encode(const Refuse& m);
std::vector<uint8_t> EncodeStart();
// Ranges that do not fit in one packet are left out from the last one on.
std::vector<uint8_t> Encode(const Inputs& m);
std::vector<uint8_t> Encode(const Hash& m);
std::vector<uint8_t> Encode(const TakeOver& m);
// `done`: the sender saw the match to its end (else it left or ended it early).
std::vector<uint8_t> EncodeBye(bool done);
std::vector<uint8_t> Encode(const Lobby& m);
std::vector<uint8_t> Encode(const MenuPads& m);

// The message in the bytes, or nothing when they are not one whole, valid message.
std::optional<Message> Decode(const uint8_t* data, size_t size);

}  // namespace kelmora::net
