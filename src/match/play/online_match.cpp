#include "match/play/online_match.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <thread>

#include "audio/music.h"
#include "frontend/help_page.h"
#include "input/get_controller.h"
#include "input/seat_pads.h"
#include "match/play/game.h"
#include "match/play/run_match.h"
#include "match/state_fields.h"
#include "match/view/match_view.h"
#include "net/protocol.h"
#include "net/rollback.h"
#include "platform/clock.h"
#include "platform/window.h"

#ifndef KELMORA_VERSION
#define KELMORA_VERSION "unknown"
#endif

namespace kelmora {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kSilentWarnMs = 500;
// Controls that the others would predict right go out every this many ticks (less half a
// tick, so that a tick a little early does not wait for the next one).
constexpr double kSendEveryTicks = 1.5;
constexpr int kSilentDropMs = 5000;
constexpr int kHashEvery = 25;
constexpr int kJoinTimeoutMs = 5000;
constexpr int kWaitForPlayersMs = 60000;
constexpr int kLingerMs = 3000;
constexpr int kLastTick = kMatchTicks;
constexpr int kWatchBehind = 100;  // ticks a watcher stays behind the host: two seconds

double MsSince(SteadyClock::time_point t) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - t).count();
}

const char* KindName(ControlKind k) {
  switch (k) {
    case ControlKind::StickX: return "stick-x";
    case ControlKind::StickZ: return "stick-z";
    case ControlKind::LetGoX: return "let-go-x";
    case ControlKind::LetGoZ: return "let-go-z";
    case ControlKind::PressAction: return "press-action";
    case ControlKind::ReleaseAction: return "release-action";
    case ControlKind::PressSpecial: return "press-special";
    case ControlKind::ReleaseSpecial: return "release-special";
    case ControlKind::ComputerPlays: return "computer";
  }
  return "?";
}

std::string SeatList(uint8_t seats) {
  std::string out;
  for (int s = 0; s < kSeats; ++s) {
    if (seats & (1u << s)) out += (out.empty() ? "" : ", ") + std::to_string(s + 1) + "P";
  }
  return out;
}

// The state as every machine holds it: the fields that belong to one machine (its clock, its
// run flag, its display and music choices, its shared keys) are written as a headless run on
// one machine writes them, with the match's own tick as the clock's.
MatchState Shared(const MatchState& st, int tick) {
  MatchState out = st;
  out.lastTick = tick;
  out.running = -1;
  out.displayMode = 240;
  out.musicOn = 1;
  out.enterPressed = out.cpuKeyPressed = out.musicKeyPressed = 0;
  return out;
}

struct Peer {
  int id = 0;
  std::string name;
  uint8_t seats = 0;
  bool welcomed = false;
  bool watcher = false;  // watches the match: plays no seat
  bool gone = false;
  bool left = false;  // its connection closed: it left the session
  bool warned = false;
  SteadyClock::time_point lastHeard = SteadyClock::now();
  std::array<uint32_t, kSeats> acked{};  // what the peer has of each seat
  int remoteTick = 0;
  int remoteAhead = 0;  // how far the peer saw itself ahead of this machine
};

class Session {
 public:
  Session(Game& g, const OnlineOptions& o, net::Link& link, const std::function<void(int)>& onConfirmed,
          const std::function<void(const std::string&)>& onRecordLine)
      : g_(g), o_(o), link_(link), onConfirmed_(onConfirmed), onRecordLine_(onRecordLine), startRnd_(g.rnd) {}

  bool Handshake(OnlineResult& r);
  // The match of machines that met in the menu: the host tells each its seats and starts, a
  // joiner waits for the start.
  bool FromMenu(std::vector<SessionPeer>& peers, OnlineResult& r);
  // Back to the menu: the machines as the match leaves them.
  void ToMenu(std::vector<SessionPeer>& peers) const;
  void Play(OnlineResult& r);

 private:
  void Say(const std::string& text) {
    said_ = text;
    std::fprintf(stderr, "kelmora: %s\n", text.c_str());
  }
  Peer* PeerById(int id) {
    for (Peer& p : peers_) {
      if (p.id == id) return &p;
    }
    return nullptr;
  }
  void Service(uint32_t waitMs);
  // In the window, a line over the view saying what the match waits for; empty takes it away.
  void ShowNotice(const std::string& text);
  // False (the status set) when the wait has lasted too long or the window was closed.
  bool StillWaiting(SteadyClock::time_point started, const std::string& tooLong, OnlineResult& r);
  void Watch(OnlineResult& r);
  void Finish(OnlineResult& r, double seconds);
  // The host's answer to a Hello: refused (another version, seats taken) or welcomed as a
  // player of free seats or as a watcher; during the match a watcher starts at once.
  void Welcome(Peer& p, const net::Hello& h, uint8_t& wanted, bool during);
  // The match as a joiner of these seats (played with these devices there) takes it.
  net::Welcome MatchWelcome(uint8_t seats, const std::array<int8_t, kSeats>& devices) const;
  void Receive(Peer& p, const net::Message& m);
  void Store(int seat, int tick, const net::SeatInput& in);
  void SendInputs();
  void GatherLocal(int tick);
  void PlayFirstRun(const TickEvents& events);
  void WriteConfirmed();
  void CheckSilence();
  void TakeOver(Peer& p, const std::string& why);
  void Desync(int tick);
  // Whether the controls of every seat this machine does not play have come for `tick`.
  bool OthersComplete(int tick) const {
    for (int s = 0; s < kSeats; ++s) {
      if (needed_[s] && !free_[s] && owner_[s] != 0 && !rb_->HasInput(tick, s)) return false;
    }
    return true;
  }

