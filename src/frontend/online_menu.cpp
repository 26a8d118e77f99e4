#include "frontend/online_menu.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "audio/music.h"
#include "frontend/draw_screens.h"
#include "frontend/help_page.h"
#include "frontend/match_start.h"
#include "frontend/menu_seat_step.h"
#include "frontend/show_screen.h"
#include "input/seat_pads.h"
#include "match/numbers.h"
#include "match/play/game.h"
#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/window.h"

namespace kelmora::frontend {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int kConnectMs = 5000;
constexpr double kResendMs = 500;  // the menu and the devices are told again this often
constexpr size_t kMostQueued = 50;

void Say(const std::string& text) { std::fprintf(stderr, "kelmora: %s\n", text.c_str()); }

double MsSince(SteadyClock::time_point t) {
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - t).count();
}

const SteadyClock::time_point kProgramStart = SteadyClock::now();
double NowMs() { return MsSince(kProgramStart); }

bool Idle(const net::MenuDevice& d) { return d.x == 0 && d.z == 0 && d.action == 0; }

std::string SeatNames(const std::array<int, kSeats>& owner, int machine) {
  std::string out;
  for (int s = 0; s < kSeats; ++s) {
    if (owner[static_cast<size_t>(s)] == machine) out += " " + std::to_string(s + 1) + "P";
  }
  return out;
}

}  // namespace

OnlineMenu::OnlineMenu(Game& g, const OnlineOptions& o, const MatchState& loaded, std::unique_ptr<net::Link> link)
    : g_(g), o_(o), loaded_(loaded), link_(std::move(link)) {
  Machine me;
  me.id = 0;
  me.name = o.name;
  me.welcomed = true;
  machines_.push_back(me);
  // 1P is the host's arrow keys, joined or not: they keep the rows.
  owner_[0] = 0;
  device_[0] = 0;
}

std::unique_ptr<OnlineMenu> OnlineMenu::Open(Game& g, const OnlineOptions& o, const MatchState& loaded,
                                             std::string& why) {
  std::string error;
  std::unique_ptr<net::Link> link =
      o.host ? net::Link::Host(o.port, 4, error) : net::Link::Join(o.address, o.port, error);
  if (!link) {
    why = error;
    return nullptr;
  }
  link->SetSim(o.sim);
  std::unique_ptr<OnlineMenu> menu(new OnlineMenu(g, o, loaded, std::move(link)));
  if (o.host) {
    std::string where;
    for (const std::string& a : net::LocalAddresses()) where += "\n    kelmora --join " + a + ":" + std::to_string(o.port);
    Say("hosting on UDP port " + std::to_string(o.port) + " (open it to friends outside this network); they join with" +
        where);
    return menu;
  }
  if (!menu->Connect(why)) return nullptr;
  return menu;
}

bool OnlineMenu::Connect(std::string& why) {
  const std::string where = o_.address + ":" + std::to_string(o_.port);
  if (!o_.headless) {
    DrawNotice(g_.screen, "joining " + where);
    g_.screen.ShowOverlay(true);
    g_.window.Present(g_.screen);
  }
  const auto started = SteadyClock::now();
  bool connected = false;
  while (!welcomed_ && !started_) {
    if (!o_.headless) g_.DoEvents();
    if (g_.closing) return false;
    if (MsSince(started) > kConnectMs) {
      why = connected ? "the host at " + where + " did not let this machine in within 5 seconds"
                      : "cannot reach " + where + ": no answer within 5 seconds";
      break;
    }
    const net::LinkEvent e = link_->Poll(20);
    if (e.kind == net::LinkEvent::Kind::Connect) {
      connected = true;
      net::Hello h;
      h.version = SessionVersion(o_);
      h.rules = RulesDigest();
      h.name = o_.name;
      h.menu = true;
      link_->Send(e.peer, net::Encode(h), true);
      link_->Flush();
    } else if (e.kind == net::LinkEvent::Kind::Disconnect) {
      if (why.empty()) why = connected ? "the host at " + where + " closed the connection" : "cannot reach " + where;
      break;
    } else if (e.kind == net::LinkEvent::Kind::Receive) {
      const auto m = net::Decode(e.data.data(), e.data.size());
      if (!m) continue;
      if (m->kind == net::MessageKind::Refuse) {
        why = "refused by the host: " + m->refuse.why;
      } else if (m->kind == net::MessageKind::Lobby) {
        ApplyLobby(m->lobby);
      } else if (m->kind == net::MessageKind::Welcome) {
        // The host is in a match: this machine watches it, then meets the others in the menu.
        welcome_ = m->welcome;
        started_ = true;
      }
    }
  }
  if (!o_.headless) g_.screen.ShowOverlay(false);
  return welcomed_ || started_;
}

