// The least a start-up to a first picture can cost on this machine: SDL opens the same window
// as the game (640 x 480, OpenGL 3.3 core, double-buffered, 24-bit depth), clears it and shows
// it once, then quits. It links only SDL and epoxy, so the time it takes is that of the
// system's OpenGL driver and of starting a process, with none of the game in it.
// scripts/startup-time.sh runs it beside the game (not run by `make bench`: it needs a display).
#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <ctime>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "blank_window: cannot start SDL video: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window = SDL_CreateWindow("blank", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                        SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    std::fprintf(stderr, "blank_window: cannot open an OpenGL 3.3 window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SDL_GL_SwapWindow(window);
  glFinish();
  timespec now{}, cpu{};
  clock_gettime(CLOCK_REALTIME, &now);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  std::fprintf(stderr, "blank_window: picture 1 shown at %lld.%06ld after %.1f ms of CPU time\n",
               static_cast<long long>(now.tv_sec), now.tv_nsec / 1000,
               static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
