#pragma once
// Game: the match state together with the narrow interfaces through which the rules reach
// the outside world (clock, window events, 2D screen, scene, sound, music, joysticks, random).
// It lives for the whole run; the shell builds it with real or headless backends.
#include <SDL.h>

#include <functional>
#include <string>
#include <string_view>

#include "audio/dx7_snd_support.h"
#include "input/get_controller.h"
#include "match/match_state.h"
#include "match/players/seat_facing.h"
#include "match/random.h"
#include "match/snow/field_places.h"
#include "match/status_panels.h"

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

struct Game {
  Game(platform::Clock& clock, platform::Window& window, platform::Screen& screen,
       scene::Scene& scene, audio::Dx7DSndSupport& snd, audio::Music& music,
       platform::JoystickDevice& joyDevice)
      : clock(clock), window(window), screen(screen), scene(scene), snd(snd), music(music),
        joyDevice(joyDevice) {}

  MatchState st;
  Random rnd;
  // Where the pile, decoy and net frames were last placed in the scene.
  FieldPlaces fieldPlaces;
  // Which way each seat's frame was last turned in the scene.
  SeatFacings seatFacings;
  // What the status strip shows.
  StripShown stripShown;

  platform::Clock& clock;
  platform::Window& window;
  platform::Screen& screen;
  scene::Scene& scene;
  audio::Dx7DSndSupport& snd;
  audio::SoundTable soundTable;
  audio::Music& music;
  platform::JoystickDevice& joyDevice;
  input::Joysticks joy;

  // The sprite sheets held by Image1 (MenuSheet) and Image2 (CharacterSheet).
  SDL_Surface* menuSheet = nullptr;
  SDL_Surface* characterSheet = nullptr;

  // Folder of the program's model/, tex/ and sound/ folders.
  std::string programFolder;

  // The handlers that DoEvents hands window events to (the main window).
  platform::WindowEvents* handlers = nullptr;
  // Set once the close request has released everything: every loop returns at once.
  bool closing = false;
  // Number of matches started in this run, and the ticks run by the latest one.
  int matchesStarted = 0;
  int matchTicks = 0;
  // Called after every tick of a match (headless dumps and screenshots).
  std::function<void(Game&, int tick)> afterTick;
  // The match's own tick being run: 0 during set-up, 1 for the first tick, -1 outside a match.
  int matchTick = -1;
  // Told of every play of the sound table and every redraw of the status strip, as they
  // happen (the headless event log).
  std::function<void(Game&, int id)> onSound;
  std::function<void(Game&)> onPanels;

  // Lets pending window events run once.
  void DoEvents();
  // GetTickCount() / 20.
  int32_t TickNow();
  // Full path of an asset given as "\\model\\bear.x": the program folder, then the path
  // with its separators turned into this platform's.
  std::string Asset(std::string_view path) const;
  // Plays sound table entry id.
  void SoundPlay(int id) {
    if (onSound) onSound(*this, id);
    snd.SoundPlay(soundTable[id]);
  }

  // The front end: told after each pass of the title, each tick of the menu and the drawing
  // of the loading screen, with the screen as shown (headless screenshots of the front end).
  std::function<void(Game&)> onFrontShown;
  // Revision of the logical screen that the front end last presented, so that a menu tick
  // that changed nothing does not present again.
  uint64_t frontShownRevision = 0;
};

}  // namespace kelmora