OnlineMenu::Machine* OnlineMenu::MachineById(int id) {
  for (Machine& m : machines_) {
    if (m.id == id && !m.gone) return &m;
  }
  return nullptr;
}

void OnlineMenu::FromLoaded() {
  auto& st = g_.st;
  // Every machine starts its match from the state the program started with: what one
  // machine's menus and matches left behind must not make the machines differ.
  const MatchState chosen = st;
  st = loaded_;
  st.stage = chosen.stage;
  st.playerCharacter = chosen.playerCharacter;
  st.isCpu = chosen.isCpu;
  st.cpuOption = chosen.cpuOption;
  st.menuCursor = chosen.menuCursor;
  st.displayMode = chosen.displayMode;
  st.musicOn = chosen.musicOn;
}

OnlineMenu::Outcome OnlineMenu::Run(OnlineOptions& o, std::string& why) {
  auto& st = g_.st;
  g_.music.MusicPlay("MENU", true);
  for (int s = 0; s < kSeats; ++s) {
    st.pushTicks[s] = 0;
    if (o_.host && st.isCpu[s] == 1) st.playerCharacter[s] = -1;
    st.isCpu[s] = 0;
  }
  st.enterPressed = 0;
  st.running = -1;
  if (!o_.host) st.menuCursor = cursor_;
  RedrawMenu(g_);
  rosterUp_ = false;
  ShowRoster();
  ShowScreen(g_);
  const HelpHere help(g_);
  if (o_.host) SendLobby(true);
  const auto started = SteadyClock::now();
  const int32_t base = g_.TickNow();
  int tick = 0;
  for (;;) {
    if (started_ && !o_.host) {
      started_ = false;
      g_.screen.ShowOverlay(false);
      rosterUp_ = false;
      g_.music.MusicStop("MENU");
      DrawLoadingScreen(g_.screen, SheetsOf(g_), Int(g_.rnd.Rnd() * 3));
      ShowScreen(g_);
      FromLoaded();
      AdoptWelcome(g_, welcome_, o);
      o.watch = o.seats == 0;
      peers_.assign(1, SessionPeer{});
      peers_[0].id = 1;
      peers_[0].name = lobby_.machines.empty() || lobby_.machines[0].name.empty() ? "the host" : lobby_.machines[0].name;
      if (!welcome_.hostName.empty()) peers_[0].name = welcome_.hostName;
      return Outcome::Start;
    }
    if (hostGone_) {
      g_.music.MusicStop("MENU");
      if (why.empty()) why = "the host closed the session";
      return Outcome::Left;
    }
    const double due = (tick + 1) * static_cast<double>(o_.tickMs);
    const double now = MsSince(started);
    if (now < due) {
      Service(static_cast<uint32_t>(std::clamp(due - now, 0.0, 5.0)), why);
      if (!o_.headless) {
        g_.DoEvents();
        if (g_.closing) return Outcome::Closed;
        ApplyHelp(g_);
      }
      continue;
    }
    ++tick;
    if (o_.headless) g_.window.WaitUntil(static_cast<uint32_t>(base + tick) * platform::kTickMs);
    g_.DoEvents();
    if (g_.closing) return Outcome::Closed;
    ApplyHelp(g_);
    st.lastTick = base + tick;
    if (!g_.helpShown) o_.host ? HostTick() : JoinerTick();
    if (st.running == 0) {
      Leave();
      g_.music.MusicStop("MENU");
      g_.SoundPlay(kSoundCancel);
      return Outcome::Left;
    }
    if (st.enterPressed == 1 && o_.host) {
      if (HostStart(o)) return Outcome::Start;
      if (g_.closing) return Outcome::Closed;
    }
    st.enterPressed = 0;
    ShowRoster();
    ShowScreen(g_);
    g_.music.MusicPoll();
  }
}

