#pragma once
#include "Core/Base/Stream.h"
#include "Core/File/FileHandleWin32.h"

namespace base {

// A stream over a file handle that it owns and closes. It never reports its end (readers use the
// size).
class FileStream : public Stream {
 public:
  // Low 32 bits of the file size; 0 while the handle is closed.
  unsigned GetSize() override { return mHandle.GetSize(); }
  // The handle's count, 0 when the handle reports a failure.
  unsigned Read(void* buffer, unsigned n) override;
  unsigned Write(const void* buffer, unsigned n) override;
  unsigned Seek(int offset, int origin) override { return mHandle.Seek(offset, origin); }

  file::FileHandleWin32& GetHandle() { return mHandle; }

 private:
  file::FileHandleWin32 mHandle;
};

}  // namespace base
