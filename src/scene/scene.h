#pragma once
// The retained-mode scene graph of a match: frames under one root, meshes loaded from .x files
// and shown by any number of frames, animated models posed by key time, textures with a
// transparent colour, point and spot lights, and one viewport looking through a camera frame.
// The whole graph lives here, so a test can ask where any frame stands and how it is turned;
// the renderer only draws it.
//
// World: x to the right, y up, z away from the camera (left-handed). A frame's orientation is
// given by its direction (its own +z axis) and its up (its own +y axis); models face their +z.
// Models are DirectX text .x files: frame matrices and vertices in these coordinates, faces
// wound clockwise seen from the front, rotation keys (w, x, y, z) holding the conjugate of the
// quaternion of the frame's rotation (the format's own convention), so a key equal to the rest
// pose gives the frame matrix back.
//
// Handles are plain numbers that are never reused; 0 is empty. Every operation on an empty or
// released handle does nothing (queries answer as for a frame at the origin). A missing or
// unreadable file throws platform::AssetError naming it.
#include <glm/glm.hpp>

#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/renderer.h"
#include "scene/scene_handles.h"

namespace kelmora::scene {

enum class LightKind { Point = 1, Spot = 2 };

class Scene {
 public:
  // Draws with the given renderer (a NullRenderer when none is given).
  explicit Scene(std::unique_ptr<platform::Renderer> renderer = nullptr);
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // --- Device objects: the Retained Mode object, the clipper, the device. Creating the
  // Retained Mode object starts a new scene; releasing it releases every object made since.
  ObjectHandle CreateRetainedMode();
  ObjectHandle CreateClipper();
  ObjectHandle CreateDevice(ObjectHandle clipper, int width, int height);
  // 137: Gouraud shading, lighting on, solid fill (the only quality the renderer has).
  void SetQuality(ObjectHandle device, int quality);

  // --- Frames.
  // A new frame at its parent's origin, unturned; an empty parent makes a root.
  FrameHandle CreateFrame(FrameHandle parent);
  // Places the frame at (x, y, z) in the axes of reference: empty = its parent's, the frame
  // itself = its own (a move along its own axes), another frame = that frame's.
  void SetPosition(FrameHandle frame, FrameHandle reference, double x, double y, double z);
  // SetPosition(p.frame, {}, p.x, p.y, p.z) for each placement in turn, in one call.
  void SetPositions(std::span<const FramePlacement> placements);
  // SetPosition(frames[i], {}, xs[i], y, zs[i]) for each frame in turn (the rows are as long
  // as frames), in one call: a row of frames at whole-number places, all at one height.
  void SetPositions(std::span<const FrameHandle> frames, const int16_t* xs, double y, const int16_t* zs);
  // Turns the frame so its +z points along dir and its +y is up (made square to dir), both
  // given in the axes of reference (empty = its parent's).
  void SetOrientation(FrameHandle frame, FrameHandle reference, glm::dvec3 dir, glm::dvec3 up);
  // Turns the frame towards the target about its x and y axes only (no roll).
  void LookAt(FrameHandle frame, FrameHandle target);
  // The frame shows the mesh (one mesh may be shown by many frames).
  void AddVisual(FrameHandle frame, MeshHandle mesh);
  // The frame carries the light.
  void AddLight(FrameHandle frame, LightHandle light);

  // --- Meshes (mesh builders) and animated models.
  MeshHandle CreateMeshBuilder();
  // Loads a static model: the whole frame hierarchy of the file in one mesh.
  void LoadMesh(MeshHandle mesh, const std::string& path);
  // Every group of the mesh is drawn with the texture.
  void SetTexture(MeshHandle mesh, TextureHandle texture);
  AnimationSetHandle CreateAnimationSet();
  // Loads the model with its frame hierarchy under parentFrame, with its animation keys.
  void LoadAnimationSet(AnimationSetHandle set, const std::string& path, FrameHandle parentFrame);
  // Poses the model at key time t (keys interpolated, times outside the keys clamped).
  void SetTime(AnimationSetHandle set, double t);

  // --- Textures.
  TextureHandle LoadTexture(const std::string& path);
  void SetDecalTransparentColor(TextureHandle texture, int r, int g, int b);
  // With transparency on, texels of the transparent colour are not drawn.
  void SetDecalTransparency(TextureHandle texture, bool on);