bool OnlineMenu::HostStart(OnlineOptions& o) {
  auto& st = g_.st;
  // The machines' band stays with the menu: the loading screen and the match go without it.
  g_.screen.ShowOverlay(false);
  rosterUp_ = false;
  if (!StartMatch(g_)) {
    // A refused start is the menu entered afresh, as on one machine.
    st.enterPressed = 0;
    for (int s = 0; s < kSeats; ++s) st.isCpu[s] = 0;
    g_.music.MusicPlay("MENU", true);
    RedrawMenu(g_);
    rosterUp_ = false;
    return false;
  }
  o.seats = 0;
  o.devices = {0, 1, 2, 3};
  o.watch = false;
  for (int s = 0; s < kSeats; ++s) {
    if (owner_[static_cast<size_t>(s)] == 0 && st.playerCharacter[s] != -1 && st.isCpu[s] == 0) {
      o.seats |= static_cast<uint8_t>(1u << s);
      o.devices[static_cast<size_t>(s)] = static_cast<int8_t>(device_[static_cast<size_t>(s)]);
    }
  }
  peers_.clear();
  for (const Machine& m : machines_) {
    if (m.id == 0 || m.gone || !m.welcomed) continue;
    SessionPeer p;
    p.id = m.id;
    p.name = m.name;
    for (int s = 0; s < kSeats; ++s) {
      if (owner_[static_cast<size_t>(s)] == m.id) {
        p.seats |= static_cast<uint8_t>(1u << s);
        p.devices[static_cast<size_t>(s)] = static_cast<int8_t>(device_[static_cast<size_t>(s)]);
      }
    }
    peers_.push_back(p);
  }
  FromLoaded();
  return true;
}

net::MenuPads OnlineMenu::ReadDevices() {
  auto& st = g_.st;
  net::MenuPads out{};
  for (int d = 0; d < kSeats; ++d) {
    net::MenuDevice& dev = out[static_cast<size_t>(d)];
    if (d < input::kKeySeats) {
      dev.x = static_cast<int8_t>(st.stickX[d]);
      dev.z = static_cast<int8_t>(st.stickZ[d]);
      dev.action = st.actionButton[d] == 1 ? 1 : 0;
    }
    // A pad beside a key set steers when it is moved; on 3P and 4P it is the device.
    const input::SeatPad pad = input::ReadSeatPad(g_.joy, g_.joyDevice, d);
    // Its computer and music buttons are the C and B keys. It joins the lowest free seat like
    // any key set, so its shoulders have no seat to choose here.
    input::MenuPadKeys(st, pad);
    if (pad.now.x != 0) dev.x = static_cast<int8_t>(pad.now.x);
    if (pad.now.y != 0) dev.z = static_cast<int8_t>(pad.now.y);
    if (pad.now.buttons & 1) dev.action = 1;
  }
  return out;
}

