#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "Core/Base/Result.h"

namespace base {
class Stream;
}

namespace file {

// One directory entry of a pack file. The flag and the extra word are kept as read.
struct PackEntry {
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
  std::uint8_t flag = 0;
  std::uint32_t extra = 0;
};

// The directory of a "vnpack" pack file, keyed by entry name in ascending UTF-16 code-unit order.
//
// Layout (little-endian, no padding): magic length (4) = 6, "vnpack", entry count (4), then per
// entry: name length L in UTF-16 units (4), L units (2 each), body size (4), absolute body offset
// (4), flag (1), extra (4). The bodies follow the directory in entry order.
class PackIndex {
 public:
  // Reads a directory from the stream's current position. 1 on a short read, a wrong magic, a name
  // longer than what is left of the stream, or a body outside the stream; the entries read before
  // the failure stay. A repeated name keeps its first entry.
  VNResultEnum Read(base::Stream* stream);
  // Writes the directory at the stream's position; the caller has set the offsets. 1 on a short write.
  VNResultEnum Write(base::Stream* stream) const;
  // Bytes of the directory for the current entries: where the first body starts.
  unsigned GetHeaderSize() const;

  std::map<std::u16string, PackEntry>& GetEntries() { return mEntries; }
  const std::map<std::u16string, PackEntry>& GetEntries() const { return mEntries; }
  const PackEntry* Find(const std::u16string& name) const;

 private:
  std::map<std::u16string, PackEntry> mEntries;
};

}  // namespace file
