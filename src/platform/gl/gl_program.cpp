#include "platform/gl/gl_program.h"

#include <stdexcept>
#include <string>

namespace kelmora::platform {

namespace {
GLuint Compile(GLenum kind, const char* src, const char* what) {
  GLuint s = glCreateShader(kind);
  glShaderSource(s, 1, &src, nullptr);
  glCompileShader(s);
  GLint ok = 0;
  glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024];
    glGetShaderInfoLog(s, sizeof log, nullptr, log);
    glDeleteShader(s);
    throw std::runtime_error(std::string(what) + ": " + log);
  }
  return s;
}
}  // namespace

GLuint BuildProgram(const char* vertexSource, const char* fragmentSource, const char* what) {
  const GLuint vs = Compile(GL_VERTEX_SHADER, vertexSource, what);
  GLuint fs = 0;
  try {
    fs = Compile(GL_FRAGMENT_SHADER, fragmentSource, what);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  const GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    glDeleteProgram(program);
    throw std::runtime_error(std::string(what) + ": cannot link");
  }
  return program;
}

}  // namespace kelmora::platform
