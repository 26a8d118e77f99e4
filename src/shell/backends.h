#pragma once
// The backends of a run: real ones (SDL2 window, OpenGL, SDL2_mixer, SDL joysticks, SDL's
// clock) or headless ones (virtual clock, script events, recorders, null scene).
#include <memory>
#include <vector>

#include "audio/dx7_snd_support.h"
#include "audio/music.h"
#include "platform/clock.h"
#include "platform/headless/script.h"
#include "platform/joystick_device.h"
#include "platform/music_device.h"
#include "platform/screen.h"
#include "platform/sound_device.h"
#include "platform/window.h"
#include "scene/scene.h"

namespace kelmora::platform {
class HeadlessWindow;
}

namespace kelmora {

struct Options;

struct Backends {
  std::unique_ptr<platform::Clock> clock;
  std::unique_ptr<platform::Window> window;
  std::unique_ptr<platform::Screen> screen;
  std::unique_ptr<scene::Scene> scene;
  std::unique_ptr<platform::SoundDevice> soundDevice;
  std::unique_ptr<platform::MusicDevice> musicDevice;
  std::unique_ptr<platform::JoystickDevice> joysticks;
  std::unique_ptr<audio::Dx7DSndSupport> snd;
  std::unique_ptr<audio::Music> music;

  // Set in headless runs.
  platform::VirtualClock* virtualClock = nullptr;
  platform::HeadlessWindow* headlessWindow = nullptr;
};

// Throws std::runtime_error when the window or its OpenGL context cannot be made.
Backends MakeRealBackends();
Backends MakeHeadlessBackends(const Options& options, std::vector<platform::ScriptEvent> events);

}  // namespace kelmora
