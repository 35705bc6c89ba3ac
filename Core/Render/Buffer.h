#pragma once
#include <cstddef>

#include "Core/Base/Result.h"

namespace render {

class Render;
class VertexFormat;

// A device vertex or index buffer as the renderer and the caches see it. Registers with its
// renderer for its whole life, so that a lost device can release and a reset one restore it.
class Buffer {
  friend class Render;  // detaches the buffers that outlive it

 public:
  explicit Buffer(Render* owner);
  virtual ~Buffer();
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  // Locks the whole buffer for writing, discarding its contents; used = 0. 1 when there is no
  // device buffer or it is locked already.
  virtual VNResultEnum Lock() = 0;
  // 1 when there is no device buffer or it is not locked.
  virtual VNResultEnum Unlock() = 0;
  // Re-creates a dynamic buffer after a device reset (contents lost).
  virtual VNResultEnum Restore() = 0;
  // Frees a dynamic buffer's device memory before a reset.
  virtual VNResultEnum Release() = 0;
  // True when there is no device buffer or it is not locked.
  virtual bool IsNotReady() = 0;

  // Hands out the next n elements of the locked memory: data points at the first, used grows.
  // 1 when the buffer is not ready or fewer than n elements are left (then used stops at capacity).
  // Inline: every draw takes its vertices and indices through here.
  VNResultEnum Allocate(unsigned n, void** data) {
    if (IsNotReady()) return VN_FAIL;
    unsigned given = 0;
    *data = nullptr;
    if (mUsed < mCapacity) {
      given = n < mCapacity - mUsed ? n : mCapacity - mUsed;
      *data = TakeRoom(given);
    }
    return given == n ? VN_OK : VN_FAIL;
  }
  // The next n elements of a locked buffer that has room for them: the caches' inline path, which
  // checked both (a locked buffer has its device buffer, so it is ready).
  void* TakeRoom(unsigned n) {
    void* data = static_cast<unsigned char*>(mData) + size_t(mUsed) * mElementSize;
    mUsed += n;
    return data;
  }

  Render* GetOwner() const { return mOwner; }
  unsigned GetElementSize() const { return mElementSize; }
  unsigned GetCapacity() const { return mCapacity; }
  unsigned GetUsed() const { return mUsed; }
  bool IsLocked() const { return mLocked; }

 protected:
  Render* mOwner;             // null once the renderer is gone
  unsigned mElementSize = 0;  // vertex stride, or 2 or 4 bytes per index
  unsigned mCapacity = 0;     // elements
  bool mLocked = false;
  void* mData = nullptr;      // the locked memory
  unsigned mUsed = 0;         // elements handed out since the lock
};

class VertexBufferImpl : public Buffer {
 public:
  using Buffer::Buffer;
  // 1 when a device buffer exists already.
  virtual VNResultEnum Create(const VertexFormat& format, unsigned count, bool dynamic) = 0;
  // The registered vertex format of the vertices; the renderer records a format change with it.
  int GetFormatId() const { return mFormatId; }

 protected:
  int mFormatId = -1;
};

class IndexBufferImpl : public Buffer {
 public:
  using Buffer::Buffer;
  // size: 2 or 4 bytes per index. 1 when a device buffer exists already.
  virtual VNResultEnum Create(unsigned size, unsigned count, bool dynamic) = 0;
};

}  // namespace render
