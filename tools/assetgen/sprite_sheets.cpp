// The two sprite sheets, cell by cell: MenuSheet (345 x 490) with the menu words, option
// words, seat markers, bar columns and title art; CharacterSheet (900 x 325) with portraits,
// faces, stage thumbnails, loading pictures and the title logo. Pictures of characters and
// stages are drawn from the same models as the game's.
#include <cmath>

#include "assetgen.h"
#include "bmp.h"
#include "characters.h"
#include "font.h"
#include "models.h"
#include "preview.h"
#include "sprite_sheets.h"
#include "textures.h"

namespace assetgen {

namespace {

const glm::vec3 kWhite(1.0f);

TextStyle Words(float height, glm::vec3 top, glm::vec3 bottom, glm::vec3 outline, float width) {
  TextStyle s;
  s.height = height;
  s.fillTop = top;
  s.fillBottom = bottom;
  s.outline = outline;
  s.outlineWidth = width;
  return s;
}

void SeatMarker(Image& img, int x, int y, int seat) {
  const glm::vec3 c = kSeatColours[seat];
  const glm::vec2 centre(static_cast<float>(x) + 6.0f, static_cast<float>(y) + 7.5f);
  for (int yy = y; yy < y + 15; ++yy)
    for (int xx = x; xx < x + 13; ++xx) {
      const glm::vec2 p(static_cast<float>(xx) + 0.5f, static_cast<float>(yy) + 0.5f);
      const float d = glm::length(p - centre);
      if (d > 5.8f) continue;
      const float shine = std::max(0.0f, 1.0f - glm::length(p - centre - glm::vec2(-1.8f, -1.8f)) / 3.0f);
      const float edge = std::clamp(6.3f - d, 0.0f, 1.0f);
      const glm::vec3 col = glm::mix(c * 0.85f, kWhite, shine * 0.8f) * edge;
      img.Set(xx, yy, static_cast<uint8_t>(col.r * 255), static_cast<uint8_t>(col.g * 255), static_cast<uint8_t>(col.b * 255));
    }
  DrawText(img, std::to_string(seat + 1) + "P", x + 12, y + 1, 13, 14, Words(11, kWhite, kWhite, glm::vec3(0), 0));
}

void BarColumn(Image& img, int x, glm::vec3 middle, glm::vec3 ends) {
  for (int y = 0; y < 15; ++y) {
    const float t = std::fabs(static_cast<float>(y) - 7.0f) / 7.0f;
    const glm::vec3 c = glm::mix(middle, ends, t * t);
    img.Set(x, y, static_cast<uint8_t>(c.r * 255), static_cast<uint8_t>(c.g * 255), static_cast<uint8_t>(c.b * 255));
  }
}

Mesh SnowField() {
  Mesh m;
  const Material snow = Paint(glm::vec3(0.86f, 0.9f, 0.97f), 0.12f);
  AddFloor(m, -1500, 1500, -300, 2500, 0, 100, snow);
  const float mounds[][4] = {{-200, 300, 120, 25}, {250, 380, 160, 35}, {-420, 150, 90, 20}, {500, 120, 120, 22}, {0, 700, 300, 60}};
  for (const auto& md : mounds) AddEllipsoid(m, {md[0], 0, md[1]}, {md[2], md[3], md[2] * 0.7f}, snow, 12, 5);
  for (float x : {-330.0f, -250.0f, 260.0f, 360.0f, -120.0f, 150.0f}) {
    const glm::vec3 at(x, 0, 330 + std::fmod(std::fabs(x) * 3.7f, 150.0f));
    AddTube(m, at, at + glm::vec3(0, 30, 0), 7, 6, Paint(100, 70, 45), 6);
    for (int k = 0; k < 3; ++k) {
      AddTube(m, at + glm::vec3(0, 25 + k * 35, 0), at + glm::vec3(0, 85 + k * 35, 0), static_cast<float>(45 - k * 11), 0, Paint(40, 110, 70), 9);
      AddTube(m, at + glm::vec3(0, 70 + k * 35, 0), at + glm::vec3(0, 88 + k * 35, 0), static_cast<float>(12 - k * 2), 0, snow, 9);
    }
  }
  return m;
}

glm::vec3 Sky(float t) { return glm::mix(glm::vec3(0.35f, 0.55f, 0.92f), glm::vec3(0.82f, 0.9f, 1.0f), t); }

Image TitleArt() {
  Raster r(320, 240, 3);
  r.Background(Sky);
  r.SetView(View{{0, 105, -330}, {0, 22, 45}, 38.0f});
  r.SetLight({-200, 400, -400}, 0.3f);
  r.DrawMesh(SnowField(), glm::mat4(1.0f));
  const Model snow = BuildSnowPile();
  for (const glm::vec3 p : {glm::vec3(-170, 0, 150), glm::vec3(-10, 0, 200), glm::vec3(170, 0, 160), glm::vec3(90, 0, -60), glm::vec3(-95, 0, -70)})
    r.DrawModel(snow, 0, Translate(p) * Scale(glm::vec3(0.8f)));
  struct Placed { int id, time; glm::vec3 at; float yaw; };
  const Placed cast[9] = {{3, 0, {-72, 0, 95}, 165}, {4, 8, {-24, 0, 105}, 185}, {7, 22, {24, 0, 105}, 200},
                          {1, 40, {72, 0, 95}, 215}, {8, 25, {-96, 0, 0}, 150}, {0, 0, {-48, 0, -8}, 168},
                          {2, 40, {0, 0, -12}, 185}, {6, 55, {48, 0, -8}, 205}, {5, 22, {96, 0, 0}, 215}};
  for (const Placed& p : cast) r.DrawModel(BuildCharacter(p.id), p.time, Translate(p.at) * RotateY(p.yaw));
  return r.Resolve();
}

Image LoadingPicture(int i) {
  static const int who[3] = {0, 8, 5};
  static const int when[3] = {40, 8, 22};
  Image img(100, 100);
  Raster r(100, 80, 3);
  r.Background(Sky);
  r.SetView(View{{0, 48, -150}, {0, 22, 0}, 34.0f});
  r.SetLight({-150, 300, -300}, 0.3f);
  r.DrawMesh(SnowField(), glm::mat4(1.0f));
  r.DrawModel(BuildSnowPile(), 0, Translate({38, 0, 20}) * Scale(glm::vec3(0.7f)));
  r.DrawModel(BuildCharacter(who[i]), when[i], Translate({-8, 0, 0}) * RotateY(215));
  Blit(img, r.Resolve(), 0, 20);
  DrawText(img, "Now Loading.....", 1, 2, 98, 16, Words(12, kWhite, glm::vec3(0.8f, 0.9f, 1.0f), glm::vec3(0.1f, 0.2f, 0.5f), 1.2f));
  return img;
}

}  // namespace

Image MenuSheetImage() {
  Image img(345, 490);
  const glm::vec3 red(1.0f, 0.22f, 0.15f), darkRed(0.75f, 0.0f, 0.0f);
  DrawText(img, "Game Start", 0, 0, 320, 50, Words(40, red, darkRed, kWhite, 2.5f));
  DrawText(img, "Exit", 0, 50, 320, 50, Words(40, red, darkRed, kWhite, 2.5f));
  DrawText(img, "Character Select", 0, 100, 320, 50,
           Words(34, {1.0f, 1.0f, 0.35f}, {1.0f, 0.75f, 0.0f}, {0.45f, 0.25f, 0.0f}, 1.5f));
  DrawText(img, "320×240", 0, 150, 160, 50, Words(32, {1, 1, 0.4f}, {1, 0.85f, 0}, glm::vec3(0.3f, 0.25f, 0), 1.2f));
  DrawText(img, "640×480", 160, 150, 160, 50, Words(32, {0.6f, 1, 1}, {0, 0.85f, 0.95f}, glm::vec3(0, 0.25f, 0.3f), 1.2f));
  DrawText(img, "400×300", 0, 200, 160, 50, Words(32, {0.6f, 1, 0.55f}, {0.1f, 0.85f, 0.2f}, glm::vec3(0, 0.3f, 0), 1.2f));
  FillRect(img, 160, 200, 100, 25, {0.0f, 0.0f, 0.5f});
  DrawText(img, "CPU", 160, 200, 100, 25, Words(20, kWhite, kWhite, glm::vec3(0), 0));
  DrawText(img, "NoBGM", 160, 225, 100, 25, Words(20, kWhite, kWhite, glm::vec3(0), 0));
  for (int p = 0; p < 4; ++p) SeatMarker(img, 320, 100 + 15 * p, p);
  BarColumn(img, 320, kWhite, {0.0f, 0.0f, 0.45f});
  BarColumn(img, 321, {1.0f, 1.0f, 0.65f}, {0.55f, 0.42f, 0.0f});
  Blit(img, TitleArt(), 0, 250);
  return img;
}

Image CharacterSheetImage() {
  Image img(900, 325);
  for (int n = 0; n < kCharacterCount; ++n) {
    Blit(img, PictureOfCharacter(n, 100, 100, 0, {0.78f, 0.86f, 0.96f}, 1.2f), 100 * n, 0);
    Blit(img, PictureOfCharacter(n, 50, 50, 0, {0.55f, 0.68f, 0.9f}, 2.6f, 15.0f), 50 * n, 100);
  }
  for (int k = 0; k < kStageCount; ++k) Blit(img, PictureOfStage(k, 100, 100, false), 100 * k, 150);
  for (int i = 0; i < 3; ++i) Blit(img, LoadingPicture(i), 600 + 100 * i, 150);
  TextStyle logo = Words(92, {1.0f, 0.97f, 0.35f}, {1.0f, 0.68f, 0.0f}, {0.5f, 0.22f, 0.0f}, 3.0f);
  logo.outerOutline = glm::vec3(1.0f);
  logo.outerWidth = 5.5f;
  DrawText(img, "Kelmora", 0, 250, 500, 75, logo);
  return img;
}

SpriteSheets GenerateSpriteSheets() {
  return SpriteSheets{EncodeBmp(MenuSheetImage()), EncodeBmp(CharacterSheetImage())};
}

}  // namespace assetgen
