#pragma once
// The network link of an online session, over ENet (reliable UDP): a host that joiners
// connect to, or a joiner's connection to its host. Peers are numbered from 1 in the order
// they connect. Outgoing unreliable packets can be degraded on purpose (--net-sim).
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

typedef struct _ENetHost ENetHost;
typedef struct _ENetPeer ENetPeer;

namespace kelmora::net {

// A bad network, simulated on this peer's outgoing unreliable packets: each is lost with
// `loss` percent, else held back `delay` ms, give or take up to `jitter` ms. Seeded.
struct NetSim {
  double loss = 0;
  int delay = 0, jitter = 0;
  uint32_t seed = 1;
  // A blackout: nothing goes out from `blackoutAt` ms after the start for `blackoutMs` ms.
  int blackoutAt = -1, blackoutMs = 0;
  bool Active() const { return loss > 0 || delay > 0 || jitter > 0 || blackoutAt >= 0; }
};

struct LinkEvent {
  enum class Kind { None, Connect, Disconnect, Receive };
  Kind kind = Kind::None;
  int peer = 0;
  std::vector<uint8_t> data;
};

// What a link carried each way.
struct Traffic {
  uint64_t bytesSent = 0, bytesReceived = 0;  // the messages
  // Everything ENet sent and received, its own headers, acknowledgements and pings included;
  // without UDP and IP headers.
  uint64_t wireSent = 0, wireReceived = 0;
  // The datagrams themselves: each costs 28 bytes of UDP and IP on top of the wire's bytes.
  uint64_t packetsSent = 0, packetsReceived = 0;
  Traffic operator-(const Traffic& since) const {
    return {bytesSent - since.bytesSent,     bytesReceived - since.bytesReceived,
            wireSent - since.wireSent,       wireReceived - since.wireReceived,
            packetsSent - since.packetsSent, packetsReceived - since.packetsReceived};
  }
};

class Link {
 public:
  // A host listening on `port` (all addresses); null with `error` set when it cannot.
  static std::unique_ptr<Link> Host(uint16_t port, int maxPeers, std::string& error);
  // A connection to host:port being made; null with `error` set when the name is unknown.
  static std::unique_ptr<Link> Join(const std::string& host, uint16_t port, std::string& error);
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // The next event, waiting up to `waitMs` for one (0: none waiting is fine).
  LinkEvent Poll(uint32_t waitMs);
  void Send(int peer, const std::vector<uint8_t>& bytes, bool reliable);
  // Sends the held-back packets that are due, then everything queued.
  void Flush();
  void Disconnect(int peer);
  // The peer's address as text.
  std::string Address(int peer) const;

  void SetSim(const NetSim& sim);
  uint64_t simDropped() const { return simDropped_; }
  // What went each way since the link opened.
  Traffic traffic() const;

 private:
  Link() = default;
  uint32_t Now() const;
  void SendNow(int peer, const std::vector<uint8_t>& bytes, bool reliable);
  ENetPeer* PeerOf(int id) const;

  ENetHost* host_ = nullptr;
  std::vector<ENetPeer*> peers_;  // by number - 1; null once gone
  NetSim sim_;
  std::mt19937 dice_;
  struct Held {
    uint32_t due;
    int peer;
    std::vector<uint8_t> bytes;
  };
  std::deque<Held> held_;
  uint32_t start_ = 0;
  uint64_t bytesSent_ = 0, bytesReceived_ = 0, simDropped_ = 0;
};

// The addresses of this machine that friends can join (IPv4, loopback last).
std::vector<std::string> LocalAddresses();

}  // namespace kelmora::net
