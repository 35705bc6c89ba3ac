#include "Platform/D3D9/GlReadback.h"

#include "Platform/D3D9/GlDevice.h"

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
  // Every target, the back buffer too, is a texture stored top row first.
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glBindTexture(GL_TEXTURE_2D, texture ? texture->GetName() : glSurface->GetDevice()->GetBackBufferName());
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return D3D_OK;
}

}  // namespace d3d9
