#include "shell/backends.h"

#include "platform/gl/gl_compositor.h"
#include "platform/gl/gl_renderer.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/recording_audio.h"
#include "platform/record/paced_window.h"
#include "platform/record/record_file.h"
#include "platform/record/recording_joysticks.h"
#include "platform/record/recording_window.h"
#include "platform/record/replay_window.h"
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

Backends MakeRealBackends(const Options& options, std::vector<platform::ScriptEvent> events, bool paced) {
  Backends b;
  b.realClock = std::make_unique<platform::SdlClock>();
  auto window = std::make_unique<platform::SdlWindow>("Kelmora");
  window->SetScaling(options.wholeScale ? platform::Scaling::Whole : platform::Scaling::Smooth);
  auto renderer = std::make_unique<platform::GlRenderer>();  // on the window's context
  window->SetView(renderer.get());
  b.sdlWindow = window.get();
  platform::Clock* pace = paced ? b.realClock.get() : nullptr;
  if (!options.replay.empty()) {
    auto clock = std::make_unique<platform::VirtualClock>();
    auto joysticks = std::make_unique<platform::HeadlessJoysticks>();
    auto script = std::make_unique<platform::HeadlessWindow>(*clock, *joysticks, std::move(events));
    b.headlessWindow = script.get();
    b.window = std::make_unique<platform::ReplayWindow>(std::move(window), std::move(script), *clock, pace);
    b.joysticks = std::move(joysticks);
    b.virtualClock = clock.get();
    b.clock = std::move(clock);
  } else if (!options.record.empty()) {
    auto clock = std::make_unique<platform::VirtualClock>();
    b.window = std::make_unique<platform::PacedWindow>(std::move(window), *clock, pace);
    b.virtualClock = clock.get();
    b.clock = std::move(clock);
  } else {
    b.window = std::move(window);
    b.clock = std::make_unique<platform::SdlClock>();
  }
  if (!b.joysticks) b.joysticks = std::make_unique<platform::SdlJoysticks>();
  b.screen = std::make_unique<platform::Screen>();
  b.scene = std::make_unique<scene::Scene>(std::move(renderer));
  b.soundDevice = std::make_unique<platform::SdlSoundDevice>();
  // The music keeps to the real clock: its tunes end in real time.
  b.musicDevice = std::make_unique<platform::SdlMusicDevice>(*b.realClock);
  FinishAudio(b);
  return b;
}

void AttachRecorder(Backends& b, std::unique_ptr<platform::RecordFile> record) {
  record->SetClock(*b.clock);
  b.window = std::make_unique<platform::RecordingWindow>(std::move(b.window), *record);
  auto joysticks = std::make_unique<platform::RecordingJoysticks>(std::move(b.joysticks), *record);
  b.recordingJoysticks = joysticks.get();
  b.joysticks = std::move(joysticks);
  b.record = std::move(record);
}

Backends MakeHeadlessBackends(const Options& options, std::vector<platform::ScriptEvent> events,
                              bool keepAudioRecord) {
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
  auto sound = std::make_unique<platform::HeadlessSoundDevice>(*b.clock);
  auto music = std::make_unique<platform::HeadlessMusicDevice>(*b.clock);
  sound->SetRecording(keepAudioRecord);
  music->SetRecording(keepAudioRecord);
  b.soundDevice = std::move(sound);
  b.musicDevice = std::move(music);
  FinishAudio(b);
  return b;
}

}  // namespace kelmora
