// The load, the buffered source and the document's release.
#include <cmath>
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

constexpr int32_t kPsdReadBufferSize = 4096;

thread_local int64_t sPsdImageByteLimit = kPsdMaxImageBytes;

// Holds a load's cap for its duration.
class PsdLimitScope {
 public:
  explicit PsdLimitScope(int64_t limit) : mPrevious(sPsdImageByteLimit) {
    sPsdImageByteLimit = limit > 0 && limit < kPsdMaxImageBytes ? limit : kPsdMaxImageBytes;
  }
  ~PsdLimitScope() { sPsdImageByteLimit = mPrevious; }
  PsdLimitScope(const PsdLimitScope&) = delete;
  PsdLimitScope& operator=(const PsdLimitScope&) = delete;

 private:
  int64_t mPrevious;
};

PsdDocument* PsdCreateDocument() {
  auto* document = new (std::nothrow) PsdDocument();
  return document;
}

int32_t PsdRunStages(PsdDocument* document) {
  for (;;) {
    if (document->fileLength <= 0) return kPsdShortData;
    int32_t status = kPsdOk;
    switch (document->stage) {
      case 0:
        status = PsdReadHeader(document);
        document->stage = document->tag == kPsdLoadHeader ? 5 : 1;
        break;
      case 1:
        status = PsdReadColorModeData(document);
        document->stage = 2;
        break;
      case 2:
        status = PsdReadImageResources(document);
        document->stage = 3;
        break;
      case 3:
        status = PsdReadLayerAndMaskSection(document);
        document->stage = 4;
        break;
      case 4:
        status = PsdReadMergedImage(document);
        document->stage = 5;
        break;
      default:
        return kPsdOk;
    }
    if (status != kPsdOk) return status;
  }
}

void PsdCloseSource(PsdDocument* document) {
  PsdRelease(document->readBuffer);
  if (document->file) std::fclose(document->file);
  document->file = nullptr;
  document->memory = nullptr;
  document->bufferHeld = document->bufferPosition = 0;
}

int32_t PsdFinishLoad(PsdDocument* document, PsdDocument** out, PsdLoadTag tag) {
  document->blockEnd = INT64_MAX;
  document->stage = 0;
  document->tag = tag;
  const int32_t status = PsdRunStages(document);
  if (status != kPsdOk) {
    PsdFree(document);
    *out = nullptr;
    return status;
  }
  PsdCloseSource(document);
  *out = document;
  return kPsdOk;
}

// Fills the read buffer from the source; the number of bytes now held.
int32_t PsdRefill(PsdDocument* document) {
  document->bufferPosition = 0;
  document->bufferHeld = 0;
  if (document->file) {
    document->bufferHeld = int32_t(std::fread(document->readBuffer, 1, kPsdReadBufferSize, document->file));
  }
  return document->bufferHeld;
}

int64_t PsdReadDirect(PsdDocument* document, uint8_t* destination, int64_t n) {
  if (!document->file) return 0;
  return int64_t(std::fread(destination, 1, size_t(n), document->file));
}

}  // namespace

int64_t PsdImageByteLimit() { return sPsdImageByteLimit; }

int64_t PsdBytesLeft(const PsdDocument* document) {
  const int64_t end = document->blockEnd < document->fileLength ? document->blockEnd : document->fileLength;
  const int64_t left = end - document->consumed;
  return left > 0 ? left : 0;
}

int64_t PsdReadBytes(PsdDocument* document, void* destination, int64_t n) {
  if (!document || !destination || n <= 0) return 0;
  if (n > PsdBytesLeft(document)) n = PsdBytesLeft(document);
  if (n <= 0) return 0;
  auto* out = static_cast<uint8_t*>(destination);
  if (document->memory) {
    const int64_t copied = n < PsdBytesLeft(document) ? n : PsdBytesLeft(document);
    std::memcpy(out, document->memory + document->consumed, size_t(copied));
    document->consumed += copied;
    return copied;
  }
  if (!document->readBuffer) {
    document->readBuffer = PsdAllocate<uint8_t>(kPsdReadBufferSize);
    if (!document->readBuffer) return 0;
  }
  int64_t copied = 0;
  const int32_t unread = document->bufferHeld - document->bufferPosition;
  if (unread > 0 && n >= unread) {
    std::memcpy(out, document->readBuffer + document->bufferPosition, size_t(unread));
    document->bufferPosition = document->bufferHeld;
    copied = unread;
    n -= unread;
  }
  if (n > 0 && n <= kPsdReadBufferSize) {
    int32_t held = document->bufferHeld - document->bufferPosition;
    if (held <= 0) held = PsdRefill(document);
    const int32_t take = int32_t(n < held ? n : held);
    std::memcpy(out + copied, document->readBuffer + document->bufferPosition, size_t(take));
    document->bufferPosition += take;
    copied += take;
  } else if (n > kPsdReadBufferSize) {
    copied += PsdReadDirect(document, out + copied, n);
    document->bufferPosition = document->bufferHeld = 0;
  }
  document->consumed += copied;
  return copied;
}