  Game& g_;
  const OnlineOptions& o_;
  net::Link& link_;
  const std::function<void(int)>& onConfirmed_;
  const std::function<void(const std::string&)>& onRecordLine_;
  std::vector<Peer> peers_;
  std::unique_ptr<net::Rollback> rb_;
  int tickMs_ = 20, delay_ = 2, window_ = 8;
  int base_ = 0;  // the clock's tick at the set-up: tick t of the match is base_ + t
  std::array<bool, kSeats> needed_{};
  std::array<int, kSeats> owner_{};  // the peer whose seat it is (0: this machine)
  std::array<std::vector<char>, kSeats> have_;
  std::array<std::vector<net::SeatInput>, kSeats> history_;
  std::array<int, kSeats> contiguous_{};
  std::array<bool, kSeats> free_{};  // taken over: needs no more controls
  int written_ = 0;
  int endTick_ = 0;
  std::map<int, uint64_t> ownHashes_, theirHashes_;
  int lastAgreed_ = 0;
  bool over_ = false;
  int status_ = 0;
  int dropped_ = 0, desyncs_ = 0;
  int stall_ = 0, longestStall_ = 0;
  // Controls stored since the last send that the others cannot predict (a key change, a pad
  // moved): they go out at once, the rest at most a send interval later.
  bool news_ = false;
  int rollbacksSeen_ = 0;
  std::array<PadReading, kSeats> recordedPad_{};
  std::array<bool, kSeats> padRecorded_{};
  std::string hostName_ = "the host";
  bool started_ = false;
  bool hostLeft_ = false;
  bool noticeShown_ = false;
  uint8_t unclaimed_ = 0;
  std::string said_;   // the latest line said: why a match that ends early ended
  bool quit_ = false;  // this machine's Esc ended it
  Random startRnd_;  // the generator as the match starts (told to every machine)
  std::map<int, std::array<int8_t, kSeats>> devicesOf_;  // the host's: each joiner's devices
};

bool Session::StillWaiting(SteadyClock::time_point started, const std::string& tooLong, OnlineResult& r) {
  if (MsSince(started) > kWaitForPlayersMs) {
    Say(tooLong);
    r.status = 1;
    return false;
  }
  // The window stays alive while the machines wait for each other: it can be closed.
  if (!o_.headless) g_.DoEvents();
  if (g_.closing) {
    r.status = 1;
    return false;
  }
  return true;
}

bool Session::Handshake(OnlineResult& r) {
  auto& st = g_.st;
  const auto started = SteadyClock::now();
  if (o_.host) {
    uint8_t wanted = 0;
    for (int s = 0; s < kSeats; ++s) {
      if (st.playerCharacter[s] != -1 && st.isCpu[s] == 0 && !(o_.seats & (1u << s))) wanted |= static_cast<uint8_t>(1u << s);
    }
    std::string where;
    for (const std::string& a : net::LocalAddresses()) where += "\n    kelmora --join " + a + ":" + std::to_string(o_.port);
    Say("hosting on UDP port " + std::to_string(o_.port) + " (open it to friends outside this network); they join with" +
        where);
    tickMs_ = o_.tickMs;
    delay_ = o_.inputDelay;
    window_ = o_.window;
    while (wanted != 0) {
      if (!StillWaiting(started, "nobody came for " + SeatList(wanted) + " within a minute: the match is not played", r)) {
        return false;
      }
      const net::LinkEvent e = link_.Poll(50);
      if (e.kind == net::LinkEvent::Kind::Connect) {
        peers_.push_back({});
        peers_.back().id = e.peer;
        peers_.back().name = link_.Address(e.peer);
      } else if (e.kind == net::LinkEvent::Kind::Disconnect) {
        if (Peer* p = PeerById(e.peer)) {
          if (p->welcomed) wanted |= p->seats;
          p->gone = true;
        }
      } else if (e.kind == net::LinkEvent::Kind::Receive) {
        Peer* p = PeerById(e.peer);
        const auto m = net::Decode(e.data.data(), e.data.size());
        if (!p || !m || m->kind != net::MessageKind::Hello || p->welcomed) {
          ++dropped_;
          continue;
        }
        Welcome(*p, m->hello, wanted, false);
      }
      link_.Flush();
    }
    std::erase_if(peers_, [](const Peer& p) { return p.gone || !p.welcomed; });
    for (const Peer& p : peers_) link_.Send(p.id, net::EncodeStart(), true);
    started_ = true;
    link_.Flush();
    for (Peer& p : peers_) {
      for (int s = 0; s < kSeats; ++s) {
        if (p.seats & (1u << s)) owner_[s] = p.id;
      }
    }
  } else {
    bool connected = false, welcomed = false;
    peers_.push_back({});
    peers_.back().id = 1;
    peers_.back().name = "the host";
    peers_.back().welcomed = true;
    while (true) {
      const double waited = MsSince(started);
      if (!connected && waited > kJoinTimeoutMs) {
        Say("cannot reach " + o_.address + ":" + std::to_string(o_.port) + ": no answer within 5 seconds");
        r.status = 1;
        return false;
      }
      if (!StillWaiting(started, "the host did not start the match within a minute", r)) return false;
      const net::LinkEvent e = link_.Poll(50);
      if (e.kind == net::LinkEvent::Kind::Connect) {
        connected = true;
        net::Hello h;
        h.version = o_.version.empty() ? std::string(KELMORA_VERSION) : o_.version;
        h.rules = RulesDigest();
        h.name = o_.name;
        h.seats = o_.seats;
        link_.Send(1, net::Encode(h), true);
        link_.Flush();
      } else if (e.kind == net::LinkEvent::Kind::Disconnect) {
        Say(connected ? "the host closed the connection" : "cannot reach " + o_.address + ":" + std::to_string(o_.port));
        r.status = 1;
        return false;
      } else if (e.kind == net::LinkEvent::Kind::Receive) {
        const auto m = net::Decode(e.data.data(), e.data.size());
        if (!m) {
          ++dropped_;
          continue;
        }
        if (m->kind == net::MessageKind::Refuse) {
          Say("refused by the host: " + m->refuse.why);
          r.status = 1;
          return false;
        }
        if (m->kind == net::MessageKind::Welcome && !welcomed) {
          const net::Welcome& w = m->welcome;
          welcomed = true;
          OnlineOptions mine = o_;
          AdoptWelcome(g_, w, mine);
          startRnd_ = g_.rnd;
          tickMs_ = w.tickMs;
          delay_ = w.inputDelay;
          window_ = w.window;
          if (!w.hostName.empty()) hostName_ = peers_[0].name = w.hostName;
          for (int s = 0; s < kSeats; ++s) owner_[s] = (o_.seats & (1u << s)) ? 0 : 1;
        } else if (m->kind == net::MessageKind::Start && welcomed) {
          break;
        } else {
          ++dropped_;
        }
      }
    }
  }
  return true;
}

