// Stages 0-2: the header, the colour-mode data and the image resources.
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

// The alpha channel array, created by the first of resources 1006, 1045 and 1053 to arrive.
int32_t PsdFixAlphaChannels(PsdDocument* document, int64_t count) {
  document->hasAlphaInfo = true;
  if (document->alphaChannels) return kPsdOk;
  // More extra channels than channels cannot be: the colour channel count would go negative.
  if (count > document->channelCount) count = document->channelCount;
  document->alphaChannels = PsdAllocate<PsdAlphaChannel>(count);
  if (!document->alphaChannels) return kPsdNoMemory;
  document->alphaChannelCount = int16_t(count);
  document->colorChannelCount = int16_t(document->channelCount - count);
  return kPsdOk;
}

// Reads a block whole into a temporary buffer (size already checked against the source).
uint8_t* PsdReadBlock(PsdDocument* document, int64_t size) {
  uint8_t* block = PsdAllocate<uint8_t>(size);
  if (block) PsdReadBytes(document, block, size);
  return block;
}

int32_t PsdReadChannelNames(PsdDocument* document, int64_t size) {
  uint8_t* block = PsdReadBlock(document, size);
  if (!block) return kPsdNoMemory;
  int64_t count = 0;
  for (int64_t at = 0; at + 1 < size; at += block[at] + 1) ++count;
  int32_t status = PsdFixAlphaChannels(document, count);
  int64_t at = 0;
  for (int32_t i = 0; status == kPsdOk && i < document->alphaChannelCount && at < size; ++i) {
    int64_t length = block[at];
    if (at + 1 + length > size) length = size - at - 1;  // a name cut by the block's end
    std::memcpy(document->alphaChannels[i].name, block + at + 1, size_t(length));
    at += 1 + block[at];
  }
  PsdRelease(block);
  return status;
}

uint32_t PsdBigU32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

int32_t PsdReadUnicodeChannelNames(PsdDocument* document, int64_t size) {
  uint8_t* block = PsdReadBlock(document, size);
  if (!block) return kPsdNoMemory;
  int64_t count = 0;
  for (int64_t at = 0; at < size; ++count) {
    const int64_t units = at + 4 <= size ? PsdBigU32(block + at) : 0;
    at += 4 + 2 * units;
  }
  int32_t status = PsdFixAlphaChannels(document, count);
  int64_t at = 0;
  for (int32_t i = 0; status == kPsdOk && i < document->alphaChannelCount && at + 4 <= size; ++i) {
    int64_t units = PsdBigU32(block + at);
    at += 4;
    if (units > (size - at) / 2) units = (size - at) / 2;
    PsdAlphaChannel& channel = document->alphaChannels[i];
    PsdRelease(channel.unicodeName);
    channel.unicodeName = PsdAllocate<uint16_t>(units);
    if (!channel.unicodeName) {
      status = kPsdNoMemory;
      break;
    }
    channel.unicodeNameLength = int32_t(units);
    std::memcpy(channel.unicodeName, block + at, size_t(units * 2));
    at += units * 2;
  }
  PsdRelease(block);
  return status;
}

int32_t PsdReadChannelIds(PsdDocument* document, int64_t size) {
  const int32_t status = PsdFixAlphaChannels(document, size / 4);
  for (int32_t i = 0; status == kPsdOk && i < document->alphaChannelCount && (i + 1) * 4 <= size; ++i) {
    document->alphaChannels[i].id = int32_t(PsdReadU32(document));
  }
  return status;
}

