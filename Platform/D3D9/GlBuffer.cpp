#include <cstring>

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

template <class Interface>
GlBuffer<Interface>::GlBuffer(GlDevice* device, UINT length, D3DPOOL pool, GLenum indexType)
    : GlResource(device, pool), mIndexType(indexType), mStaging(length, 0) {
  glGenBuffers(1, &mName);
  glBindBuffer(GL_ARRAY_BUFFER, mName);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(length), nullptr,
               pool == D3DPOOL_DEFAULT ? GL_STREAM_DRAW : GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

template <class Interface>
GlBuffer<Interface>::~GlBuffer() {
  if (HasContext()) glDeleteBuffers(1, &mName);
}

template <class Interface>
HRESULT GlBuffer<Interface>::Lock(UINT offset, UINT size, void** data, DWORD) {
  if (!data || mLocked || offset > mStaging.size() ||
      (size != 0 && size > mStaging.size() - offset)) {
    return D3DERR_INVALIDCALL;
  }
  mLocked = true;
  *data = mStaging.data() + offset;
  return D3D_OK;
}

template <class Interface>
HRESULT GlBuffer<Interface>::Unlock() {
  if (!mLocked) return D3DERR_INVALIDCALL;
  mLocked = false;
  if (!HasContext()) return D3DERR_DEVICELOST;
  // A fresh store each time, so a draw still reading the old contents never stalls the upload.
  glBindBuffer(GL_ARRAY_BUFFER, mName);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mStaging.size()), mStaging.data(),
               GetPool() == D3DPOOL_DEFAULT ? GL_STREAM_DRAW : GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return D3D_OK;
}

template class GlBuffer<IDirect3DVertexBuffer9>;
template class GlBuffer<IDirect3DIndexBuffer9>;

}  // namespace d3d9
