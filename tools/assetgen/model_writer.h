#pragma once
// Writes a model as a DirectX text .x file ("xof 0303txt 0032"): a Frame per frame with its
// FrameTransformMatrix (row-vector layout: the translation in the last row), a Mesh with
// MeshNormals, MeshMaterialList and, where present, MeshTextureCoords, and for animated
// models one AnimationSet with an Animation per moving frame. The keys are the rotation
// (type 0), scale (type 1) and position (type 2) of the frame at each key time; rotations
// are stored in the format's own quaternion convention (the conjugate of the rotation
// applied to column vectors), so a key equal to the rest pose reads back as the same
// transform as the frame's matrix.
#include <string>

#include "model.h"

namespace assetgen {

std::string WriteXFile(const Model& model);

}  // namespace assetgen
