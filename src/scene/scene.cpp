#include "scene/scene.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "scene/scene_impl.h"

namespace kelmora::scene {

namespace {

glm::dvec3 Column(const glm::dmat4& m, int c) { return glm::dvec3(m[c]); }

// The turn about y, then x (no roll) that points +z along d.
glm::dmat3 NoRollTurn(glm::dvec3 d) {
  const double yaw = std::atan2(d.x, d.z);
  const double pitch = std::atan2(-d.y, std::hypot(d.x, d.z));
  const double cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
  return glm::dmat3(glm::dvec3(cy, 0, -sy), glm::dvec3(sy * sp, cp, cy * sp),
                    glm::dvec3(sy * cp, -sp, cy * cp));
}

// Rotation whose +z is dir and +y is up made square to it; an up along dir falls back to the
// turn without roll.
glm::dmat3 Orientation(glm::dvec3 dir, glm::dvec3 up) {
  if (glm::length(dir) < 1e-12) return glm::dmat3(1);
  const glm::dvec3 z = glm::normalize(dir);
  glm::dvec3 x = glm::cross(up, z);
  if (glm::length(x) < 1e-9 * std::max(1.0, glm::length(up))) return NoRollTurn(z);
  x = glm::normalize(x);
  return glm::dmat3(x, glm::cross(z, x), z);
}

void SetRotation(glm::dmat4& m, const glm::dmat3& r) {
  for (int c = 0; c < 3; ++c) m[c] = glm::dvec4(r[c], 0);
}

}  // namespace

glm::dmat4 Projection(const platform::Rect& rect, double back) {
  const double n = Scene::kFront, f = std::max(back, n * 1.001);
  const double hw = Scene::kHalfWidth;
  const double hh = rect.w > 0 ? hw * rect.h / rect.w : hw;
  glm::dmat4 p(0);
  p[0][0] = 1 / hw;
  p[1][1] = 1 / hh;
  p[2][2] = (f + n) / (f - n);
  p[2][3] = 1;
  p[3][2] = -2 * f * n / (f - n);
  return p;
}

glm::dmat4 Scene::Impl::World(int32_t id) const {
  glm::dmat4 m(1);
  for (int guard = 0; id != 0 && guard < 1000; ++guard) {
    auto it = frames.find(id);
    if (it == frames.end()) break;
    if (it->second.animatedBy != 0) Settle(it->second.animatedBy);
    m = it->second.local * m;
    id = it->second.parent;
  }
  return m;
}

glm::dvec4 Scene::Impl::WorldOrigin(int32_t id) const {
  // The last column of World(id), worked out alone with the same operations in the same order.
  glm::dvec4 v(0, 0, 0, 1);
  for (int guard = 0; id != 0 && guard < 1000; ++guard) {
    auto it = frames.find(id);
    if (it == frames.end()) break;
    if (it->second.animatedBy != 0) Settle(it->second.animatedBy);
    const glm::dmat4& m = it->second.local;
    v = m[0] * v[0] + m[1] * v[1] + m[2] * v[2] + m[3] * v[3];
    id = it->second.parent;
  }
  return v;
}

void Scene::Impl::Settle(int32_t id) {
  auto it = sets.find(id);
  if (it == sets.end() || !it->second.pendingBook) return;
  AnimationSetObj& set = it->second;
  const std::shared_ptr<PoseBook> book = std::move(set.pendingBook);
  const std::vector<glm::dmat4>& page = book->byTime[set.pendingTime];
  const size_t n = std::min(page.size(), set.channels.size());
  for (size_t i = 0; i < n; ++i) {
    if (auto f = frames.find(set.channels[i].frame); f != frames.end()) f->second.local = page[i];
  }
}

void Scene::Impl::SettleAll() {
  for (auto& [id, set] : sets) {
    if (set.pendingBook) Settle(id);
  }
}

void Scene::Impl::DropFrame(int32_t id, platform::Renderer& r) {
  auto it = frames.find(id);
  if (it == frames.end()) return;
  std::vector<int32_t> children = std::move(it->second.children);
  const int32_t parent = it->second.parent;
  frames.erase(it);
  if (auto p = frames.find(parent); p != frames.end()) std::erase(p->second.children, id);
  for (int32_t c : children) {
    if (auto ci = frames.find(c); ci != frames.end()) ci->second.parent = 0;
    DropFrame(c, r);
  }
}

void Scene::Impl::DropMesh(int32_t id, platform::Renderer& r) {
  auto it = meshes.find(id);
  if (it == meshes.end()) return;
  for (int32_t t : it->second.ownTextures) DropTexture(t, r);
  meshes.erase(it);
  r.ReleaseMesh(id);
  for (auto& [fid, f] : frames) std::erase(f.visuals, id);
}

void Scene::Impl::DropTexture(int32_t id, platform::Renderer& r) {
  if (textures.erase(id) == 0) return;
  r.ReleaseTexture(id);
  for (auto& [mid, m] : meshes) {
    for (auto& g : m.data.groups) {
      if (g.texture == id) g.texture = 0;
    }
  }
}

Scene::Scene(std::unique_ptr<platform::Renderer> renderer)
    : renderer_(renderer ? std::move(renderer) : std::make_unique<platform::NullRenderer>()),
      impl_(std::make_unique<Impl>()) {}

Scene::~Scene() {
  for (auto& [id, m] : impl_->meshes) renderer_->ReleaseMesh(id);
  for (auto& [id, t] : impl_->textures) renderer_->ReleaseTexture(id);
}

// --- Device objects

ObjectHandle Scene::CreateRetainedMode() {
  const int32_t id = impl_->nextId++;
  impl_->objects[id] = 1;
  return {id};
}

ObjectHandle Scene::CreateClipper() {
  const int32_t id = impl_->nextId++;
  impl_->objects[id] = 0;
  return {id};
}

ObjectHandle Scene::CreateDevice(ObjectHandle, int, int) {
  const int32_t id = impl_->nextId++;
  impl_->objects[id] = 0;
  return {id};
}

void Scene::SetQuality(ObjectHandle, int) {}

// --- Frames

FrameHandle Scene::CreateFrame(FrameHandle parent) {
  const int32_t id = impl_->nextId++;
  FrameObj f;
  if (auto* p = impl_->Frame(parent)) {
    f.parent = parent.id;
    p->children.push_back(id);
  }
  impl_->frames.emplace(id, std::move(f));
  return {id};
}

namespace {

// SetPosition in the axes of the frame itself or of another frame (rare: a camera shake).
[[gnu::noinline]] void PlaceInAxesOf(Scene::Impl& impl, FrameObj& f, FrameHandle frame, FrameHandle reference,
                                     glm::dvec3 p) {
  if (reference.id == frame.id) {
    p = glm::dvec3(f.local * glm::dvec4(p, 1));
  } else if (impl.Frame(reference)) {
    const glm::dvec4 world = impl.World(reference.id) * glm::dvec4(p, 1);
    p = glm::dvec3(glm::inverse(impl.World(f.parent)) * world);
  }
  f.local[3] = glm::dvec4(p, 1);
}

}  // namespace

void Scene::SetPosition(FrameHandle frame, FrameHandle reference, double x, double y, double z) {
  auto* f = impl_->Frame(frame);
  if (!f) return;
  // In the parent's axes (an empty reference) the rules place dozens of frames a tick.
  if (reference.id == 0) {
    f->local[3] = glm::dvec4(x, y, z, 1);
  } else {
    PlaceInAxesOf(*impl_, *f, frame, reference, {x, y, z});
  }
  impl_->Unposed(*f);
}

namespace {

// SetPosition in the parent's axes of a frame found through a plain look-up: a posed frame
// first takes its set's waiting pose, and its set must pose it again afterwards.
void PlaceInParent(Scene::Impl& impl, FrameObj& f, const glm::dvec4& place) {
  if (f.animatedBy != 0) impl.Settle(f.animatedBy);
  f.local[3] = place;
  impl.Unposed(f);
}

}  // namespace

// Settling a pose and unposing a set write frames and sets, never add or drop one, so one
// look-up of the frame table serves the whole run.
void Scene::SetPositions(std::span<const FramePlacement> placements) {
  const auto frames = impl_->frames.lookup();
  for (const FramePlacement& p : placements) {
    if (FrameObj* f = frames.get(p.frame.id)) PlaceInParent(*impl_, *f, glm::dvec4(p.x, p.y, p.z, 1));
  }
}

void Scene::SetPositions(std::span<const FrameHandle> frames, const int16_t* xs, double y, const int16_t* zs) {
  const auto table = impl_->frames.lookup();
  for (size_t i = 0; i < frames.size(); ++i) {
    if (FrameObj* f = table.get(frames[i].id)) PlaceInParent(*impl_, *f, glm::dvec4(xs[i], y, zs[i], 1));
  }
}

void Scene::SetOrientation(FrameHandle frame, FrameHandle reference, glm::dvec3 dir, glm::dvec3 up) {
  auto* f = impl_->Frame(frame);
  if (!f) return;
  if (impl_->Frame(reference)) {
    const glm::dmat3 toParent =
        glm::dmat3(glm::inverse(impl_->World(f->parent)) * impl_->World(reference.id));
    dir = toParent * dir;
    up = toParent * up;
  }
  SetRotation(f->local, Orientation(dir, up));
  impl_->Unposed(*f);
}

void Scene::LookAt(FrameHandle frame, FrameHandle target) {
  auto* f = impl_->Frame(frame);
  if (!f || !impl_->Frame(target)) return;
  // The camera looks at its target every tick from under the same parent: the inverse of the
  // parent's world is kept with the matrix it was made from (compared bit for bit, so the kept
  // one is exactly what would be made again).
  auto& kept = impl_->lookAt;
  const glm::dmat4 parentWorld = impl_->World(f->parent);
  if (!kept.inverseValid || std::memcmp(&kept.parentWorld, &parentWorld, sizeof parentWorld) != 0) {
    kept.parentWorld = parentWorld;
    kept.parentInverse = glm::inverse(parentWorld);
    kept.inverseValid = true;
  }
  const glm::dvec3 targetInParent =
      glm::dvec3(kept.parentInverse * glm::dvec4(glm::dvec3(impl_->WorldOrigin(target.id)), 1));
  const glm::dvec3 d = targetInParent - Column(f->local, 3);
  if (glm::length(d) < 1e-12) return;
  SetRotation(f->local, NoRollTurn(d));
  impl_->Unposed(*f);
}

void Scene::AddVisual(FrameHandle frame, MeshHandle mesh) {
  auto* f = impl_->Frame(frame);
  if (!f || !impl_->meshes.contains(mesh.id)) return;
  f->visuals.push_back(mesh.id);
}

void Scene::AddLight(FrameHandle frame, LightHandle light) {
  auto* f = impl_->Frame(frame);
  if (!f || !impl_->lights.contains(light.id)) return;
  // A light hangs on one frame at a time.
  for (auto& [id, other] : impl_->frames) std::erase(other.lights, light.id);
  f->lights.push_back(light.id);
}

// --- Meshes and animation sets

MeshHandle Scene::CreateMeshBuilder() {
  const int32_t id = impl_->nextId++;
  impl_->meshes.emplace(id, MeshObj{});
  return {id};
}

void Scene::SetTexture(MeshHandle mesh, TextureHandle texture) {
  auto it = impl_->meshes.find(mesh.id);
  if (it == impl_->meshes.end()) return;
  const int32_t t = impl_->textures.contains(texture.id) ? texture.id : 0;
  for (auto& g : it->second.data.groups) g.texture = t;
}

AnimationSetHandle Scene::CreateAnimationSet() {
  const int32_t id = impl_->nextId++;
  impl_->sets.emplace(id, AnimationSetObj{});
  return {id};
}

// --- Lights, background

LightHandle Scene::CreateLight(LightKind kind, double r, double g, double b) {
  const int32_t id = impl_->nextId++;
  impl_->lights.emplace(id, LightObj{kind, {r, g, b}});
  return {id};
}

void Scene::SetSceneBackground(double r, double g, double b) { background_ = {r, g, b}; }

// --- Viewport and drawing

ViewportHandle Scene::CreateViewport(ObjectHandle, FrameHandle camera, int x, int y, int width,
                                     int height) {
  const int32_t id = impl_->nextId++;
  impl_->viewports.emplace(id, ViewportObj{camera.id, platform::Rect{x, y, width, height}, 100});
  return {id};
}

void Scene::SetBack(ViewportHandle viewport, double back) {
  if (auto it = impl_->viewports.find(viewport.id); it != impl_->viewports.end()) {
    it->second.back = back;
  }
}

namespace {

platform::ViewSetup ViewOf(const Scene::Impl& impl, const ViewportObj& vp) {
  platform::ViewSetup v;
  v.rect = vp.rect;
  v.view = glm::mat4(glm::inverse(impl.World(vp.camera)));
  v.projection = glm::mat4(Projection(vp.rect, vp.back));
  return v;
}

}  // namespace

void Scene::Clear(ViewportHandle viewport) {
  if (!renderer_->Drawing()) return;
  auto it = impl_->viewports.find(viewport.id);
  if (it == impl_->viewports.end()) return;
  renderer_->Clear(ViewOf(*impl_, it->second), glm::vec3(background_));
}

void Scene::Render(ViewportHandle viewport, FrameHandle root) {
  if (!renderer_->Drawing()) return;
  auto it = impl_->viewports.find(viewport.id);
  if (it == impl_->viewports.end() || !impl_->Frame(root)) return;
  impl_->SettleAll();
  auto& items = impl_->drawItems;
  auto& lights = impl_->lightItems;
  auto& stack = impl_->stack;
  items.clear();
  lights.clear();
  stack.clear();
  stack.emplace_back(root.id, impl_->World(root.id));
  while (!stack.empty()) {
    const auto [id, world] = stack.back();
    stack.pop_back();
    const FrameObj& f = impl_->frames.at(id);
    for (int32_t m : f.visuals) {
      auto mi = impl_->meshes.find(m);
      if (mi == impl_->meshes.end() || mi->second.data.indices.empty()) continue;
      items.push_back({m, &mi->second.data, glm::mat4(world)});
    }
    for (int32_t l : f.lights) {
      const LightObj& light = impl_->lights.at(l);
      platform::LightItem li;
      li.kind = light.kind == LightKind::Spot ? platform::LightKind::Spot : platform::LightKind::Point;
      li.colour = glm::vec3(light.colour);
      li.position = glm::vec3(world[3]);
      li.direction = glm::vec3(glm::normalize(glm::dvec3(world[2])));
      // Full light within 0.2 rad of the axis, fading out by 0.25 rad.
      li.cosUmbra = static_cast<float>(std::cos(0.2));
      li.cosPenumbra = static_cast<float>(std::cos(0.25));
      lights.push_back(li);
    }
    for (int32_t c : f.children) {
      auto ci = impl_->frames.find(c);
      if (ci != impl_->frames.end()) stack.emplace_back(c, world * ci->second.local);
    }
  }
  renderer_->Draw(ViewOf(*impl_, it->second), items, lights);
}

void Scene::Update() { renderer_->Update(); }

// --- Release

void Scene::Release(ObjectHandle h) {
  auto it = impl_->objects.find(h.id);
  if (it == impl_->objects.end()) return;
  const bool retainedMode = it->second == 1;
  impl_->objects.erase(it);
  if (!retainedMode) return;
  // The Retained Mode object takes every object of its scene with it.
  for (auto& [id, m] : impl_->meshes) renderer_->ReleaseMesh(id);
  for (auto& [id, t] : impl_->textures) renderer_->ReleaseTexture(id);
  impl_->objects.clear();
  impl_->frames.clear();
  impl_->meshes.clear();
  impl_->sets.clear();
  impl_->textures.clear();
  impl_->lights.clear();
  impl_->viewports.clear();
  background_ = {0, 0, 0};
}

void Scene::Release(FrameHandle h) { impl_->DropFrame(h.id, *renderer_); }

void Scene::Release(MeshHandle h) { impl_->DropMesh(h.id, *renderer_); }

void Scene::Release(AnimationSetHandle h) {
  auto it = impl_->sets.find(h.id);
  if (it == impl_->sets.end()) return;
  AnimationSetObj set = std::move(it->second);
  impl_->sets.erase(it);
  for (int32_t f : set.frames) impl_->DropFrame(f, *renderer_);
  for (int32_t m : set.meshes) impl_->DropMesh(m, *renderer_);
}

void Scene::Release(TextureHandle h) { impl_->DropTexture(h.id, *renderer_); }

void Scene::Release(LightHandle h) {
  if (impl_->lights.erase(h.id) == 0) return;
  for (auto& [id, f] : impl_->frames) std::erase(f.lights, h.id);
}

void Scene::Release(ViewportHandle h) { impl_->viewports.erase(h.id); }

// --- Queries

bool Scene::Exists(FrameHandle frame) const { return impl_->Frame(frame) != nullptr; }

glm::dvec3 Scene::WorldPosition(FrameHandle frame) const {
  return Column(impl_->World(frame.id), 3);
}
glm::dvec3 Scene::Direction(FrameHandle frame) const {
  return glm::normalize(Column(impl_->World(frame.id), 2));
}
glm::dvec3 Scene::Up(FrameHandle frame) const {
  return glm::normalize(Column(impl_->World(frame.id), 1));
}
glm::dvec3 Scene::Right(FrameHandle frame) const {
  return glm::normalize(Column(impl_->World(frame.id), 0));
}

glm::dvec3 Scene::Position(FrameHandle frame) const {
  const auto* f = impl_->Frame(frame);
  return f ? Column(f->local, 3) : glm::dvec3(0);
}

FrameHandle Scene::Parent(FrameHandle frame) const {
  const auto* f = impl_->Frame(frame);
  return f ? FrameHandle{f->parent} : FrameHandle{};
}

std::vector<FrameHandle> Scene::Children(FrameHandle frame) const {
  std::vector<FrameHandle> out;
  if (const auto* f = impl_->Frame(frame)) {
    for (int32_t c : f->children) out.push_back({c});
  }
  return out;
}

FrameHandle Scene::FindFrame(AnimationSetHandle set, const std::string& name) const {
  auto it = impl_->sets.find(set.id);
  if (it == impl_->sets.end()) return {};
  auto ni = it->second.frameByName.find(name);
  return ni == it->second.frameByName.end() ? FrameHandle{} : FrameHandle{ni->second};
}

std::vector<MeshHandle> Scene::Visuals(FrameHandle frame) const {
  std::vector<MeshHandle> out;
  if (const auto* f = impl_->Frame(frame)) {
    for (int32_t m : f->visuals) out.push_back({m});
  }
  return out;
}

const platform::MeshData* Scene::Mesh(MeshHandle mesh) const {
  auto it = impl_->meshes.find(mesh.id);
  return it == impl_->meshes.end() ? nullptr : &it->second.data;
}

const platform::TextureImage* Scene::Texture(TextureHandle texture) const {
  auto it = impl_->textures.find(texture.id);
  return it == impl_->textures.end() ? nullptr : &it->second.shown;
}

platform::Rect Scene::ViewportRect(ViewportHandle viewport) const {
  auto it = impl_->viewports.find(viewport.id);
  return it == impl_->viewports.end() ? platform::Rect{} : it->second.rect;
}

double Scene::ViewportBack(ViewportHandle viewport) const {
  auto it = impl_->viewports.find(viewport.id);
  return it == impl_->viewports.end() ? 0 : it->second.back;
}

size_t Scene::ObjectCount() const {
  return impl_->objects.size() + impl_->frames.size() + impl_->meshes.size() +
         impl_->sets.size() + impl_->textures.size() + impl_->lights.size() +
         impl_->viewports.size();
}

glm::dvec3 Scene::Project(ViewportHandle viewport, glm::dvec3 world) const {
  auto it = impl_->viewports.find(viewport.id);
  if (it == impl_->viewports.end()) return {0, 0, 0};
  const ViewportObj& vp = it->second;
  const glm::dvec4 cam = glm::inverse(impl_->World(vp.camera)) * glm::dvec4(world, 1);
  const glm::dvec4 clip = Projection(vp.rect, vp.back) * cam;
  if (std::abs(clip.w) < 1e-12) return {0, 0, cam.z};
  const double nx = clip.x / clip.w, ny = clip.y / clip.w;
  return {vp.rect.x + (nx + 1) / 2 * vp.rect.w, vp.rect.y + (1 - ny) / 2 * vp.rect.h, cam.z};
}

}  // namespace kelmora::scene
