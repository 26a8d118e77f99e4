#include "raster.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

Raster::Raster(int width, int height, int oversample)
    : w_(width * oversample), h_(height * oversample), ss_(oversample),
      colour_(static_cast<size_t>(w_) * h_, glm::vec3(0.0f)),
      depth_(static_cast<size_t>(w_) * h_, 1e30f) {}

void Raster::Background(const std::function<glm::vec3(float)>& colourAt) {
  for (int y = 0; y < h_; ++y) {
    const glm::vec3 c = colourAt((static_cast<float>(y) + 0.5f) / static_cast<float>(h_));
    std::fill(colour_.begin() + static_cast<long>(y) * w_, colour_.begin() + static_cast<long>(y + 1) * w_, c);
  }
}

void Raster::SetView(const View& v) {
  const glm::mat4 view = glm::lookAtLH(v.eye, v.target, glm::vec3(0, 1, 0));
  const glm::mat4 proj = glm::perspectiveLH_NO(glm::radians(v.fovY), static_cast<float>(w_) / static_cast<float>(h_), 5.0f, 8000.0f);
  viewProj_ = proj * view;
}

void Raster::SetLight(glm::vec3 position, float ambient) {
  light_ = position;
  ambient_ = ambient;
}

void Raster::DrawMesh(const Mesh& mesh, const glm::mat4& world) {
  struct V {
    glm::vec3 s;  // screen x, y and depth
    glm::vec3 c;
    bool ok;
  };
  const glm::mat3 normalM = glm::transpose(glm::inverse(glm::mat3(world)));
  std::vector<V> verts(mesh.positions.size());
  for (size_t i = 0; i < verts.size(); ++i) {
    const glm::vec3 p = glm::vec3(world * glm::vec4(mesh.positions[i], 1.0f));
    const glm::vec4 clip = viewProj_ * glm::vec4(p, 1.0f);
    verts[i].ok = clip.w > 5.0f;
    const glm::vec3 ndc = glm::vec3(clip) / clip.w;
    verts[i].s = {(ndc.x * 0.5f + 0.5f) * static_cast<float>(w_), (0.5f - ndc.y * 0.5f) * static_cast<float>(h_), clip.w};
    glm::vec3 n = normalM * mesh.normals[i];
    const float len = glm::length(n);
    n = len > 0 ? n / len : glm::vec3(0, 1, 0);
    const float lit = std::max(0.0f, glm::dot(n, glm::normalize(light_ - p)));
    verts[i].c = glm::vec3(ambient_ + lit);  // scaled by the face's material below
  }
  for (const Face& f : mesh.faces) {
    const V& a = verts[f.a];
    const V& b = verts[f.b];
    const V& c = verts[f.c];
    if (!a.ok || !b.ok || !c.ok) continue;
    const Material& m = mesh.materials[f.material];
    const float area = (b.s.x - a.s.x) * (c.s.y - a.s.y) - (b.s.y - a.s.y) * (c.s.x - a.s.x);
    if (std::fabs(area) < 1e-6f) continue;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.s.x, b.s.x, c.s.x}))));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(std::max({a.s.x, b.s.x, c.s.x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.s.y, b.s.y, c.s.y}))));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(std::max({a.s.y, b.s.y, c.s.y}))));
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
        const float wa = ((b.s.x - px) * (c.s.y - py) - (b.s.y - py) * (c.s.x - px)) / area;
        const float wb = ((c.s.x - px) * (a.s.y - py) - (c.s.y - py) * (a.s.x - px)) / area;
        const float wc = 1.0f - wa - wb;
        if (wa < 0 || wb < 0 || wc < 0) continue;
        const float z = wa * a.s.z + wb * b.s.z + wc * c.s.z;
        const size_t idx = static_cast<size_t>(y) * w_ + x;
        if (z >= depth_[idx]) continue;
        depth_[idx] = z;
        const glm::vec3 light = wa * a.c + wb * b.c + wc * c.c;
        colour_[idx] = glm::min(m.diffuse * light + m.emissive, glm::vec3(1.0f));
      }
    }
  }
}

void Raster::DrawModel(const Model& model, int time, const glm::mat4& place) {
  ForEachPosedMesh(model, time, place, [&](const Frame& f, const glm::mat4& world) { DrawMesh(f.mesh, world); });
}

Image Raster::Resolve() const {
  Image out(w_ / ss_, h_ / ss_);
  const float n = static_cast<float>(ss_ * ss_);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      glm::vec3 sum(0.0f);
      for (int j = 0; j < ss_; ++j)
        for (int i = 0; i < ss_; ++i) sum += colour_[static_cast<size_t>(y * ss_ + j) * w_ + x * ss_ + i];
      sum = glm::clamp(sum / n, 0.0f, 1.0f) * 255.0f + 0.5f;
      out.Set(x, y, static_cast<uint8_t>(sum.r), static_cast<uint8_t>(sum.g), static_cast<uint8_t>(sum.b));
    }
  }
  return out;
}

void Blit(Image& dst, const Image& src, int x, int y, bool blackTransparent) {
  for (int j = 0; j < src.height; ++j) {
    for (int i = 0; i < src.width; ++i) {
      const uint8_t* p = &src.rgb[(static_cast<size_t>(j) * src.width + i) * 3];
      if (blackTransparent && p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
      dst.Set(x + i, y + j, p[0], p[1], p[2]);
    }
  }
}

}  // namespace assetgen
