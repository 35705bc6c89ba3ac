#include <vector>

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

namespace {

GLenum BufferUsage(D3DPOOL pool) { return pool == D3DPOOL_DEFAULT ? GL_STREAM_DRAW : GL_STATIC_DRAW; }

}  // namespace

template <class Interface>
GlBuffer<Interface>::GlBuffer(GlDevice* device, UINT length, D3DPOOL pool, GLenum indexType)
    : GlResource(device, pool), mIndexType(indexType), mLength(length) {
  // Zeros, as a new Direct3D buffer reads before its first write.
  const std::vector<unsigned char> zeros(length, 0);
  glGenBuffers(1, &mName);
  glBindBuffer(GL_ARRAY_BUFFER, mName);
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(length), zeros.data(), BufferUsage(pool));
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

template <class Interface>
GlBuffer<Interface>::~GlBuffer() {
  if (HasContext()) glDeleteBuffers(1, &mName);
}

// The lock maps the GL buffer itself, as Direct3D hands out the memory the device reads: nothing
// is copied at the unlock. A discarding lock drops the old contents, so a draw still reading them
// never stalls the writes; its mapping is for writing, as the buffers are created write-only, yet
// callers read back what they wrote (transforms run on the locked vertices): Mesa maps plain
// memory, which reads back like Direct3D's write-only buffers. Other locks keep the contents.
template <class Interface>
HRESULT GlBuffer<Interface>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
  if (!data || mLocked || offset > mLength || (size != 0 && size > mLength - offset)) {
    return D3DERR_INVALIDCALL;
  }
  const UINT bytes = size != 0 ? size : mLength - offset;
  if (bytes == 0) return D3DERR_INVALIDCALL;
  if (!HasContext()) return D3DERR_DEVICELOST;
  const GLbitfield access = (flags & D3DLOCK_DISCARD) ? GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT
                                                      : GL_MAP_READ_BIT | GL_MAP_WRITE_BIT;
  glBindBuffer(GL_ARRAY_BUFFER, mName);
  void* memory = glMapBufferRange(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(bytes), access);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  if (!memory) return D3DERR_INVALIDCALL;
  mLocked = true;
  *data = memory;
  return D3D_OK;
}

template <class Interface>
HRESULT GlBuffer<Interface>::Unlock() {
  if (!mLocked) return D3DERR_INVALIDCALL;
  mLocked = false;
  if (!HasContext()) return D3DERR_DEVICELOST;
  glBindBuffer(GL_ARRAY_BUFFER, mName);
  // False when the storage was lost while mapped (a mode change): the contents are gone.
  const GLboolean kept = glUnmapBuffer(GL_ARRAY_BUFFER);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return kept ? D3D_OK : D3DERR_DEVICELOST;
}

template class GlBuffer<IDirect3DVertexBuffer9>;
template class GlBuffer<IDirect3DIndexBuffer9>;

}  // namespace d3d9
