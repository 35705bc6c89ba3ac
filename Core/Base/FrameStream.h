#pragma once
#include "Core/Base/Stream.h"

namespace base {

// A read-only window [offset, offset + size) onto another stream. The inner stream is sought before
// every read, so several windows may share one inner stream. The window is not checked against the
// inner stream when it is made: a read gives only the bytes that lie inside both (a short count),
// and positions are computed in 64 bits, so a window past 4 GiB never wraps to the inner start.
class FrameStream : public Stream {
 public:
  FrameStream(Stream* inner, bool ownsInner, unsigned offset, unsigned size);
  FrameStream(const FrameStream&) = delete;
  FrameStream& operator=(const FrameStream&) = delete;
  ~FrameStream() override;

  bool IsEnd() override { return mPosition == mSize; }
  unsigned GetSize() override { return mSize; }
  unsigned Read(void* buffer, unsigned n) override;
  // Read-only: writes nothing.
  unsigned Write(const void*, unsigned) override { return 0; }
  // As the memory stream: origin 2 counts from size - 1, clamped to [0, size].
  unsigned Seek(int offset, int origin) override;

 private:
  Stream* mInner;
  bool mOwnsInner;
  unsigned mOffset;
  unsigned mPosition = 0;
  unsigned mSize;
};

}  // namespace base
