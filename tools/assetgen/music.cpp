// Placeholder until the music generator lands.
#include "assetgen.h"
namespace assetgen {
void GenerateMusic(const std::filesystem::path&) {}
}  // namespace assetgen