void Session::Welcome(Peer& p, const net::Hello& h, uint8_t& wanted, bool during) {
  std::string why = VersionRefusal(h, p.name, SessionVersion(o_));
  if (why.empty() && h.seats != 0 && (during || (h.seats & ~wanted) != 0)) {
    why = "seats " + SeatList(h.seats) + " are not free (free: " + (wanted && !during ? SeatList(wanted) : "none") + ")";
  }
  if (!why.empty()) {
    Say("refused " + p.name + ": " + why);
    link_.Send(p.id, net::Encode(net::Refuse{why}), true);
    link_.Flush();
    link_.Disconnect(p.id);
    p.gone = true;
    return;
  }
  p.welcomed = true;
  p.watcher = h.seats == 0;
  p.seats = h.seats;
  if (!h.name.empty()) p.name = h.name;
  wanted &= static_cast<uint8_t>(~h.seats);
  std::array<int8_t, kSeats> devices{};
  for (int s = 0; s < kSeats; ++s) devices[static_cast<size_t>(s)] = static_cast<int8_t>((h.seats & (1u << s)) ? s : -1);
  link_.Send(p.id, net::Encode(MatchWelcome(h.seats, devices)), true);
  if (during) link_.Send(p.id, net::EncodeStart(), true);
  link_.Flush();
  Say(p.name + (p.watcher ? " watches the match" : " joined and plays " + SeatList(h.seats)));
}

net::Welcome Session::MatchWelcome(uint8_t seats, const std::array<int8_t, kSeats>& devices) const {
  const auto& st = g_.st;
  net::Welcome w;
  w.stage = st.stage;
  w.characters = st.playerCharacter;
  w.cpu = st.isCpu;
  w.tickMs = static_cast<uint16_t>(tickMs_);
  w.inputDelay = static_cast<uint8_t>(delay_);
  w.window = static_cast<uint8_t>(window_);
  w.seats = seats;
  w.hostName = o_.name;
  w.rndState = startRnd_.state();
  w.rndDraws = startRnd_.draws();
  w.cpuOption = st.cpuOption;
  w.menuCursor = st.menuCursor;
  w.devices = devices;
  return w;
}

bool Session::FromMenu(std::vector<SessionPeer>& peers, OnlineResult& r) {
  tickMs_ = o_.tickMs;
  delay_ = o_.inputDelay;
  window_ = o_.window;
  if (o_.host) {
    for (const SessionPeer& sp : peers) {
      if (sp.gone) continue;
      Peer p;
      p.id = sp.id;
      p.name = sp.name;
      p.seats = sp.seats;
      p.welcomed = true;
      p.watcher = sp.seats == 0;
      peers_.push_back(p);
      link_.Send(p.id, net::Encode(MatchWelcome(sp.seats, sp.devices)), true);
      link_.Send(p.id, net::EncodeStart(), true);
      for (int s = 0; s < kSeats; ++s) {
        if (sp.seats & (1u << s)) owner_[s] = p.id;
      }
    }
    link_.Flush();
    started_ = true;
    return true;
  }
  // A joiner has the host's Welcome: the start follows it.
  Peer host;
  host.id = peers.empty() ? 1 : peers.front().id;
  host.name = hostName_ = peers.empty() ? "the host" : peers.front().name;
  host.welcomed = true;
  peers_.push_back(host);
  for (int s = 0; s < kSeats; ++s) owner_[s] = (o_.seats & (1u << s)) ? 0 : host.id;
  const auto started = SteadyClock::now();
  while (MsSince(started) < kJoinTimeoutMs) {
    if (!o_.headless) g_.DoEvents();
    if (g_.closing) break;
    const net::LinkEvent e = link_.Poll(20);
    if (e.kind == net::LinkEvent::Kind::Disconnect) {
      peers_.front().gone = peers_.front().left = true;
      break;
    }
    if (e.kind != net::LinkEvent::Kind::Receive) continue;
    const auto m = net::Decode(e.data.data(), e.data.size());
    if (m && m->kind == net::MessageKind::Start) return true;
  }
  if (!g_.closing) Say("the host did not start the match");
  r.status = 1;
  return false;
}

void Session::ToMenu(std::vector<SessionPeer>& peers) const {
  std::vector<SessionPeer> out;
  for (const Peer& p : peers_) {
    if (!p.welcomed) continue;
    SessionPeer sp;
    sp.id = p.id;
    sp.name = p.name;
    sp.gone = p.left;
    out.push_back(sp);
  }
  peers = std::move(out);
}