int32_t PsdReadThumbnail(PsdDocument* document, int64_t blockEnd) {
  document->thumbnailFormat = PsdReadU32(document);
  document->thumbnailWidth = PsdReadU32(document);
  document->thumbnailHeight = PsdReadU32(document);
  document->thumbnailRowBytes = PsdReadU32(document);
  document->thumbnailSize = PsdReadU32(document);
  document->thumbnailCompressedSize = PsdReadU32(document);
  document->thumbnailBits = int16_t(PsdReadU16(document));
  document->thumbnailPlanes = int16_t(PsdReadU16(document));
  document->hasThumbnail = true;
  // Pixels of an earlier thumbnail resource do not belong to this header.
  PsdRelease(document->thumbnailPixels);
  int64_t size = document->thumbnailCompressedSize;
  // The JPEG data lies inside the block; a larger claim is cut to it.
  if (size > blockEnd - document->consumed) size = blockEnd - document->consumed;
  if (size <= 0) return kPsdOk;
  if (document->thumbnailFormat == 0) {
    PsdSkip(document, size);
    return kPsdOk;
  }
  return PsdDecodeJpegThumbnail(document, size, &document->thumbnailPixels);
}

bool PsdResourceWanted(PsdLoadTag tag, uint16_t id) {
  switch (tag) {
    case kPsdLoadMerged: return id == 1006 || id == 1045 || id == 1053;
    case kPsdLoadThumbnail: return id == 1033 || id == 1036;
    case kPsdLoadExif: return id == 1058 || id == 1059;
    case kPsdLoadLayers: return id != 1033 && id != 1036;
    default: return true;
  }
}

int32_t PsdReadResource(PsdDocument* document, uint16_t id, int64_t size, int64_t blockEnd) {
  switch (id) {
    case 1005:
      document->horizontalResolution = float(PsdReadU32(document)) / 65536.0f;
      document->horizontalUnit = int16_t(PsdReadU16(document));
      document->widthUnit = int16_t(PsdReadU16(document));
      document->verticalResolution = float(PsdReadU32(document)) / 65536.0f;
      document->verticalUnit = int16_t(PsdReadU16(document));
      document->heightUnit = int16_t(PsdReadU16(document));
      document->hasResolution = true;
      return kPsdOk;
    case 1006: return PsdReadChannelNames(document, size);
    case 1007:
      document->displayColor = PsdReadColor(document);
      document->displayOpacity = int16_t(PsdReadU16(document));
      document->displayKind = PsdReadU8(document);
      PsdReadU8(document);
      document->hasDisplayInfo = true;
      return kPsdOk;
    case 1008: {
      const uint8_t length = PsdReadU8(document);
      PsdReadBytes(document, document->caption, length);
      return kPsdOk;
    }
    case 1024: document->targetLayer = int16_t(PsdReadU16(document)); return kPsdOk;
    case 1026: {
      const int64_t count = size / 2;
      PsdRelease(document->layerGroups);
      document->layerGroups = PsdAllocate<int16_t>(count);
      if (!document->layerGroups) return kPsdNoMemory;
      document->layerGroupCount = int32_t(count);
      for (int64_t i = 0; i < count; ++i) document->layerGroups[i] = int16_t(PsdReadU16(document));
      document->hasLayerGroups = true;
      return kPsdOk;
    }
    case 1033:
    case 1036: return PsdReadThumbnail(document, blockEnd);
    case 1034: document->rightsMarked = uint8_t(PsdReadU16(document)); return kPsdOk;
    case 1037: document->globalAngle = int32_t(PsdReadU32(document)); return kPsdOk;
    case 1042: document->effectsVisible = uint8_t(PsdReadU16(document)); return kPsdOk;
    case 1045: return PsdReadUnicodeChannelNames(document, size);
    case 1046:
      document->indexedColorCount = int16_t(PsdReadU16(document));
      document->hasIndexedColorCount = true;
      return kPsdOk;
    case 1047:
      document->transparencyIndex = int16_t(PsdReadU16(document));
      document->hasTransparencyIndex = true;
      return kPsdOk;
    case 1049: document->globalAltitude = int32_t(PsdReadU32(document)); return kPsdOk;
    case 1053: return PsdReadChannelIds(document, size);
    case 1057: {
      document->version = PsdReadU32(document);
      document->hasMergedData = PsdReadBool(document);
      int32_t status = PsdReadUnicodeText(document, &document->writerNameLength, &document->writerName);
      if (status == kPsdOk) status = PsdReadUnicodeText(document, &document->readerNameLength, &document->readerName);
      document->fileVersion = PsdReadU32(document);
      document->hasVersionInfo = true;
      return status;
    }
    default: return kPsdOk;
  }
}

}  // namespace

