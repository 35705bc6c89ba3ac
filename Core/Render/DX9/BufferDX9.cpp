#include "Core/Render/DX9/BufferDX9.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/VertexFormat.h"

namespace render {

using namespace d3d9;

template <class Base, class DeviceBuffer>
BufferDX9<Base, DeviceBuffer>::BufferDX9(RenderDX9* backEnd) : Base(backEnd), mBackEnd(backEnd) {}

template <class Base, class DeviceBuffer>
BufferDX9<Base, DeviceBuffer>::~BufferDX9() {
  if (mBuffer) mBuffer->Release();
}

template <class Base, class DeviceBuffer>
VNResultEnum BufferDX9<Base, DeviceBuffer>::CreateStored() {
  const DWORD usage = mDynamic ? D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY : D3DUSAGE_WRITEONLY;
  const HRESULT result = CreateDeviceBuffer(usage, mDynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED);
  if (win32::FAILED(result)) {
    mBuffer = nullptr;
    return VN_FAIL;
  }
  return VN_OK;
}

template <class Base, class DeviceBuffer>
VNResultEnum BufferDX9<Base, DeviceBuffer>::Lock() {
  if (!mBuffer || this->mLocked) return VN_FAIL;
  if (win32::FAILED(mBuffer->Lock(0, 0, &this->mData, D3DLOCK_DISCARD))) return VN_FAIL;
  this->mLocked = true;
  this->mUsed = 0;
  return VN_OK;
}

template <class Base, class DeviceBuffer>
VNResultEnum BufferDX9<Base, DeviceBuffer>::Unlock() {
  if (!mBuffer || !this->mLocked) return VN_FAIL;
  if (win32::FAILED(mBuffer->Unlock())) return VN_FAIL;
  this->mLocked = false;
  this->mUsed = 0;
  this->mData = nullptr;
  return VN_OK;
}

template <class Base, class DeviceBuffer>
VNResultEnum BufferDX9<Base, DeviceBuffer>::Release() {
  if (mDynamic && mBuffer) {
    mBuffer->Release();
    mBuffer = nullptr;
    // The memory of a lock went with the buffer.
    this->mLocked = false;
    this->mUsed = 0;
    this->mData = nullptr;
  }
  return VN_OK;
}

template <class Base, class DeviceBuffer>
VNResultEnum BufferDX9<Base, DeviceBuffer>::Restore() {
  if (!mDynamic || mBuffer) return VN_OK;
  return CreateStored();
}

VNResultEnum VertexBufferImplDX9::Create(const VertexFormat& format, unsigned count,
                                         bool dynamic) {
  if (mBuffer) return VN_FAIL;
  mDynamic = dynamic;
  mCapacity = count;
  mElementSize = unsigned(format.GetStride());
  mFormatId = format.GetId();
  mFvf = format.GetFvf();
  return CreateStored();
}

HRESULT VertexBufferImplDX9::CreateDeviceBuffer(DWORD usage, D3DPOOL pool) {
  return mBackEnd->GetDevice()->CreateVertexBuffer(mCapacity * mElementSize, usage, mFvf, pool,
                                                   &mBuffer, nullptr);
}

VNResultEnum IndexBufferImplDX9::Create(unsigned size, unsigned count, bool dynamic) {
  mDynamic = dynamic;
  if (mBuffer) return VN_FAIL;
  mCapacity = count;
  mElementSize = size;
  return CreateStored();
}

HRESULT IndexBufferImplDX9::CreateDeviceBuffer(DWORD usage, D3DPOOL pool) {
  return mBackEnd->GetDevice()->CreateIndexBuffer(mCapacity * mElementSize, usage,
                                                  mElementSize == 4 ? D3DFMT_INDEX32
                                                                    : D3DFMT_INDEX16,
                                                  pool, &mBuffer, nullptr);
}

template class BufferDX9<VertexBufferImpl, IDirect3DVertexBuffer9>;
template class BufferDX9<IndexBufferImpl, IDirect3DIndexBuffer9>;

}  // namespace render
