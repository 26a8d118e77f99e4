// The message boxes the program draws itself: every character of its messages is drawn, and
// a box ends (and hands on) a quit request instead of waiting for a person.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "command_support.h"
#include "platform/sdl/sdl_message_box.h"

namespace kelmora::platform {
namespace {

// Pixels of the box that are near black: the text and the OK label (the critical icon has
// none).
int InkOfDrawnBox(std::string_view text) {
  const BoxPicture box = DrawMessageBox(text, MessageIcon::Critical);
  int ink = 0;
  for (uint32_t p : box.pixels) {
    if (((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100) ++ink;
  }
  return ink;
}

TEST(DrawnMessageBox, EveryCharacterOfTheStartUpMessagesIsDrawn) {
  const int latin = InkOfDrawnBox("DirectSound");
  ASSERT_GT(latin, InkOfDrawnBox("")) << "no font drew the Latin letters";
  for (const char* message : {"DirectSoundは利用できません。", "DirectSound起動失敗！"}) {
    EXPECT_EQ(DrawMessageBox(message, MessageIcon::Warning).missingGlyphs, 0) << message;
    // Each Japanese character (three bytes of UTF-8) adds ink of its own: an empty box, or
    // boxes in place of the characters, would not.
    const int japanese = static_cast<int>(std::string(message).size() - 11) / 3;
    EXPECT_GT(InkOfDrawnBox(message) - latin, 20 * japanese) << message;
  }
  // A long line is wrapped rather than making the box as wide as it.
  const std::string path = "cannot read /usr/share/kelmora/model/" + std::string(40, 'x') + ".x";
  EXPECT_LT(DrawMessageBox(path + " " + path + " " + path, MessageIcon::Critical).width, 700);
}

TEST(DrawnMessageBox, AQuitRequestEndsTheBoxAndStaysQueued) {
  if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_TRUE(ShowDrawnMessageBox("DirectSound起動失敗！", "Error", MessageIcon::Critical, nullptr));
  SDL_PumpEvents();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
  // Closing the last window means quitting again once the box is gone.
  EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// On a real X display (Xvfb) with no sound output: the first box is up and waits for a
// person, its text already on the terminal; a quit request (SIGTERM) ends it, the second box
// and the program.
TEST(DrawnMessageBox, OnADisplayTheFirstBoxWaitsAndAQuitEndsBoth) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xvfb-run";
  const std::string base = ::testing::TempDir() + "kelmora-box-" + std::to_string(getpid());
  const std::string err = base + ".txt", script = base + ".sh";
  std::ofstream(script) << "SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=nosuchdriver " << KELMORA_BINARY << " 2>" << err
                        << " & p=$!\n"
                        << "i=0; while [ $i -lt 200 ] && ! grep -qF '[Kelmora]' " << err
                        << "; do sleep 0.1; i=$((i+1)); done\n"
                        << "sleep 1; kill -0 $p && ! grep -qF '[Error]' " << err << " && echo waiting\n"
                        << "kill -TERM $p; wait $p; echo status $?\n";
  const auto r = testing::RunCommand("timeout 60 xvfb-run -a -s '-screen 0 800x600x24' sh " + script + " 2>&1");
  const std::string said = testing::ReadFileText(err);
  std::remove(err.c_str());
  std::remove(script.c_str());
  EXPECT_NE(r.out.find("waiting\nstatus 1\n"), std::string::npos) << r.out << said;
  EXPECT_NE(said.find("[Kelmora] DirectSoundは利用できません。\n[Error] DirectSound起動失敗！\n"), std::string::npos) << said;
}

}  // namespace
}  // namespace kelmora::platform
