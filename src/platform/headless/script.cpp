#include "platform/headless/script.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kelmora::platform {

namespace {

bool ParseInt(const std::string& word, int64_t lo, int64_t hi, int32_t& out) {
  int64_t v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v);
  if (ec != std::errc() || p != end || v < lo || v > hi) return false;
  out = static_cast<int32_t>(v);
  return true;
}

// The pad buttons a script can press, and the keys they stand for.
struct PadKey {
  const char* name;
  int32_t vk;
};
constexpr PadKey kPadKeys[] = {{"start", 13}, {"back", 27}};

}  // namespace

std::vector<ScriptEvent> ParseScript(const std::string& text, const std::string& name) {
  std::vector<ScriptEvent> events;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    auto fail = [&](const std::string& why) {
      throw ScriptError(name + ":" + std::to_string(lineNo) + ": " + why);
    };
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string x; words >> x;) w.push_back(x);
    if (w.empty()) continue;
    ScriptEvent e;
    if (!ParseInt(w[0], 0, INT32_MAX / 2, e.tick)) fail("bad tick '" + w[0] + "'");
    if (w.size() < 2) fail("missing event after the tick");
    const std::string& kind = w[1];
    if (kind == "key-down" || kind == "key-up") {
      e.kind = kind == "key-down" ? ScriptEvent::Kind::KeyDown : ScriptEvent::Kind::KeyUp;
      if (w.size() != 4) fail(kind + " takes VK MODS");
      if (!ParseInt(w[2], 0, 255, e.a)) fail("bad key code '" + w[2] + "'");
      if (!ParseInt(w[3], 0, 7, e.b)) fail("bad modifier state '" + w[3] + "' (0..7)");
    } else if (kind == "joy") {
      e.kind = ScriptEvent::Kind::Joy;
      if (w.size() != 6) fail("joy takes ID X Y BUTTONS");
      if (!ParseInt(w[2], 0, 3, e.a)) fail("bad joystick id '" + w[2] + "' (0 to 3)");
      if (!ParseInt(w[3], -32768, 32767, e.b)) fail("bad axis value '" + w[3] + "'");
      if (!ParseInt(w[4], -32768, 32767, e.c)) fail("bad axis value '" + w[4] + "'");
      if (!ParseInt(w[5], 0, UINT32_MAX, e.d)) fail("bad button mask '" + w[5] + "'");
    } else if (kind == "control") {
      e.kind = ScriptEvent::Kind::Control;
      if (w.size() != 5) fail("control takes SEAT KIND VALUE");
      if (!ParseInt(w[2], 0, 3, e.a)) fail("bad seat '" + w[2] + "' (0..3)");
      e.b = -1;
      for (int k = 0; k < static_cast<int>(std::size(kControlNames)); ++k) {
        if (w[3] == kControlNames[k]) e.b = k;
      }
      if (e.b < 0) fail("unknown control '" + w[3] + "'");
      if (!ParseInt(w[4], -1, 1, e.c)) fail("bad control value '" + w[4] + "' (-1..1)");
    } else if (kind == "pad") {
      e.kind = ScriptEvent::Kind::Pad;
      if (w.size() != 6) fail("pad takes SEAT X Z BUTTONS");
      if (!ParseInt(w[2], 0, 3, e.a)) fail("bad seat '" + w[2] + "' (0..3)");
      if (!ParseInt(w[3], -1, 1, e.b)) fail("bad stick value '" + w[3] + "' (-1..1)");
      if (!ParseInt(w[4], -1, 1, e.c)) fail("bad stick value '" + w[4] + "' (-1..1)");
      if (!ParseInt(w[5], 0, UINT32_MAX, e.d)) fail("bad button mask '" + w[5] + "'");
    } else if (kind == "joy-down" || kind == "joy-up") {
      e.kind = kind == "joy-down" ? ScriptEvent::Kind::JoyDown : ScriptEvent::Kind::JoyUp;
      if (w.size() != 4) fail(kind + " takes ID start|back");
      if (!ParseInt(w[2], 0, 3, e.a)) fail("bad joystick id '" + w[2] + "' (0 to 3)");
      for (const PadKey& k : kPadKeys) {
        if (w[3] == k.name) e.b = k.vk;
      }
      if (e.b == 0) fail("bad pad button '" + w[3] + "' (start or back)");
    } else if (kind == "close") {
      e.kind = ScriptEvent::Kind::Close;
      if (w.size() != 2) fail("close takes nothing more");
    } else {
      fail("unknown event '" + kind + "'");
    }
    events.push_back(e);
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptEvent& x, const ScriptEvent& y) { return x.tick < y.tick; });
  return events;
}

std::vector<ScriptEvent> LoadScript(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw ScriptError(path + ": cannot read the script");
  std::ostringstream text;
  text << f.rdbuf();
  if (f.bad()) throw ScriptError(path + ": cannot read the script");
  return ParseScript(text.str(), path);
}

std::string ScriptLine(const ScriptEvent& e) {
  std::string line = std::to_string(e.tick);
  auto add = [&line](int32_t v) { line += ' ' + std::to_string(v); };
  switch (e.kind) {
    case ScriptEvent::Kind::KeyDown: line += " key-down"; add(e.a); add(e.b); break;
    case ScriptEvent::Kind::KeyUp: line += " key-up"; add(e.a); add(e.b); break;
    case ScriptEvent::Kind::Joy:
      line += " joy";
      add(e.a); add(e.b); add(e.c);
      line += ' ' + std::to_string(static_cast<uint32_t>(e.d));  // the mask, unsigned
      break;
    case ScriptEvent::Kind::Close: line += " close"; break;
    case ScriptEvent::Kind::JoyDown:
    case ScriptEvent::Kind::JoyUp:
      line += e.kind == ScriptEvent::Kind::JoyDown ? " joy-down" : " joy-up";
      add(e.a);
      for (const PadKey& k : kPadKeys) {
        if (e.b == k.vk) line += std::string(" ") + k.name;
      }
      break;
    case ScriptEvent::Kind::Control:
      line += " control";
      add(e.a);
      line += std::string(" ") + (e.b >= 0 && e.b < static_cast<int>(std::size(kControlNames)) ? kControlNames[e.b] : "?");
      add(e.c);
      break;
    case ScriptEvent::Kind::Pad:
      line += " pad";
      add(e.a); add(e.b); add(e.c);
      line += ' ' + std::to_string(static_cast<uint32_t>(e.d));
      break;
  }
  return line;
}

}  // namespace kelmora::platform
