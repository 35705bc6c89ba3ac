#include "Core/Render/CommandBuffer.h"

namespace render {

void CommandBuffer::Resize(unsigned neededSize, bool keep) {
  const unsigned grown = unsigned(double(GetSize()) * 1.5);
  unsigned size = neededSize < grown ? grown : neededSize + 1024;
  if (size < neededSize) size = neededSize;  // the extra kilobyte would wrap around
  base::MemoryStream::Resize(size, keep);
}

}  // namespace render
