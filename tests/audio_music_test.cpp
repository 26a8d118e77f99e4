#include <SDL.h>
#include <gtest/gtest.h>

#include "audio/music.h"
#include "audio_test_files.h"
#include "platform/clock.h"
#include "platform/headless/recording_audio.h"
#include "platform/music_interpreter.h"
#include "platform/sdl/sdl_music_device.h"
#include "platform/sdl/sdl_sound_device.h"

namespace kelmora {
namespace {

using Texts = std::vector<std::string>;

// A command interface that only writes down what it is sent and answers with a set mode.
struct CommandLog final : platform::MusicDevice {
  int SendString(const std::string& command, std::string* reply) override {
    sent.push_back(command);
    if (reply) *reply = command.rfind("status ", 0) == 0 ? mode : "";
    return 0;
  }
  Texts Take() { return std::exchange(sent, {}); }
  Texts sent;
  std::string mode = "playing";
};

TEST(Music, EachOperationSendsItsCommandTexts) {
  CommandLog log;
  audio::Music music(log);
  music.MusicOpen("/data/sound/bgm.mid", "MENU");
  EXPECT_EQ(log.Take(), (Texts{"stop audiofileMENU", "close audiofileMENU",
                              "open /data/sound/bgm.mid alias audiofileMENU"}));
  music.MusicPlay("MENU", true);
  EXPECT_EQ(log.Take(), (Texts{"play audiofileMENU from 0"}));
  music.MusicStop("MENU");
  EXPECT_EQ(log.Take(), (Texts{"stop audiofileMENU"}));
  music.MusicClose("MENU");
  EXPECT_EQ(log.Take(), (Texts{"close audiofileMENU"}));
  music.MusicOpen("/data/sound/bgm2.mid", "BGM2");
  log.Take();
  music.MusicCloseAll();
  EXPECT_EQ(log.Take(), (Texts{"stop audiofileMENU", "close audiofileMENU", "stop audiofileBGM2",
                              "close audiofileBGM2"}));
}

TEST(Music, PollRestartsOnlyLoopingPiecesThatHaveStopped) {
  CommandLog log;
  audio::Music music(log);
  music.MusicOpen("/m/bgm.mid", "MENU");
  music.MusicOpen("/m/bgm4.mid", "BGM");
  music.MusicPlay("BGM", true);
  log.Take();
  log.mode = "playing";
  music.MusicPoll();
  EXPECT_EQ(log.Take(), (Texts{"status audiofileBGM mode"}));
  log.mode = "stopped";
  music.MusicPoll();
  EXPECT_EQ(log.Take(), (Texts{"status audiofileBGM mode", "play audiofileBGM from 0"}));
  log.mode = "paused";
  music.MusicPoll();
  EXPECT_EQ(log.Take(), (Texts{"status audiofileBGM mode"}));
  // Stopping clears the loop flag: the poll no longer asks.
  log.mode = "stopped";
  music.MusicStop("BGM");
  log.Take();
  music.MusicPoll();
  EXPECT_TRUE(log.Take().empty());
}

TEST(Music, OpeningANameAgainKeepsOneEntryAndClearsItsLoop) {
  CommandLog log;
  audio::Music music(log);
  music.MusicOpen("/m/bgm.mid", "BGM");
  music.MusicPlay("BGM", true);
  EXPECT_EQ(music.musicLoops(1), -1);
  music.MusicOpen("/m/bgm3.mid", "BGM");
  EXPECT_EQ(music.musicCount(), 1);
  EXPECT_EQ(music.musicNames(1), "BGM");
  EXPECT_EQ(music.musicLoops(1), 0);
  // A name that was never opened: its command goes out, nothing else changes.
  log.Take();
  music.MusicStop("GHOST");
  EXPECT_EQ(log.Take(), (Texts{"stop audiofileGHOST"}));
  EXPECT_EQ(music.musicCount(), 1);
  // Names are told apart by case.
  music.MusicOpen("/m/bgm.mid", "bgm");
  EXPECT_EQ(music.musicCount(), 2);
}

// The interpreter on the headless stream, with a tune whose length is listed beside it.
struct TuneRig {
  TuneRig() : device(clock), music(device) {
    testing::WriteMidiNote(folder.path / "sound" / "bgm.mid", 1000);
    testing::WriteMidiNote(folder.path / "sound" / "bgm2.mid", 1000);
    std::ofstream(folder.path / "sound" / "music-lengths.txt") << "bgm.mid 1.5\nbgm2.mid 3\n";
  }
  std::string Path(const char* name) const { return (folder.path / "sound" / name).string(); }
  std::string Mode(const std::string& alias) {
    std::string reply;
    device.SendString("status " + alias + " mode", &reply);
    return reply;
  }
  void Wait(uint32_t ms) { clock.AdvanceTo(clock.GetTickCount() + ms); }