void Session::Store(int seat, int tick, const net::SeatInput& in) {
  if (tick < 1 || tick > kLastTick + 64) return;
  auto& have = have_[seat];
  if (static_cast<int>(have.size()) <= tick) {
    have.resize(static_cast<size_t>(tick) + 1, 0);
    history_[seat].resize(static_cast<size_t>(tick) + 1);
  }
  if (have[static_cast<size_t>(tick)]) return;
  if (!rb_->SetInput(tick, seat, in)) return;  // too far ahead: it comes again
  const net::SeatInput& before = history_[seat][static_cast<size_t>(tick - 1)];
  const bool padHeld = !in.hasPad || (before.hasPad && before.pad.x == in.pad.x && before.pad.z == in.pad.z &&
                                      before.pad.buttons == in.pad.buttons);
  // News for another machine: this machine's own seats, or on the host a player's seat that
  // goes on to the other players.
  const bool passedOn = (o_.seats & (1u << seat)) != 0 ||
                        (o_.host && std::count_if(peers_.begin(), peers_.end(), [](const Peer& p) {
                                      return !p.gone && !p.watcher && p.welcomed;
                                    }) > 1);
  if (passedOn && (in.count != 0 || in.computer || !padHeld)) news_ = true;
  have[static_cast<size_t>(tick)] = 1;
  history_[seat][static_cast<size_t>(tick)] = in;
  while (contiguous_[seat] + 1 < static_cast<int>(have.size()) && have[static_cast<size_t>(contiguous_[seat] + 1)]) {
    ++contiguous_[seat];
  }
}

void Session::GatherLocal(int tick) {
  // The script's (or the window's) events of this tick reach the key map, as before a tick of
  // a match on one machine; what they do to the seats is gathered, not applied.
  g_.st.lastTick = base_ + tick - 1;
  // Headless, the script's clock moves to the tick; the window's keys come as they are pressed.
  if (o_.headless) g_.window.WaitUntil(static_cast<uint32_t>(base_ + tick) * platform::kTickMs);
  g_.DoEvents();
  for (int s = 0; s < kSeats; ++s) {
    if (!(o_.seats & (1u << s)) || !needed_[s] || free_[s]) continue;
    // Pads as on one machine: beside the keys on 1P and 2P, read as a pad on 3P and 4P, and
    // not once the match is decided.
    // A seat taken in the menu plays with the device that took it: a key set plays a pad seat
    // as keys, a pad plays a key seat as a pad beside the keys.
    const int device = o_.devices[static_cast<size_t>(s)];
    const bool decided = rb_->state().st.matchCounter <= kDecisionCounter;
    const input::SeatPad pad = input::ReadSeatPad(g_.joy, g_.joyDevice, device);
    net::SeatInput in;
    for (ControlOp op : g_.controls.keys) {
      if (op.seat != device) continue;
      op.seat = static_cast<int8_t>(s);
      in.Add(op);
    }
    if ((s < 2 || device < 2) && !decided) {
      std::vector<ControlOp> changes;
      input::PadKeyChanges(pad, s, changes);
      for (const ControlOp& op : changes) in.Add(op);
    }
    if (s >= 2 && device >= 2 && !decided) {
      in.hasPad = true;
      in.pad = {true, pad.now.x, pad.now.y, pad.now.buttons};
    }
    Store(s, tick + delay_, in);
  }
  g_.controls.Clear();
}

void Session::PlayFirstRun(const TickEvents& events) {
  // The scene and the strip show the state as it stands; a tick sounds only when it first runs.
  auto& view = g_.view;
  const int16_t running = g_.st.running;
  static_cast<MatchRules&>(g_) = rb_->state();
  g_.st.running = running;
  if (rb_->stats().rollbacks != rollbacksSeen_) {
    rollbacksSeen_ = rb_->stats().rollbacks;
    DrawPanels(view, g_.st.displayMode, g_.st.playerCharacter, g_.st.score, g_.st.power);
  }
  PlayTickEvents(g_, events, false);
}

void Session::WriteConfirmed() {
  while (endTick_ == 0 && written_ < rb_->confirmed()) {
    const int t = ++written_;
    const MatchState saved = g_.st;
    // A confirmed tick is written as a match on one machine writes it: the clock's tick and
    // the run flag as a headless run keeps them.
    g_.st = Shared(rb_->StateAfter(t).st, t);
    g_.matchTick = t;
    for (const TickEvent& e : rb_->EventsOf(t).list) {
      if (e.kind == TickEventKind::Sound && g_.onSound) g_.onSound(g_, e.id);
      if (e.kind == TickEventKind::Panels && g_.onPanels) g_.onPanels(g_, e);
    }
    if (onConfirmed_) onConfirmed_(t);
    if (onRecordLine_) {
      const net::TickInput& in = rb_->InputsOf(t);
      for (int s = 0; s < kSeats; ++s) {
        for (int i = 0; i < in[s].count; ++i) {
          const ControlOp& op = in[s].ops[i];
          onRecordLine_(std::to_string(t) + " control " + std::to_string(s) + " " + KindName(op.kind) + " " +
                        std::to_string(op.value));
        }
        if (in[s].computer) onRecordLine_(std::to_string(t) + " control " + std::to_string(s) + " computer 0");
        const PadReading& pad = in[s].pad;
        if (in[s].hasPad && (!padRecorded_[s] || pad.x != recordedPad_[s].x || pad.z != recordedPad_[s].z ||
                             pad.buttons != recordedPad_[s].buttons)) {
          padRecorded_[s] = true;
          recordedPad_[s] = pad;
          onRecordLine_(std::to_string(t) + " pad " + std::to_string(s) + " " + std::to_string(pad.x) + " " +
                        std::to_string(pad.z) + " " + std::to_string(static_cast<uint32_t>(pad.buttons)));
        }
      }
    }
    g_.st = saved;
    if (t % kHashEvery == 0) {
      const MatchRules& after = rb_->StateAfter(t);
      const uint64_t h = StateHash(Shared(after.st, t), after.rnd);
      ownHashes_[t] = h;
      for (const Peer& p : peers_) {
        if (!p.gone && p.welcomed) link_.Send(p.id, net::Encode(net::Hash{static_cast<uint32_t>(t), h}), true);
      }
      if (auto it = theirHashes_.find(t); it != theirHashes_.end()) {
        if (it->second != h) Desync(t);
        else lastAgreed_ = t;
      }
    }
    if (rb_->Ended(t) || t == o_.stopAfter) {
      endTick_ = t;
      break;
    }
  }
}

