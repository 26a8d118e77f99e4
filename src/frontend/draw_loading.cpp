#include "frontend/draw_screens.h"
#include "platform/screen.h"

namespace kelmora::frontend {

void DrawLoadingScreen(platform::Screen& screen, Sheets sheets, int picture) {
  screen.Clear();
  screen.Copy(sheets.character, {600 + 100 * picture, 150, 100, 100}, {490, 330, 100, 100});
}

}  // namespace kelmora::frontend
