#include "Platform/D3D9/GlDrawable.h"

#include <epoxy/egl.h>

namespace d3d9 {

void GetWindowFramebufferSize(SDL_Window* window, int& width, int& height) {
  if (epoxy_has_egl() && eglGetCurrentContext() != EGL_NO_CONTEXT) {
    EGLint surfaceWidth = 0, surfaceHeight = 0;
    const EGLDisplay display = eglGetCurrentDisplay();
    const EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    if (eglQuerySurface(display, surface, EGL_WIDTH, &surfaceWidth) &&
        eglQuerySurface(display, surface, EGL_HEIGHT, &surfaceHeight)) {
      width = surfaceWidth;
      height = surfaceHeight;
      return;
    }
  }
  SDL_GL_GetDrawableSize(window, &width, &height);
}

}  // namespace d3d9
