#include "Game/Battle/RuvRouteCache.h"

#include <cstdint>
#include <cstring>

#include "Game/Battle/RuvRoutes.h"

namespace {

constexpr size_t kCacheFieldSize = 4;
constexpr size_t kCacheSampleSize = 5 * kCacheFieldSize;
// The smallest record: link index, pair count and lane count.
constexpr size_t kCacheRecordMinSize = 3 * kCacheFieldSize;
constexpr size_t kCachePairSize = 2 * kCacheFieldSize;
// The smallest lane: key and sample count.
constexpr size_t kCacheLaneMinSize = 2 * kCacheFieldSize;

void putCacheU32(std::string& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

template <class T>
void putCacheField(std::string& bytes, T value) {
  static_assert(sizeof(T) == kCacheFieldSize);
  uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  putCacheU32(bytes, raw);
}

// Reads little-endian fields; every count is checked against the bytes left before it is trusted.
class CacheReader {
 public:
  explicit CacheReader(const std::string& bytes) : mBytes(bytes) {}

  size_t left() const { return mBytes.size() - mAt; }

  template <class T>
  bool read(T& value) {
    static_assert(sizeof(T) == kCacheFieldSize);
    if (left() < kCacheFieldSize) return false;
    uint32_t raw = 0;
    for (size_t i = 0; i < kCacheFieldSize; ++i) {
      raw |= static_cast<uint32_t>(static_cast<unsigned char>(mBytes[mAt + i])) << (8 * i);
    }
    mAt += kCacheFieldSize;
    std::memcpy(&value, &raw, sizeof value);
    return true;
  }

  // A count of items of at least itemSize bytes each that must fit in what is left.
  bool readCount(uint32_t& count, size_t itemSize) {
    return read(count) && static_cast<uint64_t>(count) * itemSize <= left();
  }

 private:
  const std::string& mBytes;
  size_t mAt = 0;
};

bool decodeCacheRecord(CacheReader& reader, size_t linkCount, RuvRouteTable::Record& record, std::string& error) {
  uint32_t link = 0;
  uint32_t pairs = 0;
  uint32_t lanes = 0;
  if (!reader.read(link)) return error = "truncated record", false;
  if (link >= linkCount) return error = "link index " + std::to_string(link) + " out of range", false;
  record.link = static_cast<int>(link);
  if (!reader.readCount(pairs, kCachePairSize)) return error = "pair count past the end", false;
  for (uint32_t i = 0; i < pairs; ++i) {
    int32_t key = 0;
    float value = 0.0f;
    reader.read(key);
    reader.read(value);
    record.pairs[key] = value;
  }
  if (!reader.readCount(lanes, kCacheLaneMinSize)) return error = "lane count past the end", false;
  for (uint32_t i = 0; i < lanes; ++i) {
    int32_t key = 0;
    uint32_t samples = 0;
    reader.read(key);
    if (!reader.readCount(samples, kCacheSampleSize)) return error = "sample count past the end", false;
    std::vector<RuvPathPoint>& lane = record.lanes[key];
    lane.assign(samples, RuvPathPoint());
    for (RuvPathPoint& sample : lane) {
      reader.read(sample.extra);
      reader.read(sample.nx);
      reader.read(sample.ny);
      reader.read(sample.x);
      reader.read(sample.y);
    }
  }
  return true;
}

}  // namespace

std::string encodeRouteCache(const RuvRouteTable& table) {
  std::string bytes;
  putCacheU32(bytes, static_cast<uint32_t>(table.records().size()));
  for (const RuvRouteTable::Record& record : table.records()) {
    putCacheU32(bytes, static_cast<uint32_t>(record.link));
    putCacheU32(bytes, static_cast<uint32_t>(record.pairs.size()));
    for (const auto& [key, value] : record.pairs) {
      putCacheField(bytes, static_cast<int32_t>(key));
      putCacheField(bytes, value);
    }
    putCacheU32(bytes, static_cast<uint32_t>(record.lanes.size()));
    for (const auto& [key, samples] : record.lanes) {
      putCacheField(bytes, static_cast<int32_t>(key));
      putCacheU32(bytes, static_cast<uint32_t>(samples.size()));
      for (const RuvPathPoint& sample : samples) {
        putCacheField(bytes, sample.extra);
        putCacheField(bytes, sample.nx);
        putCacheField(bytes, sample.ny);
        putCacheField(bytes, sample.x);
        putCacheField(bytes, sample.y);
      }
    }
  }
  return bytes;
}

bool decodeRouteCache(const std::string& bytes, size_t linkCount, RuvRouteTable& table, std::string& error) {
  CacheReader reader(bytes);
  uint32_t records = 0;
  bool ok = reader.readCount(records, kCacheRecordMinSize);
  if (!ok) error = "record count past the end";
  for (uint32_t i = 0; ok && i < records; ++i) {
    RuvRouteTable::Record record;
    ok = decodeCacheRecord(reader, linkCount, record, error);
    if (ok) table.appendRecord(std::move(record));
  }
  if (!ok) table.clear();
  return ok;
}
