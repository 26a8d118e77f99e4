#include "platform/gl/gl_renderer.h"
#include "platform/gl/gl_program.h"
#include "platform/gl/keep_driver_loaded.h"

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace kelmora::platform {

namespace {

constexpr int kMaxLights = 4;
// The vertex shader's arrays hold one batch: 32 world and 32 normal matrices with the lights
// are 245 of the 256 uniform vectors every OpenGL 3.3 implementation offers.
static_assert(GlRenderer::kBatch == 32, "uWorld and uNormal hold kBatch matrices");

// Lighting per vertex: diffuse from every light, emissive, no ambient term.
const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aUv;
layout(location = 3) in vec4 aDiffuse;
layout(location = 4) in vec3 aEmissive;
uniform mat4 uWorld[32];  // per instance: the copies of a mesh go in one call
uniform mat3 uNormal[32];
uniform mat4 uViewProj;
uniform int uLightCount;
uniform vec4 uLightPos[4];     // w: 1 point, 2 spot
uniform vec3 uLightColour[4];
uniform vec3 uLightDir[4];
uniform vec2 uLightCone[4];    // cos umbra, cos penumbra
out vec3 vColour;
out vec2 vUv;
void main() {
  vec4 wp = uWorld[gl_InstanceID] * vec4(aPosition, 1.0);
  vec3 n = normalize(uNormal[gl_InstanceID] * aNormal);
  vec3 c = aEmissive;
  for (int i = 0; i < uLightCount; ++i) {
    vec3 toLight = uLightPos[i].xyz - wp.xyz;
    vec3 l = toLight / max(length(toLight), 1e-6);
    float k = max(dot(n, l), 0.0);
    if (uLightPos[i].w > 1.5) k *= smoothstep(uLightCone[i].y, uLightCone[i].x, dot(-l, uLightDir[i]));
    c += aDiffuse.rgb * uLightColour[i] * k;
  }
  vColour = min(c, vec3(1.0));
  vUv = aUv;
  gl_Position = uViewProj * wp;
}
)";

const char* kFragmentPlain = R"(#version 330 core
in vec3 vColour;
in vec2 vUv;
out vec4 colour;
void main() {
  colour = vec4(vColour, 1.0);
}
)";

const char* kFragmentTextured = R"(#version 330 core
in vec3 vColour;
in vec2 vUv;
uniform sampler2D uTexture;
out vec4 colour;
void main() {
  vec4 t = texture(uTexture, vUv);
  if (t.a < 0.5) discard;
  colour = vec4(vColour * t.rgb, 1.0);
}
)";

// False when the sphere lies wholly outside the view volume.
bool Visible(const glm::mat4& viewProj, const glm::mat4& world, const MeshData& m) {
  const glm::vec4 c = viewProj * world * glm::vec4(m.centre, 1);
  const float scale = std::max({glm::length(glm::vec3(world[0])), glm::length(glm::vec3(world[1])),
                                glm::length(glm::vec3(world[2]))});
  // A generous margin in clip space: the radius times the largest lens factor.
  const float r = m.radius * scale *
                  std::max({glm::length(glm::vec3(viewProj[0][0], viewProj[1][0], viewProj[2][0])),
                            glm::length(glm::vec3(viewProj[0][1], viewProj[1][1], viewProj[2][1])),
                            glm::length(glm::vec3(viewProj[0][3], viewProj[1][3], viewProj[2][3]))});
  return c.x >= -c.w - r && c.x <= c.w + r && c.y >= -c.w - r && c.y <= c.w + r &&
         c.w >= -r && c.z <= c.w + r;
}

}  // namespace

GlRenderer::Program GlRenderer::MakeProgram(const char* fragment, const char* name) {
  GlRenderer::Program p;
  p.id = BuildProgram(kVertex, fragment, name);
  p.world = glGetUniformLocation(p.id, "uWorld");
  p.normal = glGetUniformLocation(p.id, "uNormal");
  p.viewProj = glGetUniformLocation(p.id, "uViewProj");
  p.lightCount = glGetUniformLocation(p.id, "uLightCount");
  p.lightPos = glGetUniformLocation(p.id, "uLightPos");
  p.lightColour = glGetUniformLocation(p.id, "uLightColour");
  p.lightDir = glGetUniformLocation(p.id, "uLightDir");
  p.lightCone = glGetUniformLocation(p.id, "uLightCone");
  p.texture = glGetUniformLocation(p.id, "uTexture");
  glUseProgram(p.id);
  if (p.texture >= 0) glUniform1i(p.texture, 0);
  return p;
}

