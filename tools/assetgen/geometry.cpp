#include "geometry.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

namespace {
constexpr float kPi = 3.14159265358979f;

glm::vec3 TransformPoint(const glm::mat4& xf, glm::vec3 p) { return glm::vec3(xf * glm::vec4(p, 1.0f)); }
glm::vec3 TransformNormal(const glm::mat4& xf, glm::vec3 n) {
  glm::vec3 r = glm::transpose(glm::inverse(glm::mat3(xf))) * n;
  const float len = glm::length(r);
  return len > 0.0f ? r / len : glm::vec3(0, 1, 0);
}
}  // namespace

Material Paint(glm::vec3 rgb, float glow) { return Material{rgb, rgb * glow, 1.0f}; }
Material Paint(int r, int g, int b, float glow) { return Paint(glm::vec3(r, g, b) / 255.0f, glow); }

int Mesh::MaterialIndex(const Material& m) {
  for (size_t i = 0; i < materials.size(); ++i)
    if (materials[i] == m) return static_cast<int>(i);
  materials.push_back(m);
  return static_cast<int>(materials.size() - 1);
}

uint32_t Mesh::AddVertex(glm::vec3 p, glm::vec3 n, glm::vec2 uv) {
  positions.push_back(p);
  normals.push_back(glm::normalize(n));
  if (!uvs.empty() || uv != glm::vec2(0.0f)) {
    uvs.resize(positions.size() - 1, glm::vec2(0.0f));
    uvs.push_back(uv);
  }
  return static_cast<uint32_t>(positions.size() - 1);
}

void Mesh::AddTriangle(uint32_t a, uint32_t b, uint32_t c, int material, glm::vec3 outward) {
  const glm::vec3 n = glm::cross(positions[b] - positions[a], positions[c] - positions[a]);
  if (glm::dot(n, outward) < 0.0f) std::swap(b, c);
  faces.push_back(Face{a, b, c, material});
}

void Mesh::Append(const Mesh& other, const glm::mat4& xf) {
  const uint32_t base = static_cast<uint32_t>(positions.size());
  const bool mirrored = glm::determinant(glm::mat3(xf)) < 0.0f;
  for (size_t i = 0; i < other.positions.size(); ++i) {
    positions.push_back(TransformPoint(xf, other.positions[i]));
    normals.push_back(TransformNormal(xf, other.normals[i]));
  }
  if (!other.uvs.empty() || !uvs.empty()) {
    uvs.resize(base, glm::vec2(0.0f));
    for (size_t i = 0; i < other.positions.size(); ++i)
      uvs.push_back(i < other.uvs.size() ? other.uvs[i] : glm::vec2(0.0f));
  }
  for (const Face& f : other.faces) {
    const int m = MaterialIndex(other.materials[f.material]);
    if (mirrored)
      faces.push_back(Face{base + f.a, base + f.c, base + f.b, m});
    else
      faces.push_back(Face{base + f.a, base + f.b, base + f.c, m});
  }
}

void AddBox(Mesh& mesh, glm::vec3 centre, glm::vec3 size, const Material& m, const glm::mat4& xf) {
  AddBlock(mesh, centre - size * 0.5f, centre + size * 0.5f, m, xf);
}

void AddBlock(Mesh& mesh, glm::vec3 lo, glm::vec3 hi, const Material& m, const glm::mat4& xf) {
  Mesh box;
  const int mi = box.MaterialIndex(m);
  for (int axis = 0; axis < 3; ++axis) {
    for (int side = 0; side < 2; ++side) {
      glm::vec3 n(0.0f);
      n[axis] = side ? 1.0f : -1.0f;
      const int u = (axis + 1) % 3, v = (axis + 2) % 3;
      glm::vec3 corner[4];
      for (int k = 0; k < 4; ++k) {
        glm::vec3 p;
        p[axis] = side ? hi[axis] : lo[axis];
        p[u] = (k == 1 || k == 2) ? hi[u] : lo[u];
        p[v] = (k >= 2) ? hi[v] : lo[v];
        corner[k] = p;
      }
      uint32_t idx[4];
      for (int k = 0; k < 4; ++k) idx[k] = box.AddVertex(corner[k], n);
      box.AddTriangle(idx[0], idx[1], idx[2], mi, n);
      box.AddTriangle(idx[0], idx[2], idx[3], mi, n);
    }
  }
  mesh.Append(box, xf);
}