void Session::Desync(int tick) {
  ++desyncs_;
  if (over_) return;
  const std::string file = "kelmora-out-of-sync-" + std::to_string(tick) + (o_.host ? "-host" : "-joiner") + ".txt";
  std::ofstream out(file);
  out << "# out of sync at tick " << tick << "; the peers last agreed at tick " << lastAgreed_ << "\n";
  for (int t = std::max(lastAgreed_ + 1, written_ - net::Rollback::kKept + 1); t <= tick; ++t) {
    const MatchRules& after = rb_->StateAfter(t);
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(StateHash(Shared(after.st, t), after.rnd)));
    out << "tick " << t << " hash " << hash << " posX " << after.st.posX[0] << "," << after.st.posX[1] << ","
        << after.st.posX[2] << "," << after.st.posX[3] << " score " << after.st.score[0] << "," << after.st.score[1]
        << "," << after.st.score[2] << "," << after.st.score[3] << "\n";
    const net::TickInput& in = rb_->InputsOf(t);
    for (int s = 0; s < kSeats; ++s) {
      for (int i = 0; i < in[s].count; ++i) {
        out << "  seat " << s << " " << KindName(in[s].ops[i].kind) << " " << in[s].ops[i].value << "\n";
      }
      if (in[s].hasPad) out << "  seat " << s << " pad " << in[s].pad.x << " " << in[s].pad.z << " " << in[s].pad.buttons << "\n";
    }
  }
  Say("out of sync at tick " + std::to_string(tick) + ": the match ends; what each side saw is in " + file);
  for (const Peer& p : peers_) {
    if (!p.gone) link_.Send(p.id, net::EncodeBye(false), true);
  }
  over_ = true;
  status_ = 1;
}

void Session::Receive(Peer& p, const net::Message& m) {
  p.lastHeard = SteadyClock::now();
  if (p.warned) {
    p.warned = false;
    if (std::none_of(peers_.begin(), peers_.end(), [](const Peer& q) { return q.warned && !q.gone; })) ShowNotice("");
  }
  switch (m.kind) {
    case net::MessageKind::Inputs: {
      const net::Inputs& in = m.inputs;
      // A peer gives only the seats it may: a joiner its own, the host every seat but ours.
      for (const net::InputRange& range : in.ranges) {
        const int s = range.seat;
        const bool allowed = o_.host ? owner_[s] == p.id : owner_[s] != 0;
        if (!allowed || !needed_[s] || free_[s] || range.from + range.ticks.size() > static_cast<size_t>(kLastTick + 64)) {
          ++dropped_;
          continue;
        }
        for (size_t i = 0; i < range.ticks.size(); ++i) Store(s, static_cast<int>(range.from + i), range.ticks[i]);
      }
      // Acknowledgements only grow: an older packet overtaken by a newer one says less.
      for (int s = 0; s < kSeats; ++s) {
        if (in.ackedSeats & (1u << s)) p.acked[s] = std::max(p.acked[s], in.acked[s]);
      }
      p.remoteTick = static_cast<int>(in.tick);
      p.remoteAhead = in.ahead;
      break;
    }
    case net::MessageKind::Hash: {
      const int t = static_cast<int>(m.hash.tick);
      if (auto it = ownHashes_.find(t); it != ownHashes_.end()) {
        if (it->second != m.hash.hash) Desync(t);
        else lastAgreed_ = std::max(lastAgreed_, t);
      } else {
        theirHashes_[t] = m.hash.hash;
      }
      break;
    }
    case net::MessageKind::TakeOver:
      if (o_.host) {
        ++dropped_;
        break;
      }
      for (int s = 0; s < kSeats; ++s) {
        if ((m.takeOver.seats & (1u << s)) && needed_[s] && !free_[s]) {
          free_[s] = true;
          rb_->TakeOver(s, static_cast<int>(m.takeOver.tick));
          Say("computers play " + SeatList(static_cast<uint8_t>(1u << s)) + " from tick " +
              std::to_string(m.takeOver.tick));
        }
      }
      break;
    case net::MessageKind::Lobby:
    case net::MessageKind::MenuPads:
      break;  // the menu's, late or early: nothing for the match
    case net::MessageKind::Bye:
      if (o_.host) {
        TakeOver(p, p.name + " left");
      } else if (o_.watch) {
        hostLeft_ = true;  // the watcher plays out what it has
      } else if (m.byeDone) {
        p.gone = true;  // the host saw the match to its end: this machine has all it needs to
      } else if (!over_ && endTick_ == 0) {
        Say(hostName_ + " ended the match");
        over_ = true;
        status_ = 1;
      }
      break;
    default:
      ++dropped_;
      break;
  }
}