int64_t PsdSkip(PsdDocument* document, int64_t n) {
  if (!document || n < 1) return 0;
  if (n > PsdBytesLeft(document)) n = PsdBytesLeft(document);
  if (document->memory || !document->file) {
    document->consumed += n;
    return n;
  }
  int64_t skipped = 0;
  const int32_t unread = document->bufferHeld - document->bufferPosition;
  if (unread > 0) {
    const int32_t take = int32_t(n < unread ? n : unread);
    document->bufferPosition += take;
    skipped = take;
    n -= take;
  }
  if (n > 0) {
    // Skips beyond the buffer become one forward seek; the buffer is refilled on the next read.
    if (std::fseek(document->file, long(n), SEEK_CUR) == 0) skipped += n;
    document->bufferPosition = document->bufferHeld = 0;
  }
  document->consumed += skipped;
  return skipped;
}

void PsdSeekTo(PsdDocument* document, int64_t position) {
  if (position < 0) position = 0;
  if (position > document->fileLength) position = document->fileLength;
  if (position >= document->consumed) {
    PsdSkip(document, position - document->consumed);
    return;
  }
  if (document->file) {
    if (std::fseek(document->file, long(position), SEEK_SET) != 0) return;
    document->bufferPosition = document->bufferHeld = 0;
  }
  document->consumed = position;
}

uint8_t PsdReadU8(PsdDocument* document) {
  uint8_t byte = 0;
  return PsdReadBytes(document, &byte, 1) == 1 ? byte : 0;
}

uint16_t PsdReadU16(PsdDocument* document) {
  uint8_t bytes[2] = {};
  if (PsdReadBytes(document, bytes, 2) != 2) return 0;
  return uint16_t(bytes[0] << 8 | bytes[1]);
}

