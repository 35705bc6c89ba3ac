#include "Core/Base/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace base {

unsigned ClampedSeek(unsigned position, unsigned size, int offset, int origin) {
  long long target;
  switch (origin) {
    case Stream::kBegin: target = offset; break;
    case Stream::kCurrent: target = static_cast<long long>(position) + offset; break;
    case Stream::kEnd: target = static_cast<long long>(size) - 1 + offset; break;
    default: target = position; break;
  }
  return static_cast<unsigned>(std::clamp<long long>(target, 0, size));
}

MemoryStream::MemoryStream(const void* bytes, unsigned n) {
  Resize(n, false);
  if (mSize == n && n > 0) std::memcpy(mBuffer, bytes, n);
}

MemoryStream::~MemoryStream() { delete[] mBuffer; }

unsigned MemoryStream::Read(void* buffer, unsigned n) {
  const unsigned k = std::min(n, mSize - mPosition);
  if (k > 0) std::memcpy(buffer, mBuffer + mPosition, k);
  mPosition += k;
  return k;
}

unsigned MemoryStream::Write(const void* buffer, unsigned n) {
  if (n > mSize - mPosition) {
    if (n > 0xFFFFFFFFu - mPosition) return 0;
    Resize(mPosition + n, true);
    if (n > mSize - mPosition) return 0;
  }
  if (n > 0) std::memcpy(mBuffer + mPosition, buffer, n);
  mPosition += n;
  return n;
}

unsigned MemoryStream::Seek(int offset, int origin) {
  mPosition = ClampedSeek(mPosition, mSize, offset, origin);
  return mPosition;
}

void MemoryStream::Resize(unsigned newSize, bool keep) {
  unsigned char* block = nullptr;
  if (newSize > 0) {
    block = new (std::nothrow) unsigned char[newSize];
    if (!block) return;
  }
  if (keep && mBuffer && block) std::memcpy(block, mBuffer, std::min(mSize, newSize));
  delete[] mBuffer;
  mBuffer = block;
  mSize = newSize;
  mPosition = std::min(mPosition, newSize);
}

}  // namespace base
