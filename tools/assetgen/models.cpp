// Writes every model of the game into model/ as DirectX .x files.
#include "models.h"

#include "assetgen.h"
#include "characters.h"
#include "model_writer.h"

namespace assetgen {

std::vector<std::pair<std::string, Model>> AllModels() {
  std::vector<std::pair<std::string, Model>> all;
  for (int id = 0; id < kCharacterCount; ++id) all.emplace_back(kCharacterNames[id], BuildCharacter(id));
  all.emplace_back("fire", BuildFire());
  for (int k = 0; k < kStageCount; ++k) all.emplace_back("stage" + std::to_string(k + 1), BuildStage(k));
  all.emplace_back("block", BuildSeaBlock());
  all.emplace_back("back", BuildBackdrop());
  all.emplace_back("bear2", BuildGiantBear());
  all.emplace_back("cursor", BuildCursor());
  all.emplace_back("item", BuildItem());
  all.emplace_back("fish2", BuildBigFish());
  all.emplace_back("snow", BuildSnowPile());
  all.emplace_back("net", BuildNet());
  all.emplace_back("message", BuildMessageBoard());
  return all;
}

void GenerateModels(const std::filesystem::path& out, bool text) {
  for (const auto& [name, model] : AllModels())
    WriteText(out / "model" / (name + ".x"), text ? WriteXFile(model) : WriteBinaryXFile(model));
}

}  // namespace assetgen
