#pragma once
// Owners of dynamic device buffers that know their element type: the members of the caches.
#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"

namespace render {

// Owns one back-end buffer and deletes it.
class BufferHolder {
 public:
  explicit BufferHolder(Buffer* buffer) : mBuffer(buffer) {}
  virtual ~BufferHolder() { delete mBuffer; }
  BufferHolder(const BufferHolder&) = delete;
  BufferHolder& operator=(const BufferHolder&) = delete;

  Buffer* GetBuffer() const { return mBuffer; }

 protected:
  Buffer* mBuffer;
};

template <class Vertex>
class VertexBuffer : public BufferHolder {
 public:
  using Element = Vertex;

  // A dynamic buffer of count vertices; the renderer's code on failure, and no owner.
  static VNResultEnum Create(Render* render, unsigned count, VertexBuffer** out) {
    VertexBufferImpl* impl = nullptr;
    const VNResultEnum result = render->CreateVertexBuffer(Vertex::GetFormat(), count, true, impl);
    if (result != VN_OK) return result;
    *out = new VertexBuffer(impl);
    return VN_OK;
  }
  static unsigned DefaultMainCapacity() { return unsigned(Vertex::GetFormat().GetMainCapacity()); }
  static unsigned DefaultOverflowCapacity() {
    return unsigned(Vertex::GetFormat().GetOverflowCapacity());
  }

  VertexBufferImpl* GetImpl() const { return static_cast<VertexBufferImpl*>(mBuffer); }

 private:
  using BufferHolder::BufferHolder;
};

template <class Index>
class IndexBuffer : public BufferHolder {
 public:
  using Element = Index;

  static VNResultEnum Create(Render* render, unsigned count, IndexBuffer** out) {
    IndexBufferImpl* impl = nullptr;
    const VNResultEnum result = render->CreateIndexBuffer(sizeof(Index), count, true, impl);
    if (result != VN_OK) return result;
    *out = new IndexBuffer(impl);
    return VN_OK;
  }
  // Index caches are always sized by the renderer.
  static unsigned DefaultMainCapacity() { return 0; }
  static unsigned DefaultOverflowCapacity() { return 0; }

  IndexBufferImpl* GetImpl() const { return static_cast<IndexBufferImpl*>(mBuffer); }

 private:
  using BufferHolder::BufferHolder;
};

}  // namespace render
