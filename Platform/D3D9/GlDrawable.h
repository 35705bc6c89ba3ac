#pragma once
// The size of the framebuffer the current GL context draws into when it is the window's own.
#include <SDL.h>

namespace d3d9 {

// The window's drawable as the context sees it: an EGL surface answers for itself (SDL's offscreen
// driver keeps the surface it began with when the window is resized), otherwise SDL's drawable
// size, which a GLX window follows.
void GetWindowFramebufferSize(SDL_Window* window, int& width, int& height);

}  // namespace d3d9