GlRenderer::GlRenderer() {
  plain_ = MakeProgram(kFragmentPlain, "scene shader");
  try {
    textured_ = MakeProgram(kFragmentTextured, "textured scene shader");
  } catch (...) {
    glDeleteProgram(plain_.id);
    throw;
  }
}

std::unique_ptr<GlRenderer> GlRenderer::CreateOffscreen() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_Window* w = SDL_CreateWindow("Kelmora", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!w) throw std::runtime_error(std::string("cannot open an offscreen window: ") + SDL_GetError());
  SDL_GLContext c = SDL_GL_CreateContext(w);
  if (!c) {
    std::string why = SDL_GetError();
    SDL_DestroyWindow(w);
    throw std::runtime_error("cannot create an OpenGL 3.3 context: " + why);
  }
  KeepGlDriverLoaded();
  std::unique_ptr<GlRenderer> r;
  try {
    r = std::make_unique<GlRenderer>();
  } catch (...) {
    SDL_GL_DeleteContext(c);
    SDL_DestroyWindow(w);
    throw;
  }
  r->ownWindow_ = w;
  r->ownContext_ = c;
  return r;
}

GlRenderer::~GlRenderer() {
  MakeCurrent();
  // The window may have taken the shared context with it already.
  if (!SDL_GL_GetCurrentContext()) return;
  for (auto& [id, m] : meshes_) {
    glDeleteVertexArrays(1, &m.vao);
    glDeleteBuffers(1, &m.vbo);
    glDeleteBuffers(1, &m.ibo);
  }
  for (auto& [id, t] : textures_) glDeleteTextures(1, &t);
  glDeleteFramebuffers(1, &fbo_);
  glDeleteTextures(1, &colour_);
  glDeleteRenderbuffers(1, &depth_);
  glDeleteProgram(plain_.id);
  glDeleteProgram(textured_.id);
  if (ownContext_) SDL_GL_DeleteContext(ownContext_);
  if (ownWindow_) SDL_DestroyWindow(ownWindow_);
}

void GlRenderer::MakeCurrent() const {
  if (ownContext_) SDL_GL_MakeCurrent(ownWindow_, ownContext_);
}

namespace {

// A vertex as the GPU sees it: the material of its group travels with it, so a mesh is drawn
// with one call per texture rather than one per material.
struct GpuVertex {
  glm::vec3 position;
  glm::vec3 normal;
  glm::vec2 uv;
  glm::vec4 diffuse;
  glm::vec3 emissive;
};

}  // namespace

void GlRenderer::UploadMesh(int32_t id, const MeshData& mesh) {
  MakeCurrent();
  ReleaseMesh(id);
  std::vector<GpuVertex> vertices(mesh.vertices.size());
  for (size_t i = 0; i < vertices.size(); ++i) {
    const MeshVertex& v = mesh.vertices[i];
    vertices[i] = {v.position, v.normal, v.uv, glm::vec4(1), glm::vec3(0)};
  }
  for (const MeshGroup& g : mesh.groups) {
    for (uint32_t k = g.firstIndex; k < g.firstIndex + g.indexCount && k < mesh.indices.size(); ++k) {
      const uint32_t v = mesh.indices[k];
      if (v < vertices.size()) {
        vertices[v].diffuse = g.diffuse;
        vertices[v].emissive = g.emissive;
      }
    }
  }
  GpuMesh g;
  glGenVertexArrays(1, &g.vao);
  glGenBuffers(1, &g.vbo);
  glGenBuffers(1, &g.ibo);
  glBindVertexArray(g.vao);
  glBindBuffer(GL_ARRAY_BUFFER, g.vbo);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(GpuVertex)),
               vertices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.ibo);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.indices.size() * sizeof(uint32_t)),
               mesh.indices.data(), GL_STATIC_DRAW);
  const auto stride = static_cast<GLsizei>(sizeof(GpuVertex));
  auto attribute = [stride](GLuint index, GLint size, size_t offset) {
    glEnableVertexAttribArray(index);
    glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
  };
  attribute(0, 3, offsetof(GpuVertex, position));
  attribute(1, 3, offsetof(GpuVertex, normal));
  attribute(2, 2, offsetof(GpuVertex, uv));
  attribute(3, 4, offsetof(GpuVertex, diffuse));
  attribute(4, 3, offsetof(GpuVertex, emissive));
  glBindVertexArray(0);
  meshes_[id] = g;
}

