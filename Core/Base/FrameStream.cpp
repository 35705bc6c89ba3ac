#include "Core/Base/FrameStream.h"

#include <algorithm>
#include <cstdint>

#include "Core/Base/MemoryStream.h"

namespace base {

FrameStream::FrameStream(Stream* inner, bool ownsInner, unsigned offset, unsigned size)
    : mInner(inner), mOwnsInner(ownsInner), mOffset(offset), mSize(size) {}

FrameStream::~FrameStream() {
  if (mOwnsInner) delete mInner;
}

unsigned FrameStream::Read(void* buffer, unsigned n) {
  if (!mInner) return 0;
  // In 64 bits: offset + position may pass 4 GiB, which must not wrap to the inner stream's start.
  const std::uint64_t start = std::uint64_t{mOffset} + mPosition;
  const std::uint64_t innerSize = mInner->GetSize();
  if (start >= innerSize) return 0;
  // Nothing outside the inner stream, nothing outside the window.
  const auto k = static_cast<unsigned>(std::min<std::uint64_t>({n, mSize - mPosition, innerSize - start}));
  // The inner seek takes a signed offset: a window start beyond 2 GiB cannot be reached.
  if (k == 0 || start > 0x7FFFFFFFu || mInner->Seek(static_cast<int>(start), kBegin) != start) return 0;
  const unsigned got = mInner->Read(buffer, k);
  mPosition += got;
  return got;
}

unsigned FrameStream::Seek(int offset, int origin) {
  mPosition = ClampedSeek(mPosition, mSize, offset, origin);
  return mPosition;
}

}  // namespace base
