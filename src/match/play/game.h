#pragma once
// Game: the whole program's context, in three parts: the rules' state between ticks (a
// MatchRules: st and rnd), the view (scene, screen, sprite sheets, sounds) and the program's
// life (the devices, the close flag, the window's handlers, the hooks of headless runs). It
// lives for the whole run; the shell builds it with real or headless backends.
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "audio/dx7_snd_support.h"
#include "input/controls.h"
#include "input/get_controller.h"
#include "match/rules.h"
#include "match/seat_controls.h"
#include "match/tick_events.h"
#include "match/play/synctest.h"
#include "match/view/match_view.h"

namespace kelmora::platform {
class Clock;
class Window;
class WindowEvents;
class Screen;
class JoystickDevice;
}  // namespace kelmora::platform
namespace kelmora::audio {
class Music;
}
namespace kelmora::scene {
class Scene;
}

namespace kelmora {

struct Game;

// The program's life: what runs the screens, and what headless runs and tests hook into.
struct ProgramLife {
  // The handlers that DoEvents hands window events to (the main window).
  platform::WindowEvents* handlers = nullptr;
  // Set once the close request has released everything: every loop returns at once.
  bool closing = false;
  // Number of matches started in this run, and the ticks run by the latest one.
  int matchesStarted = 0;
  int matchTicks = 0;
  // The match's own tick being run: 0 during set-up, 1 for the first tick, -1 outside a match.
  int matchTick = -1;
  // --synctest N: after every tick the last N ticks run again from their saved state and must
  // end as they did (0: off). The first difference is kept here and ends the match.
  int synctest = 0;
  std::string syncMismatch;
  // Called after every tick of a match (headless dumps and screenshots).
  std::function<void(Game&, int tick)> afterTick;
  // Told of every play of the sound table and every redraw of the status strip, as they are
  // played (the headless event log); a redraw comes with what the strip shows.
  std::function<void(Game&, int id)> onSound;
  std::function<void(Game&, const TickEvent& redraw)> onPanels;
  // Told of a looping sound that a match starts at its set-up (the sixth stage's music).
  std::function<void(Game&, int id)> onLoop;
  // The front end: told after each pass of the title, each tick of the menu and the drawing
  // of the loading screen, with the screen as shown (headless screenshots of the front end).
  std::function<void(Game&)> onFrontShown;
  // Revision of the logical screen that the front end last presented, so that a menu tick
  // that changed nothing does not present again.
  uint64_t frontShownRevision = 0;

  // The pause of a match and the help page: the main window's keys ask for them (P, Pause or a
  // pad's Start; F1), and the loop of the screen shown puts them up.
  // A match that can pause is running (an online match cannot).
  bool pausable = false;
  // A pause key asked for the pause (again to resume).
  bool pauseAsked = false;
  // Time the match has spent paused: its clock is the game clock less this; and when the pause
  // in progress began, on the game clock.
  uint32_t pausedMs = 0, pauseBeganMs = 0;
  // The screen shown has the help page (the title, the menu, a paused match).
  bool helpHere = false;
  // F1 asked for the help page, and whether it is up.
  bool helpAsked = false, helpShown = false;
};

struct Game : MatchRules, ProgramLife {
  Game(platform::Clock& clk, platform::Window& win, platform::Screen& scr, scene::Scene& scn,
       audio::Dx7DSndSupport& sound, audio::Music& tunes, platform::JoystickDevice& pads)
      : clock(clk), window(win), screen(scr), scene(scn), snd(sound), music(tunes), joyDevice(pads),
        view(scene, screen, window, snd, soundTable, music, programFolder) {}

  platform::Clock& clock;
  platform::Window& window;
  platform::Screen& screen;
  scene::Scene& scene;
  audio::Dx7DSndSupport& snd;
  audio::SoundTable soundTable;
  audio::Music& music;
  platform::JoystickDevice& joyDevice;
  input::Joysticks joy;
  // Folder of the program's model/, tex/ and sound/ folders.
  std::string programFolder;
  // The players' controls in force (the controls file's, or the built-in ones), as the help
  // page names them.
  input::Controls bindings = input::BuiltInControls();

  MatchView view;

  // The seats' controls gathered for the next tick while a match runs (the key map writes
  // here instead of into the state), and the events of the tick last run.
  SeatControls controls;
  bool gatherControls = false;
  // Pad readings that a script plays back for seats (an online match's recording), which
  // stand instead of the pads from the tick they come.
  std::array<PadReading, kSeats> scriptedPads{};
  TickEvents events;
  // The rules' context over st, rnd and events: rule tests call single rules with it.
  Rules rules{st, rnd, events};
  // The last ticks' saved states, controls and results, for --synctest.
  std::deque<SyncStep> syncHistory;

  // Lets pending window events run once.
  void DoEvents();
  // GetTickCount() / 20.
  int32_t TickNow();
  // Full path of an asset given as "\\model\\bear.x".
  std::string Asset(std::string_view path) const;
  // Plays sound table entry id.
  void SoundPlay(int id) {
    if (onSound) onSound(*this, id);
    snd.SoundPlay(soundTable[id]);
  }
};

}  // namespace kelmora