void GlRenderer::ReleaseMesh(int32_t id) {
  auto it = meshes_.find(id);
  if (it == meshes_.end()) return;
  MakeCurrent();
  glDeleteVertexArrays(1, &it->second.vao);
  glDeleteBuffers(1, &it->second.vbo);
  glDeleteBuffers(1, &it->second.ibo);
  meshes_.erase(it);
}

void GlRenderer::UploadTexture(int32_t id, const TextureImage& image) {
  MakeCurrent();
  GLuint& t = textures_[id];
  if (t == 0) glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  // Nearest texels: a transparent texel never bleeds into its neighbours.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               image.rgba.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void GlRenderer::ReleaseTexture(int32_t id) {
  auto it = textures_.find(id);
  if (it == textures_.end()) return;
  MakeCurrent();
  glDeleteTextures(1, &it->second);
  textures_.erase(it);
}

void GlRenderer::SetPixelScale(float scale) { scale_ = std::clamp(scale, 0.25f, 4.0f); }

// Binds the picture of the viewport, made anew only when its size changes.
void GlRenderer::Target(const ViewSetup& view) {
  MakeCurrent();
  const int w = std::max(1, static_cast<int>(std::lround(static_cast<float>(view.rect.w) * scale_)));
  const int h = std::max(1, static_cast<int>(std::lround(static_cast<float>(view.rect.h) * scale_)));
  if (w != width_ || h != height_ || fbo_ == 0) {
    if (fbo_ == 0) {
      glGenFramebuffers(1, &fbo_);
      glGenTextures(1, &colour_);
      glGenRenderbuffers(1, &depth_);
    }
    glBindTexture(GL_TEXTURE_2D, colour_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      throw std::runtime_error("the 3D view's picture cannot be made");
    }
    width_ = w;
    height_ = h;
    shown_ = {};
  }
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glViewport(0, 0, width_, height_);
  rect_ = view.rect;
}