void AddEllipsoid(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, const Material& m, int slices,
                  int stacks, const glm::mat4& xf) {
  AddEllipsoidTop(mesh, centre, radii, m, slices, stacks, stacks, xf);
}

void AddEllipsoidTop(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, const Material& m, int slices,
                     int stacks, int bands, const glm::mat4& xf) {
  bands = std::clamp(bands, 1, stacks);
  Mesh e;
  const int mi = e.MaterialIndex(m);
  std::vector<uint32_t> ring;
  for (int i = 0; i <= bands; ++i) {
    const float phi = kPi * static_cast<float>(i) / static_cast<float>(stacks);  // 0 at the top
    for (int j = 0; j < slices; ++j) {
      const float th = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(slices);
      const glm::vec3 unit(std::sin(phi) * std::sin(th), std::cos(phi), std::sin(phi) * std::cos(th));
      const glm::vec3 p = centre + unit * radii;
      const glm::vec3 n = unit / radii;  // normal of the ellipsoid surface
      ring.push_back(e.AddVertex(p, n));
      if (i == 0 || i == stacks) break;  // one vertex at each pole
    }
  }
  auto at = [&](int i, int j) -> uint32_t {
    if (i == 0) return ring[0];
    if (i == stacks) return ring.back();
    return ring[1 + (i - 1) * slices + (j % slices)];
  };
  for (int i = 0; i < bands; ++i) {
    for (int j = 0; j < slices; ++j) {
      const uint32_t a = at(i, j), b = at(i, j + 1), c = at(i + 1, j), d = at(i + 1, j + 1);
      const glm::vec3 out = e.positions[a] + e.positions[d] - 2.0f * centre;
      if (i != 0) e.AddTriangle(a, b, d, mi, out);
      if (i != stacks - 1) e.AddTriangle(a, d, c, mi, out);
    }
  }
  mesh.Append(e, xf);
}

