#include "Platform/D3D9/GlReadback.h"

#include "Platform/D3D9/GlDevice.h"

#include <algorithm>

namespace d3d9 {

HRESULT ReadSurfacePixels(IDirect3DSurface9* surface, std::vector<DWORD>& pixels) {
  if (!surface) return D3DERR_INVALIDCALL;
  auto* glSurface = static_cast<GlSurface*>(surface);
  GlTexture* texture = glSurface->GetTexture();
  if (texture ? !texture->HasContext() : !glSurface->GetDevice()->HasContext()) {
    return D3DERR_DEVICELOST;
  }
  const UINT width = glSurface->GetWidth(), height = glSurface->GetHeight();
  pixels.assign(size_t(width) * height, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  const GLuint name = texture ? texture->GetName() : glSurface->GetDevice()->GetBackBufferName();
  if (name) {
    // A texture stored top row first.
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return D3D_OK;
  }
  // The back buffer in the window's framebuffer, whose rows GL counts from the bottom.
  GLint bound = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(bound));
  for (UINT top = 0, bottom = height; top + 1 < bottom; ++top, --bottom) {
    std::swap_ranges(pixels.begin() + ptrdiff_t(top) * width, pixels.begin() + ptrdiff_t(top + 1) * width,
                     pixels.begin() + ptrdiff_t(bottom - 1) * width);
  }
  return D3D_OK;
}

}  // namespace d3d9