void Session::TakeOver(Peer& p, const std::string& why) {
  if (p.gone) return;
  p.gone = p.left = true;
  link_.Disconnect(p.id);
  if (endTick_ != 0) return;  // the match is over here: a peer leaving changes nothing
  if (o_.watch) {
    hostLeft_ = true;  // the watcher plays out what it has
    return;
  }
  if (!o_.host && started_) {
    return;  // the match goes on as long as the host's controls last (the loop looks)
  }
  if (!o_.host) {
    if (!over_) Say("the host left the session: the match ends");
    over_ = true;
    status_ = 1;
    return;
  }
  int from = kLastTick + 1;
  uint8_t seats = 0;
  for (int s = 0; s < kSeats; ++s) {
    if (owner_[s] == p.id && needed_[s] && !free_[s]) {
      from = std::min(from, contiguous_[s] + 1);
      seats |= static_cast<uint8_t>(1u << s);
    }
  }
  // A peer that leaves once all its seats' controls to the end are here leaves nothing to take.
  if (seats == 0 || from > (o_.stopAfter > 0 ? o_.stopAfter : kLastTick)) return;
  for (int s = 0; s < kSeats; ++s) {
    if (seats & (1u << s)) {
      free_[s] = true;
      rb_->TakeOver(s, from);
    }
  }
  Say(why + ": computers play " + SeatList(seats) + " from tick " + std::to_string(from));
  for (const Peer& q : peers_) {
    if (!q.gone && q.welcomed) link_.Send(q.id, net::Encode(net::TakeOver{static_cast<uint32_t>(from), seats}), true);
  }
}

void Session::ShowNotice(const std::string& text) {
  if (o_.headless || noticeShown_ == !text.empty()) return;
  noticeShown_ = !text.empty();
  if (noticeShown_) frontend::DrawNotice(g_.screen, text);
  g_.screen.ShowOverlay(noticeShown_);
  g_.window.Present(g_.screen);
}

void Session::CheckSilence() {
  for (Peer& p : peers_) {
    if (p.gone || !p.welcomed) continue;
    const double silent = MsSince(p.lastHeard);
    if (p.watcher) {
      if (silent > kSilentDropMs) {
        p.gone = true;
        link_.Disconnect(p.id);
      }
      continue;
    }
    if (silent > kSilentWarnMs && !p.warned) {
      p.warned = true;
      Say("waiting for " + p.name);
      ShowNotice("waiting for " + p.name);
    }
    if (silent > kSilentDropMs) TakeOver(p, p.name + " went silent");
  }
  if (std::none_of(peers_.begin(), peers_.end(), [](const Peer& q) { return q.warned && !q.gone; })) ShowNotice("");
}

void Session::Service(uint32_t waitMs) {
  for (uint32_t wait = waitMs;; wait = 0) {
    const net::LinkEvent e = link_.Poll(wait);
    if (e.kind == net::LinkEvent::Kind::None) break;
    Peer* p = PeerById(e.peer);
    if (e.kind == net::LinkEvent::Kind::Connect) {
      // A match under way takes watchers only: the Hello says which.
      if (o_.host) {
        peers_.push_back({});
        peers_.back().id = e.peer;
        peers_.back().name = link_.Address(e.peer);
      } else {
        link_.Disconnect(e.peer);
      }
      continue;
    }
    if (!p || p->gone) continue;
    if (o_.host && !p->welcomed) {
      const auto m = e.kind == net::LinkEvent::Kind::Receive ? net::Decode(e.data.data(), e.data.size()) : std::nullopt;
      if (e.kind == net::LinkEvent::Kind::Disconnect) {
        p->gone = true;
      } else if (m && m->kind == net::MessageKind::Hello) {
        uint8_t none = 0;
        Welcome(*p, m->hello, none, true);
        p->lastHeard = SteadyClock::now();
      } else {
        ++dropped_;
      }
      continue;
    }
    if (e.kind == net::LinkEvent::Kind::Disconnect) {
      p->left = true;
      TakeOver(*p, p->name + " left");
      continue;
    }
    const auto m = net::Decode(e.data.data(), e.data.size());
    if (!m) {
      ++dropped_;
      continue;
    }
    Receive(*p, *m);
  }
}

void Session::SendInputs() {
  for (Peer& p : peers_) {
    if (p.gone || !p.welcomed) continue;
    net::Inputs in;
    in.tick = static_cast<uint32_t>(rb_->current());
    in.ahead = static_cast<int8_t>(std::clamp(rb_->current() - p.remoteTick, -100, 100));
    for (int s = 0; s < kSeats; ++s) {
      // What this machine has of the seats the peer sends it (a joiner's own, the host's all
      // but ours), so that the peer resends only what is missing.
      const bool theirs = o_.host ? owner_[s] == p.id : owner_[s] != 0;
      if (theirs && needed_[s] && !free_[s]) {
        in.ackedSeats |= static_cast<uint8_t>(1u << s);
        in.acked[s] = static_cast<uint32_t>(contiguous_[s]);
      }
      // The host sends every seat but the receiver's own; a joiner sends its own seats.
      const bool ours = o_.host ? owner_[s] != p.id : owner_[s] == 0;
      if (!needed_[s] || free_[s] || !ours) continue;
      const int from = static_cast<int>(p.acked[s]) + 1;
      const int to = std::min(contiguous_[s], from + net::kMaxRangeTicks - 1);
      if (from > to) continue;
      net::InputRange range;
      range.seat = static_cast<uint8_t>(s);
      range.from = static_cast<uint32_t>(from);
      for (int t = from; t <= to; ++t) range.ticks.push_back(history_[s][static_cast<size_t>(t)]);
      in.ranges.push_back(std::move(range));
    }
    link_.Send(p.id, net::Encode(in), false);
  }
  link_.Flush();
}

