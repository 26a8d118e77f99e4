#pragma once
// Writes a model as a DirectX .x file, in the binary form the game loads ("xof 0303bin 0032",
// 32-bit floats) or in the text form ("xof 0303txt 0032") for reading by eye: a Frame per frame with its
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

// The text form: numbers as "%.4f".
std::string WriteXFile(const Model& model);
// The binary form of the same file: each float is the one the reader makes of the text
// form's number, so both forms load bit for bit the same.
std::string WriteBinaryXFile(const Model& model);

}  // namespace assetgen
