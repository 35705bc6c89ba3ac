#include <algorithm>

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

namespace {

GLenum CompressedFormat(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_DXT1: return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case D3DFMT_DXT3: return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    default: return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
  }
}

}  // namespace

GlResource::GlResource(GlDevice* device, D3DPOOL pool)
    : mDevice(device), mPool(pool), mLife(device->GetContextLife()) {
  mDevice->Attach(this);
}

GlResource::~GlResource() {
  if (mDevice) mDevice->Detach(this);
}

ULONG GlSurface::AddRef() { return mTexture ? mTexture->AddRef() : mDevice->AddRef(); }

ULONG GlSurface::Release() { return mTexture ? mTexture->Release() : mDevice->Release(); }

UINT GlSurface::GetWidth() const {
  return mTexture ? mTexture->GetWidth() : mDevice->GetBackBufferWidth();
}

UINT GlSurface::GetHeight() const {
  return mTexture ? mTexture->GetHeight() : mDevice->GetBackBufferHeight();
}

GlTexture::GlTexture(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool)
    : GlResource(device, pool),
      mWidth(width),
      mHeight(height),
      mLevels(levels),
      mUsage(usage),
      mFormat(format),
      mSurface(device, this),
      mStaging(levels),
      mLocked(levels, false) {
  glGenTextures(1, &mName);
  glBindTexture(GL_TEXTURE_2D, mName);
  // Only the levels that exist: a texture with fewer levels than a full chain stays complete.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels) - 1);
  if (format == D3DFMT_X8R8G8B8) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE);
  for (UINT level = 0; level < levels; ++level) {
    const GLsizei w = GLsizei(LevelWidth(level)), h = GLsizei(LevelHeight(level));
    if (IsCompressed()) {
      const std::vector<unsigned char> zero(LevelPitch(level) * LevelRows(level), 0);
      glCompressedTexImage2D(GL_TEXTURE_2D, GLint(level), CompressedFormat(format), w, h, 0,
                             GLsizei(zero.size()), zero.data());
    } else {
      glTexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA8, w, h, 0, GL_BGRA,
                   GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

GlTexture::~GlTexture() {
  if (!HasContext()) return;
  if (mFramebuffer) glDeleteFramebuffers(1, &mFramebuffer);
  glDeleteTextures(1, &mName);
}

UINT GlTexture::LevelWidth(UINT level) const { return std::max(1u, mWidth >> level); }

UINT GlTexture::LevelHeight(UINT level) const { return std::max(1u, mHeight >> level); }

UINT GlTexture::LevelPitch(UINT level) const {
  if (!IsCompressed()) return LevelWidth(level) * 4;
  return (LevelWidth(level) + 3) / 4 * BlockBytes();
}

UINT GlTexture::LevelRows(UINT level) const {
  return IsCompressed() ? (LevelHeight(level) + 3) / 4 : LevelHeight(level);
}

HRESULT GlTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
  // Only level 0 is ever drawn into or named as a target.
  if (level != 0 || !surface) return D3DERR_INVALIDCALL;
  mSurface.AddRef();
  *surface = &mSurface;
  return D3D_OK;
}

HRESULT GlTexture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  const bool lockable = GetPool() != D3DPOOL_DEFAULT || (mUsage & D3DUSAGE_DYNAMIC);
  if (!locked || level >= mLevels || mLocked[level] || !lockable) return D3DERR_INVALIDCALL;
  if (!HasContext()) return D3DERR_DEVICELOST;
  const UINT pitch = LevelPitch(level);
  if (rect && (rect->left < 0 || rect->top < 0 || rect->right <= rect->left ||
               rect->bottom <= rect->top || UINT(rect->right) > LevelWidth(level) ||
               UINT(rect->bottom) > LevelHeight(level))) {
    return D3DERR_INVALIDCALL;
  }
  std::vector<unsigned char>& staging = mStaging[level];
  staging.resize(size_t(pitch) * LevelRows(level));
  if (!(flags & D3DLOCK_DISCARD)) {
    // Keep what the level holds: only part of it may be rewritten.
    glBindTexture(GL_TEXTURE_2D, mName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (IsCompressed()) {
      glGetCompressedTexImage(GL_TEXTURE_2D, GLint(level), staging.data());
    } else {
      glGetTexImage(GL_TEXTURE_2D, GLint(level), GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                    staging.data());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  size_t offset = 0;
  if (rect) {
    offset = IsCompressed() ? size_t(rect->top / 4) * pitch + size_t(rect->left / 4) * BlockBytes()
                            : size_t(rect->top) * pitch + size_t(rect->left) * 4;
  }
  mLocked[level] = true;
  locked->Pitch = int(pitch);
  locked->pBits = staging.data() + offset;
  return D3D_OK;
}

HRESULT GlTexture::UnlockRect(UINT level) {
  if (level >= mLevels || !mLocked[level]) return D3DERR_INVALIDCALL;
  mLocked[level] = false;
  std::vector<unsigned char>& staging = mStaging[level];
  if (!HasContext()) return D3DERR_DEVICELOST;
  const GLsizei w = GLsizei(LevelWidth(level)), h = GLsizei(LevelHeight(level));
  glBindTexture(GL_TEXTURE_2D, mName);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (IsCompressed()) {
    glCompressedTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, w, h, CompressedFormat(mFormat),
                              GLsizei(staging.size()), staging.data());
  } else {
    glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, w, h, GL_BGRA,
                    GL_UNSIGNED_INT_8_8_8_8_REV, staging.data());
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  // A dynamic texture is locked every frame: keep its memory.
  if (!(mUsage & D3DUSAGE_DYNAMIC)) std::vector<unsigned char>().swap(staging);
  return D3D_OK;
}

GLuint GlTexture::GetFramebuffer() {
  if (mFramebuffer || !IsRenderTarget() || !HasContext()) return mFramebuffer;
  glGenFramebuffers(1, &mFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, mName, 0);
  if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    glDeleteFramebuffers(1, &mFramebuffer);
    mFramebuffer = 0;
  }
  return mFramebuffer;
}

}  // namespace d3d9
