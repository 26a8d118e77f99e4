#include <SDL.h>
#include <gtest/gtest.h>

#include "audio/dx7_snd_support.h"
#include "audio_test_files.h"
#include "command_support.h"
#include "headless_run.h"
#include "platform/asset_error.h"
#include "platform/headless/recording_audio.h"
#include "platform/sdl/sdl_sound_device.h"

namespace kelmora {
namespace {

using platform::SoundEvent;
using Kind = SoundEvent::Kind;
using audio::SoundEntry;

// The sound module over the headless recorder, with its files in a temporary folder.
struct SoundRig {
  SoundRig() : device(clock), window(clock, joysticks, {}), snd(device, window) {
    snd.SetProgramFolder(folder.path.string());
  }
  SoundEntry Load(const char* name, int ms, int copies) {
    testing::WriteTone(folder.path / "sound" / name, ms);
    return snd.SoundLoad(std::string("sound\\") + name, copies);
  }
  void Wait(uint32_t ms) { clock.AdvanceTo(clock.GetTickCount() + ms); }

  testing::TempFolder folder;
  platform::VirtualClock clock;
  platform::HeadlessJoysticks joysticks;
  platform::HeadlessSoundDevice device;
  platform::HeadlessWindow window;
  audio::Dx7DSndSupport snd;
};

TEST(SoundEffects, FiveQuickScoopsTakeTheCopiesInTurnAndRestartTheOldest) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  SoundEntry scoop = rig.Load("skorp.wav", 300, 4);
  ASSERT_EQ(scoop.count, 4);
  for (int i = 0; i < 5; ++i) {
    rig.snd.SoundPlay(scoop);
    rig.Wait(20);
  }
  std::vector<std::pair<Kind, int>> seen;
  for (const SoundEvent& e : rig.device.events()) seen.push_back({e.kind, e.copy});
  const std::vector<std::pair<Kind, int>> expected = {
      {Kind::Play, 1}, {Kind::Play, 2}, {Kind::Play, 3}, {Kind::Play, 0},
      {Kind::Stop, 1}, {Kind::Play, 1}};
  EXPECT_EQ(seen, expected);
  // The first four overlap: none of them cut another short.
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(rig.device.events()[i].wasSounding);
  EXPECT_TRUE(rig.device.events()[4].wasSounding) << "the fifth cuts the first copy short";
  EXPECT_EQ(scoop.next, 1);
}

TEST(SoundEffects, OneBufferSoundPlayedAgainRestartsInsteadOfOverlapping) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  SoundEntry cursor = rig.Load("cur.wav", 200, 1);
  rig.snd.SoundPlay(cursor);
  rig.Wait(100);
  rig.snd.SoundPlay(cursor);  // still sounding: cut and started again
  rig.Wait(250);
  rig.snd.SoundPlay(cursor);  // finished by now: simply played
  const auto& ev = rig.device.events();
  ASSERT_EQ(ev.size(), 4u);
  EXPECT_EQ(ev[0].kind, Kind::Play);
  EXPECT_EQ(ev[1].kind, Kind::Stop);
  EXPECT_TRUE(ev[1].wasSounding);
  EXPECT_EQ(ev[2].kind, Kind::Play);
  EXPECT_EQ(ev[3].kind, Kind::Play);
  EXPECT_FALSE(ev[3].wasSounding);
  for (const auto& e : ev) EXPECT_EQ(e.copy, 0);
}

TEST(SoundEffects, LoopRunsUntilStopAllAndStartsAgainFromTheBeginning) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  SoundEntry stageMusic = rig.Load("bgm6.wav", 100, 1);
  rig.snd.SoundPlayLoop(stageMusic);
  rig.Wait(5000);
  EXPECT_TRUE(rig.device.IsPlaying(stageMusic.buffers[0]));
  rig.snd.SoundStopAll(stageMusic);
  EXPECT_FALSE(rig.device.IsPlaying(stageMusic.buffers[0]));
  rig.snd.SoundPlayLoop(stageMusic);
  const auto& ev = rig.device.events();
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(ev[0].kind, Kind::Loop);
  EXPECT_EQ(ev[1].kind, Kind::Stop);
  EXPECT_TRUE(ev[1].wasSounding);
  EXPECT_EQ(ev[2].kind, Kind::Loop);
  EXPECT_FALSE(ev[2].wasSounding);
}

