#pragma once
// Screenshots of the whole logical screen: the 2D surface with the 3D view in Picture2.
#include <string>
#include <vector>

namespace kelmora::platform {

class Screen;
class GlRenderer;

// The logical screen as RGB rows, top row first: while Picture2 is shown it is black with the
// renderer's last shown picture in its viewport (view may be null: no 3D view), and the
// overlay laid over it all while it is shown.
std::vector<uint8_t> ComposeScreen(const Screen& screen, const GlRenderer* view);
// Writes the composed screen as a PNG; false (with errno-style text in why) when it cannot.
bool WriteScreenshot(const Screen& screen, const GlRenderer* view, const std::string& file,
                     std::string& why);

}  // namespace kelmora::platform
