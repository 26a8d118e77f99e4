#include "shell/main_window.h"

#include <SDL.h>

#include <exception>
#include <filesystem>
#include <string>

#include "audio/music.h"
#include "audio/tune_file.h"
#include "frontend/screens.h"
#include "input/get_controller.h"
#include "match/play/run_match.h"
#include "match/view/release_scene.h"
#include "platform/asset_error.h"
#include "platform/screen.h"

namespace kelmora {

namespace {
constexpr int32_t kJoystickThreshold = 16384;
}

std::string ResolveProgramFolder(const std::string& dataDir) {
  namespace fs = std::filesystem;
  auto strip = [](std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
  };
  if (!dataDir.empty()) return strip(dataDir);
  std::string base = ".";
  if (char* p = SDL_GetBasePath()) {
    base = p;
    SDL_free(p);
  }
  base = strip(base);
  for (const fs::path& candidate : {fs::path(base), fs::path(base) / ".." / "share" / "kelmora"}) {
    std::error_code ec;
    if (fs::is_directory(candidate / "sound", ec)) return strip(candidate.lexically_normal().string());
  }
  return base;
}

bool MainWindow::Form_Load() {
  auto& st = g_.st;
  g_.window.Show();
  // A close request can come while the program starts: it has released everything, so the
  // program ends here instead of opening what it has just closed.
  g_.DoEvents();
  if (g_.closing) return false;
  // A tune that is damaged stops the start like any other file of the game; the music
  // commands themselves never fail the program.
  audio::CheckTuneFile(g_.Asset("\\sound\\bgm.mid"));
  g_.music.MusicOpen(g_.Asset("\\sound\\bgm.mid"), "MENU");
  input::JoystickInit(g_.joy, g_.joyDevice, kJoystickThreshold);
  st.displayMode = 240;
  st.cpuOption = 0;
  st.stage = 1;
  st.musicOn = 1;
  st.playerCharacter = {-1, -1, -1, -1};
  if (!g_.snd.SoundInit(1)) {
    g_.window.MessageBox("DirectSound起動失敗！", "Error", platform::MessageIcon::Critical);
    g_.st.running = 0;
    ReleaseScene(g_.view);
    g_.window.Close();
    return false;
  }
  // Sound files are named relative to the program folder (the working directory is left
  // alone so that paths given on the command line keep their meaning).
  g_.snd.SetProgramFolder(g_.programFolder);
  audio::LoadSoundTable(g_.snd, g_.soundTable);
  g_.screen.SetMode(640, 480);
  g_.window.Present(g_.screen);
  g_.DoEvents();
  return !g_.closing;
}

int MainWindow::RunScreens(NextScreen next, bool singleMatch) {
  try {
    for (;;) {
      onTitle_ = next == NextScreen::Title;
      switch (next) {
        case NextScreen::Title: next = ShowTitleScreen(g_); break;
        case NextScreen::Menu: next = RunMenu(g_); break;
        case NextScreen::Match:
          next = RunMatch(g_);
          if (singleMatch) return 0;
          break;
        case NextScreen::Exit:
        case NextScreen::Closed:
          return 0;
      }
    }
  } catch (const std::exception& e) {
    // A file that cannot be loaded, or any other failure: one message naming it, then the
    // close request's release of everything, and the program ends with status 1.
    const bool asset = dynamic_cast<const platform::AssetError*>(&e) != nullptr;
    g_.window.MessageBox(asset ? std::string(e.what()) : std::string("unexpected failure: ") + e.what(),
                         "Kelmora", platform::MessageIcon::Critical);
    Form_QueryUnload();
    return 1;
  }
}

std::vector<ControlOp>* MainWindow::Gathering() { return g_.gatherControls ? &g_.controls.keys : nullptr; }

int16_t MainWindow::KeyMapCode(int16_t keyCode) {
  // Outside a match a pad's Start and Back are Enter and Esc (in a match PauseOrHelpKey takes
  // them).
  if (keyCode == platform::kPadStartKey) return input::kVkEnter;
  if (keyCode == platform::kPadBackKey) return input::kVkEscape;
  return keyCode;
}

bool MainWindow::PauseOrHelpKey(int16_t keyCode, bool pressed) {
  const bool inMatch = g_.matchTick >= 0;
  const bool paused = g_.pausable && g_.pauseAsked;
  if (inMatch && (keyCode == input::kVkP || keyCode == input::kVkPause || keyCode == platform::kPadStartKey)) {
    if (pressed && g_.pausable) {
      g_.pauseAsked = !g_.pauseAsked;
      if (!g_.pauseAsked) g_.helpAsked = false;
    }
    return true;
  }
  const bool helpHere = g_.helpHere || paused;
  if (helpHere && keyCode == input::kVkF1) {
    if (pressed) g_.helpAsked = !g_.helpAsked;
    return true;
  }
  const bool escape = keyCode == input::kVkEscape || keyCode == platform::kPadBackKey;
  if (helpHere && g_.helpAsked) {
    // The help page is up: Esc (a pad's Back) closes it, and the screen under it takes no key.
    if (escape) g_.helpAsked = false;
    return true;
  }
  // A pad's Back ends a match only while it is paused, so that a knocked button never ends
  // everyone's match; Esc ends a paused match at once (no tick runs to let it through).
  if (inMatch && keyCode == platform::kPadBackKey && !paused) return true;
  if (paused && escape) {
    g_.st.running = 0;
    return true;
  }
  return false;
}

void MainWindow::Form_KeyDown(int16_t keyCode, int16_t shift) {
  // The pause and the help page change on a key's press, not on its repeats; their keys never
  // reach the key map, so that pausing changes nothing in the match.
  const bool known = keyCode >= 0 && keyCode < 256;
  const bool pressed = known && !held_[keyCode];
  if (known) held_[keyCode] = true;
  const bool taken = PauseOrHelpKey(keyCode, pressed);
  if (known) taken_[keyCode] = taken;
  if (taken) return;
  taps_.Gather(Gathering());
  taps_.KeyDown(g_.st, KeyMapCode(keyCode), shift, pass_);
}

void MainWindow::Form_KeyUp(int16_t keyCode, int16_t shift) {
  if (keyCode >= 0 && keyCode < 256) {
    held_[keyCode] = false;
    // The release of a key whose press was taken goes with it.
    if (taken_[keyCode]) {
      taken_[keyCode] = false;
      return;
    }
  }
  taps_.Gather(Gathering());
  taps_.KeyUp(g_.st, KeyMapCode(keyCode), shift, pass_);
}

void MainWindow::SeatControl(int seat, int kind, int value) {
  const ControlOp op{static_cast<ControlKind>(kind), static_cast<int8_t>(seat), static_cast<int16_t>(value)};
  if (g_.gatherControls) {
    g_.controls.keys.push_back(op);
  } else {
    ApplyControl(g_.st, op);
  }
}

void MainWindow::SeatPad(int seat, int x, int z, uint32_t buttons) {
  if (seat < 0 || seat >= kSeats) return;
  g_.scriptedPads[seat] = {true, static_cast<int16_t>(x), static_cast<int16_t>(z), static_cast<int32_t>(buttons)};
}

void MainWindow::BeforeEvents() {
  if (onTitle_ || g_.st.lastTick != lastTickSeen_) {
    ++pass_;
    lastTickSeen_ = g_.st.lastTick;
  }
  taps_.Gather(Gathering());
  taps_.Release(g_.st, pass_);
}

void MainWindow::Form_QueryUnload() {
  if (g_.closing) return;
  g_.st.running = 0;
  ReleaseScene(g_.view);
  g_.music.MusicCloseAll();
  for (auto& entry : g_.soundTable) g_.snd.SoundRelease(entry);
  g_.snd.SoundShutdown();
  g_.closing = true;
  g_.window.Close();
}

}  // namespace kelmora
