// Models and textures from files: .x through Assimp, .bmp through SDL.
#include <SDL.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "platform/asset_error.h"
#include "scene/bmp_check.h"
#include "scene/scene_impl.h"
#include "scene/x_file_check.h"

namespace kelmora::scene {

namespace {

namespace fs = std::filesystem;

// Assimp keeps matrices for column vectors, stored row by row.
glm::dmat4 ToGlm(const aiMatrix4x4& m) {
  glm::dmat4 out;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) out[c][r] = m[r][c];
  }
  return out;
}

// A rotation key of the file holds the conjugate of the frame's rotation (the format's own
// convention); Assimp turns it round on reading, so its key is the rotation as it stands.
glm::dquat KeyRotation(const aiQuaternion& q) { return glm::dquat(q.w, q.x, q.y, q.z); }

// The whole file; throws naming it when it cannot be read.
std::string ReadWhole(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw platform::AssetError(path, "no such file");
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = f ? static_cast<std::streamoff>(f.tellg()) : -1;
  if (size < 0) throw platform::AssetError(path, "cannot be read");
  // Read straight into the string, no stream copies on the way.
  std::string bytes(static_cast<size_t>(size), '\0');
  f.seekg(0);
  f.read(bytes.data(), size);
  if (!f || f.gcount() != size) throw platform::AssetError(path, "cannot be read");
  return bytes;
}

const aiScene* Import(Assimp::Importer& importer, const std::string& path) {
  // The reader is given the bytes that were checked: damage it does not look for itself
  // would crash it or exhaust the memory.
  const std::string bytes = ReadWhole(path);
  if (const std::string why = XFileProblem(bytes); !why.empty()) throw platform::AssetError(path, why);
  importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
  const aiScene* s = importer.ReadFileFromMemory(
      bytes.data(), bytes.size(),
      // The reader gives every corner of every face its own vertex; AppendMesh shares the
      // identical ones again, far faster than the reader's own joining step.
      aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_GenSmoothNormals |
          aiProcess_SortByPType,
      "x");
  if (!s || (s->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !s->mRootNode) {
    throw platform::AssetError(path, importer.GetErrorString());
  }
  return s;
}

struct Material {
  glm::vec4 diffuse{1, 1, 1, 1};
  glm::vec3 emissive{0, 0, 0};
  std::string texturePath;
};

Material MaterialOf(const aiMaterial* m, const std::string& modelPath) {
  Material out;
  aiColor4D c;
  if (m->Get(AI_MATKEY_COLOR_DIFFUSE, c) == AI_SUCCESS) out.diffuse = {c.r, c.g, c.b, c.a};
  aiColor3D e;
  if (m->Get(AI_MATKEY_COLOR_EMISSIVE, e) == AI_SUCCESS) out.emissive = {e.r, e.g, e.b};
  aiString tex;
  if (m->GetTexture(aiTextureType_DIFFUSE, 0, &tex) == AI_SUCCESS && tex.length > 0) {
    // Beside the model first, then in the tex folder next to the model folder.
    const fs::path dir = fs::path(modelPath).parent_path();
    const fs::path name = fs::path(tex.C_Str()).filename();
    std::error_code ec;
    fs::path found = dir / name;
    if (!fs::is_regular_file(found, ec)) found = dir.parent_path() / "tex" / name;
    out.texturePath = found.string();
  }
  return out;
}

// A vertex as the reader gives it, bit for bit: identical corners share one vertex.
struct CornerKey {
  std::array<uint32_t, 8> bits{};
  bool operator==(const CornerKey&) const = default;
};
struct CornerHash {
  size_t operator()(const CornerKey& k) const {
    uint64_t h = 1469598103934665603ull;
    for (uint32_t b : k.bits) h = (h ^ b) * 1099511628211ull;
    return static_cast<size_t>(h ^ (h >> 32));
  }
};

CornerKey KeyOf(const aiMesh* mesh, unsigned i) {
  float f[8] = {mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z, 0, 0, 0, 0, 0};
  if (mesh->mNormals) f[3] = mesh->mNormals[i].x, f[4] = mesh->mNormals[i].y, f[5] = mesh->mNormals[i].z;
  if (mesh->mTextureCoords[0]) f[6] = mesh->mTextureCoords[0][i].x, f[7] = mesh->mTextureCoords[0][i].y;
  CornerKey k;
  std::memcpy(k.bits.data(), f, sizeof f);
  return k;
}

// Appends the triangles of one Assimp mesh, transformed by m, to the indices of a group.
void AppendMesh(platform::MeshData& out, std::vector<uint32_t>& indices, const aiMesh* mesh,
                const glm::dmat4& m) {
  const glm::dmat3 normalMatrix = glm::transpose(glm::inverse(glm::dmat3(m)));
  std::vector<uint32_t> shared(mesh->mNumVertices);
  // The corners seen so far, by key, in a table at most half full: a slot holds 1 + the index
  // of the first corner with its key (0: empty), and a key is compared with that corner's own.
  size_t slotCount = 16;
  while (slotCount < size_t{mesh->mNumVertices} * 2) slotCount *= 2;
  std::vector<uint32_t> slots(slotCount, 0);
  const size_t mask = slotCount - 1;
  for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
    const CornerKey key = KeyOf(mesh, i);
    size_t slot = CornerHash{}(key) & mask;
    while (slots[slot] != 0 && !(KeyOf(mesh, slots[slot] - 1) == key)) slot = (slot + 1) & mask;
    if (slots[slot] != 0) {
      shared[i] = shared[slots[slot] - 1];
      continue;
    }
    slots[slot] = i + 1;
    shared[i] = static_cast<uint32_t>(out.vertices.size());
    platform::MeshVertex v;
    const aiVector3D& p = mesh->mVertices[i];
    v.position = glm::vec3(m * glm::dvec4(p.x, p.y, p.z, 1));
    glm::dvec3 n(0, 1, 0);
    if (mesh->mNormals) n = {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z};
    n = normalMatrix * n;
    v.normal = glm::vec3(glm::length(n) > 0 ? glm::normalize(n) : glm::dvec3(0, 1, 0));
    v.uv = mesh->mTextureCoords[0]
               ? glm::vec2(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y)
               : glm::vec2(0, 0);
    out.vertices.push_back(v);
  }
  for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
    const aiFace& face = mesh->mFaces[f];
    if (face.mNumIndices != 3) continue;
    for (int k = 0; k < 3; ++k) indices.push_back(shared[face.mIndices[k]]);
  }
}