void OnlineMenu::HostTick() {
  auto& st = g_.st;
  machines_[0].now = ReadDevices();
  for (Machine& m : machines_) {
    if (m.queued.empty()) continue;
    m.now = m.queued.front();
    m.queued.pop_front();
  }
  // The key sets' own state, which the seats' controls stand over for the tick.
  std::array<int16_t, input::kKeySeats> keyX{}, keyZ{}, keyAction{};
  for (int d = 0; d < input::kKeySeats; ++d) {
    keyX[static_cast<size_t>(d)] = st.stickX[d];
    keyZ[static_cast<size_t>(d)] = st.stickZ[d];
    keyAction[static_cast<size_t>(d)] = st.actionButton[d];
  }
  for (int s = 0; s < kSeats; ++s) {
    const Machine* m = owner_[static_cast<size_t>(s)] >= 0 ? MachineById(owner_[static_cast<size_t>(s)]) : nullptr;
    const net::MenuDevice dev = m ? m->now[static_cast<size_t>(device_[static_cast<size_t>(s)])] : net::MenuDevice{};
    st.stickX[s] = dev.x;
    st.stickZ[s] = dev.z;
    st.actionButton[s] = dev.action;
  }
  // A device without a seat that presses its action takes the lowest free seat.
  for (Machine& m : machines_) {
    if (!m.welcomed || m.gone) continue;
    for (int d = 0; d < kSeats; ++d) {
      if (m.id == 0 && d == 0) continue;
      const net::MenuDevice& dev = m.now[static_cast<size_t>(d)];
      int& wait = m.wait[static_cast<size_t>(d)];
      if (Idle(dev)) wait = 0;
      if (wait > 0) {
        --wait;
        continue;
      }
      if (dev.action == 0) continue;
      bool seated = false;
      for (int s = 0; s < kSeats; ++s) seated = seated || (owner_[static_cast<size_t>(s)] == m.id && device_[static_cast<size_t>(s)] == d);
      if (seated) continue;
      for (int s = 1; s < kSeats; ++s) {
        if (owner_[static_cast<size_t>(s)] >= 0 || st.playerCharacter[s] != -1) continue;
        owner_[static_cast<size_t>(s)] = m.id;
        device_[static_cast<size_t>(s)] = d;
        st.stickX[s] = dev.x;
        st.stickZ[s] = dev.z;
        st.actionButton[s] = 1;
        st.pushTicks[s] = 0;
        break;
      }
    }
  }
  MenuOptionKeys(g_, true);
  for (int s = 0; s < kSeats; ++s) MenuSeatChoices(g_, s);
  for (int s = 1; s < kSeats; ++s) {
    if (owner_[static_cast<size_t>(s)] < 0 || st.playerCharacter[s] != -1) continue;
    if (Machine* m = MachineById(owner_[static_cast<size_t>(s)])) {
      m->wait[static_cast<size_t>(device_[static_cast<size_t>(s)])] = kRepeatTicks;
    }
    owner_[static_cast<size_t>(s)] = device_[static_cast<size_t>(s)] = -1;
  }
  for (int d = 0; d < input::kKeySeats; ++d) {
    st.stickX[d] = keyX[static_cast<size_t>(d)];
    st.stickZ[d] = keyZ[static_cast<size_t>(d)];
    st.actionButton[d] = keyAction[static_cast<size_t>(d)];
  }
  SendLobby(false);
}

void OnlineMenu::JoinerTick() {
  net::MenuPads pads = ReadDevices();
  // B is this machine's music; the computer players are the host's choice.
  MenuOptionKeys(g_, false);
  OwnRows(pads[0]);
  const double now = NowMs();
  if (pads != sentPads_ || now - lastPadsMs_ >= kResendMs) {
    link_->Send(1, net::Encode(pads), true);
    link_->Flush();
    sentPads_ = pads;
    lastPadsMs_ = now;
  }
}

// A joiner's arrow keys (and the pad beside them) keep a cursor of this machine's own: Up and
// Down move it between the character row and the display-mode row, where Left and Right step
// this machine's display mode and do not reach the seat. The stage row is the host's.
void OnlineMenu::OwnRows(net::MenuDevice& dev) {
  auto& st = g_.st;
  if (dev.x == 0 && dev.z == 0) {
    rowWait_ = 0;
  } else if (rowWait_ > 0) {
    --rowWait_;
  } else if (dev.z != 0 || cursor_ == kRowDisplayMode) {
    if (dev.z != 0) {
      cursor_ = dev.z > 0 ? kRowDisplayMode : kRowCharacter;
    } else {
      st.displayMode = NextDisplayMode(st.displayMode, dev.x);
    }
    st.menuCursor = cursor_;
    g_.SoundPlay(kSoundCursor);
    RedrawMenu(g_);
    rowWait_ = kRepeatTicks;
  }
  if (cursor_ == kRowDisplayMode) dev.x = 0;
}