  testing::TempFolder folder;
  platform::VirtualClock clock;
  platform::HeadlessMusicDevice device;
  audio::Music music;
};

TEST(MusicCommands, APieceStopsWhenItsOwnLengthHasRunAndTheLoopStartsItWithinATick) {
  TuneRig rig;
  rig.music.MusicOpen(rig.Path("bgm.mid"), "MENU");
  EXPECT_EQ(rig.Mode("audiofileMENU"), "stopped");
  rig.music.MusicPlay("MENU", true);
  rig.device.ClearCommands();
  int restarts = 0;
  uint32_t restartedAt = 0;
  for (int tick = 1; tick <= 80; ++tick) {
    rig.Wait(20);
    rig.music.MusicPoll();
    for (const auto& c : rig.device.commands()) {
      if (c.text == "play audiofileMENU from 0") {
        ++restarts;
        if (!restartedAt) restartedAt = c.ms;
      }
    }
    rig.device.ClearCommands();
  }
  EXPECT_EQ(restartedAt, 1500u);  // the tick at which the 1.5 s tune has run out
  EXPECT_EQ(restarts, 1);
}

TEST(MusicCommands, FailingCommandsAreAnsweredButChangeNothing) {
  TuneRig rig;
  EXPECT_NE(rig.music.MusicOpen(rig.Path("absent.mid"), "BGM"), 0);
  EXPECT_EQ(rig.music.musicCount(), 1);
  EXPECT_NE(rig.music.MusicPlay("BGM", true), 0);
  EXPECT_EQ(rig.device.sounding(), "");
  rig.music.MusicPoll();  // no answer "stopped": nothing is played
  EXPECT_NE(rig.device.commands().back().result, 0);
  EXPECT_EQ(rig.device.commands().back().text, "status audiofileBGM mode");
  EXPECT_NE(rig.device.SendString("rewind audiofileBGM", nullptr), 0);
  EXPECT_NE(rig.device.SendString("open " + rig.Path("bgm.mid"), nullptr), 0);
}

// Command words are read in any case and with any run of spaces and tabs around them; the
// alias is a name and keeps its case.
TEST(MusicCommands, WordsInAnyCaseAndSpacingAndMalformedCommands) {
  TuneRig rig;
  rig.music.MusicOpen(rig.Path("bgm.mid"), "BGM");
  std::string reply;
  EXPECT_EQ(rig.device.SendString("STATUS audiofileBGM Mode", &reply), platform::kMusicOk);
  EXPECT_EQ(reply, "stopped");
  EXPECT_EQ(rig.device.SendString(" \tstatus\taudiofileBGM \t mode  ", &reply), platform::kMusicOk);
  EXPECT_EQ(reply, "stopped");
  EXPECT_EQ(rig.device.SendString("Play  audiofileBGM  FROM \t0 ", nullptr), platform::kMusicOk);
  EXPECT_EQ(rig.Mode("audiofileBGM"), "playing");
  EXPECT_EQ(rig.device.SendString("status audiofilebgm mode", &reply), platform::kMusicUnknownAlias);
  EXPECT_EQ(reply, "");
  for (const char* bad : {"status audiofileBGM", "status audiofileBGM modes", "status audiofileBGM mode x",
                          "play audiofileBGM from 1", "play audiofileBGM at 0", "stop", "  ", ""}) {
    EXPECT_EQ(rig.device.SendString(bad, &reply), platform::kMusicBadParameter) << "'" << bad << "'";
  }
  EXPECT_EQ(rig.device.SendString("seek audiofileBGM to start", nullptr), platform::kMusicUnknownCommand);
  EXPECT_EQ(rig.device.SendString("STOP audiofileBGM", nullptr), platform::kMusicOk);
  EXPECT_EQ(rig.Mode("audiofileBGM"), "stopped");
}

// The poll's own question gets the answer of the command text, whatever the piece's state,
// recorded or not.
TEST(MusicCommands, TheStatusQuestionAnswersAsTheStatusCommand) {
  TuneRig rig;
  rig.music.MusicOpen(rig.Path("bgm.mid"), "BGM");
  rig.music.MusicOpen(rig.Path("absent.mid"), "GONE");
  auto expectSame = [&rig](const std::string& alias, const char* when) {
    for (const bool recording : {true, false}) {
      rig.device.SetRecording(recording);
      std::string byText = "old", byQuestion = "old";
      const int textResult = rig.device.SendString("status " + alias + " mode", &byText);
      const int questionResult = rig.device.StatusMode(alias, &byQuestion);
      EXPECT_EQ(questionResult, textResult) << "'" << alias << "' " << when;
      EXPECT_EQ(byQuestion, byText) << "'" << alias << "' " << when;
    }
  };
  for (const std::string alias : {"audiofileBGM", "audiofileGONE", "audiofilebgm", "nothing", "audiofileBGM mode", ""}) {
    expectSame(alias, "before playing");
  }
  rig.music.MusicPlay("BGM", true);
  rig.music.MusicPlay("GONE", true);
  expectSame("audiofileBGM", "while the other one failed to play");
  rig.music.MusicPlay("BGM", true);
  expectSame("audiofileBGM", "playing");
  rig.Wait(60000);
  expectSame("audiofileBGM", "run out");
  // The piece asked about last is closed, opened again in another piece's place, and played.
  EXPECT_EQ(rig.device.SendString("close audiofileBGM", nullptr), platform::kMusicOk);
  expectSame("audiofileBGM", "closed");
  EXPECT_EQ(rig.device.SendString("open " + rig.Path("bgm2.mid") + " alias audiofileBGM", nullptr), platform::kMusicOk);
  expectSame("audiofileBGM", "opened again");
  EXPECT_EQ(rig.device.SendString("play audiofileBGM", nullptr), platform::kMusicOk);
  expectSame("audiofileBGM", "playing again");
  rig.device.SetRecording(true);
  rig.device.ClearCommands();
  rig.music.MusicPoll();
  ASSERT_FALSE(rig.device.commands().empty());
  EXPECT_EQ(rig.device.commands().front().text, "status audiofileBGM mode") << "the poll is recorded as before";
}

TEST(MusicCommands, PlayingASecondPiecePushesTheFirstAsideWithoutAPollTugOfWar) {
  TuneRig rig;
  rig.music.MusicOpen(rig.Path("bgm.mid"), "BGM");
  rig.music.MusicOpen(rig.Path("bgm2.mid"), "BGM2");
  rig.music.MusicPlay("BGM", true);
  rig.music.MusicPlay("BGM2", true);
  EXPECT_EQ(rig.device.sounding(), rig.Path("bgm2.mid"));
  EXPECT_EQ(rig.Mode("audiofileBGM"), "paused");
  rig.Wait(20);
  rig.music.MusicPoll();
  EXPECT_EQ(rig.device.sounding(), rig.Path("bgm2.mid"));
  // Stopping or closing the piece that sounds silences the stream.
  rig.music.MusicClose("BGM2");
  EXPECT_EQ(rig.device.sounding(), "");
  EXPECT_EQ(rig.Mode("audiofileBGM"), "paused");
  rig.music.MusicPlay("BGM", true);
  EXPECT_EQ(rig.Mode("audiofileBGM"), "playing");
}

TEST(MusicCommands, PathsWithSpacesAndListedLengths) {
  testing::TempFolder folder;
  std::filesystem::create_directories(folder.path / "my games" / "sound");
  const auto tune = folder.path / "my games" / "sound" / "bgm5.mid";
  testing::WriteMidiNote(tune, 200);
  std::ofstream(tune.parent_path() / "music-lengths.txt") << "bgm.mid 52.364\nbgm5.mid 41.5\n";
  EXPECT_DOUBLE_EQ(platform::MusicInterpreter::ListedLength(tune.string()), 41.5);
  EXPECT_LE(platform::MusicInterpreter::ListedLength((folder.path / "x.mid").string()), 0.0);
  platform::VirtualClock clock;
  platform::HeadlessMusicDevice device(clock);
  EXPECT_EQ(device.SendString("open " + tune.string() + " alias audiofileBGM", nullptr), 0);
  EXPECT_EQ(device.SendString("play audiofileBGM from 0", nullptr), 0);
  EXPECT_EQ(device.sounding(), tune.string());
}

// SDL2_mixer's music through FluidSynth (with SDL's dummy output when the tests set it).
TEST(SdlMusicDevice, AMidiTunePlaysAndReadsStoppedOnceItsLengthHasRun) {
  testing::TempFolder folder;
  const auto tune = folder.path / "sound" / "tune.mid";
  testing::WriteMidiNote(tune, 300);
  std::ofstream(folder.path / "sound" / "music-lengths.txt") << "tune.mid 0.3\n";
  platform::SdlSoundDevice output;
  if (!output.Open()) GTEST_SKIP() << "no sound output here";
  platform::SdlClock clock;
  {
    platform::SdlMusicDevice device(clock);
    if (device.SendString("open " + tune.string() + " alias audiofileT", nullptr) != 0) {
      GTEST_SKIP() << "no MIDI synthesiser here";
    }
    std::string mode;
    EXPECT_EQ(device.SendString("play audiofileT from 0", nullptr), 0);
    device.SendString("status audiofileT mode", &mode);
    EXPECT_EQ(mode, "playing");
    SDL_Delay(400);
    device.SendString("status audiofileT mode", &mode);
    EXPECT_EQ(mode, "stopped");
    EXPECT_EQ(device.SendString("close audiofileT", nullptr), 0);
    EXPECT_NE(device.SendString("play audiofileT from 0", nullptr), 0);
  }
  output.Close();
}

TEST(SdlMusicDevice, TheSmallGeneralMidiSoundFontIsPreferred) {
  const std::string font = platform::ChooseSoundFont(nullptr, platform::SoundFontFolders()).font;
  if (font.empty()) GTEST_SKIP() << "no sound font here";
  if (std::filesystem::exists("/usr/share/sounds/sf2/TimGM6mb.sf2")) {
    EXPECT_EQ(font, "/usr/share/sounds/sf2/TimGM6mb.sf2");
  }
}

TEST(SdlMusicDevice, AMissingSoundFontIsNamedWithTheFoldersSearchedAndThePackageThatBringsOne) {
  testing::TempFolder a, b;
  const std::vector<std::string> folders = {(a.path / "sf2").string(), (b.path / "sf3").string()};
  auto none = platform::ChooseSoundFont(nullptr, folders);
  EXPECT_EQ(none.font, "");
  for (const std::string& part : {folders[0], folders[1], std::string("timgm6mb-soundfont"),
                                  std::string("fluid-soundfont-gm"), std::string("silent")}) {
    EXPECT_NE(none.warning.find(part), std::string::npos) << part << " in " << none.warning;
  }
  // A user's list that names only missing fonts is said to be so, in the same line.
  none = platform::ChooseSoundFont("/nowhere/a.sf2:/nowhere/b.sf2", folders);
  EXPECT_NE(none.warning.find("SDL_SOUNDFONTS names /nowhere/a.sf2, /nowhere/b.sf2"), std::string::npos);

  // A .sf3 font of any name is found; a preferred name in a later folder comes first.
  std::filesystem::create_directories(folders[0]);
  std::filesystem::create_directories(folders[1]);
  const std::string other = folders[0] + "/Piano.sf3";
  std::ofstream(other) << "sfbk";
  EXPECT_EQ(platform::ChooseSoundFont(nullptr, folders).font, other);
  const std::string preferred = folders[1] + "/default-GM.sf3";
  std::ofstream(preferred) << "sfbk";
  EXPECT_EQ(platform::ChooseSoundFont(nullptr, folders).font, preferred);
  EXPECT_EQ(platform::ChooseSoundFont(nullptr, folders).warning, "");

  // SDL_SOUNDFONTS wins as it stands when any of its fonts exists; when none does, the
  // found font plays and the line says so.
  const std::string list = "/nowhere/a.sf2;" + other;
  EXPECT_EQ(platform::ChooseSoundFont(list.c_str(), folders).font, list);
  EXPECT_EQ(platform::ChooseSoundFont(list.c_str(), folders).warning, "");
  const auto instead = platform::ChooseSoundFont("/nowhere/a.sf2", folders);
  EXPECT_EQ(instead.font, preferred);
  EXPECT_EQ(instead.warning, "kelmora: SDL_SOUNDFONTS names /nowhere/a.sf2, which does not exist; the music plays with " +
                                 preferred + " instead\n");
}

TEST(SdlMusicDevice, NoSoundFontIsSaidOnceHoweverManyTunesArePlayed) {
  if (std::getenv("SDL_SOUNDFONTS")) GTEST_SKIP() << "SDL_SOUNDFONTS is set";
  testing::TempFolder folder;
  const auto tune = folder.path / "sound" / "tune.mid";
  testing::WriteMidiNote(tune, 300);
  platform::SdlSoundDevice output;
  const bool open = output.Open();
  platform::SdlClock clock;
  ::testing::internal::CaptureStderr();
  {
    platform::SdlMusicDevice device(clock, {(folder.path / "none").string()});
    for (const char* alias : {"A", "B", "C"}) {
      device.SendString("open " + tune.string() + " alias audiofile" + alias, nullptr);
      device.SendString(std::string("play audiofile") + alias + " from 0", nullptr);
      device.SendString(std::string("close audiofile") + alias, nullptr);
    }
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  if (open) output.Close();
  size_t lines = 0;
  for (size_t at = said.find("no General MIDI sound font"); at != std::string::npos;
       at = said.find("no General MIDI sound font", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 1u) << said;
}

// A music stream whose synthesiser cannot load anything (no usable sound font). The sound
// output opens after the menu tune is opened, as at start-up.
struct NoFontStream final : platform::MusicStream {
  bool Ready() override { return ready; }
  int Load(const std::string&, std::string*) override {
    ++loads;
    return -1;
  }
  void Free(int) override {}
  bool Start(int) override { return false; }
  void Halt() override {}
  bool Busy() override { return false; }
  double Length(int) override { return 0; }
  bool ready = false;
  int loads = 0;
};

TEST(MusicCommands, ATuneThatCannotBeLoadedIsNotLoadedAgainByEveryPoll) {
  testing::TempFolder folder;
  testing::WriteMidiNote(folder.path / "sound" / "bgm.mid", 1000);
  platform::VirtualClock clock;
  NoFontStream stream;
  platform::MusicInterpreter device(stream, clock);
  audio::Music music(device);
  music.MusicOpen((folder.path / "sound" / "bgm.mid").string(), "MENU");
  stream.ready = true;
  const int atOpen = stream.loads;
  EXPECT_NE(music.MusicPlay("MENU", true), 0);
  EXPECT_EQ(stream.loads, atOpen + 1);
  for (int tick = 0; tick < 50; ++tick) {
    clock.AdvanceTo(clock.GetTickCount() + 20);
    music.MusicPoll();
  }
  EXPECT_EQ(stream.loads, atOpen + 1) << "a second of polls opens the file no more";
  std::string mode;
  device.SendString("status audiofileMENU mode", &mode);
  EXPECT_EQ(mode, "not ready");
  music.MusicPlay("MENU", true);  // the next play command tries again
  EXPECT_EQ(stream.loads, atOpen + 2);
}

}  // namespace
}  // namespace kelmora
