#include "shell/backends.h"

#include "platform/headless/headless_window.h"
#include "platform/headless/null_audio.h"
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
  b.window = std::make_unique<platform::SdlWindow>("Kelmora");
  b.screen = std::make_unique<platform::Screen>();
  b.scene = std::make_unique<scene::Scene>();
  b.soundDevice = std::make_unique<platform::NullSoundDevice>();
  b.musicDevice = std::make_unique<platform::NullMusicDevice>();
  b.joysticks = std::make_unique<platform::HeadlessJoysticks>();
  FinishAudio(b);
  return b;
}

Backends MakeHeadlessBackends(const Options&, std::vector<platform::ScriptEvent> events) {
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
  b.scene = std::make_unique<scene::Scene>();
  b.soundDevice = std::make_unique<platform::NullSoundDevice>();
  b.musicDevice = std::make_unique<platform::NullMusicDevice>();
  FinishAudio(b);
  return b;
}

}  // namespace kelmora
