// Placeholder until the model generator lands.
#include "assetgen.h"
namespace assetgen {
void GenerateModels(const std::filesystem::path&) {}
}  // namespace assetgen
