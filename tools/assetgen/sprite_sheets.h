#pragma once
// The two sprite sheets as images (GenerateSpriteSheets encodes them as BMP files).
#include "bmp.h"

namespace assetgen {

Image MenuSheetImage();       // 345 x 490
Image CharacterSheetImage();  // 900 x 325

}  // namespace assetgen