void Bound(platform::MeshData& d) {
  if (d.vertices.empty()) return;
  glm::vec3 lo = d.vertices[0].position, hi = lo;
  for (const auto& v : d.vertices) {
    lo = glm::min(lo, v.position);
    hi = glm::max(hi, v.position);
  }
  d.centre = (lo + hi) * 0.5f;
  float r = 0;
  for (const auto& v : d.vertices) r = std::max(r, glm::length(v.position - d.centre));
  d.radius = r;
}

}  // namespace

// --- Parsed model and texture files, kept for the whole run: every match loads the same
// files, so each is parsed once and its scene objects are made again from the parsed copy. A
// file that changes on disk (time or size) is parsed again; a missing one fails as at its
// first load. Loads on several threads, and the thread that parses ahead, share the copies.

namespace {

struct FileStamp {
  fs::file_time_type time{};
  uintmax_t size = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::optional<FileStamp> StampOf(const std::string& path) {
  std::error_code ec;
  FileStamp s;
  s.time = fs::last_write_time(path, ec);
  if (ec) return std::nullopt;
  s.size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  return s;
}

// A mesh as loaded, with the texture file of each group (empty: none).
struct ParsedMesh {
  platform::MeshData data;
  std::vector<std::string> groupTextures;
};

// Groups from per-material index lists, in material order.
ParsedMesh MakeMesh(platform::MeshData data, const aiScene* s,
                    std::map<unsigned, std::vector<uint32_t>>& byMaterial, const std::string& path) {
  ParsedMesh out;
  out.data = std::move(data);
  for (auto& [mat, indices] : byMaterial) {
    if (indices.empty()) continue;
    const Material m = mat < s->mNumMaterials ? MaterialOf(s->mMaterials[mat], path) : Material{};
    platform::MeshGroup g;
    g.firstIndex = static_cast<uint32_t>(out.data.indices.size());
    g.indexCount = static_cast<uint32_t>(indices.size());
    g.diffuse = m.diffuse;
    g.emissive = m.emissive;
    out.data.indices.insert(out.data.indices.end(), indices.begin(), indices.end());
    out.data.groups.push_back(g);
    out.groupTextures.push_back(m.texturePath);
  }
  Bound(out.data);
  return out;
}

struct StaticModel {
  FileStamp stamp;
  ParsedMesh mesh;
};

// One node of an animated model, parents before children.
struct ParsedNode {
  std::string name;
  glm::dmat4 local{1};
  int parent = -1;  // index in the node list; -1: the frame the model is loaded under
  bool hasMesh = false;
  ParsedMesh mesh;
};

struct AnimatedModel {
  FileStamp stamp;
  std::vector<ParsedNode> nodes;
  std::vector<Channel> channels;  // frame = index of the node
  std::shared_ptr<PoseBook> poses = std::make_shared<PoseBook>();
};

StaticModel ParseStatic(const std::string& path, FileStamp stamp) {
  Assimp::Importer importer;
  const aiScene* s = Import(importer, path);
  platform::MeshData data;
  std::map<unsigned, std::vector<uint32_t>> byMaterial;
  // The whole hierarchy, each node's meshes placed by its accumulated frame matrix.
  std::vector<std::pair<const aiNode*, glm::dmat4>> todo{{s->mRootNode, ToGlm(s->mRootNode->mTransformation)}};
  while (!todo.empty()) {
    auto [node, m] = todo.back();
    todo.pop_back();
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
      const aiMesh* am = s->mMeshes[node->mMeshes[i]];
      AppendMesh(data, byMaterial[am->mMaterialIndex], am, m);
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) {
      todo.emplace_back(node->mChildren[c], m * ToGlm(node->mChildren[c]->mTransformation));
    }
  }
  return {stamp, MakeMesh(std::move(data), s, byMaterial, path)};
}

AnimatedModel ParseAnimated(const std::string& path, FileStamp stamp) {
  Assimp::Importer importer;
  const aiScene* s = Import(importer, path);
  AnimatedModel out;
  out.stamp = stamp;
  std::unordered_map<std::string, int> byName;
  std::vector<std::pair<const aiNode*, int>> todo{{s->mRootNode, -1}};
  while (!todo.empty()) {
    auto [node, parent] = todo.back();
    todo.pop_back();
    const int index = static_cast<int>(out.nodes.size());
    ParsedNode n;
    n.name = node->mName.C_Str();
    n.local = ToGlm(node->mTransformation);
    n.parent = parent;
    byName.emplace(n.name, index);
    if (node->mNumMeshes > 0) {
      platform::MeshData data;
      std::map<unsigned, std::vector<uint32_t>> byMaterial;
      for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        const aiMesh* am = s->mMeshes[node->mMeshes[i]];
        AppendMesh(data, byMaterial[am->mMaterialIndex], am, glm::dmat4(1));
      }
      n.hasMesh = true;
      n.mesh = MakeMesh(std::move(data), s, byMaterial, path);
    }
    out.nodes.push_back(std::move(n));
    for (int c = static_cast<int>(node->mNumChildren) - 1; c >= 0; --c) {
      todo.emplace_back(node->mChildren[c], index);
    }
  }

