#include "Core/Render/Buffer.h"

#include <algorithm>

#include "Core/Render/Render.h"

namespace render {

Buffer::Buffer(Render* owner) : mOwner(owner) { mOwner->AddBuffer(this); }

Buffer::~Buffer() {
  if (mOwner) mOwner->RemoveBuffer(this);
}

VNResultEnum Buffer::Allocate(unsigned n, void** data) {
  if (IsNotReady()) return VN_FAIL;
  unsigned given = 0;
  *data = nullptr;
  if (mUsed < mCapacity) {
    *data = static_cast<unsigned char*>(mData) + size_t(mUsed) * mElementSize;
    given = std::min(n, mCapacity - mUsed);
    mUsed += given;
  }
  return given == n ? VN_OK : VN_FAIL;
}

}  // namespace render
