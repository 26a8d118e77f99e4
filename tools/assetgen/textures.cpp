// Placeholder until the texture generator lands.
#include "assetgen.h"
namespace assetgen {
void GenerateTextures(const std::filesystem::path&) {}
}  // namespace assetgen