  for (unsigned a = 0; a < s->mNumAnimations; ++a) {
    const aiAnimation* anim = s->mAnimations[a];
    for (unsigned c = 0; c < anim->mNumChannels; ++c) {
      const aiNodeAnim* na = anim->mChannels[c];
      auto fi = byName.find(na->mNodeName.C_Str());
      if (fi == byName.end()) continue;
      Channel ch;
      ch.frame = fi->second;
      aiVector3D scale, pos;
      aiQuaternion rot;
      const aiNode* node = s->mRootNode->FindNode(na->mNodeName);
      if (node) {
        node->mTransformation.Decompose(scale, rot, pos);
        ch.restPosition = {pos.x, pos.y, pos.z};
        ch.restScale = {scale.x, scale.y, scale.z};
        ch.restRotation = glm::dquat(rot.w, rot.x, rot.y, rot.z);
      }
      for (unsigned k = 0; k < na->mNumPositionKeys; ++k) {
        const auto& key = na->mPositionKeys[k];
        ch.positions.emplace_back(key.mTime, glm::dvec3(key.mValue.x, key.mValue.y, key.mValue.z));
      }
      for (unsigned k = 0; k < na->mNumRotationKeys; ++k) {
        const auto& key = na->mRotationKeys[k];
        ch.rotations.emplace_back(key.mTime, KeyRotation(key.mValue));
      }
      for (unsigned k = 0; k < na->mNumScalingKeys; ++k) {
        const auto& key = na->mScalingKeys[k];
        ch.scales.emplace_back(key.mTime, glm::dvec3(key.mValue.x, key.mValue.y, key.mValue.z));
      }
      auto byTime = [](const auto& x, const auto& y) { return x.first < y.first; };
      std::stable_sort(ch.positions.begin(), ch.positions.end(), byTime);
      std::stable_sort(ch.rotations.begin(), ch.rotations.end(), byTime);
      std::stable_sort(ch.scales.begin(), ch.scales.end(), byTime);
      out.channels.push_back(std::move(ch));
    }
  }
  return out;
}


