#pragma once
// What the picture reader (SDL) is not asked to take: a .bmp whose header promises more
// texels than a texture may have, or more than the file holds. SDL would first make room
// for all of them, gigabytes for a damaged header.
#include <string>
#include <string_view>

namespace kelmora::scene {

// Largest width and height of a texture.
inline constexpr int kLargestTexture = 16384;

// What is wrong with the .bmp file bytes, or "" when they can be handed to the reader
// (which still refuses what it finds wrong itself).
std::string BmpProblem(std::string_view bytes);

}  // namespace kelmora::scene
