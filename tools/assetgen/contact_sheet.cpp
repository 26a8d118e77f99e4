// A contact sheet of the characters and stages for the docs, written as a PNG.
#include <stdexcept>

#include <stb_image_write.h>

#include "assetgen.h"
#include "characters.h"
#include "models.h"
#include "preview.h"
#include "raster.h"

namespace assetgen {
namespace {

void WritePng(const std::filesystem::path& path, const Image& image) {
  std::filesystem::create_directories(path.parent_path().empty() ? "." : path.parent_path());
  if (!stbi_write_png(path.string().c_str(), image.width, image.height, 3, image.rgb.data(), image.width * 3))
    throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void WriteContactSheet(const std::filesystem::path& path) {
  const int cw = 210, ch = 240;
  Image sheet(cw * 9, ch * 2 + 240 * 2);
  const glm::vec3 bg(0.82f, 0.86f, 0.92f);
  for (int id = 0; id < kCharacterCount; ++id) {
    Blit(sheet, PictureOfCharacter(id, cw, ch, 0, bg), id * cw, 0);
    Blit(sheet, PictureOfCharacter(id, cw / 2, ch / 2, 25, bg, 1.0f, 70.0f), id * cw, ch);
    Blit(sheet, PictureOfCharacter(id, cw / 2, ch / 2, 40, bg, 1.0f, 70.0f), id * cw + cw / 2, ch);
    Blit(sheet, PictureOfCharacter(id, cw / 2, ch / 2, 55, bg, 1.0f, 80.0f), id * cw, ch + ch / 2);
    Blit(sheet, PictureOfCharacter(id, cw / 2, ch / 2, 22, bg, 1.0f, 80.0f), id * cw + cw / 2, ch + ch / 2);
  }
  for (int k = 0; k < kStageCount; ++k) Blit(sheet, PictureOfStage(k, 315, 236, true), (k % 6) * 315, ch * 2 + (k / 6) * 240);
  // the single models, each on a patch of floor through a camera like the game's
  const Model props[] = {BuildGiantBear(), BuildBigFish(), BuildItem(), BuildFire(), BuildCursor(), BuildSnowPile()};
  const float size[] = {330, 200, 80, 150, 80, 90};
  for (int i = 0; i < 6; ++i) {
    Raster r(315, 240, 2);
    r.Background([](float t) { return glm::mix(glm::vec3(0.25f, 0.3f, 0.45f), glm::vec3(0.5f, 0.55f, 0.7f), t); });
    r.SetView(View{glm::vec3(0, 0.95f, -2.0f) * size[i], {0, size[i] * 0.18f, 0}, 40.0f});
    r.SetLight({0, 500, -600}, 0.15f);
    Mesh floor;
    AddFloor(floor, -400, 400, -400, 400, 0, 100, Paint(95, 165, 70, 0.2f));
    r.DrawMesh(floor, Translate({0, -0.5f, 0}));
    r.DrawModel(props[i], 6, i == 0 ? Translate({-22, 0, -25}) : glm::mat4(1.0f));
    Blit(sheet, r.Resolve(), i * 315, ch * 2 + 240);
  }
  WritePng(path, sheet);
}

}  // namespace assetgen
