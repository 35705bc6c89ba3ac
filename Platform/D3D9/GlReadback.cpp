#include "Platform/D3D9/GlReadback.h"

#include <algorithm>

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

HRESULT ReadSurfacePixels(IDirect3DSurface9* surface, std::vector<DWORD>& pixels) {
  if (!surface) return D3DERR_INVALIDCALL;
  auto* glSurface = static_cast<GlSurface*>(surface);
  const UINT width = glSurface->GetWidth(), height = glSurface->GetHeight();
  pixels.assign(size_t(width) * height, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (GlTexture* texture = glSurface->GetTexture()) {
    // Textures are stored top row first.
    glBindTexture(GL_TEXTURE_2D, texture->GetName());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return D3D_OK;
  }
  GLint framebuffer = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &framebuffer);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  std::vector<DWORD> bottomUp(pixels.size());
  glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
               bottomUp.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(framebuffer));
  for (UINT row = 0; row < height; ++row) {
    std::copy_n(bottomUp.begin() + ptrdiff_t(size_t(height - 1 - row) * width), width,
                pixels.begin() + ptrdiff_t(size_t(row) * width));
  }
  return D3D_OK;
}

}  // namespace d3d9
