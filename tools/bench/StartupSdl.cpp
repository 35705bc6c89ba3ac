// The anchor: a bare SDL program that opens a 1366x768 OpenGL 3.3 core window, presents one
// cleared frame, waits for it to finish and prints "presented".
#include <SDL.h>

#include <cstdio>

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_Window* window = SDL_CreateWindow("Startup anchor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1366, 768,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) return 1;
  using ClearColor = void (*)(float, float, float, float);
  using Clear = void (*)(unsigned);
  using Finish = void (*)();
  auto clearColor = reinterpret_cast<ClearColor>(SDL_GL_GetProcAddress("glClearColor"));
  auto clear = reinterpret_cast<Clear>(SDL_GL_GetProcAddress("glClear"));
  auto finish = reinterpret_cast<Finish>(SDL_GL_GetProcAddress("glFinish"));
  clearColor(0.0f, 0.0f, 0.0f, 1.0f);
  clear(0x00004000);  // GL_COLOR_BUFFER_BIT
  SDL_GL_SwapWindow(window);
  finish();
  std::printf("presented\n");
  std::fflush(stdout);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
