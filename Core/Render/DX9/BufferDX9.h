#pragma once
// Direct3D 9 vertex and index buffers. Static ones live in the managed pool; dynamic ones in the
// default pool, released when the device is lost and made again (empty) after the reset.
#include "Core/Render/Buffer.h"
#include "Platform/D3D9/D3D9.h"

namespace render {

class RenderDX9;

// What both kinds share: lock, unlock, release and restore of the device buffer.
template <class Base, class DeviceBuffer>
class BufferDX9 : public Base {
 public:
  explicit BufferDX9(RenderDX9* backEnd);
  ~BufferDX9() override;

  VNResultEnum Lock() override;
  VNResultEnum Unlock() override;
  VNResultEnum Restore() override;
  VNResultEnum Release() override;
  bool IsNotReady() override { return !mBuffer || !this->mLocked; }

  DeviceBuffer* GetDeviceBuffer() const { return mBuffer; }

 protected:
  // Makes the device buffer from the stored count, size and usage.
  virtual d3d9::HRESULT CreateDeviceBuffer(d3d9::DWORD usage, d3d9::D3DPOOL pool) = 0;
  VNResultEnum CreateStored();

  RenderDX9* mBackEnd;
  DeviceBuffer* mBuffer = nullptr;
  bool mDynamic = false;
};

class VertexBufferImplDX9 : public BufferDX9<VertexBufferImpl, d3d9::IDirect3DVertexBuffer9> {
 public:
  using BufferDX9::BufferDX9;
  VNResultEnum Create(const VertexFormat& format, unsigned count, bool dynamic) override;

 private:
  d3d9::HRESULT CreateDeviceBuffer(d3d9::DWORD usage, d3d9::D3DPOOL pool) override;

  uint32_t mFvf = 0;
};

class IndexBufferImplDX9 : public BufferDX9<IndexBufferImpl, d3d9::IDirect3DIndexBuffer9> {
 public:
  using BufferDX9::BufferDX9;
  VNResultEnum Create(unsigned size, unsigned count, bool dynamic) override;

 private:
  d3d9::HRESULT CreateDeviceBuffer(d3d9::DWORD usage, d3d9::D3DPOOL pool) override;
};

}  // namespace render