// Rows of 24-bit texels as RGBA with alpha 255; red first in memory when redFirst, else blue.
void ExpandRows(const SDL_Surface* s, bool redFirst, platform::TextureImage& image) {
  const int r = redFirst ? 0 : 2, b = redFirst ? 2 : 0;
  for (int y = 0; y < s->h; ++y) {
    const auto* from = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
    uint8_t* to = image.rgba.data() + static_cast<size_t>(y) * s->w * 4;
    for (int x = 0; x < s->w; ++x, from += 3, to += 4) {
      to[0] = from[r];
      to[1] = from[1];
      to[2] = from[b];
      to[3] = 255;
    }
  }
}

// A .bmp file as RGBA rows, alpha 255 everywhere.
platform::TextureImage ReadBmp(const std::string& path) {
  const std::string bytes = ReadWhole(path);
  if (const std::string why = BmpProblem(bytes); !why.empty()) throw platform::AssetError(path, why);
  SDL_Surface* raw = SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (!raw) throw platform::AssetError(path, SDL_GetError());
  platform::TextureImage image;
  image.width = raw->w;
  image.height = raw->h;
  image.rgba.resize(static_cast<size_t>(raw->w) * raw->h * 4);
  // 24-bit files (all of ours) are spread out here; other depths go through SDL's converter.
  if (raw->format->format == SDL_PIXELFORMAT_BGR24 || raw->format->format == SDL_PIXELFORMAT_RGB24) {
    SDL_LockSurface(raw);
    ExpandRows(raw, raw->format->format == SDL_PIXELFORMAT_RGB24, image);
    SDL_UnlockSurface(raw);
    SDL_FreeSurface(raw);
    return image;
  }
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(raw);
  if (!rgba) throw platform::AssetError(path, SDL_GetError());
  SDL_LockSurface(rgba);
  for (int y = 0; y < rgba->h; ++y) {
    const auto* row = static_cast<const uint8_t*>(rgba->pixels) + static_cast<size_t>(y) * rgba->pitch;
    std::copy(row, row + rgba->w * 4, image.rgba.begin() + static_cast<size_t>(y) * rgba->w * 4);
  }
  SDL_UnlockSurface(rgba);
  SDL_FreeSurface(rgba);
  for (size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  return image;
}

struct ImageEntry {
  FileStamp stamp;
  platform::TextureImage image;
};

ImageEntry ParseImage(const std::string& path, FileStamp stamp) { return {stamp, ReadBmp(path)}; }

// The kept copy of one file: the last good parse, with the stamp of the file it was made
// from, and whether a thread is parsing the file now (the others wait for it).
template <class Model>
struct Slot {
  std::shared_ptr<const Model> model;
  bool parsing = false;
};

// Every kept file, and the thread that parses ahead: the loads of any thread and that thread
// share the slots under one lock; the parsing itself runs unlocked.
struct KeptFiles {
  std::mutex mutex;
  std::condition_variable parsed;  // a parse ended
  std::map<std::string, Slot<StaticModel>> statics;
  std::map<std::string, Slot<AnimatedModel>> animated;
  std::map<std::string, Slot<ImageEntry>> images;

  std::condition_variable waiting;  // files to parse ahead, or the stop
  std::deque<FileToParse> ahead;
  bool stop = false;
  std::thread worker;
  std::atomic<size_t> parses{0};

  ~KeptFiles() { Stop(); }

  void Stop() {
    {
      std::lock_guard lock(mutex);
      stop = true;
      ahead.clear();
    }
    waiting.notify_all();
    if (worker.joinable()) worker.join();
    std::lock_guard lock(mutex);
    stop = false;
  }

  // The slots of one kind of file.
  auto& Of(const StaticModel*) { return statics; }
  auto& Of(const AnimatedModel*) { return animated; }
  auto& Of(const ImageEntry*) { return images; }

  // The kept copy of the file made from `stamp`, parsing it here when it is new, changed or
  // failed before, and waiting first while another thread parses it. A failed parse throws
  // with the slot freed for the next try.
  template <class Model, class Parse>
  std::shared_ptr<const Model> Get(const std::string& path, FileStamp stamp, Parse parse) {
    std::unique_lock lock(mutex);
    Slot<Model>& slot = Of(static_cast<const Model*>(nullptr))[path];
    parsed.wait(lock, [&] { return !slot.parsing; });
    if (slot.model && slot.model->stamp == stamp) return slot.model;
    slot.parsing = true;
    lock.unlock();
    ++parses;
    std::shared_ptr<const Model> model;
    try {
      model = std::make_shared<const Model>(parse(path, stamp));
    } catch (...) {
      lock.lock();
      slot.parsing = false;
      lock.unlock();
      parsed.notify_all();
      throw;
    }
    lock.lock();
    slot.model = model;
    slot.parsing = false;
    lock.unlock();
    parsed.notify_all();
    return model;
  }

  // Parsing ahead: a file already kept, or being parsed, is passed over; one that fails is
  // left for its load to report.
  template <class Model, class Parse>
  void Prepare(const std::string& path, Parse parse) {
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp) return;
    {
      std::lock_guard lock(mutex);
      const auto& slots = Of(static_cast<const Model*>(nullptr));
      const auto it = slots.find(path);
      if (it != slots.end() && (it->second.parsing || (it->second.model && it->second.model->stamp == *stamp))) return;
    }
    try {
      Get<Model>(path, *stamp, parse);
    } catch (...) {
    }
  }

  void Work() {
    for (;;) {
      FileToParse file;
      {
        std::unique_lock lock(mutex);
        waiting.wait(lock, [&] { return stop || !ahead.empty(); });
        if (stop) return;
        file = std::move(ahead.front());
        ahead.pop_front();
      }
      switch (file.kind) {
        case FileKind::StaticModel: Prepare<StaticModel>(file.path, ParseStatic); break;
        case FileKind::AnimatedModel: Prepare<AnimatedModel>(file.path, ParseAnimated); break;
        case FileKind::Texture: Prepare<ImageEntry>(file.path, ParseImage); break;
      }
    }
  }
};

