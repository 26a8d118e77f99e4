#include "shell/program.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "input/controls.h"
#include "input/controls_file.h"
#include "input/write_controls.h"
#include "match/play/game.h"
#include "match/play/online_match.h"
#include "platform/asset_error.h"
#include "platform/gl/gl_renderer.h"
#include "platform/gl/screenshot.h"
#include "platform/headless/headless_window.h"
#include "platform/record/recording_joysticks.h"
#include "platform/sdl/sdl_window.h"
#include "resources/sprite_sheets.h"
#include "scene/scene.h"
#include "match/view/stage_construction.h"
#include "shell/backends.h"
#include "shell/display_start.h"
#include "shell/event_log.h"
#include "shell/main_window.h"
#include "shell/online_screens.h"
#include "shell/options.h"
#include "shell/recording.h"
#include "shell/state_dump.h"

namespace kelmora {

namespace {

std::string ResultJson(const Game& g) {
  const auto& st = g.st;
  std::string out = "{\"scores\":[";
  for (int s = 0; s < kSeats; ++s) out += (s ? "," : "") + std::to_string(st.score[s]);
  const bool decided = g.matchTicks >= 1700;
  out += "],\"winner\":";
  out += decided && !st.matchDrawn ? std::to_string(st.winner) : "null";
  out += ",\"result\":\"";
  out += !decided ? "stopped" : st.matchDrawn ? "draw" : "win";
  out += "\",\"ticks\":" + std::to_string(g.matchTicks) + "}";
  return out;
}

static_assert(input::kNoGameKey == platform::kOtherKey, "a key let go of reaches the key map as no game key");

// The controls in force: those of --controls FILE, else (outside headless runs) those of the
// player's own file if there is one, else the built-in ones. Each problem is one line on
// stderr; nothing in a controls file stops the game.
input::Controls ReadControls(const Options& o) {
  std::vector<std::string> problems;
  input::Controls controls = input::BuiltInControls();
  if (!o.controls.empty()) {
    controls = input::LoadControls(o.controls, true, problems);
  } else if (!o.headless && o.replay.empty()) {
    if (const std::string path = input::UserControlsPath(); !path.empty()) {
      controls = input::LoadControls(path, false, problems);
    }
  }
  for (const std::string& p : problems) std::fprintf(stderr, "kelmora: %s\n", p.c_str());
  return controls;
}

// --write-controls: a fresh file of the built-in controls (or of --controls FILE) where the
// game looks for the player's own.
int WriteControls(const Options& o) {
  const std::string path = input::UserControlsPath();
  if (path.empty()) {
    std::fprintf(stderr, "kelmora: neither XDG_CONFIG_HOME nor HOME is set: no folder for the controls file\n");
    return 1;
  }
  std::vector<std::string> problems;
  const input::Controls controls =
      o.controls.empty() ? input::BuiltInControls() : input::LoadControls(o.controls, true, problems);
  for (const std::string& p : problems) std::fprintf(stderr, "kelmora: %s\n", p.c_str());
  const input::WriteResult r = input::WriteControlsFile(path, controls, o.force);
  std::fprintf(r.ok ? stdout : stderr, "kelmora: %s\n", r.message.c_str());
  return r.ok ? 0 : 1;
}

// Keys reach the key map as the controls say (in the real window; script keys are already
// codes of the key map), and the joystick buttons read as the controls say. A recording
// writes the buttons as read, like the keys.
void ApplyControls(const input::Controls& controls, Game& g, Backends& b) {
  g.bindings = controls;
  input::ApplyButtons(controls, g.joy);
  if (b.sdlWindow) {
    for (const auto& [key, code] : input::KeyBindings(controls)) b.sdlWindow->BindKey(key, code);
  }
  if (b.recordingJoysticks) {
    b.recordingJoysticks->SetButtonReading(
        [&joy = g.joy](int id, uint32_t raw) { return input::ButtonsAsRead(joy, id, raw); });
  }
}

// An online match (headless): the dump holds confirmed ticks only, and --record writes the
// confirmed controls of every seat, which `--match ... --script FILE` plays back offline.
int PlayOnline(const Options& o, Game& g) {
  OnlineOptions online;
  online.host = o.host;
  online.watch = o.spectate;
  online.headless = o.headless;
  online.address = o.joinHost;
  online.port = o.port;
  online.seats = o.seats;
  online.tickMs = o.tickMs;
  online.inputDelay = o.inputDelay;
  online.window = o.rollback;
  online.sim = {o.simLoss, o.simDelay, o.simJitter, o.simSeed, o.blackoutAt, o.blackoutMs};
  online.name = o.name.empty() ? (o.host ? "the host" : "a joiner") : o.name;
  if (!o.netVersion.empty()) online.version = o.netVersion;
  online.stopAfter = o.stopAfter;
  std::ofstream record;
  if (!o.record.empty()) {
    record.open(o.record, std::ios::binary | std::ios::trunc);
    if (!record) {
      std::fprintf(stderr, "kelmora: %s: cannot write the recording\n", o.record.c_str());
      return 2;
    }
  }
  bool headed = false;
  auto recordLine = [&](const std::string& line) {
    if (!record.is_open()) return;
    if (!headed) {
      headed = true;
      const auto& st = g.st;
      record << "# " << VersionText() << ": the confirmed controls of every seat of an online match\n";
      record << "# play it back with: kelmora --headless --match " << st.stage << ':';
      for (int s = 0; s < kSeats; ++s) record << (s ? "," : "") << st.playerCharacter[s];
      record << ':';
      for (int s = 0; s < kSeats; ++s) record << st.isCpu[s];
      record << " --script FILE\n";
    }
    record << line << '\n';
  };
  auto confirmed = [&](int tick) {
    if (g.afterTick) g.afterTick(g, tick);
  };
  auto result = [&](const OnlineResult& r) {
    record.flush();
    if (r.ticks > 0) {
      std::string line = ResultJson(g);
      line.insert(line.size() - 1, ",\"net\":" + r.Json());
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
    }
  };
  // Without a set match the machines meet in the host's menu.
  online.menu = !o.match && !o.spectate && o.seats == 0;
  if (online.menu) return RunOnlineScreens(g, online, confirmed, recordLine, result);
  const OnlineResult r = RunOnlineMatch(g, online, confirmed, recordLine);
  result(r);
  return r.status;
}

int Run(const Options& o, Backends& b, const input::Controls& controls) {
  Game g(*b.clock, *b.window, *b.screen, *b.scene, *b.snd, *b.music, *b.joysticks);
  ApplyControls(controls, g, b);
  g.programFolder = ResolveProgramFolder(o.dataDir);
  // Freed on every way out of the run, the early ones included.
  const resources::SpriteSheets sheets;
  g.view.menuSheet = sheets.menu;
  g.view.characterSheet = sheets.character;
  g.synctest = o.synctest;

  std::ofstream dump;
  if (!o.dump.empty()) {
    dump.open(o.dump, std::ios::binary | std::ios::trunc);
    if (!dump) {
      std::fprintf(stderr, "kelmora: %s: cannot write the dump\n", o.dump.c_str());
      return 2;
    }
    g.afterTick = [&dump](Game& game, int tick) {
      dump << MatchStateJson(game.st, game.matchesStarted, tick) << '\n';
    };
  }

  EventLog events;
  if (!o.events.empty()) {
    if (!events.Open(o.events)) {
      std::fprintf(stderr, "kelmora: %s: cannot write the event log\n", o.events.c_str());
      return 2;
    }
    events.Attach(g, !o.match.has_value() && !o.join && !o.host, o.host || o.join);
  }

  // Screenshots of the match ticks asked for, after the tick's dump line.
  bool shotFailed = false;
  if (!o.screenshots.empty()) {
    auto* view = dynamic_cast<platform::GlRenderer*>(&b.scene->renderer());
    // A shot between ticks T and T+1 is taken after tick T+1, blended from the two.
    auto takenAfter = [](const Screenshot& shot) { return shot.tick + (shot.fraction > 0 ? 1 : 0); };
    // Only the ticks that are photographed (and the one before, for a tick that renders
    // nothing) are drawn; a shot of tick 1 keeps every tick drawn, for the matches after.
    auto wanted = [&o, takenAfter](int tick) {
      for (const Screenshot& shot : o.screenshots) {
        if (!shot.frontEnd && takenAfter(shot) == tick) return true;
      }
      return false;
    };
    if (view) view->SetDrawing(wanted(1) || wanted(2));
    g.afterTick = [dumpLine = std::move(g.afterTick), &o, view, wanted, takenAfter, &shotFailed](Game& game,
                                                                                                 int tick) {
      if (dumpLine) dumpLine(game, tick);
      // The tick's own pictures first, then those between it and the tick before.
      for (const bool between : {false, true}) {
        for (const Screenshot& shot : o.screenshots) {
          if (shot.frontEnd || takenAfter(shot) != tick || (shot.fraction > 0) != between) continue;
          if (between) RenderBetweenTicks(game.view, shot.fraction);
          std::string why;
          if (!platform::WriteScreenshot(game.screen, view, shot.file, why)) {
            std::fprintf(stderr, "kelmora: %s: %s\n", shot.file.c_str(), why.c_str());
            shotFailed = true;
          }
        }
      }
      if (view) view->SetDrawing(wanted(1) || wanted(tick + 1) || wanted(tick + 2));
    };
    // '@TICK' shots: the front-end screen as shown at that tick of the run's clock; when
    // several are shown in one tick (the menu, then the loading screen) the last one stands.
    // A paused match shows its view: drawn again for the shot when its ticks are not drawn.
    g.onFrontShown = [&o, view, &shotFailed](Game& game) {
      for (const Screenshot& shot : o.screenshots) {
        if (!shot.frontEnd || shot.tick != game.TickNow()) continue;
        const bool match = view && game.screen.Picture2.visible;
        if (match && !view->Drawing()) {
          view->SetDrawing(true);
          RenderMatch(game.view, game.st);
          view->SetDrawing(false);
        }
        std::string why;
        if (!platform::WriteScreenshot(game.screen, match ? view : nullptr, shot.file, why)) {
          std::fprintf(stderr, "kelmora: %s: %s\n", shot.file.c_str(), why.c_str());
          shotFailed = true;
        }
      }
    };
  }

  MainWindow form(g);
  // The thread parsing ahead stops with the run, before SDL does: it reads pictures with it.
  struct StopParsing {
    ~StopParsing() { scene::StopParsingAhead(); }
  } stopParsing;
  int status = 0;
  try {
    if (!form.Form_Load()) {
      status = g.closing ? 0 : 1;
    } else {
      // While the title and the menus show, every file a match can load is parsed on the
      // other core; a run that starts with its match parses only that match's files.
      if (!o.match) scene::ParseAhead(EveryMatchFile(g.programFolder), false);
      if (o.music) g.st.musicOn = *o.music;
      if (o.mode) g.st.displayMode = *o.mode;
      NextScreen first = NextScreen::Title;
      if (o.match) {
        g.st.stage = o.match->stage;
        g.st.playerCharacter = o.match->characters;
        g.st.isCpu = o.match->cpu;
        first = NextScreen::Match;
        if (b.headlessWindow) {
          b.headlessWindow->SetTickOrigin(g.TickNow());
          b.headlessWindow->SetGrace(false);
        }
        if (b.record) b.record->SetTickOrigin(g.TickNow());
      }
      if (o.host || o.join) {
        status = PlayOnline(o, g);
      } else {
        status = form.RunScreens(first, o.match.has_value());
        // A match that could not be set up has no result to print: its error says why.
        if (o.match && g.matchesStarted > 0 && status == 0) std::printf("%s\n", ResultJson(g).c_str());
      }
    }
  } catch (const platform::AssetError& e) {
    g.window.MessageBox(e.what(), "Kelmora", platform::MessageIcon::Critical);
    form.Form_QueryUnload();
    status = 1;
  } catch (const std::exception& e) {
    // Any other failure ends the run the same way: one line naming it, everything released.
    g.window.MessageBox(std::string("unexpected failure: ") + e.what(), "Kelmora",
                        platform::MessageIcon::Critical);
    form.Form_QueryUnload();
    status = 1;
  }
  if (!g.syncMismatch.empty()) {
    std::fprintf(stderr, "kelmora: --synctest: a second run of %s differs from the first\n", g.syncMismatch.c_str());
    status = 1;
  }
  if (shotFailed && status == 0) status = 1;
  if (b.record && !b.record->ok()) {
    std::fprintf(stderr, "kelmora: %s: the recording could not be written to the end\n", b.record->path().c_str());
    if (status == 0) status = 1;
  }
  return status;
}

}  // namespace

int RunProgram(const std::vector<std::string>& args) {
  Options o;
  std::vector<platform::ScriptEvent> events;
  std::unique_ptr<platform::RecordFile> record;
  try {
    o = ParseOptions(args);
    if (o.help) {
      std::fputs(UsageText(), stdout);
      return 0;
    }
    if (o.version) {
      std::printf("%s\n", VersionText());
      return 0;
    }
    if (o.printControls) {
      std::fputs(input::ControlsText(ReadControls(o)).c_str(), stdout);
      return 0;
    }
    if (o.writeControls) return WriteControls(o);
    if (!o.script.empty()) events = platform::LoadScript(o.script);
    if (!o.replay.empty()) events = platform::LoadScript(o.replay);
    if (!o.record.empty() && !o.host && !o.join) record = OpenRecording(o);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "kelmora: %s (kelmora --help lists the options)\n", e.what());
    return 2;
  } catch (const platform::ScriptError& e) {
    std::fprintf(stderr, "kelmora: %s\n", e.what());
    return 2;
  } catch (const platform::RecordError& e) {
    std::fprintf(stderr, "kelmora: %s\n", e.what());
    return 2;
  }

  const input::Controls controls = ReadControls(o);
  int status = 0;
  if (o.headless) {
    if (SDL_Init(0) != 0) {
      std::fprintf(stderr, "kelmora: cannot start SDL: %s\n", SDL_GetError());
      return 1;
    }
    if (!o.screenshots.empty()) {
      // Screenshots render with OpenGL on an offscreen (EGL) surface, no display needed.
      setenv("SDL_VIDEODRIVER", "offscreen", 1);
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "kelmora: cannot start offscreen video: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
      }
    }
    try {
      Backends b = MakeHeadlessBackends(o, std::move(events), false);
      if (record) AttachRecorder(b, std::move(record));
      status = Run(o, b, controls);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kelmora: %s\n", e.what());
      status = 1;
    }
  } else {
    if (!StartWindowedSdl()) return 1;
    try {
      Backends b = MakeRealBackends(o, std::move(events));
      if (record) AttachRecorder(b, std::move(record));
      status = Run(o, b, controls);
    } catch (const std::exception& e) {
      SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Kelmora", e.what(), nullptr);
      std::fprintf(stderr, "kelmora: %s\n", e.what());
      status = 1;
    }
  }
  SDL_Quit();
  return status;
}

}  // namespace kelmora
