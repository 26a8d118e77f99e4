#include "shell/display_start.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl/sdl_joysticks.h"

namespace kelmora {

namespace {

void NoDisplay(const std::string& why) {
  std::fprintf(stderr, "kelmora: no display to show the window on (%s); kelmora --headless plays without one\n",
               why.c_str());
}

// Drivers that SDL falls back on when it finds no display: they open windows nobody sees.
bool ShowsNothing(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

bool StartWindowedSdl() {
  platform::SetPadHints();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    NoDisplay(SDL_GetError());
    return false;
  }
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (ShowsNothing(SDL_GetCurrentVideoDriver()) && (!asked || !*asked)) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    NoDisplay((display && *display) || (wayland && *wayland) ? "the display named in the environment cannot be opened"
                                                             : "neither DISPLAY nor WAYLAND_DISPLAY is set");
    SDL_Quit();
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "kelmora: joysticks and pads cannot be used: %s\n", SDL_GetError());
  }
  return true;
}

}  // namespace kelmora
