#include "Core/Render/BufferDoubleCache.h"

namespace render {

BufferDoubleCacheBase::~BufferDoubleCacheBase() {
  delete mMain[0];
  delete mMain[1];
  mBegun = false;
  ReleaseOverflow();
}

VNResultEnum BufferDoubleCacheBase::Begin() {
  if (mBegun) return VN_FAIL;
  mBegun = true;
  mScanFrom = 0;
  mScanSize = 0;
  return VN_OK;
}

VNResultEnum BufferDoubleCacheBase::End() {
  if (!mBegun) return VN_FAIL;
  mBegun = false;
  VNResultEnum result = VN_OK;
  auto unlock = [&](const Pair& pair) {
    Buffer* buffer = pair[size_t(mSelector)]->GetBuffer();
    if (buffer->IsLocked() && buffer->Unlock() != VN_OK) result = VN_FAIL;
  };
  unlock(mMain);
  for (const Pair& pair : mOverflow) unlock(pair);
  return result;
}

VNResultEnum BufferDoubleCacheBase::ReleaseOverflow() {
  if (mBegun) return VN_FAIL;
  for (Pair& pair : mOverflow) {
    delete pair[0];
    delete pair[1];
  }
  mOverflow.clear();
  mScanFrom = 0;
  mScanSize = 0;
  return VN_OK;
}

VNResultEnum BufferDoubleCacheBase::InitPairs(unsigned mainCapacity, unsigned overflowCapacity) {
  const VNResultEnum result = CreatePair(mainCapacity, mMain);
  if (result != VN_OK) return result;
  mOverflowCapacity = overflowCapacity;
  return VN_OK;
}

VNResultEnum BufferDoubleCacheBase::AllocateElementsSlow(unsigned n, void** data, unsigned& start,
                                                         BufferHolder*& owner) {
  *data = nullptr;
  if (!mBegun) return VN_FAIL;
  const size_t selector = size_t(mSelector);
  auto hasRoom = [n](const BufferHolder* holder) {
    const Buffer* buffer = holder->GetBuffer();
    return buffer->GetCapacity() - buffer->GetUsed() >= n;
  };
  owner = nullptr;
  if (hasRoom(mMain[selector])) {
    owner = mMain[selector];
  } else {
    // The first overflow pair with room, in creation order.
    size_t index = n >= mScanSize ? mScanFrom : 0;
    while (index < mOverflow.size() && !hasRoom(mOverflow[index][selector])) ++index;
    mScanFrom = index;
    mScanSize = n;
    if (index < mOverflow.size()) owner = mOverflow[index][selector];
  }
  if (!owner) {
    if (n > mOverflowCapacity) return VN_FAIL;
    Pair pair = {};
    const VNResultEnum result = CreatePair(mOverflowCapacity, pair);
    if (result != VN_OK) {
      delete pair[0];
      delete pair[1];
      return result;
    }
    mOverflow.push_back(pair);
    owner = pair[selector];
  }
  Buffer* buffer = owner->GetBuffer();
  // A buffer that fails to lock is not ready: the allocation below fails.
  if (!buffer->IsLocked()) buffer->Lock();
  start = buffer->GetUsed();
  return buffer->Allocate(n, data);
}

}  // namespace render
