#include "Core/Base/FileStream.h"

namespace base {

unsigned FileStream::Read(void* buffer, unsigned n) {
  unsigned count = 0;
  return mHandle.Read(buffer, n, &count) == VN_OK ? count : 0;
}

unsigned FileStream::Write(const void* buffer, unsigned n) {
  unsigned count = 0;
  return mHandle.Write(buffer, n, &count) == VN_OK ? count : 0;
}

}  // namespace base