void Session::Play(OnlineResult& r) {
  auto& st = g_.st;
  SetUpMatch(g_);
  base_ = st.lastTick;
  for (int s = 0; s < kSeats; ++s) needed_[s] = st.playerCharacter[s] != -1 && st.isCpu[s] == 0;
  rb_ = std::make_unique<net::Rollback>(static_cast<const MatchRules&>(g_), needed_, window_);
  // The first ticks, before any control can have come through the delay, have none.
  for (int t = 1; t <= delay_; ++t) {
    for (int s = 0; s < kSeats; ++s) {
      if ((o_.seats & (1u << s)) && needed_[s]) Store(s, t, net::SeatInput{});
    }
  }
  for (Peer& p : peers_) p.lastHeard = SteadyClock::now();
  started_ = true;
  if (o_.watch) {
    Watch(r);
    return;
  }
  const auto started = SteadyClock::now();
  double nextTickAt = tickMs_;
  double lingerSince = -1;
  double lastSent = -100;
  while (!g_.closing) {
    Service(0);
    CheckSilence();
    if (g_.st.running == 0 && !over_) {
      // Esc: a joiner leaves the session; on the host it ends the match for everyone.
      for (const Peer& p : peers_) {
        if (!p.gone) link_.Send(p.id, net::EncodeBye(false), true);
      }
      link_.Flush();
      Say(o_.host ? "the host ended the match" : "left the session");
      quit_ = true;
      over_ = true;
      status_ = 1;
    }
    if (over_) break;
    if (endTick_ == 0 && !o_.host && std::all_of(peers_.begin(), peers_.end(), [](const Peer& p) { return p.gone; }) &&
        !OthersComplete(rb_->confirmed() + 1)) {
      Say("the host left the session: the match ends");
      status_ = 1;
      break;
    }
    const double now = MsSince(started);
    bool ran = false;
    const int lastToRun = o_.stopAfter > 0 ? std::min(o_.stopAfter + delay_ + window_, kLastTick) : kLastTick;
    if (endTick_ == 0 && rb_->current() < lastToRun && now >= nextTickAt) {
      if (rb_->CanAdvance() && rb_->current() + 1 <= kLastTick) {
        const int next = rb_->current() + 1;
        GatherLocal(next);
        bool ended = false;
        const TickEvents& events = rb_->Advance(ended);
        PlayFirstRun(events);
        ran = true;
        stall_ = 0;
        // A peer that runs ahead of the others waits a little: its next tick comes later.
        double stretch = 0;
        // Each side sees the other late by the same network delay, so half the difference of
        // the two sides' views is how far this machine really is ahead.
        for (const Peer& p : peers_) {
          if (p.gone || p.watcher || !p.welcomed) continue;
          const int ahead = ((rb_->current() - p.remoteTick) - p.remoteAhead) / 2;
          if (ahead >= 2) stretch = std::max(stretch, tickMs_ * 0.25);
        }
        // Never faster than a tick's length, even after a wait.
        nextTickAt = std::max(nextTickAt, now) + tickMs_ + stretch;
      } else {
        ++stall_;
        longestStall_ = std::max(longestStall_, stall_);
        nextTickAt = now + tickMs_;
      }
    }
    rb_->Settle();
    WriteConfirmed();
    // A tick whose controls the others would predict wrong is sent at once; otherwise every
    // other tick carries the controls, the acknowledgements and the clock (a predicted tick
    // that arrives later changes nothing), unless this machine runs near the end of its
    // window: the network is slow, and the others, as far ahead of what they know, wait for
    // every tick of ours.
    const bool nearEdge = rb_->current() - rb_->confirmed() >= window_ - 2;
    if ((ran && (news_ || nearEdge)) || now - lastSent >= kSendEveryTicks * tickMs_) {
      SendInputs();
      news_ = false;
      lastSent = now;
    }
    if (endTick_ != 0) {
      // Stay until every peer has all of this machine's controls (or they stop answering).
      if (lingerSince < 0) lingerSince = now;
      bool allHave = true;
      for (const Peer& p : peers_) {
        if (p.gone || !p.welcomed) continue;
        for (int s = 0; s < kSeats; ++s) {
          const bool ours = o_.host ? owner_[s] != p.id : owner_[s] == 0;
          if (needed_[s] && !free_[s] && ours && static_cast<int>(p.acked[s]) < endTick_) allHave = false;
        }
      }
      if (allHave || now - lingerSince > kLingerMs) break;
    }
    const double untilTick = nextTickAt - MsSince(started);
    Service(static_cast<uint32_t>(std::clamp(untilTick, 0.0, 5.0)));
  }
  Finish(r, MsSince(started) / 1000.0);
}

void Session::Finish(OnlineResult& r, double seconds) {
  ShowNotice("");
  for (const Peer& p : peers_) {
    if (!p.gone) link_.Send(p.id, net::EncodeBye(status_ == 0 && endTick_ != 0), true);
  }
  link_.Flush();
  const auto& stats = rb_->stats();
  r.status = status_;
  r.quit = quit_;
  if (status_ != 0) r.ended = said_;
  r.rollbacks = stats.rollbacks;
  r.resimulated = stats.resimulated;
  r.longestRollback = stats.longestRollback;
  r.longestStall = longestStall_;
  r.desyncs = desyncs_;
  r.dropped = dropped_;
  r.ticks = written_;
  r.seconds = seconds;
  // The program's own state after the match: the last confirmed one.
  if (written_ > 0) static_cast<MatchRules&>(g_) = rb_->StateAfter(written_);
  g_.matchTicks = written_;
}

