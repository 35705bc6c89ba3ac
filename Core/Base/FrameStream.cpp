#include "Core/Base/FrameStream.h"

#include <algorithm>

#include "Core/Base/MemoryStream.h"

namespace base {

FrameStream::FrameStream(Stream* inner, bool ownsInner, unsigned offset, unsigned size)
    : mInner(inner), mOwnsInner(ownsInner), mOffset(offset), mSize(size) {}

FrameStream::~FrameStream() {
  if (mOwnsInner) delete mInner;
}

unsigned FrameStream::Read(void* buffer, unsigned n) {
  const unsigned k = std::min(n, mSize - mPosition);
  if (k == 0 || !mInner) return 0;
  // The inner seek takes a signed offset: a window start beyond 2 GiB cannot be reached.
  const unsigned start = mOffset + mPosition;
  if (start > 0x7FFFFFFFu || mInner->Seek(static_cast<int>(start), kBegin) != start) return 0;
  const unsigned got = mInner->Read(buffer, k);
  mPosition += got;
  return got;
}

unsigned FrameStream::Seek(int offset, int origin) {
  mPosition = ClampedSeek(mPosition, mSize, offset, origin);
  return mPosition;
}

}  // namespace base