uint32_t PsdReadU32(PsdDocument* document) {
  uint8_t bytes[4] = {};
  if (PsdReadBytes(document, bytes, 4) != 4) return 0;
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

bool PsdReadBool(PsdDocument* document) { return PsdReadU8(document) != 0; }

double PsdReadDouble(PsdDocument* document) {
  uint8_t bytes[8] = {};
  if (PsdReadBytes(document, bytes, 8) != 8) return 0.0;
  uint64_t bits = 0;
  for (uint8_t byte : bytes) bits = bits << 8 | byte;
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int32_t PsdReadBlendMode(PsdDocument* document) {
  static const uint32_t kBlendKeys[24] = {
      0,
      PsdKey("diss"), PsdKey("dark"), PsdKey("mul "), PsdKey("idiv"), PsdKey("lbrn"), PsdKey("lite"),
      PsdKey("scrn"), PsdKey("div "), PsdKey("lddg"), PsdKey("over"), PsdKey("sLit"), PsdKey("hLit"),
      PsdKey("vLit"), PsdKey("lLit"), PsdKey("pLit"), PsdKey("hMix"), PsdKey("diff"), PsdKey("smud"),
      PsdKey("hue "), PsdKey("sat "), PsdKey("colr"), PsdKey("lum "), PsdKey("pass"),
  };
  uint8_t bytes[4] = {};
  if (PsdReadBytes(document, bytes, 4) != 4) return 0;
  const uint32_t key = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
  for (int32_t mode = 1; mode < 24; ++mode) {
    if (kBlendKeys[mode] == key) return mode;
  }
  return 0;
}

int16_t PsdReadColorComponent(PsdDocument* document) { return int16_t(int8_t(uint8_t(PsdReadU16(document) >> 8))); }

int32_t PsdReadUnicodeText(PsdDocument* document, int32_t* length, uint16_t** units) {
  int64_t count = PsdReadU32(document);
  if (count > PsdBytesLeft(document) / 2) count = PsdBytesLeft(document) / 2;
  PsdRelease(*units);
  *length = 0;
  *units = PsdAllocate<uint16_t>(count);
  if (!*units) return kPsdNoMemory;
  *length = int32_t(count);
  PsdReadBytes(document, *units, count * 2);
  return kPsdOk;
}

uint32_t PsdReadColor(PsdDocument* document) {
  const int32_t space = PsdReadU16(document);
  int16_t values[4];
  for (int16_t& value : values) value = PsdReadColorComponent(document);
  uint32_t color = 0x00FFFFFF;
  PsdConvertColorRecord(&color, space, values[0], values[1], values[2], values[3]);
  return color;
}

int32_t PsdDoubleToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return int32_t(value);
}

int32_t PsdReserve(uint8_t*& buffer, int64_t& capacity, int64_t needed, int64_t minimum) {
  if (needed <= capacity && buffer) return kPsdOk;
  int64_t grown = capacity * 2 > needed ? capacity * 2 : needed;
  if (grown < minimum) grown = minimum;
  if (grown > PsdImageByteLimit()) grown = needed;
  PsdRelease(buffer);
  capacity = 0;
  buffer = PsdAllocate<uint8_t>(grown);
  if (!buffer) return kPsdNoMemory;
  capacity = grown;
  return kPsdOk;
}

int64_t PsdPlaneLength(int64_t width, int64_t height, int32_t depth) {
  if (width < 0 || height < 0) return -1;
  // Each factor below 2^31, so the products fit in 64 bits.
  const int64_t length = depth == 1 ? height * ((width + 7) / 8) : width * height * (depth == 16 ? 2 : 1);
  return length > PsdImageByteLimit() ? -1 : length;
}

int32_t PsdLoadTagged(const char* path, PsdDocument** out, PsdLoadTag tag) {
  if (!out) return kPsdNoOut;
  *out = nullptr;
  if (!path) return kPsdCannotOpen;
  PsdDocument* document = PsdCreateDocument();
  if (!document) return kPsdNoMemory;
  document->path = path;
  document->file = std::fopen(path, "rb");
  if (!document->file) {
    delete document;
    return kPsdCannotOpen;
  }
  if (std::fseek(document->file, 0, SEEK_END) == 0) {
    const long length = std::ftell(document->file);
    document->fileLength = length > 0 ? length : 0;
  }
  std::fseek(document->file, 0, SEEK_SET);
  return PsdFinishLoad(document, out, tag);
}

int32_t PsdLoad(PsdDocument** out, const char* path) { return PsdLoadTagged(path, out, kPsdLoadAll); }

int32_t PsdLoadMemoryTagged(const void* bytes, int64_t size, PsdDocument** out, PsdLoadTag tag) {
  return PsdLoadMemoryLimited(bytes, size, out, tag, kPsdMaxImageBytes);
}

int32_t PsdLoadMemoryLimited(const void* bytes, int64_t size, PsdDocument** out, PsdLoadTag tag,
                             int64_t maxImageBytes) {
  const PsdLimitScope limit(maxImageBytes);
  if (!out) return kPsdNoOut;
  *out = nullptr;
  if (!bytes && size > 0) return kPsdCannotOpen;
  PsdDocument* document = PsdCreateDocument();
  if (!document) return kPsdNoMemory;
  static const uint8_t kPsdNoBytes = 0;
  document->memory = bytes ? static_cast<const uint8_t*>(bytes) : &kPsdNoBytes;
  document->fileLength = size > 0 ? size : 0;
  return PsdFinishLoad(document, out, tag);
}

int32_t PsdLoadMemory(PsdDocument** out, const void* bytes, int64_t size) {
  return PsdLoadMemoryTagged(bytes, size, out, kPsdLoadAll);
}

int32_t PsdFree(PsdDocument* document) {
  if (!document) return kPsdNoOut;
  PsdRelease(document->palette);
  if (document->alphaChannels) {
    for (int32_t i = 0; i < document->alphaChannelCount; ++i) {
      PsdRelease(document->alphaChannels[i].unicodeName);
      PsdRelease(document->alphaChannels[i].plane);
    }
  }
  PsdRelease(document->alphaChannels);
  PsdRelease(document->layerGroups);
  PsdRelease(document->thumbnailPixels);
  PsdRelease(document->writerName);
  PsdRelease(document->readerName);
  if (document->layers) {
    for (int32_t i = 0; i < document->layerCount; ++i) PsdReleaseLayer(&document->layers[i]);
  }
  PsdRelease(document->layers);
  PsdRelease(document->compressed);
  if (document->patterns) {
    for (int32_t i = 0; i < document->patternCount; ++i) {
      PsdRelease(document->patterns[i].name);
      PsdRelease(document->patterns[i].pixels);
    }
  }
  PsdRelease(document->patterns);
  PsdRelease(document->merged);
  PsdRelease(document->planes);
  PsdCloseSource(document);
  delete document;
  return kPsdOk;
}