KeptFiles& Kept() {
  static KeptFiles kept;
  return kept;
}

// The parsed copy of a model file; a missing file fails as at its first load.
template <class Model, class Parse>
std::shared_ptr<const Model> Parsed(const std::string& path, Parse parse) {
  const std::optional<FileStamp> stamp = StampOf(path);
  if (!stamp) throw platform::AssetError(path, "no such file");
  return Kept().Get<Model>(path, *stamp, parse);
}

}  // namespace

void ParseAhead(const std::vector<FileToParse>& files, bool soon) {
  KeptFiles& kept = Kept();
  {
    std::lock_guard lock(kept.mutex);
    if (soon) {
      kept.ahead.insert(kept.ahead.begin(), files.rbegin(), files.rend());
    } else {
      kept.ahead.insert(kept.ahead.end(), files.begin(), files.end());
    }
    if (!kept.worker.joinable()) {
      kept.worker = std::thread([&kept] {
        kept.Work();
        // SDL keeps its error text per thread; a thread it did not start frees it itself.
        SDL_TLSCleanup();
      });
    }
  }
  kept.waiting.notify_one();
}

void StopParsingAhead() { Kept().Stop(); }

size_t FilesParsed() { return Kept().parses; }

void ForgetParsedFiles() {
  KeptFiles& kept = Kept();
  kept.Stop();
  std::lock_guard lock(kept.mutex);
  kept.statics.clear();
  kept.animated.clear();
  kept.images.clear();
}

// Fills the mesh from its parsed copy, loading the groups' textures in group order.
static void FillMesh(Scene& scene, Scene::Impl& impl, int32_t meshId, const ParsedMesh& parsed) {
  impl.meshes.at(meshId).data = parsed.data;
  for (size_t i = 0; i < parsed.groupTextures.size(); ++i) {
    if (parsed.groupTextures[i].empty()) continue;
    const TextureHandle t = scene.LoadTexture(parsed.groupTextures[i]);
    MeshObj& mesh = impl.meshes.at(meshId);
    mesh.ownTextures.push_back(t.id);
    mesh.data.groups[i].texture = t.id;
  }
}

