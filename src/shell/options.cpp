#include "shell/options.h"

#include <charconv>
#include <cmath>
#include <sstream>

#ifndef KELMORA_VERSION
#define KELMORA_VERSION "unknown"
#endif

namespace kelmora {

namespace {

// The numbers --match takes, as --help lists them.
constexpr const char* kStageList =
    "0 meadow, 1 night courtyard, 2 dark hall, 3 harbour, 4 raft, 5 rooftop";
constexpr const char* kAnimalList =
    "0 bear, 1 fox, 2 pig, 3 elephant, 4 spider, 5 fish, 6 mole, 7 flying squirrel, 8 mouse, -1 an empty seat";

int32_t Number(const std::string& text, int32_t lo, int32_t hi, const std::string& what) {
  int32_t v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi) {
    throw UsageError("bad " + what + " '" + text + "'");
  }
  return v;
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(s);
  while (std::getline(in, part, sep)) parts.push_back(part);
  if (!s.empty() && s.back() == sep) parts.push_back("");
  return parts;
}

MatchChoice ParseMatch(const std::string& text) {
  const auto parts = Split(text, ':');
  if (parts.size() < 2 || parts.size() > 3) {
    throw UsageError("--match takes STAGE:C0,C1,C2,C3[:CPUS], not '" + text + "'");
  }
  MatchChoice m;
  try {
    m.stage = static_cast<int16_t>(Number(parts[0], 0, 5, "stage"));
  } catch (const UsageError& e) {
    throw UsageError(std::string("--match: ") + e.what() + "; the stages are " + kStageList);
  }
  const auto chars = Split(parts[1], ',');
  if (chars.size() != 4) throw UsageError("--match needs four characters, not '" + parts[1] + "'");
  for (int i = 0; i < 4; ++i) {
    try {
      m.characters[i] = static_cast<int16_t>(Number(chars[i], -1, 8, "character"));
    } catch (const UsageError& e) {
      throw UsageError(std::string("--match: ") + e.what() + "; the characters are " + kAnimalList);
    }
  }
  if (parts.size() == 3) {
    if (parts[2].size() != 4) throw UsageError("CPUS is four digits 0/1, not '" + parts[2] + "'");
    for (int i = 0; i < 4; ++i) {
      const char c = parts[2][i];
      if (c != '0' && c != '1') throw UsageError("CPUS is four digits 0/1, not '" + parts[2] + "'");
      m.cpu[i] = c == '1' ? 1 : 0;
    }
  }
  return m;
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    if (a == "--headless") {
      o.headless = true;
    } else if (a == "--script") {
      o.script = value();
    } else if (a == "--match") {
      o.match = ParseMatch(value());
      o.playOptions.insert(o.playOptions.end(), {a, args[i]});
    } else if (a == "--music") {
      o.music = static_cast<int16_t>(Number(value(), 0, 1, "--music value"));
      o.playOptions.insert(o.playOptions.end(), {a, args[i]});
    } else if (a == "--mode") {
      const int32_t m = Number(value(), 80, 400, "--mode value");
      if (m != 80 && m != 240 && m != 400) throw UsageError("--mode is 80, 240 or 400");
      o.mode = static_cast<int16_t>(m);
      o.playOptions.insert(o.playOptions.end(), {a, args[i]});
    } else if (a == "--scale") {
      const std::string& v = value();
      if (v != "smooth" && v != "whole") throw UsageError("--scale is smooth or whole, not '" + v + "'");
      o.wholeScale = v == "whole";
    } else if (a == "--dump") {
      o.dump = value();
    } else if (a == "--events") {
      o.events = value();
    } else if (a == "--screenshot") {
      const std::string& v = value();
      const auto colon = v.find(':');
      if (colon == std::string::npos || colon + 1 >= v.size()) {
        throw UsageError("--screenshot takes TICK:FILE.png, not '" + v + "'");
      }
      const bool frontEnd = v[0] == '@';
      std::string tick = v.substr(frontEnd ? 1 : 0, colon - (frontEnd ? 1 : 0));
      // TICK.F: the picture F of the way from the match's tick TICK to the next.
      double fraction = 0;
      if (const auto dot = tick.find('.'); dot != std::string::npos && !frontEnd) {
        const std::string digits = tick.substr(dot + 1);
        if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) {
          throw UsageError("bad screenshot tick '" + tick + "' (TICK or TICK.F, as 12.5)");
        }
        fraction = Number(digits, 0, 999999, "screenshot tick") / std::pow(10.0, static_cast<double>(digits.size()));
        tick.resize(dot);
      }
      o.screenshots.push_back({Number(tick, 0, INT32_MAX, "screenshot tick"), v.substr(colon + 1), frontEnd, fraction});
    } else if (a == "--data") {
      o.dataDir = value();
    } else if (a == "--controls") {
      o.controls = value();
    } else if (a == "--record") {
      o.record = value();
    } else if (a == "--replay") {
      o.replay = value();
    } else if (a == "--synctest") {
      o.synctest = Number(value(), 1, 64, "--synctest ticks");
    } else if (a == "--host") {
      o.host = true;
      if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') {
        o.port = static_cast<uint16_t>(Number(value(), 1, 65535, "--host port"));
      }
    } else if (a == "--join" || a == "--spectate") {
      o.join = true;
      o.spectate = a == "--spectate";
      const std::string& v = value();
      const auto colon = v.rfind(':');
      o.joinHost = colon == std::string::npos ? v : v.substr(0, colon);
      if (colon != std::string::npos) o.port = static_cast<uint16_t>(Number(v.substr(colon + 1), 1, 65535, "--join port"));
      if (o.joinHost.empty()) throw UsageError("--join takes HOST[:PORT]");
    } else if (a == "--seats") {
      const std::string& v = value();
      std::stringstream list(v);
      for (std::string seat; std::getline(list, seat, ',');) {
        o.seats |= static_cast<uint8_t>(1u << Number(seat, 0, 3, "seat"));
      }
    } else if (a == "--tick-ms") {
      o.tickMs = Number(value(), 1, 1000, "--tick-ms value");
    } else if (a == "--input-delay") {
      o.inputDelay = Number(value(), 0, 30, "--input-delay ticks");
    } else if (a == "--rollback") {
      o.rollback = Number(value(), 1, 30, "--rollback ticks");
    } else if (a == "--net-sim") {
      std::stringstream list(value());
      std::vector<std::string> parts;
      for (std::string p; std::getline(list, p, ',');) parts.push_back(p);
      if (parts.size() < 3 || parts.size() > 4) throw UsageError("--net-sim takes LOSS,DELAY,JITTER[,SEED]");
      o.simLoss = Number(parts[0], 0, 100, "--net-sim loss");
      o.simDelay = Number(parts[1], 0, 5000, "--net-sim delay");
      o.simJitter = Number(parts[2], 0, 5000, "--net-sim jitter");
      if (parts.size() == 4) o.simSeed = static_cast<uint32_t>(Number(parts[3], 0, INT32_MAX, "--net-sim seed"));
    } else if (a == "--net-blackout") {
      const std::string& v = value();
      const auto comma = v.find(',');
      if (comma == std::string::npos) throw UsageError("--net-blackout takes AT,LENGTH (ms)");
      o.blackoutAt = Number(v.substr(0, comma), 0, INT32_MAX, "--net-blackout start");
      o.blackoutMs = Number(v.substr(comma + 1), 0, INT32_MAX, "--net-blackout length");
    } else if (a == "--name") {
      o.name = value().substr(0, 32);
    } else if (a == "--stop-after") {
      o.stopAfter = Number(value(), 1, 1900, "--stop-after ticks");
    } else if (a == "--net-version") {
      o.netVersion = value();
    } else if (a == "--print-controls") {
      o.printControls = true;
    } else if (a == "--write-controls") {
      o.writeControls = true;
    } else if (a == "--force") {
      o.force = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else {
      throw UsageError("unknown option '" + a + "'");
    }
  }
  if (o.force && !o.writeControls) throw UsageError("--force goes with --write-controls");
  if (o.writeControls && o.printControls) throw UsageError("--print-controls or --write-controls, not both");
  if (!o.headless && (!o.script.empty() || !o.screenshots.empty())) {
    throw UsageError("--script and --screenshot need --headless");
  }
  // A run in the window counts its ticks as a headless run does only while it records or plays back.
  if (!o.headless && o.record.empty() && o.replay.empty() && !o.host && !o.join &&
      (!o.dump.empty() || !o.events.empty())) {
    throw UsageError("--dump and --events need --headless, --record or --replay");
  }
  if (o.synctest > 0 && !o.headless) throw UsageError("--synctest needs --headless");
  if (o.host && o.join) throw UsageError("--host or --join, not both");
  if (o.join && o.match) throw UsageError("a joiner plays the host's match: leave out --match");
  // Without --match the machines meet in the host's menu, where the players take their seats.
  if (o.host && o.match && o.seats == 0) throw UsageError("--host --match needs --seats: this machine's seats");
  // A match set up in the menu starts from the host's generator, which a playback cannot take.
  if ((o.host || o.join) && !o.match && o.seats == 0 && !o.spectate && !o.record.empty()) {
    throw UsageError("--record of an online match needs one set with --match (and --seats)");
  }
  if (o.host && !o.match && o.seats != 0) {
    throw UsageError("a host without --match seats its players in the menu: leave out --seats");
  }
  if (o.spectate && o.seats != 0) throw UsageError("a watcher plays no seat: leave out --seats");
  if ((o.host || o.join) && (o.synctest > 0 || !o.replay.empty())) {
    throw UsageError("--synctest and --replay are for matches on one machine");
  }
  if (!o.replay.empty() && o.headless) {
    throw UsageError("--replay shows a recording in the window; a headless run plays it with --script");
  }
  return o;
}