TEST(SoundEffects, OnlyOneBufferSoundsLoopAndEmptyEntriesStaySilent) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  SoundEntry steps = rig.Load("step.wav", 100, 4);
  rig.snd.SoundPlayLoop(steps);
  SoundEntry empty;
  rig.snd.SoundPlay(empty);
  rig.snd.SoundPlayLoop(empty);
  rig.snd.SoundStopAll(empty);
  rig.snd.SoundRelease(empty);
  EXPECT_TRUE(rig.device.events().empty());
}

TEST(SoundEffects, ReleaseFreesEveryBufferAndLeavesTheEntrySilent) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  SoundEntry scoop = rig.Load("skorp.wav", 100, 4);
  EXPECT_EQ(rig.device.liveVoices(), 4);
  rig.snd.SoundRelease(scoop);
  EXPECT_EQ(rig.device.liveVoices(), 0);
  EXPECT_EQ(scoop.count, 0);
  rig.snd.SoundPlay(scoop);
  EXPECT_TRUE(rig.device.events().empty());
}

TEST(SoundEffects, AWaveFileThatCannotBeLoadedIsAnErrorNamingIt) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  try {
    rig.snd.SoundLoad("sound\\missing.wav", 1);
    FAIL() << "no error";
  } catch (const platform::AssetError& e) {
    EXPECT_EQ(e.file, (rig.folder.path / "sound" / "missing.wav").string());
  }
  std::ofstream(rig.folder.path / "sound" / "junk.wav") << "not a wave file";
  EXPECT_THROW(rig.snd.SoundLoad("sound\\junk.wav", 4), platform::AssetError);
  EXPECT_EQ(rig.device.liveVoices(), 0);
}

TEST(SoundEffects, TableIsLoadedInSlotOrderWithSlotFourEmpty) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  for (const auto& slot : audio::kSoundSlotFiles) {
    if (slot.copies) testing::WriteTone(rig.snd.PathOf(slot.file), 50);
  }
  audio::SoundTable table;
  audio::LoadSoundTable(rig.snd, table);
  int voices = 0;
  for (int id = 0; id < audio::kSoundSlots; ++id) {
    const int copies = id == 5 || id == 6 ? 4 : id == 4 || id == audio::kStageSixMusicSlot ? 0 : 1;
    EXPECT_EQ(table[id].count, copies) << "slot " << id;
    voices += copies;
  }
  EXPECT_EQ(rig.device.liveVoices(), voices);
  // Voices were made in slot order: slot 0's buffer first.
  EXPECT_LT(table[0].buffers[0], table[1].buffers[0]);
  EXPECT_LT(table[6].buffers[3], table[7].buffers[0]);
  // The stage-six music is read when first needed, once.
  audio::LoadWhenNeeded(rig.snd, table, audio::kStageSixMusicSlot);
  ASSERT_EQ(table[20].count, 1);
  const int stageSix = table[20].buffers[0];
  audio::LoadWhenNeeded(rig.snd, table, audio::kStageSixMusicSlot);
  EXPECT_EQ(table[20].buffers[0], stageSix);
  EXPECT_EQ(rig.device.liveVoices(), voices + 1);
  rig.snd.SoundPlay(table[20]);
  EXPECT_EQ(rig.device.events().back().file, rig.snd.PathOf("sound\\bgm6.wav"));
}

// The stage-six music is checked at start-up without reading its sound: whatever stops the
// full load of a wave file here stops the check too.
TEST(SoundEffects, StageSixMusicDamagedStopsTheTableAtStartUp) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  for (const auto& slot : audio::kSoundSlotFiles) {
    if (slot.copies) testing::WriteTone(rig.snd.PathOf(slot.file), 50);
  }
  const std::string music = rig.snd.PathOf("sound\\bgm6.wav");
  const std::string whole = testing::ReadFileText(music);
  const std::string unevenChunkFirst = whole.substr(0, 12) + "LIST" + std::string("\x03\0\0\0abc\0", 8) + whole.substr(12);
  for (const std::string& bytes : {whole.substr(0, 11), whole.substr(0, 30), whole.substr(0, 44),
                                   whole.substr(0, whole.size() - 1), "RIFX" + whole.substr(4),
                                   whole.substr(0, 12) + whole.substr(36)}) {
    std::ofstream(music, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_THROW(audio::CheckWaveFile(music), platform::AssetError) << bytes.size();
    audio::SoundTable table;
    EXPECT_THROW(audio::LoadSoundTable(rig.snd, table), platform::AssetError) << bytes.size();
    for (auto& entry : table) rig.snd.SoundRelease(entry);
  }
  // A chunk of odd length before the format is passed over with its padding byte.
  std::ofstream(music, std::ios::binary | std::ios::trunc) << unevenChunkFirst;
  EXPECT_NO_THROW(audio::CheckWaveFile(music));
  std::filesystem::remove(music);
  EXPECT_THROW(audio::CheckWaveFile(music), platform::AssetError);
}

