#pragma once
#include "Core/Base/Stream.h"

namespace base {

// A stream over one heap block whose size is always the stream's size (no spare capacity).
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  // A copy of n bytes, positioned at 0.
  MemoryStream(const void* bytes, unsigned n);
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  ~MemoryStream() override;

  bool IsEnd() override { return mPosition == mSize; }
  unsigned GetSize() override { return mSize; }
  unsigned Read(void* buffer, unsigned n) override;
  // Grows through Resize (a derived stream chooses the growth) when n does not fit; returns 0 when
  // the stream cannot hold position + n bytes.
  unsigned Write(const void* buffer, unsigned n) override;
  // Origin 2 counts from size - 1; the result is clamped to [0, size].
  unsigned Seek(int offset, int origin) override;
  // Gives the stream a block of exactly newSize bytes, keeping min(size, newSize) bytes when keep
  // is set; the position is clamped to the new size. When the allocation fails nothing changes.
  virtual void Resize(unsigned newSize, bool keep);

  const unsigned char* GetBuffer() const { return mBuffer; }
  unsigned GetPosition() const { return mPosition; }

 protected:
  unsigned char* mBuffer = nullptr;
  unsigned mPosition = 0;
  unsigned mSize = 0;
};

// The seek of memory and frame streams: origin 2 counts from size - 1, the result is clamped to
// [0, size], and an unknown origin keeps the position.
unsigned ClampedSeek(unsigned position, unsigned size, int offset, int origin);

}  // namespace base
