#pragma once
// A whole program run on the headless backends, for tests: the same start-up and screen loop
// as the real program, driven by script events on a virtual clock.
#include <memory>
#include <string>
#include <vector>

#include "match/play/game.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/script.h"
#include "resources/sprite_sheets.h"
#include "shell/backends.h"
#include "shell/main_window.h"
#include "shell/options.h"

namespace kelmora::testing {

struct HeadlessRun {
  // `keepAudioRecord` false: as the program, no record of what would have sounded.
  explicit HeadlessRun(const std::string& script = "", Options opts = {}, bool keepAudioRecord = true)
      : options(std::move(opts)),
        backends(MakeHeadlessBackends(this->options, platform::ParseScript(script, "test-script"),
                                      keepAudioRecord)),
        game(*backends.clock, *backends.window, *backends.screen, *backends.scene, *backends.snd,
             *backends.music, *backends.joysticks),
        form(game) {
    game.programFolder = KELMORA_BUILD_DIR;
    game.view.menuSheet = sheets.menu;
    game.view.characterSheet = sheets.character;
  }

  // Start-up, then the screens from the title until the program ends.
  int RunProgram() {
    // As the program: a close request while starting is a clean end.
    if (!form.Form_Load()) return game.closing ? 0 : 1;
    return form.RunScreens(NextScreen::Title, false);
  }

  // Start-up, then one match with these choices; script ticks count the match's own ticks.
  int RunMatch(int16_t stage, std::array<int16_t, 4> characters, std::array<int16_t, 4> cpu = {},
               int16_t mode = 240, int16_t music = 1) {
    if (!form.Form_Load()) return 1;
    game.st.musicOn = music;
    game.st.displayMode = mode;
    game.st.stage = stage;
    game.st.playerCharacter = characters;
    game.st.isCpu = cpu;
    window().SetTickOrigin(game.TickNow());
    window().SetGrace(false);
    return form.RunScreens(NextScreen::Match, true);
  }

  platform::HeadlessWindow& window() { return *backends.headlessWindow; }

  resources::SpriteSheets sheets;
  Options options;
  Backends backends;
  Game game;
  MainWindow form;
};

}  // namespace kelmora::testing
