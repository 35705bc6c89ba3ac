#include "Core/File/PackIndex.h"

#include <cstring>
#include <vector>

#include "Core/Base/Stream.h"

namespace file {

namespace {

constexpr char kMagic[] = "vnpack";
constexpr std::uint32_t kMagicLength = sizeof(kMagic) - 1;
constexpr unsigned kEntryFixedSize = 17;

bool ReadU32(base::Stream* stream, std::uint32_t& value) {
  unsigned char bytes[4];
  if (stream->Read(bytes, 4) != 4) return false;
  value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
          static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return true;
}

bool WriteU32(base::Stream* stream, std::uint32_t value) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                  static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  return stream->Write(bytes, 4) == 4;
}

}  // namespace

const PackEntry* PackIndex::Find(const std::u16string& name) const {
  const auto it = mEntries.find(name);
  return it == mEntries.end() ? nullptr : &it->second;
}

VNResultEnum PackIndex::Read(base::Stream* stream) {
  const unsigned streamSize = stream->GetSize();
  std::uint32_t magicLength = 0;
  // Anything but the one known magic length is not a pack; never read on with a length from the file.
  if (!ReadU32(stream, magicLength) || magicLength != kMagicLength) return VN_FAIL;
  char magic[kMagicLength];
  if (stream->Read(magic, kMagicLength) != kMagicLength || std::memcmp(magic, kMagic, kMagicLength) != 0) {
    return VN_FAIL;
  }
  std::uint32_t count = 0;
  if (!ReadU32(stream, count)) return VN_FAIL;
  std::vector<unsigned char> units;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t length = 0;
    if (!ReadU32(stream, length)) return VN_FAIL;
    const unsigned position = stream->Seek(0, base::Stream::kCurrent);
    const unsigned left = streamSize > position ? streamSize - position : 0;
    // The name and the rest of the entry must fit in what is left: never size a string from a bad length.
    if (2ull * length + (kEntryFixedSize - 4) > left) return VN_FAIL;
    units.resize(static_cast<std::size_t>(length) * 2);
    if (length > 0 && stream->Read(units.data(), length * 2) != length * 2) return VN_FAIL;
    std::u16string name(length, u'\0');
    for (std::uint32_t u = 0; u < length; ++u) {
      name[u] = static_cast<char16_t>(units[2 * u] | units[2 * u + 1] << 8);
    }
    PackEntry entry;
    if (!ReadU32(stream, entry.size) || !ReadU32(stream, entry.offset) || stream->Read(&entry.flag, 1) != 1 ||
        !ReadU32(stream, entry.extra)) {
      return VN_FAIL;
    }
    if (static_cast<std::uint64_t>(entry.offset) + entry.size > streamSize) return VN_FAIL;
    mEntries.emplace(std::move(name), entry);
  }
  return VN_OK;
}

VNResultEnum PackIndex::Write(base::Stream* stream) const {
  if (!WriteU32(stream, kMagicLength) || stream->Write(kMagic, kMagicLength) != kMagicLength) return VN_FAIL;
  if (!WriteU32(stream, static_cast<std::uint32_t>(mEntries.size()))) return VN_FAIL;
  std::vector<unsigned char> units;
  for (const auto& [name, entry] : mEntries) {
    units.resize(name.size() * 2);
    for (std::size_t u = 0; u < name.size(); ++u) {
      units[2 * u] = static_cast<unsigned char>(name[u]);
      units[2 * u + 1] = static_cast<unsigned char>(name[u] >> 8);
    }
    const auto bytes = static_cast<unsigned>(units.size());
    if (!WriteU32(stream, static_cast<std::uint32_t>(name.size())) ||
        (bytes > 0 && stream->Write(units.data(), bytes) != bytes) || !WriteU32(stream, entry.size) ||
        !WriteU32(stream, entry.offset) || stream->Write(&entry.flag, 1) != 1 || !WriteU32(stream, entry.extra)) {
      return VN_FAIL;
    }
  }
  return VN_OK;
}

unsigned PackIndex::GetHeaderSize() const {
  unsigned size = 4 + kMagicLength + 4;
  for (const auto& [name, entry] : mEntries) size += kEntryFixedSize + 2 * static_cast<unsigned>(name.size());
  return size;
}

}  // namespace file
