// The textures in tex/: the message boards (hurry, the four winners, a draw; black is
// transparent) and the spider's net
// (white is transparent).
#include <algorithm>
#include <cmath>

#include "assetgen.h"
#include "bmp.h"
#include "font.h"
#include "textures.h"

namespace assetgen {

Image MessageTexture(const std::string& words, glm::vec3 top, glm::vec3 bottom) {
  Image img(512, 128);
  TextStyle s;
  s.height = 112;
  s.fillTop = top;
  s.fillBottom = bottom;
  s.outline = glm::vec3(1.0f);
  s.outlineWidth = 5;
  s.outerOutline = glm::vec3(0.12f, 0.08f, 0.2f);
  s.outerWidth = 10;
  DrawText(img, words, 4, 2, 504, 124, s);
  return img;
}

Image NetTexture() {
  const int n = 128;
  Image img(n, n);
  const glm::vec2 c(n / 2.0f, n / 2.0f);
  std::vector<std::pair<glm::vec2, glm::vec2>> threads;
  const int spokes = 8;
  std::vector<glm::vec2> dirs;
  for (int i = 0; i < spokes; ++i) {
    const float a = 2.0f * 3.14159265f * (static_cast<float>(i) + 0.5f) / spokes;
    dirs.push_back({std::cos(a), std::sin(a)});
    threads.push_back({c, c + dirs.back() * 70.0f});
  }
  for (int ring = 1; ring <= 5; ++ring) {
    const float r = static_cast<float>(ring) * 11.5f;
    for (int i = 0; i < spokes; ++i) {
      const float sag = 0.88f;  // threads hang slightly inwards between the spokes
      const glm::vec2 a = c + dirs[i] * r, b = c + dirs[(i + 1) % spokes] * r;
      const glm::vec2 mid = c + ((a + b) * 0.5f - c) * sag;
      threads.push_back({a, mid});
      threads.push_back({mid, b});
    }
  }
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const glm::vec2 p(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
      float d = 1e9f;
      for (const auto& [a, b] : threads) {
        const glm::vec2 ab = b - a;
        const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
        d = std::min(d, glm::length(p - (a + ab * t)));
      }
      if (d < 2.0f)
        img.Set(x, y, 240, 244, 252);
      else if (d < 3.4f)
        img.Set(x, y, 140, 150, 175);
      else
        img.Set(x, y, 255, 255, 255);
    }
  return img;
}

const glm::vec3 kSeatColours[4] = {{1.0f, 0.25f, 0.2f}, {0.3f, 0.5f, 1.0f}, {0.25f, 0.85f, 0.35f}, {1.0f, 0.85f, 0.15f}};

void GenerateTextures(const std::filesystem::path& out) {
  const auto tex = out / "tex";
  WriteFile(tex / "net.bmp", EncodeBmp(NetTexture()));
  WriteFile(tex / "hurry.bmp", EncodeBmp(MessageTexture("HURRY!", {1.0f, 0.95f, 0.3f}, {1.0f, 0.45f, 0.05f})));
  for (int p = 0; p < 4; ++p) {
    const glm::vec3 c = kSeatColours[p];
    WriteFile(tex / (std::to_string(p + 1) + "pwin.bmp"),
              EncodeBmp(MessageTexture(std::to_string(p + 1) + "P WIN!", glm::mix(c, glm::vec3(1.0f), 0.35f), c * 0.8f)));
  }
  // A shared top score: no seat's colour, snow white to ice blue.
  WriteFile(tex / "draw.bmp", EncodeBmp(MessageTexture("DRAW", {0.97f, 0.98f, 1.0f}, {0.45f, 0.68f, 0.95f})));
}

}  // namespace assetgen
