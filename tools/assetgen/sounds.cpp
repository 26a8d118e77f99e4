// Placeholder until the sound generator lands.
#include "assetgen.h"
namespace assetgen {
void GenerateSounds(const std::filesystem::path&) {}
}  // namespace assetgen