void GlRenderer::Clear(const ViewSetup& view, glm::vec3 background) {
  if (!drawing_) return;
  Target(view);
  glDisable(GL_SCISSOR_TEST);
  glDepthMask(GL_TRUE);
  glClearColor(background.r, background.g, background.b, 1);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlRenderer::Draw(const ViewSetup& view, std::span<const DrawItem> items,
                      std::span<const LightItem> lights) {
  if (!drawing_) return;
  Target(view);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  // Faces wound clockwise on screen are the front ones; the others are not drawn.
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glActiveTexture(GL_TEXTURE0);
  const glm::mat4 viewProj = view.projection * view.view;

  // Nearest first, so the depth test spares the floor's pixels under everything else.
  order_.clear();
  for (const DrawItem& item : items) {
    if (!item.data || !Visible(viewProj, item.world, *item.data)) continue;
    const glm::vec4 c = view.view * item.world * glm::vec4(item.data->centre, 1);
    order_.emplace_back(c.z, &item);
  }
  std::sort(order_.begin(), order_.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  GatherBatches();

  // The untextured groups first, then the textured ones, each pass nearest first.
  drawCalls_ = 0;
  glm::mat4 worlds[kBatch];
  glm::mat3 normals[kBatch];
  for (const bool texturedPass : {false, true}) {
    const Program& program = texturedPass ? textured_ : plain_;
    bool used = false;
    for (const Batch& batch : batches_) {
      bool placed = false;
      // Neighbouring groups with the same texture go in one call.
      const auto& groups = batch.data->groups;
      for (size_t a = 0; a < groups.size();) {
        size_t b = a + 1;
        uint32_t count = groups[a].indexCount;
        while (b < groups.size() && groups[b].texture == groups[a].texture &&
               groups[b].firstIndex == groups[a].firstIndex + count) {
          count += groups[b].indexCount;
          ++b;
        }
        auto t = groups[a].texture ? textures_.find(groups[a].texture) : textures_.end();
        const size_t first = a;
        a = b;
        if ((t != textures_.end()) != texturedPass) continue;
        if (!used) {
          UseProgram(program, viewProj, lights);
          used = true;
        }
        if (!placed) {
          for (int i = 0; i < batch.count; ++i) {
            const glm::mat4& world = batchItems_[batch.first + i]->world;
            worlds[i] = world;
            normals[i] = glm::transpose(glm::inverse(glm::mat3(world)));
          }
          glUniformMatrix4fv(program.world, batch.count, GL_FALSE, glm::value_ptr(worlds[0]));
          glUniformMatrix3fv(program.normal, batch.count, GL_FALSE, glm::value_ptr(normals[0]));
          glBindVertexArray(batch.vao);
          placed = true;
        }
        if (texturedPass) glBindTexture(GL_TEXTURE_2D, t->second);
        glDrawElementsInstanced(
            GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
            reinterpret_cast<void*>(static_cast<uintptr_t>(groups[first].firstIndex) * sizeof(uint32_t)),
            batch.count);
        ++drawCalls_;
      }
    }
  }
  glBindVertexArray(0);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
}

// The visible items by mesh: every copy of a mesh (the snow piles) joins the batch of its
// nearest copy, up to kBatch per call; the batches keep the near-first order of their first
// items.
void GlRenderer::GatherBatches() {
  batches_.clear();
  batchOf_.clear();
  for (const auto& [depth, item] : order_) {
    auto it = meshes_.find(item->mesh);
    if (it == meshes_.end()) {
      batchOf_.push_back(-1);
      continue;
    }
    int found = -1;
    for (size_t k = 0; k < batches_.size(); ++k) {
      if (batches_[k].mesh == item->mesh && batches_[k].count < kBatch) {
        found = static_cast<int>(k);
        break;
      }
    }
    if (found < 0) {
      found = static_cast<int>(batches_.size());
      batches_.push_back({item->mesh, item->data, it->second.vao, 0, 0});
    }
    ++batches_[static_cast<size_t>(found)].count;
    batchOf_.push_back(found);
  }
  int first = 0;
  for (Batch& b : batches_) {
    b.first = first;
    first += b.count;
    b.count = 0;
  }
  batchItems_.resize(static_cast<size_t>(first));
  for (size_t i = 0; i < order_.size(); ++i) {
    if (batchOf_[i] < 0) continue;
    Batch& b = batches_[static_cast<size_t>(batchOf_[i])];
    batchItems_[static_cast<size_t>(b.first + b.count++)] = order_[i].second;
  }
}

void GlRenderer::UseProgram(const Program& p, const glm::mat4& viewProj,
                            std::span<const LightItem> lights) {
  glUseProgram(p.id);
  glUniformMatrix4fv(p.viewProj, 1, GL_FALSE, glm::value_ptr(viewProj));
  const int n = std::min<int>(kMaxLights, static_cast<int>(lights.size()));
  glm::vec4 pos[kMaxLights];
  glm::vec3 colour[kMaxLights], dir[kMaxLights];
  glm::vec2 cone[kMaxLights];
  for (int i = 0; i < n; ++i) {
    pos[i] = glm::vec4(lights[i].position, lights[i].kind == LightKind::Spot ? 2.0f : 1.0f);
    colour[i] = lights[i].colour;
    dir[i] = lights[i].direction;
    cone[i] = {lights[i].cosUmbra, lights[i].cosPenumbra};
  }
  glUniform1i(p.lightCount, n);
  if (n > 0) {
    glUniform4fv(p.lightPos, n, glm::value_ptr(pos[0]));
    glUniform3fv(p.lightColour, n, glm::value_ptr(colour[0]));
    glUniform3fv(p.lightDir, n, glm::value_ptr(dir[0]));
    glUniform2fv(p.lightCone, n, glm::value_ptr(cone[0]));
  }
}

void GlRenderer::Update() {
  if (fbo_ == 0 || !drawing_) return;
  shown_ = {colour_, width_, height_, rect_};
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

std::vector<uint8_t> GlRenderer::ReadShown() const {
  std::vector<uint8_t> out;
  if (shown_.texture == 0) return out;
  MakeCurrent();
  std::vector<uint8_t> rgba(static_cast<size_t>(shown_.width) * shown_.height * 4);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, shown_.width, shown_.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  out.resize(static_cast<size_t>(shown_.width) * shown_.height * 3);
  for (int y = 0; y < shown_.height; ++y) {
    const uint8_t* src = rgba.data() + static_cast<size_t>(shown_.height - 1 - y) * shown_.width * 4;
    uint8_t* dst = out.data() + static_cast<size_t>(y) * shown_.width * 3;
    for (int x = 0; x < shown_.width; ++x) {
      dst[x * 3] = src[x * 4];
      dst[x * 3 + 1] = src[x * 4 + 1];
      dst[x * 3 + 2] = src[x * 4 + 2];
    }
  }
  return out;
}

}  // namespace kelmora::platform