void OnlineMenu::SendLobby(bool now) {
  const auto& st = g_.st;
  net::Lobby l;
  l.stage = st.stage;
  l.cpuOption = st.cpuOption;
  l.menuCursor = st.menuCursor;
  l.characters = st.playerCharacter;
  for (int s = 0; s < kSeats; ++s) {
    const auto i = static_cast<size_t>(s);
    l.owner[i] = owner_[i] < 0 ? net::kNoMachine : static_cast<uint8_t>(owner_[i]);
    l.device[i] = device_[i] < 0 ? net::kNoMachine : static_cast<uint8_t>(device_[i]);
  }
  for (const Machine& m : machines_) {
    if (m.welcomed && !m.gone) l.machines.push_back({static_cast<uint8_t>(m.id), m.name});
  }
  const std::vector<uint8_t> bytes = net::Encode(l);
  if (!now && bytes == lastLobby_ && NowMs() - lastLobbyMs_ < kResendMs) return;
  lastLobby_ = bytes;
  lastLobbyMs_ = NowMs();
  for (const Machine& m : machines_) {
    if (m.id == 0 || !m.welcomed || m.gone) continue;
    l.you = static_cast<uint8_t>(m.id);
    link_->Send(m.id, net::Encode(l), true);
  }
  link_->Flush();
}

void OnlineMenu::ApplyLobby(const net::Lobby& l) {
  auto& st = g_.st;
  // The host's cursor stays on the host: this machine shows its own (OwnRows).
  bool changed = !welcomed_ || st.stage != l.stage || st.cpuOption != l.cpuOption;
  int sound = changed && welcomed_ ? kSoundCursor : -1;
  for (int s = 0; s < kSeats; ++s) {
    const int16_t before = st.playerCharacter[s], after = l.characters[static_cast<size_t>(s)];
    if (before == after) continue;
    changed = true;
    if (!welcomed_) continue;
    sound = before == -1 ? kSoundConfirm : after == -1 ? kSoundCancel : std::max(sound, kSoundCursor);
  }
  st.stage = l.stage;
  st.cpuOption = l.cpuOption;
  st.menuCursor = cursor_;
  st.playerCharacter = l.characters;
  for (int s = 0; s < kSeats; ++s) {
    const auto i = static_cast<size_t>(s);
    owner_[i] = l.owner[i] == net::kNoMachine ? -1 : l.owner[i];
    device_[i] = l.device[i] == net::kNoMachine ? -1 : l.device[i];
  }
  lobby_ = l;
  welcomed_ = true;
  if (sound >= 0) g_.SoundPlay(sound);
  if (changed) RedrawMenu(g_);
}

void OnlineMenu::ShowRoster() {
  if (o_.headless) return;
  if (g_.helpShown) {
    rosterUp_ = false;
    return;
  }
  std::string text;
  auto add = [&](int id, const std::string& name, bool you) {
    text += (text.empty() ? "" : ",   ") + (name.empty() ? std::string("?") : name) + (you ? " (you)" : "");
    const std::string seats = SeatNames(owner_, id);
    text += seats.empty() ? " watching" : seats;
  };
  if (o_.host) {
    for (const Machine& m : machines_) {
      if (m.welcomed && !m.gone) add(m.id, m.name, m.id == 0);
    }
    text = "UDP " + std::to_string(o_.port) + ":   " + text;
  } else {
    for (const net::LobbyMachine& m : lobby_.machines) add(m.id, m.name, m.id == lobby_.you);
  }
  if (rosterUp_ && text == rosterShown_) return;
  rosterShown_ = text;
  rosterUp_ = true;
  DrawFootnote(g_.screen, text);
  g_.screen.ShowOverlay(true);
}

bool OnlineMenu::FreeSeatsOf(int machine) {
  bool freed = false;
  for (int s = 1; s < kSeats; ++s) {
    if (owner_[static_cast<size_t>(s)] != machine) continue;
    owner_[static_cast<size_t>(s)] = device_[static_cast<size_t>(s)] = -1;
    g_.st.playerCharacter[s] = -1;
    freed = true;
  }
  return freed;
}

