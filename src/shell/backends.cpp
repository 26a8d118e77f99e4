#include "shell/backends.h"

#include "platform/gl/gl_renderer.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/recording_audio.h"
#include "platform/sdl/sdl_joysticks.h"
#include "platform/sdl/sdl_music_device.h"
#include "platform/sdl/sdl_sound_device.h"
#include "platform/sdl/sdl_window.h"
#include "shell/options.h"

namespace kelmora {

namespace {
void FinishAudio(Backends& b) {
  b.snd = std::make_unique<audio::Dx7DSndSupport>(*b.soundDevice, *b.window);
  b.music = std::make_unique<audio::Music>(*b.musicDevice);
}
}  // namespace

Backends MakeRealBackends() {
  Backends b;
  b.clock = std::make_unique<platform::SdlClock>();
  auto window = std::make_unique<platform::SdlWindow>("Kelmora");
  auto renderer = std::make_unique<platform::GlRenderer>();  // on the window's context
  window->SetView(renderer.get());
  b.window = std::move(window);
  b.screen = std::make_unique<platform::Screen>();
  b.scene = std::make_unique<scene::Scene>(std::move(renderer));
  b.soundDevice = std::make_unique<platform::SdlSoundDevice>();
  b.musicDevice = std::make_unique<platform::SdlMusicDevice>(*b.clock);
  b.joysticks = std::make_unique<platform::SdlJoysticks>();
  FinishAudio(b);
  return b;
}

Backends MakeHeadlessBackends(const Options& options, std::vector<platform::ScriptEvent> events) {
  Backends b;
  auto clock = std::make_unique<platform::VirtualClock>();
  auto joysticks = std::make_unique<platform::HeadlessJoysticks>();
  auto window = std::make_unique<platform::HeadlessWindow>(*clock, *joysticks, std::move(events));
  b.virtualClock = clock.get();
  b.headlessWindow = window.get();
  b.clock = std::move(clock);
  b.joysticks = std::move(joysticks);
  b.window = std::move(window);
  b.screen = std::make_unique<platform::Screen>();
  // Screenshots need real pictures: OpenGL offscreen. Otherwise nothing is drawn.
  if (options.screenshots.empty()) {
    b.scene = std::make_unique<scene::Scene>();
  } else {
    b.scene = std::make_unique<scene::Scene>(platform::GlRenderer::CreateOffscreen());
  }
  b.soundDevice = std::make_unique<platform::HeadlessSoundDevice>(*b.clock);
  b.musicDevice = std::make_unique<platform::HeadlessMusicDevice>(*b.clock);
  FinishAudio(b);
  return b;
}

}  // namespace kelmora