void Scene::LoadMesh(MeshHandle mesh, const std::string& path) {
  if (!impl_->meshes.contains(mesh.id)) return;
  const std::shared_ptr<const StaticModel> model = Parsed<StaticModel>(path, ParseStatic);
  FillMesh(*this, *impl_, mesh.id, model->mesh);
  renderer_->UploadMesh(mesh.id, impl_->meshes.at(mesh.id).data);
}

void Scene::LoadAnimationSet(AnimationSetHandle set, const std::string& path, FrameHandle parentFrame) {
  if (!impl_->sets.contains(set.id) || !impl_->Frame(parentFrame)) return;
  const std::shared_ptr<const AnimatedModel> kept = Parsed<AnimatedModel>(path, ParseAnimated);
  const AnimatedModel& model = *kept;

  // One frame per node of the file, under the parent frame, with the node's meshes.
  std::vector<int32_t> frames, meshes;
  frames.reserve(model.nodes.size());
  for (const ParsedNode& node : model.nodes) {
    const FrameHandle parent = node.parent < 0 ? parentFrame : FrameHandle{frames[static_cast<size_t>(node.parent)]};
    const FrameHandle f = CreateFrame(parent);
    impl_->frames.at(f.id).local = node.local;
    frames.push_back(f.id);
    if (node.hasMesh) {
      const MeshHandle mh = CreateMeshBuilder();
      FillMesh(*this, *impl_, mh.id, node.mesh);
      renderer_->UploadMesh(mh.id, impl_->meshes.at(mh.id).data);
      AddVisual(f, mh);
      meshes.push_back(mh.id);
    }
  }

  AnimationSetObj& obj = impl_->sets.at(set.id);
  // The book of poses belongs to one file; a second file in the same set poses without it.
  obj.poses = obj.channels.empty() ? model.poses : nullptr;
  obj.posedAt = std::numeric_limits<double>::quiet_NaN();
  for (size_t i = 0; i < model.nodes.size(); ++i) obj.frameByName.emplace(model.nodes[i].name, frames[i]);
  obj.frames.insert(obj.frames.end(), frames.begin(), frames.end());
  obj.meshes.insert(obj.meshes.end(), meshes.begin(), meshes.end());
  for (const Channel& parsed : model.channels) {
    Channel ch = parsed;
    ch.frame = frames[static_cast<size_t>(parsed.frame)];
    impl_->frames.at(ch.frame).animatedBy = set.id;
    obj.channels.push_back(std::move(ch));
  }
}

namespace {

template <class T, class Mix>
T Sample(const std::vector<std::pair<double, T>>& keys, double t, const T& rest, Mix mix) {
  if (keys.empty()) return rest;
  if (t <= keys.front().first) return keys.front().second;
  if (t >= keys.back().first) return keys.back().second;
  auto hi = std::upper_bound(keys.begin(), keys.end(), t,
                             [](double v, const auto& k) { return v < k.first; });
  auto lo = hi - 1;
  const double span = hi->first - lo->first;
  const double a = span > 0 ? (t - lo->first) / span : 0;
  return mix(lo->second, hi->second, a);
}

// The channel's frame matrix at key time t.
glm::dmat4 Pose(const Channel& ch, double t) {
  const glm::dvec3 p = Sample(ch.positions, t, ch.restPosition,
                              [](glm::dvec3 a, glm::dvec3 b, double k) { return glm::mix(a, b, k); });
  const glm::dvec3 sc = Sample(ch.scales, t, ch.restScale,
                               [](glm::dvec3 a, glm::dvec3 b, double k) { return glm::mix(a, b, k); });
  const glm::dquat r = Sample(ch.rotations, t, ch.restRotation,
                              [](glm::dquat a, glm::dquat b, double k) {
                                if (glm::dot(a, b) < 0) b = -b;
                                return glm::normalize(glm::slerp(a, b, k));
                              });
  glm::dmat4 m = glm::dmat4(glm::mat3_cast(r));
  m[0] *= sc.x;
  m[1] *= sc.y;
  m[2] *= sc.z;
  m[3] = glm::dvec4(p, 1);
  return m;
}

}  // namespace

