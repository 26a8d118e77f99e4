#pragma once
// The six stages: model, background colour, music and goal of each.
#include <array>
#include <cstdint>

namespace kelmora {

struct StageInfo {
  const char* model;          // path under the program folder
  double red, green, blue;    // background, 0..1
  const char* music;          // music file, empty on the sixth stage (a looping wave instead)
  const char* musicName;      // logical name of the music
  int16_t goalX, goalZ, goalWidth, goalDepth;
};

inline constexpr std::array<StageInfo, 6> kStages{{
    {"\\model\\stage1.x", 0.5, 0.5, 1.0, "\\sound\\bgm.mid", "BGM", -140, 220, 310, 250},
    {"\\model\\stage2.x", 0.0, 0.0, 0.3, "\\sound\\bgm2.mid", "BGM2", -400, -160, 145, 140},
    {"\\model\\stage3.x", 0.0, 0.0, 0.0, "\\sound\\bgm4.mid", "BGM", 370, -170, 150, 275},
    {"\\model\\stage4.x", 0.0, 0.0, 0.0, "\\sound\\bgm3.mid", "BGM", -130, -490, 260, 200},
    {"\\model\\stage5.x", 0.4, 0.4, 0.5, "\\sound\\bgm5.mid", "BGM", -130, 190, 260, 110},
    {"\\model\\stage6.x", 0.0, 0.0, 0.0, "", "", 100, 150, 190, 100},
}};

// The two obstacles of the second stage (x, z, width, depth).
inline constexpr std::array<std::array<int16_t, 4>, 2> kSecondStageBlocks{{
    {-210, 115, 180, 300},
    {60, 115, 180, 300},
}};

// Model file of each character.
inline constexpr std::array<const char*, 9> kCharacterModels{
    "\\model\\bear.x", "\\model\\fox.x",  "\\model\\pig.x",     "\\model\\zo.x",   "\\model\\spi.x",
    "\\model\\fish.x", "\\model\\mogu.x", "\\model\\momonga.x", "\\model\\mouse.x",
};

// Stage indexes with something of their own.
constexpr int16_t kSecondStage = 1, kDarkStage = 2, kRaftStage = 4, kRailStage = 5;

}  // namespace kelmora
