#include "model_writer.h"

#include <assimp/fast_atof.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

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

// What the number reading throws on a spelling it cannot read (never one of ours); Assimp's
// own error type is not exported by its library.
struct NotANumber : std::runtime_error {
  template <typename... T>
  explicit NotANumber(T&&...) : std::runtime_error("not a number") {}
};

// The binary form: a stream of tokens, each a little-endian 16-bit kind, some followed by
// their data. Runs of numbers go into one list each; a reader takes the numbers of a list one
// by one whatever it is reading, ints and floats alike, so every list must hold exactly the
// numbers read before the next word, and none may be empty.
class BinaryWriter {
 public:
  BinaryWriter() : out_("xof 0303bin 0032") {}

  // A word of the file: a keyword or a name.
  void Name(const std::string& s) {
    Flush();
    Word(kName);
    Dword(static_cast<uint32_t>(s.size()));
    out_ += s;
  }
  // A keyword and, when there is one, the object's name, then its opening brace.
  void Open(const std::string& keyword, const std::string& name) {
    Name(keyword);
    if (!name.empty()) Name(name);
    Brace(kOpen);
  }
  void Close() { Brace(kClose); }
  void Brace(uint16_t kind) {
    Flush();
    Word(kind);
  }
  void Int(uint32_t v) {
    if (!floats_.empty()) Flush();
    ints_.push_back(v);
  }
  // The number exactly as the reader gets it from the text form's "%.4f".
  void Float(float v) {
    if (!ints_.empty()) Flush();
    float read = 0.0f;
    Assimp::fast_atoreal_move<float, NotANumber>(Num(v).c_str(), read);
    floats_.push_back(read);
  }
  std::string Finish() {
    Flush();
    return std::move(out_);
  }

  static constexpr uint16_t kName = 0x01, kIntList = 0x06, kFloatList = 0x07, kOpen = 0x0a, kClose = 0x0b;

 private:
  void Word(uint16_t w) {
    out_ += static_cast<char>(w & 0xff);
    out_ += static_cast<char>(w >> 8);
  }
  void Dword(uint32_t d) {
    for (int k = 0; k < 4; ++k) out_ += static_cast<char>((d >> (8 * k)) & 0xff);
  }
  void Flush() {
    if (!ints_.empty()) {
      Word(kIntList);
      Dword(static_cast<uint32_t>(ints_.size()));
      for (uint32_t v : ints_) Dword(v);
      ints_.clear();
    }
    if (!floats_.empty()) {
      Word(kFloatList);
      Dword(static_cast<uint32_t>(floats_.size()));
      for (float f : floats_) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Dword(bits);
      }
      floats_.clear();
    }
  }

  std::string out_;
  std::vector<uint32_t> ints_;
  std::vector<float> floats_;
};

void WriteMaterial(BinaryWriter& w, const Material& m) {
  w.Open("Material", "");
  for (float v : {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.alpha, 8.0f, 0.0f, 0.0f, 0.0f, m.emissive.r, m.emissive.g,
                  m.emissive.b})
    w.Float(v);
  w.Close();
}

void WriteMesh(BinaryWriter& w, const std::string& name, const Mesh& mesh) {
  const size_t nv = mesh.positions.size(), nf = mesh.faces.size();
  const auto vectors = [&](const std::vector<glm::vec3>& vs) {
    w.Int(static_cast<uint32_t>(nv));
    for (size_t i = 0; i < nv; ++i)
      for (int k = 0; k < 3; ++k) w.Float(vs[i][k]);
  };
  const auto faces = [&] {
    w.Int(static_cast<uint32_t>(nf));
    for (const Face& f : mesh.faces)
      for (uint32_t v : {3u, static_cast<uint32_t>(f.a), static_cast<uint32_t>(f.b), static_cast<uint32_t>(f.c)})
        w.Int(v);
  };
  w.Open("Mesh", name + "Mesh");
  vectors(mesh.positions);
  faces();
  w.Open("MeshNormals", "");
  vectors(mesh.normals);
  faces();
  w.Close();
  if (!mesh.uvs.empty()) {
    w.Open("MeshTextureCoords", "");
    w.Int(static_cast<uint32_t>(nv));
    for (size_t i = 0; i < nv; ++i) {
      const glm::vec2 uv = i < mesh.uvs.size() ? mesh.uvs[i] : glm::vec2(0.0f);
      w.Float(uv.x);
      w.Float(uv.y);
    }
    w.Close();
  }
  w.Open("MeshMaterialList", "");
  w.Int(static_cast<uint32_t>(mesh.materials.size()));
  w.Int(static_cast<uint32_t>(nf));
  for (const Face& f : mesh.faces) w.Int(static_cast<uint32_t>(f.material));
  for (const Material& m : mesh.materials) WriteMaterial(w, m);
  w.Close();
  w.Close();
}

void WriteFrame(BinaryWriter& w, const Frame& frame) {
  w.Open("Frame", frame.name);
  w.Open("FrameTransformMatrix", "");
  const glm::mat4 m = frame.rest.Matrix();
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) w.Float(m[c][r]);
  w.Close();
  if (!frame.mesh.Empty()) WriteMesh(w, frame.name, frame.mesh);
  for (const Frame& child : frame.children) WriteFrame(w, child);
  w.Close();
}

void WriteAnimation(BinaryWriter& w, const Model& model, const Frame& frame) {
  if (!frame.keys.empty() && Moves(frame)) {
    const size_t n = std::min(frame.keys.size(), model.keyTimes.size());
    w.Open("Animation", frame.name + "Anim");
    w.Brace(BinaryWriter::kOpen);
    w.Name(frame.name);
    w.Close();
    for (int type : {0, 1, 2}) {
      w.Open("AnimationKey", "");
      w.Int(static_cast<uint32_t>(type));
      w.Int(static_cast<uint32_t>(n));
      for (size_t i = 0; i < n; ++i) {
        Pose p = frame.keys[i];
        if (p.rotation.w < 0.0f) p.rotation = -p.rotation;  // as in the text form
        w.Int(static_cast<uint32_t>(model.keyTimes[i]));
        w.Int(type == 0 ? 4 : 3);
        if (type == 0) {
          for (float v : {p.rotation.w, -p.rotation.x, -p.rotation.y, -p.rotation.z}) w.Float(v);
        } else {
          const glm::vec3 v = type == 1 ? p.scale : p.translation;
          for (int k = 0; k < 3; ++k) w.Float(v[k]);
        }
      }
      w.Close();
    }
    w.Close();
  }
  for (const Frame& child : frame.children) WriteAnimation(w, model, child);
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

std::string WriteBinaryXFile(const Model& model) {
  BinaryWriter w;
  WriteFrame(w, model.root);
  if (!model.keyTimes.empty()) {
    w.Open("AnimationSet", model.name + "Cycle");
    WriteAnimation(w, model, model.root);
    w.Close();
  }
  return w.Finish();
}

}  // namespace assetgen
