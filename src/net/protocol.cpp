#include "net/protocol.h"

namespace kelmora::net {

namespace {

class Writer {
 public:
  explicit Writer(MessageKind kind) { bytes_ = {'K', 'M', static_cast<uint8_t>(kind)}; }
  void U8(uint8_t v) { bytes_.push_back(v); }
  void I8(int8_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint16_t v) {
    for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Text(const std::string& s) {
    const size_t n = std::min<size_t>(s.size(), 64);
    U8(static_cast<uint8_t>(n));
    bytes_.insert(bytes_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
  }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

class Reader {
 public:
  Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
  bool U8(uint8_t& v) {
    if (at_ + 1 > n_) return false;
    v = p_[at_++];
    return true;
  }
  bool I8(int8_t& v) {
    uint8_t u = 0;
    if (!U8(u)) return false;
    v = static_cast<int8_t>(u);
    return true;
  }
  bool U16(uint16_t& v) {
    if (at_ + 2 > n_) return false;
    v = static_cast<uint16_t>(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool I16(int16_t& v) {
    uint16_t u = 0;
    if (!U16(u)) return false;
    v = static_cast<int16_t>(u);
    return true;
  }
  bool U32(uint32_t& v) {
    if (at_ + 4 > n_) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(p_[at_ + i]) << (8 * i);
    at_ += 4;
    return true;
  }
  bool U64(uint64_t& v) {
    if (at_ + 8 > n_) return false;
    v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(p_[at_ + i]) << (8 * i);
    at_ += 8;
    return true;
  }
  bool Text(std::string& s) {
    uint8_t n = 0;
    if (!U8(n) || n > 64 || at_ + n > n_) return false;
    s.assign(reinterpret_cast<const char*>(p_ + at_), n);
    at_ += n;
    return true;
  }
  bool Done() const { return at_ == n_; }

 private:
  const uint8_t* p_;
  size_t n_;
  size_t at_ = 0;
};

constexpr size_t kMaxMachines = 5;

bool ValidSeat(int s) { return s >= 0 && s < kSeats; }
bool ValidStep(int8_t v) { return v >= -1 && v <= 1; }
// The menu's cursor: a row of the menu, or where the title or a set match left it.
bool ValidRow(int16_t row) { return row >= 0 && row <= 480; }
bool ValidCharacter(int16_t c) { return c >= -1 && c <= 8; }

// One seat's input: a head byte (bits 0-1: pad, computer; bits 2-6: the number of key
// changes), each change in a byte (bits 0-2 its kind, bits 3-4 its value + 1), then the pad's
// stick and buttons. Within a range, a head byte with bit 7 set stands for that many (1..127)
// copies of the tick before (of no input at all, first): a key seat's idle ticks and a held
// pad cost one byte for the whole run.
constexpr uint8_t kRepeat = 0x80;

void Put(Writer& w, const SeatInput& in) {
  w.U8(static_cast<uint8_t>((in.hasPad ? 1 : 0) | (in.computer ? 2 : 0) | (in.count << 2)));
  for (int i = 0; i < in.count; ++i) {
    w.U8(static_cast<uint8_t>(static_cast<int>(in.ops[i].kind) | ((in.ops[i].value + 1) << 3)));
  }
  if (in.hasPad) {
    w.I8(static_cast<int8_t>(in.pad.x));
    w.I8(static_cast<int8_t>(in.pad.z));
    w.U32(static_cast<uint32_t>(in.pad.buttons));
  }
}

void PutTicks(Writer& w, const std::vector<SeatInput>& ticks, size_t n) {
  SeatInput before;
  for (size_t i = 0; i < n;) {
    size_t run = 0;
    while (i + run < n && run < 127 && ticks[i + run] == before) ++run;
    if (run > 0) {
      w.U8(static_cast<uint8_t>(kRepeat | run));
      i += run;
      continue;
    }
    Put(w, ticks[i]);
    before = ticks[i++];
  }
}

// The input after its head byte.
bool Get(Reader& r, uint8_t head, int seat, SeatInput& in) {
  const int count = head >> 2;
  if (count > kMaxOpsPerSeat) return false;
  in = SeatInput{};
  in.hasPad = (head & 1) != 0;
  in.computer = (head & 2) != 0;
  for (int i = 0; i < count; ++i) {
    uint8_t op = 0;
    if (!r.U8(op)) return false;
    // A player's changes: sticks and buttons of the seat itself, values -1..1 (all eight
    // kinds fit in three bits). A computer takes a seat over only by its own flag.
    const int value = (op >> 3) - 1;
    if (op > 0x17 || value > 1) return false;
    in.ops[in.count++] = {static_cast<ControlKind>(op & 7), static_cast<int8_t>(seat), static_cast<int16_t>(value)};
  }
  if (in.hasPad) {
    int8_t x = 0, z = 0;
    uint32_t buttons = 0;
    if (!r.I8(x) || !r.I8(z) || !r.U32(buttons) || x < -1 || x > 1 || z < -1 || z > 1) return false;
    in.pad = {true, x, z, static_cast<int32_t>(buttons)};
  }
  return true;
}

// A range's n ticks, runs of copies included; a run that overshoots n is malformed.
bool GetTicks(Reader& r, int seat, size_t n, std::vector<SeatInput>& ticks) {
  SeatInput before;
  while (ticks.size() < n) {
    uint8_t head = 0;
    if (!r.U8(head)) return false;
    if (head & kRepeat) {
      const size_t run = head & ~kRepeat;
      if (run == 0 || ticks.size() + run > n) return false;
      ticks.insert(ticks.end(), run, before);
      continue;
    }
    if (!Get(r, head, seat, before)) return false;
    ticks.push_back(before);
  }
  return true;
}

}  // namespace

std::vector<uint8_t> Encode(const Hello& m) {
  Writer w(MessageKind::Hello);
  w.U16(m.protocol);
  w.Text(m.version);
  w.U64(m.rules);
  w.Text(m.name);
  w.U8(m.seats);
  w.U8(m.menu ? 1 : 0);
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const Welcome& m) {
  Writer w(MessageKind::Welcome);
  w.I16(m.stage);
  for (int16_t c : m.characters) w.I16(c);
  for (int16_t c : m.cpu) w.I16(c);
  w.U16(m.tickMs);
  w.U8(m.inputDelay);
  w.U8(m.window);
  w.U8(m.seats);
  w.Text(m.hostName);
  w.U64(m.rndState);
  w.U64(m.rndDraws);
  w.U8(static_cast<uint8_t>(m.cpuOption));
  w.I16(m.menuCursor);
  for (int8_t d : m.devices) w.I8(d);
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const Lobby& m) {
  Writer w(MessageKind::Lobby);
  w.U8(m.you);
  w.I16(m.stage);
  w.U8(static_cast<uint8_t>(m.cpuOption));
  w.I16(m.menuCursor);
  for (int16_t c : m.characters) w.I16(c);
  for (uint8_t o : m.owner) w.U8(o);
  for (uint8_t d : m.device) w.U8(d);
  const size_t n = std::min<size_t>(m.machines.size(), kMaxMachines);
  w.U8(static_cast<uint8_t>(n));
  for (size_t i = 0; i < n; ++i) {
    w.U8(m.machines[i].id);
    w.Text(m.machines[i].name);
  }
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const MenuPads& m) {
  Writer w(MessageKind::MenuPads);
  for (const MenuDevice& d : m) {
    w.I8(d.x);
    w.I8(d.z);
    w.U8(d.action);
  }
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const Refuse& m) {
  Writer w(MessageKind::Refuse);
  w.Text(m.why.substr(0, 64));
  return std::move(w.bytes());
}

std::vector<uint8_t> EncodeStart() { return Writer(MessageKind::Start).bytes(); }
std::vector<uint8_t> EncodeBye(bool done) {
  Writer w(MessageKind::Bye);
  w.U8(done ? 1 : 0);
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const Inputs& m) {
  Writer w(MessageKind::Inputs);
  w.U16(static_cast<uint16_t>(std::min<uint32_t>(m.tick, 0xFFFF)));
  w.I8(m.ahead);
  w.U8(m.ackedSeats);
  for (int s = 0; s < kSeats; ++s) {
    if (m.ackedSeats & (1u << s)) w.U16(static_cast<uint16_t>(std::min<uint32_t>(m.acked[s], 0xFFFF)));
  }
  const size_t countAt = w.size();
  w.U8(0);
  uint8_t ranges = 0;
  for (const InputRange& range : m.ranges) {
    Writer piece(MessageKind::Inputs);
    piece.U8(range.seat);
    piece.U16(static_cast<uint16_t>(range.from));
    const size_t n = std::min<size_t>(range.ticks.size(), kMaxRangeTicks);
    piece.U8(static_cast<uint8_t>(n));
    PutTicks(piece, range.ticks, n);
    if (w.size() + piece.size() - 3 > kMaxPacket || ranges == 255) break;
    w.bytes().insert(w.bytes().end(), piece.bytes().begin() + 3, piece.bytes().end());
    ++ranges;
  }
  w.bytes()[countAt] = ranges;
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const Hash& m) {
  Writer w(MessageKind::Hash);
  w.U32(m.tick);
  w.U64(m.hash);
  return std::move(w.bytes());
}

std::vector<uint8_t> Encode(const TakeOver& m) {
  Writer w(MessageKind::TakeOver);
  w.U32(m.tick);
  w.U8(m.seats);
  return std::move(w.bytes());
}

std::optional<Message> Decode(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 3 || size > kMaxPacket || data[0] != 'K' || data[1] != 'M') return std::nullopt;
  Reader r(data + 3, size - 3);
  Message m;
  m.kind = static_cast<MessageKind>(data[2]);
  bool ok = false;
  switch (m.kind) {
    case MessageKind::Hello: {
      Hello& h = m.hello;
      uint8_t menu = 0;
      ok = r.U16(h.protocol) && r.Text(h.version) && r.U64(h.rules) && r.Text(h.name) && r.U8(h.seats) &&
           (h.seats & ~0xFu) == 0;
      // A peer of another protocol is refused by name: what follows its seats may differ.
      if (ok && h.protocol == kProtocol) ok = r.U8(menu) && menu <= 1;
      if (ok && h.protocol != kProtocol) return m;
      h.menu = menu == 1;
      break;
    }
    case MessageKind::Welcome: {
      Welcome& w = m.welcome;
      ok = r.I16(w.stage) && w.stage >= 0 && w.stage <= 5;
      for (int16_t& c : w.characters) ok = ok && r.I16(c) && ValidCharacter(c);
      for (int16_t& c : w.cpu) ok = ok && r.I16(c) && (c == 0 || c == 1);
      ok = ok && r.U16(w.tickMs) && w.tickMs >= 1 && w.tickMs <= 1000 && r.U8(w.inputDelay) && w.inputDelay <= 30 &&
           r.U8(w.window) && w.window >= 1 && w.window <= 30 && r.U8(w.seats) && (w.seats & ~0xFu) == 0 &&
           r.Text(w.hostName) && r.U64(w.rndState) && r.U64(w.rndDraws);
      uint8_t cpu = 0;
      ok = ok && r.U8(cpu) && cpu <= 1 && r.I16(w.menuCursor) && ValidRow(w.menuCursor);
      w.cpuOption = cpu;
      for (int8_t& d : w.devices) ok = ok && r.I8(d) && d >= -1 && d < kSeats;
      break;
    }
    case MessageKind::Lobby: {
      Lobby& l = m.lobby;
      uint8_t cpu = 0, n = 0;
      ok = r.U8(l.you) && l.you != kNoMachine && r.I16(l.stage) && l.stage >= 0 && l.stage <= 5 && r.U8(cpu) &&
           cpu <= 1 && r.I16(l.menuCursor) && ValidRow(l.menuCursor);
      l.cpuOption = cpu;
      for (int16_t& c : l.characters) ok = ok && r.I16(c) && ValidCharacter(c);
      for (uint8_t& o : l.owner) ok = ok && r.U8(o);
      for (uint8_t& d : l.device) ok = ok && r.U8(d) && (d < kSeats || d == kNoMachine);
      ok = ok && r.U8(n) && n <= kMaxMachines;
      for (int i = 0; ok && i < n; ++i) {
        LobbyMachine machine;
        ok = r.U8(machine.id) && machine.id != kNoMachine && r.Text(machine.name);
        l.machines.push_back(std::move(machine));
      }
      break;
    }
    case MessageKind::MenuPads:
      ok = true;
      for (MenuDevice& d : m.menuPads) ok = ok && r.I8(d.x) && ValidStep(d.x) && r.I8(d.z) && ValidStep(d.z) && r.U8(d.action) && d.action <= 1;
      break;
    case MessageKind::Refuse: ok = r.Text(m.refuse.why); break;
    case MessageKind::Start: ok = true; break;
    case MessageKind::Bye: {
      uint8_t done = 0;
      ok = r.U8(done) && done <= 1;
      m.byeDone = done == 1;
      break;
    }
    case MessageKind::Inputs: {
      Inputs& in = m.inputs;
      uint8_t ranges = 0;
      uint16_t tick = 0;
      ok = r.U16(tick) && r.I8(in.ahead);
      in.tick = tick;
      ok = ok && r.U8(in.ackedSeats) && (in.ackedSeats & ~0xFu) == 0;
      for (int s = 0; ok && s < kSeats; ++s) {
        uint16_t v = 0;
        if (in.ackedSeats & (1u << s)) ok = r.U16(v);
        in.acked[s] = v;
      }
      ok = ok && r.U8(ranges);
      for (int i = 0; ok && i < ranges; ++i) {
        InputRange range;
        uint8_t n = 0;
        uint16_t from = 0;
        ok = r.U8(range.seat) && ValidSeat(range.seat) && r.U16(from) && from >= 1 && r.U8(n) && n <= kMaxRangeTicks;
        range.from = from;
        ok = ok && GetTicks(r, range.seat, n, range.ticks);
        in.ranges.push_back(std::move(range));
      }
      break;
    }
    case MessageKind::Hash: ok = r.U32(m.hash.tick) && r.U64(m.hash.hash); break;
    case MessageKind::TakeOver:
      ok = r.U32(m.takeOver.tick) && r.U8(m.takeOver.seats) && (m.takeOver.seats & ~0xFu) == 0;
      break;
    default: ok = false; break;
  }
  if (!ok || !r.Done()) return std::nullopt;
  return m;
}

}  // namespace kelmora::net
