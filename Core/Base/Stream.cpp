#include "Core/Base/Stream.h"

#include <algorithm>
#include <memory>
#include <new>

namespace base {

unsigned Stream::CopyFrom(Stream* source, unsigned n) {
  if (n == 0) return 0;
  unsigned count;
  if (n == kWhole) {
    count = source->GetSize();
    source->Seek(0, kBegin);
  } else {
    const unsigned position = source->Seek(0, kCurrent);
    const unsigned size = source->GetSize();
    const unsigned remaining = size > position ? size - position : 0;
    count = std::min(n, remaining);
  }
  unsigned chunk = std::min(count, 0x100000u);
  if (chunk == 0) return 0;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunk]);
  if (!buffer) return 0;
  unsigned copied = 0;
  while (count > 0) {
    const unsigned got = source->Read(buffer.get(), chunk);
    const unsigned put = Write(buffer.get(), got);
    copied += put;
    if (got < chunk || put < got) break;
    count -= got;
    chunk = std::min(chunk, count);
  }
  return copied;
}

}  // namespace base