const char* UsageText() {
  return "usage: kelmora [--headless [--script FILE] [--dump FILE] [--events FILE]\n"
         "                             [--screenshot [@]TICK[.F]:FILE.png]... [--synctest N]]\n"
         "               [--replay FILE] [--record FILE]\n"
         "               [--match STAGE:C0,C1,C2,C3[:CPUS]] [--music 0|1] [--mode 80|240|400]\n"
         "               [--data DIR] [--controls FILE] [--scale smooth|whole]\n"
         "       kelmora --host [PORT] | --join HOST[:PORT] | --spectate HOST[:PORT] [--name NAME]\n"
         "       kelmora [--headless] [--controls FILE] --print-controls\n"
         "       kelmora [--controls FILE] --write-controls [--force]\n"
         "       kelmora --version | --help\n"
         "With no arguments Kelmora starts at its title screen, with the controls of\n"
         "$XDG_CONFIG_HOME/kelmora/controls.ini (~/.config/kelmora/controls.ini) if there is one;\n"
         "headless runs and replays read a controls file only when --controls names it.\n"
         "--print-controls prints the controls in force as a file to save and edit.\n"
         "--write-controls writes the built-in controls (or those of --controls FILE) as that\n"
         "  file, making its folder, for you to edit. A file already there is left as it is;\n"
         "  with --force it is kept as controls.ini.bak and a fresh one written.\n"
         "--match STAGE:C0,C1,C2,C3[:CPUS] plays one match, without the title and menu, and\n"
         "  prints its result. STAGE: 0 meadow, 1 night courtyard, 2 dark hall, 3 harbour,\n"
         "  4 raft, 5 rooftop. C0..C3, the characters of seats 1P..4P: 0 bear, 1 fox, 2 pig,\n"
         "  3 elephant, 4 spider, 5 fish, 6 mole, 7 flying squirrel, 8 mouse, -1 empty.\n"
         "  CPUS: four digits, 1 for a computer player (--match 0:0,1,2,3:0011).\n"
         "--music 0 plays no stage music (the menu's NoBGM); 1, the default, plays it.\n"
         "--mode is the menu's display mode: 80 = a 320x240 screen (the 3D view 320x215 over\n"
         "  the status strip), 240 = 640x480 with a 400x300 view in the middle (the default),\n"
         "  400 = 640x480 with the whole 640x430 view. The window scales the screen to its size.\n"
         "--scale smooth (the default) scales the screen to the largest size that fits the\n"
         "  window, filtered; whole scales it by the largest whole multiple that fits, pixels\n"
         "  kept sharp and black bars around (a window smaller than the screen is scaled smoothly).\n"
         "--record FILE writes every key and joystick change the run takes, by tick, as a script:\n"
         "  kelmora --headless --script FILE plays the session again exactly (give it the same\n"
         "  --match, --music and --mode). --replay FILE shows a recording in the window at\n"
         "  normal speed; Esc ends it. Both take --dump and --events as headless runs do.\n"
         "--host [PORT] opens an online session (UDP 7790 unless given) once Game Start is\n"
         "  chosen; friends join it with --join HOST[:PORT] and meet in the host's menu, where\n"
         "  each player takes the lowest free seat with their own action key or pad.\n"
         "  --spectate HOST[:PORT] watches the host's match. The README lists the rest.\n"
         "--synctest N checks that the match's rules are a pure function of their state: after\n"
         "  every tick the last N ticks (1-64) run again from their saved state, silently, and\n"
         "  must end in the same state and scene; the first difference ends the run with status 1.\n";
}

const char* VersionText() { return "Kelmora " KELMORA_VERSION; }

}  // namespace kelmora
