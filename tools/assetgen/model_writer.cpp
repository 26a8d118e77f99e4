#include "model_writer.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace assetgen {

namespace {

// Fixed-precision numbers, with -0 written as 0, so output is stable byte for byte.
std::string Num(float v) {
  if (std::fabs(v) < 0.00005f) v = 0.0f;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(v));
  return buf;
}

void WriteMaterial(std::string& out, const Material& m) {
  out += "    Material {\n     " + Num(m.diffuse.r) + ";" + Num(m.diffuse.g) + ";" + Num(m.diffuse.b) +
         ";" + Num(m.alpha) + ";;\n     8.0000;\n     0.0000;0.0000;0.0000;;\n     " +
         Num(m.emissive.r) + ";" + Num(m.emissive.g) + ";" + Num(m.emissive.b) + ";;\n    }\n";
}

void WriteMesh(std::string& out, const std::string& name, const Mesh& mesh) {
  const size_t nv = mesh.positions.size(), nf = mesh.faces.size();
  out += "  Mesh " + name + "Mesh {\n   " + std::to_string(nv) + ";\n";
  for (size_t i = 0; i < nv; ++i) {
    const glm::vec3& p = mesh.positions[i];
    out += "   " + Num(p.x) + ";" + Num(p.y) + ";" + Num(p.z) + ";" + (i + 1 < nv ? ",\n" : ";\n");
  }
  auto faceList = [&](std::string& o) {
    o += "   " + std::to_string(nf) + ";\n";
    for (size_t i = 0; i < nf; ++i) {
      const Face& f = mesh.faces[i];
      o += "   3;" + std::to_string(f.a) + "," + std::to_string(f.b) + "," + std::to_string(f.c) + ";" +
           (i + 1 < nf ? ",\n" : ";\n");
    }
  };
  faceList(out);
  out += "   MeshNormals {\n   " + std::to_string(nv) + ";\n";
  for (size_t i = 0; i < nv; ++i) {
    const glm::vec3& n = mesh.normals[i];
    out += "   " + Num(n.x) + ";" + Num(n.y) + ";" + Num(n.z) + ";" + (i + 1 < nv ? ",\n" : ";\n");
  }
  faceList(out);
  out += "   }\n";
  if (!mesh.uvs.empty()) {
    out += "   MeshTextureCoords {\n   " + std::to_string(nv) + ";\n";
    for (size_t i = 0; i < nv; ++i) {
      const glm::vec2 uv = i < mesh.uvs.size() ? mesh.uvs[i] : glm::vec2(0.0f);
      out += "   " + Num(uv.x) + ";" + Num(uv.y) + ";" + (i + 1 < nv ? ",\n" : ";\n");
    }
    out += "   }\n";
  }
  out += "   MeshMaterialList {\n   " + std::to_string(mesh.materials.size()) + ";\n   " +
         std::to_string(nf) + ";\n";
  for (size_t i = 0; i < nf; ++i)
    out += "   " + std::to_string(mesh.faces[i].material) + (i + 1 < nf ? ",\n" : ";\n");
  for (const Material& m : mesh.materials) WriteMaterial(out, m);
  out += "   }\n  }\n";
}

void WriteFrame(std::string& out, const Frame& frame) {
  out += "Frame " + frame.name + " {\n  FrameTransformMatrix {\n   ";
  const glm::mat4 m = frame.rest.Matrix();
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) out += Num(m[c][r]) + (c == 3 && r == 3 ? ";;\n" : ",");
  out += "  }\n";
  if (!frame.mesh.Empty()) WriteMesh(out, frame.name, frame.mesh);
  for (const Frame& child : frame.children) WriteFrame(out, child);
  out += "}\n";
}

bool Moves(const Frame& f) {
  for (const Pose& p : f.keys)
    if (p.translation != f.rest.translation || p.rotation != f.rest.rotation || p.scale != f.rest.scale)
      return true;
  return false;
}

void WriteAnimation(std::string& out, const Model& model, const Frame& frame) {
  if (!frame.keys.empty() && Moves(frame)) {
    const size_t n = std::min(frame.keys.size(), model.keyTimes.size());
    out += " Animation " + frame.name + "Anim {\n  {" + frame.name + "}\n";
    for (int type : {0, 1, 2}) {
      out += "  AnimationKey {\n   " + std::to_string(type) + ";\n   " + std::to_string(n) + ";\n";
      for (size_t i = 0; i < n; ++i) {
        Pose p = frame.keys[i];
        if (p.rotation.w < 0.0f) p.rotation = -p.rotation;  // one sign, smooth interpolation
        out += "   " + std::to_string(model.keyTimes[i]) + ";";
        if (type == 0)
          out += "4;" + Num(p.rotation.w) + "," + Num(-p.rotation.x) + "," + Num(-p.rotation.y) + "," +
                 Num(-p.rotation.z);
        else if (type == 1)
          out += "3;" + Num(p.scale.x) + "," + Num(p.scale.y) + "," + Num(p.scale.z);
        else
          out += "3;" + Num(p.translation.x) + "," + Num(p.translation.y) + "," + Num(p.translation.z);
        out += (i + 1 < n) ? ";;,\n" : ";;;\n";
      }
      out += "  }\n";
    }
    out += " }\n";
  }
  for (const Frame& child : frame.children) WriteAnimation(out, model, child);
}

}  // namespace

std::string WriteXFile(const Model& model) {
  std::string out = "xof 0303txt 0032\n\n";
  WriteFrame(out, model.root);
  if (!model.keyTimes.empty()) {
    out += "\nAnimationSet " + model.name + "Cycle {\n";
    WriteAnimation(out, model, model.root);
    out += "}\n";
  }
  return out;
}

}  // namespace assetgen
