#pragma once
#include "Core/Base/Stream.h"

namespace base {

// A read-only window [offset, offset + size) onto another stream. The inner stream is sought before
// every read, so several windows may share one inner stream. Nothing checks that the window lies
// inside the inner stream: reads past its end return the inner stream's short counts.
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
