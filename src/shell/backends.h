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
#include "platform/record/record_file.h"
#include "platform/screen.h"
#include "platform/sound_device.h"
#include "platform/window.h"
#include "scene/scene.h"

namespace kelmora::platform {
class HeadlessWindow;
class RecordingJoysticks;
class SdlWindow;
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

  // Set in headless runs, and in recorded runs and replays in the window (which count their
  // ticks as headless runs do); headlessWindow hands over the events of a script or recording.
  platform::VirtualClock* virtualClock = nullptr;
  platform::HeadlessWindow* headlessWindow = nullptr;
  // Set in runs in the window.
  platform::SdlWindow* sdlWindow = nullptr;
  std::unique_ptr<platform::Clock> realClock;
  // Set by AttachRecorder (--record).
  std::unique_ptr<platform::RecordFile> record;
  platform::RecordingJoysticks* recordingJoysticks = nullptr;
};

// Runs in the window. With --record or --replay the run keeps to a virtual clock at the real
// pace, and a replay takes `events` (the recording) instead of the keyboard and joysticks.
// `paced` false (tests): the waits do not sleep. Throws std::runtime_error when the window or
// its OpenGL context cannot be made.
Backends MakeRealBackends(const Options& options, std::vector<platform::ScriptEvent> events = {},
                          bool paced = true);
// `keepAudioRecord` false: the silent sound and music devices keep no record of what they were
// told (the program never reads it back, and a long run must not grow with it).
Backends MakeHeadlessBackends(const Options& options, std::vector<platform::ScriptEvent> events,
                              bool keepAudioRecord = true);
// Puts the recording in front of the window's events and the joysticks.
void AttachRecorder(Backends& b, std::unique_ptr<platform::RecordFile> record);

}  // namespace kelmora
