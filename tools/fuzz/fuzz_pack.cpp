// Reads arbitrary bytes as a pack directory, then lists and opens every entry found.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "Core/File/PackIndex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  base::MemoryStream pack(data, static_cast<unsigned>(size));
  file::PackIndex index;
  index.Read(&pack);
  char buffer[64];
  for (const auto& [name, entry] : index.GetEntries()) {
    base::FrameStream body(&pack, false, entry.offset, entry.size);
    while (body.Read(buffer, sizeof buffer) == sizeof buffer) {
    }
  }
  base::MemoryStream out;
  index.Write(&out);
  return 0;
}