void Session::Watch(OnlineResult& r) {
  // A watcher runs only ticks whose controls are all here, a few seconds behind the host, and
  // runs through a match it joined late as fast as the controls come.
  const auto started = SteadyClock::now();
  double nextTickAt = 0;
  double lastSent = -100;
  while (!g_.closing && !over_ && endTick_ == 0) {
    Service(0);
    CheckSilence();
    if (g_.st.running == 0) break;
    const double now = MsSince(started);
    const Peer& host = peers_.front();
    const int last = o_.stopAfter > 0 ? std::min(o_.stopAfter, kLastTick) : kLastTick;
    const bool hostDone = hostLeft_ || host.remoteTick >= last;
    if (hostLeft_ && !rb_->Complete(rb_->current() + 1) && endTick_ == 0) {
      if (rb_->current() < last) {
        Say("the host left the session: the match ends");
        status_ = 1;
      }
      break;
    }
    const int behind = host.remoteTick - rb_->current();
    int ran = 0;
    while (rb_->current() < kLastTick && rb_->Complete(rb_->current() + 1) && ran < 60) {
      const bool catchUp = behind - ran > kWatchBehind + 50;
      if (!catchUp && !(now >= nextTickAt && (behind - ran >= kWatchBehind || hostDone))) break;
      bool ended = false;
      const TickEvents& events = rb_->Advance(ended);
      ++ran;
      if (!catchUp) {
        PlayFirstRun(events);
        nextTickAt = std::max(nextTickAt + tickMs_, now);
        break;
      }
    }
    WriteConfirmed();
    if (now - lastSent >= tickMs_) {
      SendInputs();
      lastSent = now;
    }
    Service(static_cast<uint32_t>(std::clamp(nextTickAt - MsSince(started), 0.0, 5.0)));
  }
  Finish(r, MsSince(started) / 1000.0);
}

}  // namespace

std::string SessionVersion(const OnlineOptions& o) { return o.version.empty() ? std::string(KELMORA_VERSION) : o.version; }

std::string VersionRefusal(const net::Hello& h, const std::string& who, const std::string& version) {
  if (h.protocol == net::kProtocol && h.version == version && h.rules == RulesDigest()) return "";
  char rulesText[2][24];
  std::snprintf(rulesText[0], sizeof rulesText[0], "%016llx", static_cast<unsigned long long>(h.rules));
  std::snprintf(rulesText[1], sizeof rulesText[1], "%016llx", static_cast<unsigned long long>(RulesDigest()));
  return (h.name.empty() ? who : h.name) + " runs Kelmora " + h.version + " (rules " + rulesText[0] +
         "), this host Kelmora " + version + " (rules " + rulesText[1] + ")";
}

void AdoptWelcome(Game& g, const net::Welcome& w, OnlineOptions& o) {
  auto& st = g.st;
  st.stage = w.stage;
  st.playerCharacter = w.characters;
  st.isCpu = w.cpu;
  st.cpuOption = w.cpuOption;
  st.menuCursor = w.menuCursor;
  g.rnd.Resume(w.rndState, w.rndDraws);
  o.tickMs = w.tickMs;
  o.inputDelay = w.inputDelay;
  o.window = w.window;
  o.seats = w.seats;
  for (int s = 0; s < kSeats; ++s) o.devices[static_cast<size_t>(s)] = w.devices[static_cast<size_t>(s)] >= 0 ? w.devices[static_cast<size_t>(s)] : static_cast<int8_t>(s);
}

OnlineResult RunMenuMatch(Game& g, const OnlineOptions& o, net::Link& link, std::vector<SessionPeer>& peers,
                          const std::function<void(int)>& onConfirmed,
                          const std::function<void(const std::string&)>& onRecordLine) {
  OnlineResult r;
  const net::Traffic before = link.traffic();
  {
    Session session(g, o, link, onConfirmed, onRecordLine);
    if (session.FromMenu(peers, r)) session.Play(r);
    session.ToMenu(peers);
  }
  r.traffic = link.traffic() - before;
  EndMatch(g);
  return r;
}

std::string OnlineResult::Json() const {
  char text[480];
  std::snprintf(text, sizeof text,
                "{\"rollbacks\":%d,\"resimulated\":%d,\"longestRollback\":%d,\"longestStall\":%d,\"desyncs\":%d,"
                "\"dropped\":%d,\"bytesSent\":%llu,\"bytesReceived\":%llu,\"wireSent\":%llu,\"wireReceived\":%llu,"
                "\"packetsSent\":%llu,\"packetsReceived\":%llu,\"seconds\":%.2f}",
                rollbacks, resimulated, longestRollback, longestStall, desyncs, dropped,
                static_cast<unsigned long long>(traffic.bytesSent), static_cast<unsigned long long>(traffic.bytesReceived),
                static_cast<unsigned long long>(traffic.wireSent), static_cast<unsigned long long>(traffic.wireReceived),
                static_cast<unsigned long long>(traffic.packetsSent),
                static_cast<unsigned long long>(traffic.packetsReceived), seconds);
  return text;
}

uint64_t RulesDigest() {
  static const uint64_t digest = [] {
    MatchRules m;
    m.st.stage = 2;
    m.st.playerCharacter = {0, 2, 5, 8};
    m.st.isCpu = {1, 1, 1, 1};
    SetUpRules(m);
    TickEvents events;
    for (int t = 0; t < 400; ++t) {
      events.Clear();
      RunTick(m, {}, events);
    }
    return StateHash(m.st, m.rnd);
  }();
  return digest;
}

OnlineResult RunOnlineMatch(Game& g, const OnlineOptions& o, const std::function<void(int)>& onConfirmed,
                            const std::function<void(const std::string&)>& onRecordLine) {
  OnlineResult r;
  std::string error;
  std::unique_ptr<net::Link> link = o.host ? net::Link::Host(o.port, 4, error) : net::Link::Join(o.address, o.port, error);
  if (!link) {
    std::fprintf(stderr, "kelmora: %s\n", error.c_str());
    r.status = 1;
    return r;
  }
  link->SetSim(o.sim);
  Session session(g, o, *link, onConfirmed, onRecordLine);
  if (session.Handshake(r)) session.Play(r);
  r.traffic = link->traffic();
  EndMatch(g);
  return r;
}

}  // namespace kelmora
