#pragma once
// Low-poly meshes with per-vertex normals and one material per face, and the primitive
// builders the models are made from. Coordinates are those of the game: x right, y up,
// z away from the camera (left-handed); front faces wind clockwise seen from outside.
#include <cstdint>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

struct Material {
  glm::vec3 diffuse{1.0f};
  glm::vec3 emissive{0.0f};
  float alpha = 1.0f;
  bool operator==(const Material&) const = default;
};

// Shorthand for a material: a diffuse colour that glows by `glow` of itself.
Material Paint(glm::vec3 rgb, float glow = 0.15f);
Material Paint(int r, int g, int b, float glow = 0.15f);

struct Face {
  uint32_t a, b, c;
  int material;
};

struct Mesh {
  std::vector<glm::vec3> positions;
  std::vector<glm::vec3> normals;
  std::vector<glm::vec2> uvs;  // empty, or one per vertex
  std::vector<Face> faces;
  std::vector<Material> materials;

  bool Empty() const { return faces.empty(); }
  int MaterialIndex(const Material& m);
  uint32_t AddVertex(glm::vec3 p, glm::vec3 n, glm::vec2 uv = glm::vec2(0.0f));
  // Adds a triangle; swaps its winding if needed so that it faces along `outward`.
  void AddTriangle(uint32_t a, uint32_t b, uint32_t c, int material, glm::vec3 outward);
  // Appends another mesh, moved by a transform.
  void Append(const Mesh& other, const glm::mat4& xf);
};

// Every builder appends to `mesh`, placed by `xf` (identity: the primitive's own frame).
// A box centred on `centre`.
void AddBox(Mesh& mesh, glm::vec3 centre, glm::vec3 size, const Material& m,
            const glm::mat4& xf = glm::mat4(1.0f));
// A box between two corners.
void AddBlock(Mesh& mesh, glm::vec3 lo, glm::vec3 hi, const Material& m,
              const glm::mat4& xf = glm::mat4(1.0f));
// An ellipsoid, smooth-shaded.
void AddEllipsoid(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, const Material& m,
                  int slices = 10, int stacks = 7, const glm::mat4& xf = glm::mat4(1.0f));
// The same cut below its `bands` highest bands of faces, open underneath: for shapes whose
// lower part is always hidden under the floor or inside another shape.
void AddEllipsoidTop(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, const Material& m, int slices,
                     int stacks, int bands, const glm::mat4& xf = glm::mat4(1.0f));
// A cylinder or cone frustum from p0 (radius r0) to p1 (radius r1), with caps.
void AddTube(Mesh& mesh, glm::vec3 p0, glm::vec3 p1, float r0, float r1, const Material& m,
             int segments = 8, const glm::mat4& xf = glm::mat4(1.0f));
// A flat quad, corners in order around its edge, facing along `outward`, with texture
// coordinates (0,0) (1,0) (1,1) (0,1) at the four corners.
void AddQuad(Mesh& mesh, glm::vec3 c0, glm::vec3 c1, glm::vec3 c2, glm::vec3 c3,
             glm::vec3 outward, const Material& m);
// A horizontal rectangle at height y facing up, cut into cells of about `cell` units so
// per-vertex lighting (the spotlight) shows on it; `checker`, if given, paints every other cell.
void AddFloor(Mesh& mesh, float x0, float x1, float z0, float z1, float y, float cell,
              const Material& m, const Material* checker = nullptr);
// A flat triangle fan polygon (convex), facing along `outward`.
void AddPolygon(Mesh& mesh, const std::vector<glm::vec3>& corners, glm::vec3 outward,
                const Material& m);

// Rotations in degrees about the axes, and their composition.
glm::mat4 Translate(glm::vec3 t);
glm::mat4 RotateX(float degrees);
glm::mat4 RotateY(float degrees);
glm::mat4 RotateZ(float degrees);
glm::mat4 Scale(glm::vec3 s);

}  // namespace assetgen