void Scene::SetTime(AnimationSetHandle set, double t) {
  auto it = impl_->sets.find(set.id);
  if (it == impl_->sets.end()) return;
  AnimationSetObj& obj = it->second;
  if (t == obj.posedAt) return;  // already standing in this pose
  obj.posedAt = t;
  // Whole key times come from the file's book of poses, made once per run. The frames are
  // given the page when one of them is next read (or drawn); a seat's pose changes most
  // ticks, its frames are seldom read.
  if (obj.poses && t >= 0 && t < PoseBook::kBookTimes && t == static_cast<double>(static_cast<int>(t))) {
    const size_t at = static_cast<size_t>(t);
    auto& p = obj.poses->byTime[at];
    if (p.size() != obj.channels.size()) {
      p.clear();
      for (const Channel& ch : obj.channels) p.push_back(Pose(ch, t));
    }
    if (obj.pendingBook != obj.poses) obj.pendingBook = obj.poses;
    obj.pendingTime = at;
    return;
  }
  obj.pendingBook = nullptr;
  for (size_t i = 0; i < obj.channels.size(); ++i) {
    auto* f = impl_->Frame(FrameHandle{obj.channels[i].frame});
    if (!f) continue;
    f->local = Pose(obj.channels[i], t);
  }
}

// --- Textures

namespace {

void ApplyTransparency(TextureObj& t) {
  t.shown.width = t.source.width;
  t.shown.height = t.source.height;
  t.shown.rgba.resize(t.source.rgba.size());
  const uint8_t* from = t.source.rgba.data();
  uint8_t* to = t.shown.rgba.data();
  const size_t bytes = t.source.rgba.size();
  const glm::ivec3 c = t.transparentColour;
  if (!t.transparent || glm::any(glm::lessThan(c, glm::ivec3(0))) || glm::any(glm::greaterThan(c, glm::ivec3(255)))) {
    if (bytes > 0) std::memcpy(to, from, bytes);
    return;
  }
  // A texel at a time as one word: its colour bytes against the key, its alpha byte cleared
  // on a match.
  const uint8_t keyBytes[4] = {static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b), 0};
  const uint8_t colourBytes[4] = {255, 255, 255, 0};
  uint32_t key = 0, colour = 0;
  std::memcpy(&key, keyBytes, 4);
  std::memcpy(&colour, colourBytes, 4);
  const size_t texels = bytes / 4;
  size_t i = 0;
#if defined(__SSE2__)
  // Four texels a step.
  const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
  const __m128i colours = _mm_set1_epi32(static_cast<int>(colour));
  for (; i + 4 <= texels; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i * 4));
    const __m128i matched = _mm_cmpeq_epi32(_mm_and_si128(v, colours), keys);
    const __m128i alphaToClear = _mm_andnot_si128(colours, matched);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i * 4), _mm_andnot_si128(alphaToClear, v));
  }
#endif
  for (; i < texels; ++i) {
    uint32_t texel;
    std::memcpy(&texel, from + i * 4, 4);
    if ((texel & colour) == key) texel &= colour;
    std::memcpy(to + i * 4, &texel, 4);
  }
  // Bytes past the last whole texel, if any, as they were.
  for (size_t b = texels * 4; b < bytes; ++b) to[b] = from[b];
}

}  // namespace

TextureHandle Scene::LoadTexture(const std::string& path) {
  TextureObj t;
  // Kept like the models; without a stamp (no such file) the read itself says what is wrong.
  if (const std::optional<FileStamp> stamp = StampOf(path)) {
    t.source = Kept().Get<ImageEntry>(path, *stamp, ParseImage)->image;
  } else {
    t.source = ReadBmp(path);
  }
  ApplyTransparency(t);
  const int32_t id = impl_->nextId++;
  auto& stored = impl_->textures.emplace(id, std::move(t)).first->second;
  renderer_->UploadTexture(id, stored.shown);
  return {id};
}

void Scene::SetDecalTransparentColor(TextureHandle texture, int r, int g, int b) {
  auto it = impl_->textures.find(texture.id);
  if (it == impl_->textures.end()) return;
  it->second.transparentColour = {r, g, b};
  ApplyTransparency(it->second);
  renderer_->UploadTexture(texture.id, it->second.shown);
}

void Scene::SetDecalTransparency(TextureHandle texture, bool on) {
  auto it = impl_->textures.find(texture.id);
  if (it == impl_->textures.end()) return;
  it->second.transparent = on;
  ApplyTransparency(it->second);
  renderer_->UploadTexture(texture.id, it->second.shown);
}

}  // namespace kelmora::scene