void AddTube(Mesh& mesh, glm::vec3 p0, glm::vec3 p1, float r0, float r1, const Material& m,
             int segments, const glm::mat4& xf) {
  Mesh t;
  const int mi = t.MaterialIndex(m);
  const glm::vec3 axis = glm::normalize(p1 - p0);
  const glm::vec3 helper = std::fabs(axis.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
  const glm::vec3 u = glm::normalize(glm::cross(helper, axis));
  const glm::vec3 v = glm::cross(axis, u);
  const float len = glm::length(p1 - p0);
  const float slope = (r0 - r1) / len;
  std::vector<uint32_t> side0, side1, cap0, cap1;
  for (int j = 0; j < segments; ++j) {
    const float th = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(segments);
    const glm::vec3 dir = u * std::cos(th) + v * std::sin(th);
    const glm::vec3 n = glm::normalize(dir + axis * slope);
    side0.push_back(t.AddVertex(p0 + dir * r0, n));
    side1.push_back(t.AddVertex(p1 + dir * r1, n));
    cap0.push_back(t.AddVertex(p0 + dir * r0, -axis));
    cap1.push_back(t.AddVertex(p1 + dir * r1, axis));
  }
  const uint32_t c0 = t.AddVertex(p0, -axis), c1 = t.AddVertex(p1, axis);
  const glm::vec3 mid = (p0 + p1) * 0.5f;
  for (int j = 0; j < segments; ++j) {
    const int k = (j + 1) % segments;
    const glm::vec3 out = t.positions[side0[j]] + t.positions[side1[k]] - 2.0f * mid;
    if (r0 > 0.0f || r1 > 0.0f) {
      if (r0 > 0.0f) t.AddTriangle(side0[j], side0[k], side1[k], mi, out);
      if (r1 > 0.0f) t.AddTriangle(side0[j], side1[k], side1[j], mi, out);
    }
    if (r0 > 0.0f) t.AddTriangle(c0, cap0[j], cap0[k], mi, -axis);
    if (r1 > 0.0f) t.AddTriangle(c1, cap1[j], cap1[k], mi, axis);
  }
  mesh.Append(t, xf);
}

void AddQuad(Mesh& mesh, glm::vec3 c0, glm::vec3 c1, glm::vec3 c2, glm::vec3 c3, glm::vec3 outward,
             const Material& m) {
  const int mi = mesh.MaterialIndex(m);
  const glm::vec3 n = glm::normalize(outward);
  const uint32_t a = mesh.AddVertex(c0, n, {0.0f, 0.0f});
  const uint32_t b = mesh.AddVertex(c1, n, {1.0f, 0.0f});
  const uint32_t c = mesh.AddVertex(c2, n, {1.0f, 1.0f});
  const uint32_t d = mesh.AddVertex(c3, n, {0.0f, 1.0f});
  mesh.AddTriangle(a, b, c, mi, n);
  mesh.AddTriangle(a, c, d, mi, n);
}

void AddFloor(Mesh& mesh, float x0, float x1, float z0, float z1, float y, float cell, const Material& m,
              const Material* checker) {
  if (x1 <= x0 || z1 <= z0) return;
  const int nx = std::max(1, static_cast<int>(std::lround((x1 - x0) / cell)));
  const int nz = std::max(1, static_cast<int>(std::lround((z1 - z0) / cell)));
  const glm::vec3 up(0, 1, 0);
  for (int i = 0; i < nx; ++i) {
    for (int j = 0; j < nz; ++j) {
      const float fx = static_cast<float>(nx), fz = static_cast<float>(nz);
      const float ax = x0 + (x1 - x0) * static_cast<float>(i) / fx, bx = x0 + (x1 - x0) * static_cast<float>(i + 1) / fx;
      const float az = z0 + (z1 - z0) * static_cast<float>(j) / fz, bz = z0 + (z1 - z0) * static_cast<float>(j + 1) / fz;
      const Material& mat = (checker && ((i + j) % 2)) ? *checker : m;
      const int mi = mesh.MaterialIndex(mat);
      const uint32_t a = mesh.AddVertex({ax, y, az}, up), b = mesh.AddVertex({bx, y, az}, up);
      const uint32_t c = mesh.AddVertex({bx, y, bz}, up), d = mesh.AddVertex({ax, y, bz}, up);
      mesh.AddTriangle(a, b, c, mi, up);
      mesh.AddTriangle(a, c, d, mi, up);
    }
  }
}

void AddPolygon(Mesh& mesh, const std::vector<glm::vec3>& corners, glm::vec3 outward, const Material& m) {
  const int mi = mesh.MaterialIndex(m);
  const glm::vec3 n = glm::normalize(outward);
  std::vector<uint32_t> idx;
  for (const glm::vec3& c : corners) idx.push_back(mesh.AddVertex(c, n));
  for (size_t i = 1; i + 1 < idx.size(); ++i) mesh.AddTriangle(idx[0], idx[i], idx[i + 1], mi, n);
}

glm::mat4 Translate(glm::vec3 t) { return glm::translate(glm::mat4(1.0f), t); }
glm::mat4 RotateX(float d) { return glm::rotate(glm::mat4(1.0f), glm::radians(d), glm::vec3(1, 0, 0)); }
glm::mat4 RotateY(float d) { return glm::rotate(glm::mat4(1.0f), glm::radians(d), glm::vec3(0, 1, 0)); }
glm::mat4 RotateZ(float d) { return glm::rotate(glm::mat4(1.0f), glm::radians(d), glm::vec3(0, 0, 1)); }
glm::mat4 Scale(glm::vec3 s) { return glm::scale(glm::mat4(1.0f), s); }

}  // namespace assetgen
