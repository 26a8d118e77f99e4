#pragma once
// Compiling and linking a vertex and fragment shader pair.
#include <epoxy/gl.h>

namespace kelmora::platform {

// The linked program; throws std::runtime_error with `what` and the driver's log on failure.
GLuint BuildProgram(const char* vertexSource, const char* fragmentSource, const char* what);

}  // namespace kelmora::platform
