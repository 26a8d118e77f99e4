// The program's icon: the bear's face on a rounded tile of winter sky, as PNG files in the
// folders of the hicolor icon theme (48x48/apps/kelmora.png, ...).
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include <stb_image_write.h>

#include "assetgen.h"
#include "characters.h"
#include "geometry.h"
#include "raster.h"

namespace assetgen {

namespace {

// The face alone, framed like the small faces of the menu but filling the tile.
Image FacePicture(int size) {
  Raster r(size, size, 4);
  r.Background([](float t) { return glm::mix(glm::vec3(0.62f, 0.80f, 0.98f), glm::vec3(0.30f, 0.50f, 0.86f), t); });
  const CharacterLook look = LookOf(0);
  const float aim = look.hipY + look.headPivot.y + 3.0f;
  const float zoom = 2.9f;
  r.SetView(View{{0, aim + 40.0f / zoom, -260.0f / zoom}, {0, aim, 0}, 18.0f});
  r.SetLight({-80, 200, -250}, 0.3f);
  r.DrawModel(BuildCharacter(0), 0, RotateY(180.0f + 12.0f));
  return r.Resolve();
}

// Coverage of a pixel by a square with rounded corners filling the picture, 0..1, with a
// soft one-pixel edge.
float TileCoverage(int x, int y, int size) {
  const float half = static_cast<float>(size) * 0.5f;
  const float radius = static_cast<float>(size) * 0.18f;
  const float inner = half - 0.5f - radius;
  const float dx = std::max(std::fabs(static_cast<float>(x) + 0.5f - half) - inner, 0.0f);
  const float dy = std::max(std::fabs(static_cast<float>(y) + 0.5f - half) - inner, 0.0f);
  const float outside = std::sqrt(dx * dx + dy * dy) - radius;
  return std::clamp(0.5f - outside, 0.0f, 1.0f);
}

}  // namespace

std::vector<uint8_t> IconPixels(int size) {
  const Image face = FacePicture(size);
  std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const size_t i = static_cast<size_t>(y) * size + x;
      for (int c = 0; c < 3; ++c) rgba[i * 4 + c] = face.rgb[i * 3 + c];
      rgba[i * 4 + 3] = static_cast<uint8_t>(std::lround(255.0f * TileCoverage(x, y, size)));
    }
  }
  return rgba;
}

void WriteIcons(const std::filesystem::path& dir) {
  for (int size : kIconSizes) {
    const std::string px = std::to_string(size);
    const std::filesystem::path path = dir / (px + "x" + px) / "apps" / "kelmora.png";
    std::filesystem::create_directories(path.parent_path());
    const std::vector<uint8_t> rgba = IconPixels(size);
    if (!stbi_write_png(path.string().c_str(), size, size, 4, rgba.data(), size * 4))
      throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace assetgen