void OnlineMenu::Service(uint32_t waitMs, std::string& why) {
  for (uint32_t wait = waitMs;; wait = 0) {
    const net::LinkEvent e = link_->Poll(wait);
    if (e.kind == net::LinkEvent::Kind::None) return;
    if (!o_.host) {
      if (e.kind == net::LinkEvent::Kind::Disconnect) {
        hostGone_ = true;
        return;
      }
      if (e.kind != net::LinkEvent::Kind::Receive) continue;
      const auto m = net::Decode(e.data.data(), e.data.size());
      if (!m) continue;
      if (m->kind == net::MessageKind::Lobby) {
        ApplyLobby(m->lobby);
      } else if (m->kind == net::MessageKind::Welcome) {
        // The match: its start follows, for the match to take.
        welcome_ = m->welcome;
        started_ = true;
        return;
      } else if (m->kind == net::MessageKind::Refuse) {
        why = "refused by the host: " + m->refuse.why;
        hostGone_ = true;
        return;
      }
      continue;
    }
    if (e.kind == net::LinkEvent::Kind::Connect) {
      Machine m;
      m.id = e.peer;
      m.name = link_->Address(e.peer);
      machines_.push_back(m);
      continue;
    }
    Machine* m = MachineById(e.peer);
    if (!m) continue;
    if (e.kind == net::LinkEvent::Kind::Disconnect) {
      m->gone = true;
      if (m->welcomed) Say(m->name + " left the session");
      if (FreeSeatsOf(m->id)) {
        g_.SoundPlay(kSoundCancel);
        RedrawMenu(g_);
      }
      SendLobby(true);
      continue;
    }
    const auto msg = net::Decode(e.data.data(), e.data.size());
    if (msg) HostReceive(*m, *msg);
  }
}

void OnlineMenu::HostReceive(Machine& m, const net::Message& msg) {
  if (!m.welcomed) {
    if (msg.kind != net::MessageKind::Hello) return;
    const net::Hello& h = msg.hello;
    std::string why = VersionRefusal(h, m.name, SessionVersion(o_));
    if (why.empty() && h.seats != 0) why = "this host's players take their seats in its menu: join without --seats";
    if (!why.empty()) {
      Say("refused " + m.name + ": " + why);
      link_->Send(m.id, net::Encode(net::Refuse{why}), true);
      link_->Flush();
      link_->Disconnect(m.id);
      m.gone = true;
      return;
    }
    m.welcomed = true;
    if (!h.name.empty()) m.name = h.name;
    Say(m.name + " joined the session");
    SendLobby(true);
    return;
  }
  if (msg.kind == net::MessageKind::MenuPads && m.queued.size() < kMostQueued) m.queued.push_back(msg.menuPads);
}

void OnlineMenu::Back() {
  lastLobby_.clear();
  rosterUp_ = false;
  if (!o_.host) {
    if (peers_.empty() || peers_.front().gone) hostGone_ = true;
    return;
  }
  for (const SessionPeer& p : peers_) {
    Machine* m = MachineById(p.id);
    if (!m) {
      // It came during the match, and watched it.
      if (p.gone) continue;
      Machine fresh;
      fresh.id = p.id;
      fresh.name = p.name;
      fresh.welcomed = true;
      machines_.push_back(fresh);
      continue;
    }
    if (!p.gone) continue;
    m->gone = true;
    FreeSeatsOf(p.id);
  }
  for (Machine& m : machines_) m.queued.clear();
  // A seat that its machine left is free again; one played by a computer empties as it enters.
  for (int s = 1; s < kSeats; ++s) {
    if (owner_[static_cast<size_t>(s)] < 0 && g_.st.isCpu[s] == 0) g_.st.playerCharacter[s] = -1;
  }
}

void OnlineMenu::Leave() {
  if (o_.host) {
    for (const Machine& m : machines_) {
      if (m.id == 0 || m.gone) continue;
      link_->Send(m.id, net::EncodeBye(false), true);
    }
    link_->Flush();
    for (Machine& m : machines_) {
      if (m.id != 0 && !m.gone) link_->Disconnect(m.id);
      m.gone = m.id != 0;
    }
  } else {
    link_->Send(1, net::EncodeBye(false), true);
    link_->Flush();
    link_->Disconnect(1);
  }
}

}  // namespace kelmora::frontend
