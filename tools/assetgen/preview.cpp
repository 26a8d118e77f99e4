#include "preview.h"

#include "characters.h"
#include "models.h"

namespace assetgen {

Image PictureOfCharacter(int id, int width, int height, int time, glm::vec3 background, float zoom, float yaw) {
  Raster r(width, height, 3);
  r.Background([&](float) { return background; });
  const CharacterLook look = LookOf(id);
  const float aim = zoom > 1.5f ? look.hipY + look.headPivot.y + 5.0f : 25.0f;
  const float dist = 260.0f / zoom;
  const glm::vec3 eye(0, aim + 40.0f / zoom, -dist);
  r.SetView(View{eye, {0, aim, 0}, 18.0f});
  r.SetLight({-80, 200, -250}, 0.3f);
  r.DrawModel(BuildCharacter(id), time, RotateY(180.0f + yaw));
  return r.Resolve();
}

void DrawStageScene(Raster& r, int index, bool withPlayers) {
  r.DrawModel(BuildStage(index), 0, Translate({0, -10, 0}));
  if (index == 4) r.DrawModel(BuildSeaBlock(), 0, Translate({0, -5, 0}));
  if (index == 5) {
    const Model back = BuildBackdrop();
    for (float x : {-1000.0f, -500.0f, 0.0f, 500.0f}) r.DrawModel(back, 0, Translate({x, -100, 450}));
  }
  const Model snow = BuildSnowPile();
  const float piles[][2] = {{-180, -60}, {-40, -200}, {90, -120}, {200, 30}, {-120, 60}, {30, 0}, {160, -260}, {-230, -240}};
  for (const auto& p : piles) r.DrawModel(snow, 0, Translate({p[0], 0, p[1]}));
  if (withPlayers) {
    const glm::vec3 at[4] = {{-150, 0, -150}, {150, 0, -150}, {-150, 0, 150}, {150, 0, 150}};
    const int who[4] = {(index * 2) % 9, (index * 2 + 1) % 9, (index * 2 + 5) % 9, (index * 2 + 7) % 9};
    for (int p = 0; p < 4; ++p)
      r.DrawModel(BuildCharacter(who[p]), p % 2 ? 8 : 0, Translate(at[p]) * RotateY(static_cast<float>(p) * 90.0f + 200.0f));
  }
}

Image PictureOfStage(int index, int width, int height, bool withPlayers) {
  Raster r(width, height, 2);
  const glm::vec3 bg = kStages[index].background;
  r.Background([&](float) { return bg; });
  r.SetView(View{{0, 475, -1000}, {0, 0, 0}, 42.0f});
  if (index == 2)
    r.SetLight({0, 750, 0}, 0.08f);
  else
    r.SetLight({0, 500, -600}, 0.12f);
  DrawStageScene(r, index, withPlayers);
  return r.Resolve();
}

}  // namespace assetgen
