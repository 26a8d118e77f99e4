#include "net/link.h"

#include <enet/enet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <arpa/inet.h>

#include <algorithm>
#include <chrono>

namespace kelmora::net {

namespace {

// ENet is started once for the process and stopped at its end.
bool StartEnet() {
  static const bool started = [] {
    if (enet_initialize() != 0) return false;
    std::atexit(enet_deinitialize);
    return true;
  }();
  return started;
}

constexpr size_t kChannels = 1;

}  // namespace

std::unique_ptr<Link> Link::Host(uint16_t port, int maxPeers, std::string& error) {
  if (!StartEnet()) {
    error = "cannot start the network library";
    return nullptr;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  std::unique_ptr<Link> link(new Link());
  link->host_ = enet_host_create(&address, static_cast<size_t>(maxPeers), kChannels, 0, 0);
  if (!link->host_) {
    error = "cannot listen on UDP port " + std::to_string(port) + " (is another program using it?)";
    return nullptr;
  }
  link->start_ = link->Now();
  return link;
}

std::unique_ptr<Link> Link::Join(const std::string& host, uint16_t port, std::string& error) {
  if (!StartEnet()) {
    error = "cannot start the network library";
    return nullptr;
  }
  ENetAddress address{};
  if (enet_address_set_host(&address, host.c_str()) != 0) {
    error = "unknown host '" + host + "'";
    return nullptr;
  }
  address.port = port;
  std::unique_ptr<Link> link(new Link());
  link->host_ = enet_host_create(nullptr, 1, kChannels, 0, 0);
  if (!link->host_) {
    error = "cannot open a UDP socket";
    return nullptr;
  }
  ENetPeer* peer = enet_host_connect(link->host_, &address, kChannels, 0);
  if (!peer) {
    error = "cannot connect to " + host + ":" + std::to_string(port);
    return nullptr;
  }
  link->peers_.push_back(peer);
  peer->data = reinterpret_cast<void*>(static_cast<intptr_t>(1));
  link->start_ = link->Now();
  return link;
}

Link::~Link() {
  if (!host_) return;
  // A goodbye that lets the last reliable messages arrive first, waited for a moment.
  int open = 0;
  for (ENetPeer* p : peers_) {
    if (p) {
      enet_peer_disconnect_later(p, 0);
      ++open;
    }
  }
  ENetEvent e;
  const uint32_t until = Now() + 300;
  while (open > 0 && static_cast<int32_t>(until - Now()) > 0 && enet_host_service(host_, &e, 20) >= 0) {
    if (e.type == ENET_EVENT_TYPE_DISCONNECT) --open;
    if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
  }
  for (ENetPeer* p : peers_) {
    if (p && p->state != ENET_PEER_STATE_DISCONNECTED) enet_peer_reset(p);
  }
  enet_host_destroy(host_);
}

uint32_t Link::Now() const {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

ENetPeer* Link::PeerOf(int id) const {
  if (id < 1 || id > static_cast<int>(peers_.size())) return nullptr;
  return peers_[static_cast<size_t>(id - 1)];
}

LinkEvent Link::Poll(uint32_t waitMs) {
  LinkEvent out;
  ENetEvent e;
  if (enet_host_service(host_, &e, waitMs) <= 0) return out;
  switch (e.type) {
    case ENET_EVENT_TYPE_CONNECT: {
      int id = static_cast<int>(reinterpret_cast<intptr_t>(e.peer->data));
      if (id == 0) {
        peers_.push_back(e.peer);
        id = static_cast<int>(peers_.size());
        e.peer->data = reinterpret_cast<void*>(static_cast<intptr_t>(id));
      }
      // The inputs go unreliable: ENet's throttle must not drop them on this side.
      enet_peer_throttle_configure(e.peer, 5000, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
      enet_peer_timeout(e.peer, 0, 8000, 15000);
      out.kind = LinkEvent::Kind::Connect;
      out.peer = id;
      break;
    }
    case ENET_EVENT_TYPE_DISCONNECT: {
      const int id = static_cast<int>(reinterpret_cast<intptr_t>(e.peer->data));
      if (id >= 1 && id <= static_cast<int>(peers_.size())) peers_[static_cast<size_t>(id - 1)] = nullptr;
      out.kind = LinkEvent::Kind::Disconnect;
      out.peer = id;
      break;
    }
    case ENET_EVENT_TYPE_RECEIVE: {
      out.kind = LinkEvent::Kind::Receive;
      out.peer = static_cast<int>(reinterpret_cast<intptr_t>(e.peer->data));
      out.data.assign(e.packet->data, e.packet->data + e.packet->dataLength);
      bytesReceived_ += e.packet->dataLength;
      enet_packet_destroy(e.packet);
      break;
    }
    default:
      break;
  }
  return out;
}

void Link::SendNow(int peer, const std::vector<uint8_t>& bytes, bool reliable) {
  ENetPeer* p = PeerOf(peer);
  if (!p) return;
  ENetPacket* packet =
      enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
  if (!packet) return;
  if (enet_peer_send(p, 0, packet) != 0) {
    enet_packet_destroy(packet);
    return;
  }
  bytesSent_ += bytes.size();
}

void Link::Send(int peer, const std::vector<uint8_t>& bytes, bool reliable) {
  if (reliable || !sim_.Active()) {
    SendNow(peer, bytes, reliable);
    return;
  }
  const uint32_t now = Now();
  const int since = static_cast<int>(now - start_);
  if (sim_.blackoutAt >= 0 && since >= sim_.blackoutAt && since < sim_.blackoutAt + sim_.blackoutMs) {
    ++simDropped_;
    return;
  }
  if (std::uniform_real_distribution<double>(0, 100)(dice_) < sim_.loss) {
    ++simDropped_;
    return;
  }
  int wait = sim_.delay;
  if (sim_.jitter > 0) wait += std::uniform_int_distribution<int>(-sim_.jitter, sim_.jitter)(dice_);
  held_.push_back({now + static_cast<uint32_t>(std::max(0, wait)), peer, bytes});
}

void Link::Flush() {
  const uint32_t now = Now();
  // Held packets go out when due; with jitter a later one may overtake an earlier one.
  for (auto it = held_.begin(); it != held_.end();) {
    if (static_cast<int32_t>(now - it->due) >= 0) {
      SendNow(it->peer, it->bytes, false);
      it = held_.erase(it);
    } else {
      ++it;
    }
  }
  enet_host_flush(host_);
}

void Link::Disconnect(int peer) {
  if (ENetPeer* p = PeerOf(peer)) {
    enet_peer_disconnect_later(p, 0);
    peers_[static_cast<size_t>(peer - 1)] = nullptr;
  }
}

std::string Link::Address(int peer) const {
  ENetPeer* p = PeerOf(peer);
  if (!p) return "?";
  char text[64] = "?";
  enet_address_get_host_ip(&p->address, text, sizeof text);
  return std::string(text) + ":" + std::to_string(p->address.port);
}

Traffic Link::traffic() const {
  Traffic t;
  t.bytesSent = bytesSent_;
  t.bytesReceived = bytesReceived_;
  if (host_) {
    t.wireSent = host_->totalSentData;
    t.wireReceived = host_->totalReceivedData;
    t.packetsSent = host_->totalSentPackets;
    t.packetsReceived = host_->totalReceivedPackets;
  }
  return t;
}

void Link::SetSim(const NetSim& sim) {
  sim_ = sim;
  dice_.seed(sim.seed);
}

std::vector<std::string> LocalAddresses() {
  std::vector<std::string> out, loopback;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {"127.0.0.1"};
  for (ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(a->ifa_addr)->sin_addr, text, sizeof text);
    (std::string(text).rfind("127.", 0) == 0 ? loopback : out).push_back(text);
  }
  freeifaddrs(list);
  out.insert(out.end(), loopback.begin(), loopback.end());
  return out;
}

}  // namespace kelmora::net
