#include "Core/Base/StreamCreator.h"

#include <memory>
#include <new>

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"

namespace base {

VNResultEnum FileStreamCreator::Create(Stream** out) {
  std::unique_ptr<FileStream> stream(new (std::nothrow) FileStream);
  if (!stream || stream->GetHandle().Open(mPath, mAccess, mDisposition) != VN_OK) return VN_FAIL;
  *out = stream.release();
  return VN_OK;
}

FrameStreamCreator::~FrameStreamCreator() {
  if (mOwnsInner) delete mInner;
}

VNResultEnum FrameStreamCreator::Create(Stream** out) {
  if (!mInner) return VN_FAIL;
  Stream* inner = nullptr;
  const VNResultEnum result = mInner->Create(&inner);
  if (result != VN_OK) return result;
  auto* frame = new (std::nothrow) FrameStream(inner, true, mOffset, mSize);
  if (!frame) {
    delete inner;
    return VN_FAIL;
  }
  *out = frame;
  return VN_OK;
}

}  // namespace base