  // --- Lights and background.
  LightHandle CreateLight(LightKind kind, double r, double g, double b);
  // Colour behind the scene, 0..1 each.
  void SetSceneBackground(double r, double g, double b);

  // --- Viewport and drawing.
  // The view of camera on the device, rectangle in device pixels (y down).
  ViewportHandle CreateViewport(ObjectHandle device, FrameHandle camera, int x, int y, int width,
                                int height);
  void SetBack(ViewportHandle viewport, double back);
  // Clears the viewport's picture and depth.
  void Clear(ViewportHandle viewport);
  // Draws the frames under root as the viewport's camera sees them.
  void Render(ViewportHandle viewport, FrameHandle root);
  // Shows the rendered picture.
  void Update();

  // --- Release. Releasing a frame releases the frames under it; releasing the Retained
  // Mode object releases everything. Empty or released handles are ignored.
  void Release(ObjectHandle h);
  void Release(FrameHandle h);
  void Release(MeshHandle h);
  void Release(AnimationSetHandle h);
  void Release(TextureHandle h);
  void Release(LightHandle h);
  void Release(ViewportHandle h);

  // --- Queries (tests, screenshots).
  bool Exists(FrameHandle frame) const;
  // Position and axes in world coordinates.
  glm::dvec3 WorldPosition(FrameHandle frame) const;
  glm::dvec3 Direction(FrameHandle frame) const;  // +z axis
  glm::dvec3 Up(FrameHandle frame) const;         // +y axis
  glm::dvec3 Right(FrameHandle frame) const;      // +x axis
  // Position relative to the parent.
  glm::dvec3 Position(FrameHandle frame) const;
  FrameHandle Parent(FrameHandle frame) const;
  std::vector<FrameHandle> Children(FrameHandle frame) const;
  // The frame of an animated model with the given frame name, empty when none.
  FrameHandle FindFrame(AnimationSetHandle set, const std::string& name) const;
  // Meshes shown by the frame.
  std::vector<MeshHandle> Visuals(FrameHandle frame) const;
  const platform::MeshData* Mesh(MeshHandle mesh) const;
  const platform::TextureImage* Texture(TextureHandle texture) const;
  glm::dvec3 Background() const { return background_; }
  // Rectangle (x, y, width, height) and back plane of a viewport; zeros when released.
  platform::Rect ViewportRect(ViewportHandle viewport) const;
  double ViewportBack(ViewportHandle viewport) const;
  // Number of live objects of every kind (the release tests).
  size_t ObjectCount() const;

  // Where a world point lands in the viewport's rectangle, in device pixels (y down); the
  // third value is the distance ahead of the camera (negative when behind).
  glm::dvec3 Project(ViewportHandle viewport, glm::dvec3 world) const;

  platform::Renderer& renderer() { return *renderer_; }

  // The lens: front plane at 1, half the width of the view at distance 1.
  static constexpr double kFront = 1.0;
  static constexpr double kHalfWidth = 0.5;

  struct Impl;

 private:
  std::unique_ptr<platform::Renderer> renderer_;
  std::unique_ptr<Impl> impl_;
  glm::dvec3 background_{0, 0, 0};
};

// Model and texture files are parsed once per run and kept; this drops the kept copies, so
// the next load of each file parses it again (measurements of a first load). Parsing ahead
// is stopped first.
void ForgetParsedFiles();

// Files to parse ahead, into the same kept copies the loads read, on a thread of its own: a
// load waits only for a file that thread is parsing at the time. A file that fails there is
// left for its load, which parses it again and reports it.
enum class FileKind { StaticModel, AnimatedModel, Texture };
struct FileToParse {
  FileKind kind;
  std::string path;
};
// `soon`: the files go before those already waiting, taken from the last one back, so that
// a caller loading them from the first meets the thread half way. Otherwise after them.
void ParseAhead(const std::vector<FileToParse>& files, bool soon);
// Drops the files still waiting and waits for the one being parsed, if any.
void StopParsingAhead();
// Model and texture parses begun in this run, on any thread (tests).
size_t FilesParsed();

}  // namespace kelmora::scene
