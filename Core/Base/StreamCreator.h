#pragma once
#include <string>

#include "Core/Base/Result.h"

namespace base {

class Stream;

// Opens a new stream on demand, for readers that reopen a file later.
class StreamCreator {
 public:
  virtual ~StreamCreator() = default;
  // Opens a new stream into out (the caller owns it); on failure out is left untouched.
  virtual VNResultEnum Create(Stream** out) = 0;
};

// Opens a file stream with the stored path and the access and disposition codes of
// file::FileHandleWin32::Open.
class FileStreamCreator : public StreamCreator {
 public:
  FileStreamCreator(std::u16string path, unsigned access, unsigned disposition)
      : mPath(std::move(path)), mAccess(access), mDisposition(disposition) {}
  VNResultEnum Create(Stream** out) override;

 private:
  std::u16string mPath;
  unsigned mAccess;
  unsigned mDisposition;
};

// Opens a frame stream over a stream of the inner creator; the frame owns that stream.
class FrameStreamCreator : public StreamCreator {
 public:
  FrameStreamCreator(StreamCreator* inner, bool ownsInner, unsigned offset, unsigned size)
      : mInner(inner), mOwnsInner(ownsInner), mOffset(offset), mSize(size) {}
  FrameStreamCreator(const FrameStreamCreator&) = delete;
  FrameStreamCreator& operator=(const FrameStreamCreator&) = delete;
  ~FrameStreamCreator() override;
  // 1 without an inner creator; the inner creator's failure unchanged.
  VNResultEnum Create(Stream** out) override;

 private:
  StreamCreator* mInner;
  bool mOwnsInner;
  unsigned mOffset;
  unsigned mSize;
};

}  // namespace base
