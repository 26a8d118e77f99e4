// Faults at the edges of a run: a close request while the program starts, a failure nobody
// expected, and a new match set up after a swaying stage.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "headless_run.h"
#include "match/play/run_match.h"
#include "platform/headless/recording_audio.h"
#include "scene/scene.h"
#include "match/stage_table.h"

namespace kelmora {
namespace {

using testing::HeadlessRun;

TEST(StartUp, ACloseRequestWhileStartingEndsTheProgramAtOnce) {
  HeadlessRun run("0 close\n");
  EXPECT_FALSE(run.form.Form_Load());
  EXPECT_TRUE(run.game.closing);
  auto& music = dynamic_cast<platform::HeadlessMusicDevice&>(*run.backends.musicDevice);
  for (const auto& c : music.commands()) EXPECT_NE(c.text.rfind("open ", 0), 0u) << "music reopened: " << c.text;
  auto& sound = dynamic_cast<platform::HeadlessSoundDevice&>(*run.backends.soundDevice);
  EXPECT_FALSE(sound.isOpen()) << "the sound device was opened after the close";
  EXPECT_EQ(run.window().presents(), 0) << "nothing is shown after the close";
}

TEST(Failures, AnUnexpectedFailureIsOneMessageAReleaseAndStatusOne) {
  HeadlessRun run;
  run.game.afterTick = [](Game&, int tick) {
    if (tick == 3) throw std::out_of_range("frame 12 is not in the scene");
  };
  EXPECT_EQ(run.RunMatch(0, {0, 1, -1, -1}), 1);
  ASSERT_EQ(run.window().messages().size(), 1u);
  EXPECT_EQ(run.window().messages()[0].text, "unexpected failure: frame 12 is not in the scene");
  EXPECT_TRUE(run.game.closing) << "everything was released as by the close request";
  EXPECT_EQ(run.game.st.running, 0);
}

TEST(MatchSetUp, SeatsStartOnTheFloorWhateverHeightThePreviousMatchSwayedTo) {
  HeadlessRun run;
  ASSERT_TRUE(run.form.Form_Load());
  run.game.st.stage = kRaftStage;
  run.game.st.playerCharacter = {0, 1, 2, 3};
  run.game.st.sway = {-7, 1};  // where a swaying stage left it
  SetUpMatch(run.game);
  for (int s = 0; s < kSeats; ++s) {
    EXPECT_EQ(run.game.scene.WorldPosition(run.game.view.objects.playerFrames[s]).y, 0.0) << "seat " << s;
  }
  EXPECT_EQ(run.game.st.sway, (std::array<int16_t, 2>{0, -1}));
}

}  // namespace
}  // namespace kelmora