int32_t PsdReadHeader(PsdDocument* document) {
  uint8_t header[26];
  if (PsdReadBytes(document, header, 26) != 26) return kPsdShortData;
  if (std::memcmp(header, "8BPS", 4) != 0) return kPsdBadSignature;
  if (header[4] != 0 || header[5] != 1) return kPsdBadVersion;
  document->channelCount = uint16_t(header[12] << 8 | header[13]);
  document->colorChannelCount = int16_t(document->channelCount);
  document->height = int32_t(PsdBigU32(header + 14));
  document->width = int32_t(PsdBigU32(header + 18));
  document->depth = uint16_t(header[22] << 8 | header[23]);
  document->colorMode = uint32_t(header[24] << 8 | header[25]);
  if (document->depth != 1 && document->depth != 8 && document->depth != 16) return kPsdBadDepth;
  if (document->colorMode > 9 || document->colorMode == 5 || document->colorMode == 6) return kPsdBadMode;
  // Above 0x7FFF channels the signed counts kept for them would go negative.
  if (document->channelCount > 0x7FFF) return kPsdShortData;
  return kPsdOk;
}

int32_t PsdReadColorModeData(PsdDocument* document) {
  const int64_t length = int32_t(PsdReadU32(document));
  if (length <= 0) return kPsdOk;
  const int64_t start = document->consumed;
  int64_t count = length / 3;
  // A palette beyond the bytes the file holds would only read zeros.
  if (count > PsdBytesLeft(document) / 3) count = PsdBytesLeft(document) / 3;
  document->palette = PsdAllocate<uint32_t>(count);
  uint8_t* planes = PsdAllocate<uint8_t>(count * 3);
  if (!document->palette || !planes) {
    PsdRelease(document->palette);
    PsdRelease(planes);
    return kPsdNoMemory;
  }
  document->paletteCount = int32_t(count);
  PsdReadBytes(document, planes, count * 3);
  for (int64_t i = 0; i < count; ++i) {
    document->palette[i] =
        0xFF000000u | uint32_t(planes[i]) << 16 | uint32_t(planes[count + i]) << 8 | planes[2 * count + i];
  }
  PsdRelease(planes);
  PsdSkip(document, start + length - document->consumed);
  return kPsdOk;
}

int32_t PsdReadImageResources(PsdDocument* document) {
  int64_t remaining = int32_t(PsdReadU32(document));
  if (remaining <= 0) return kPsdOk;
  document->globalAngle = 30;
  document->globalAltitude = 30;
  while (remaining > 0) {
    if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadResource;
    const uint16_t id = PsdReadU16(document);
    const uint8_t nameLength = PsdReadU8(document);
    const int64_t nameBytes = nameLength % 2 == 0 ? nameLength + 1 : nameLength;
    PsdSkip(document, nameBytes);
    int64_t size = PsdReadU32(document);
    size += size & 1;
    remaining -= 11 + nameBytes + size;
    const int64_t start = document->consumed;
    if (size > 0 && PsdResourceWanted(document->tag, id)) {
      // Handlers see at most the bytes the block and the file hold.
      const int64_t held = size < PsdBytesLeft(document) ? size : PsdBytesLeft(document);
      const PsdBlockScope block(document, start + held);
      const int32_t status = PsdReadResource(document, id, held, start + held);
      if (status != kPsdOk) return status;
    }
    PsdSkip(document, start + size - document->consumed);
  }
  return kPsdOk;
}
