#pragma once
// Under the leak checker the OpenGL driver must stay loaded until the program ends: SDL
// unloads it when the last window closes, and the few bytes the driver never frees would then
// be reported from a library that is gone, with no name a suppression could match.

namespace kelmora::platform {

// In a build with the address sanitizer, marks every library loaded so far (the driver that
// the context just made brought in among them) as never to be unloaded; elsewhere nothing.
void KeepGlDriverLoaded();

}  // namespace kelmora::platform
