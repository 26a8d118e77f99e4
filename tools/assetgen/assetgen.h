#pragma once
// The asset generator: every model, texture, sound, music file and sprite sheet of the game
// is made here, deterministically and offline.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace assetgen {

using Bytes = std::vector<uint8_t>;

// Writes bytes to a file, creating its folder; throws on failure.
void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);

// Each generator writes its files under the output folder (model/, tex/, sound/).
// Binary .x files, or with `text` the text form (the same models, for reading by eye).
void GenerateModels(const std::filesystem::path& out, bool text = false);
void GenerateTextures(const std::filesystem::path& out);
void GenerateSounds(const std::filesystem::path& out);
void GenerateMusic(const std::filesystem::path& out);

// The two sprite sheets as 24-bit BMP files, to be embedded in the program.
struct SpriteSheets {
  Bytes menuSheet;       // 345 x 490
  Bytes characterSheet;  // 900 x 325
};
SpriteSheets GenerateSpriteSheets();

// The program's icon, RGBA rows top-down, and its PNG files under DIR/NxN/apps/kelmora.png
// for every size of the hicolor theme that the program installs.
inline constexpr int kIconSizes[] = {48, 128, 256};
std::vector<uint8_t> IconPixels(int size);
void WriteIcons(const std::filesystem::path& dir);

// A PNG picture of the characters and stages, for the docs.
void WriteContactSheet(const std::filesystem::path& path);

}  // namespace assetgen