TEST(SoundEffects, NoSoundDeviceWarnsThenTheProgramEndsWithItsError) {
  testing::HeadlessRun run;
  static_cast<platform::HeadlessSoundDevice&>(*run.backends.soundDevice).SetAvailable(false);
  EXPECT_EQ(run.RunProgram(), 1);
  const auto& msgs = run.window().messages();
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, "DirectSoundは利用できません。");
  EXPECT_EQ(msgs[0].caption, "Kelmora");
  EXPECT_EQ(msgs[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(msgs[1].text, "DirectSound起動失敗！");
  EXPECT_EQ(msgs[1].caption, "Error");
  EXPECT_EQ(msgs[1].icon, platform::MessageIcon::Critical);
}

// The SDL2_mixer backend itself (with SDL's dummy output when the tests set it).

// The sound server reads the program's name when SDL's audio starts, so it is given first,
// even when the output then cannot be opened.
TEST(SdlSoundDevice, TheProgramIsNamedKelmoraBeforeTheAudioStarts) {
  if (std::getenv("SDL_APP_NAME") || std::getenv("SDL_AUDIO_DEVICE_APP_NAME")) GTEST_SKIP() << "named by the user";
  const std::string driver = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
  SDL_ResetHint(SDL_HINT_APP_NAME);
  SDL_ResetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME);
  setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
  {
    platform::SdlSoundDevice device;
    EXPECT_FALSE(device.Open());
  }
  if (driver.empty()) {
    unsetenv("SDL_AUDIODRIVER");
  } else {
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
  }
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_APP_NAME), "Kelmora");
  EXPECT_STREQ(SDL_GetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME), "Kelmora");
}

TEST(SdlSoundDevice, CopiesOfOneSampleSoundTogetherBeyondTheMixersEightChannels) {
  testing::TempFolder folder;
  const auto file = folder.path / "sound" / "long.wav";
  testing::WriteTone(file, 2000);
  platform::SdlSoundDevice device;
  if (!device.Open()) GTEST_SKIP() << "no sound output here";
  const int sample = device.LoadSample(file.string(), nullptr);
  ASSERT_GE(sample, 0);
  std::vector<int> voices;
  for (int i = 0; i < 12; ++i) voices.push_back(device.CreateVoice(sample));
  for (int v : voices) device.Play(v, false);
  for (int v : voices) EXPECT_TRUE(device.IsPlaying(v)) << "voice " << v;
  device.Stop(voices[3]);
  EXPECT_FALSE(device.IsPlaying(voices[3]));
  EXPECT_TRUE(device.IsPlaying(voices[4]));
  std::string why;
  EXPECT_LT(device.LoadSample((folder.path / "none.wav").string(), &why), 0);
  EXPECT_FALSE(why.empty());
  device.Close();
}

// Every match loads its sounds again and frees the last match's: the silent device reuses the
// places they leave, and with its record off it keeps nothing of what was played.
TEST(SoundEffects, SoundsLoadedAndFreedMatchAfterMatchReuseTheirPlaces) {
  SoundRig rig;
  ASSERT_TRUE(rig.snd.SoundInit(1));
  rig.device.SetRecording(false);
  std::vector<int> first;
  for (int match = 0; match < 50; ++match) {
    SoundEntry scoop = rig.Load("skorp.wav", 300, 4);
    SoundEntry cheer = rig.Load("cheer.wav", 500, 1);
    if (match == 0) first = scoop.buffers;
    EXPECT_EQ(scoop.buffers, first) << "match " << match;
    rig.snd.SoundPlay(scoop);
    rig.snd.SoundPlayLoop(cheer);
    EXPECT_TRUE(rig.device.IsPlaying(cheer.buffers[0]));
    rig.snd.SoundRelease(scoop);
    rig.snd.SoundRelease(cheer);
  }
  EXPECT_EQ(rig.device.liveVoices(), 0);
  EXPECT_TRUE(rig.device.events().empty());
}

}  // namespace
}  // namespace kelmora
