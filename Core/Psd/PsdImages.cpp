// Stage 4 (the merged image) and the patterns of the layer section's tail.
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

int32_t PsdDecodeMergedPlanes(PsdDocument* document, uint16_t code, int64_t total) {
  if (code == 0) {
    // A raw image cut short keeps zero planes beyond the file's end.
    PsdReadBytes(document, document->planes, total);
    return kPsdOk;
  }
  if (code > 3) return kPsdBadCompression;
  const int64_t size = PsdBytesLeft(document);
  uint8_t* data = PsdAllocate<uint8_t>(size);
  if (!data) return kPsdNoMemory;
  PsdReadBytes(document, data, size);
  int32_t status = kPsdOk;
  if (total > 0 && size > 0) {
    if (code == 1) {
      status = PsdUnpackRuns(data, size, int64_t(document->channelCount) * document->height, document->planes, total);
    } else if (code == 2) {
      status = PsdInflate(data, size, document->planes, total);
    } else {
      status = PsdInflatePredicted(data, size, document->planes, total, document->width, document->depth);
    }
  }
  PsdRelease(data);
  return status;
}

int32_t PsdMakeMergedLayer(PsdDocument* document) {
  document->layers = PsdAllocate<PsdLayer>(1);
  if (!document->layers) return kPsdNoMemory;
  PsdLayer* layer = &document->layers[0];
  const int32_t colours = document->colorChannelCount;
  layer->channels = PsdAllocate<PsdChannelInfo>(colours);
  layer->sourceBlack = PsdAllocate<int16_t>(colours);
  layer->sourceWhite = PsdAllocate<int16_t>(colours);
  layer->destinationBlack = PsdAllocate<int16_t>(colours);
  layer->destinationWhite = PsdAllocate<int16_t>(colours);
  document->layerCount = 1;
  if (!layer->channels || !layer->sourceBlack || !layer->sourceWhite || !layer->destinationBlack ||
      !layer->destinationWhite) {
    return kPsdNoMemory;
  }
  layer->type = kPsdLayerNormal;
  layer->bottom = layer->height = document->height;
  layer->right = layer->width = document->width;
  layer->channelCount = int16_t(colours);
  const bool firstIsAlpha = (document->colorMode == 3 && colours == 4) || (document->colorMode == 4 && colours == 5);
  for (int32_t i = 0; i < colours; ++i) {
    layer->channels[i].id = int16_t(firstIsAlpha ? i - 1 : i);
    layer->sourceWhite[i] = layer->destinationWhite[i] = int16_t(0xFFFF);
  }
  layer->rangeCount = colours;
  layer->compositeGrey[1] = layer->compositeGrey[3] = 0xFFFF;
  layer->opacity = 255;
  layer->visible = true;
  layer->fillOpacity = 255;
  layer->blendClipped = true;
  layer->transparencyShapes = true;
  layer->mask.defaultColor = 255;
  layer->mask.disabled = true;
  layer->dividerBlendMode = kPsdBlendPassThrough;
  if (!document->merged) return kPsdOk;
  if (document->tag == kPsdLoadLayers) {
    layer->pixels = document->merged;
    document->merged = nullptr;
    return kPsdOk;
  }
  const int64_t count = int64_t(document->width) * document->height;
  layer->pixels = PsdAllocate<uint32_t>(count);
  if (!layer->pixels) return kPsdNoMemory;
  std::memcpy(layer->pixels, document->merged, size_t(count * 4));
  return kPsdOk;
}

}  // namespace

int32_t PsdReadMergedImage(PsdDocument* document) {
  if (document->tag == kPsdLoadThumbnail || document->tag == kPsdLoadExif) return kPsdOk;
  if (document->tag == kPsdLoadLayers && document->layerCount > 0) return kPsdOk;
  const bool hasArea = document->width > 0 && document->height > 0;
  const int64_t planeLength = hasArea ? PsdPlaneLength(document->width, document->height, document->depth) : 0;
  if (planeLength < 0) return kPsdNoMemory;
  document->planeLength = planeLength;
  const int64_t total = planeLength * document->channelCount;
  if (total > PsdImageByteLimit()) return kPsdNoMemory;
  const uint16_t code = PsdReadU16(document);
  PsdRelease(document->planes);
  document->planeCapacity = 0;
  document->planes = PsdAllocate<uint8_t>(total);
  if (!document->planes) return kPsdNoMemory;
  document->planeCapacity = total;
  int32_t status = PsdDecodeMergedPlanes(document, code, total);
  if (status == kPsdOk && hasArea) {
    const int64_t count = int64_t(document->width) * document->height;
    document->merged = PsdAllocate<uint32_t>(count);
    if (!document->merged) status = kPsdNoMemory;
  }
  if (status == kPsdOk && document->merged) {
    PsdPlaneSet set = PsdMakePlaneSet(document->colorMode, document->planes, planeLength, document->depth,
                                      document->width, document->height);
    set.colourPlanes = document->colorChannelCount;
    PsdCombine(document, set, document->merged, nullptr);
    for (int32_t i = document->colorChannelCount; i < document->channelCount && document->depth != 1; ++i) {
      const int32_t extra = i - document->colorChannelCount;
      if (!document->alphaChannels || extra >= document->alphaChannelCount) break;
      const int64_t count = int64_t(document->width) * document->height;
      uint8_t* plane = PsdAllocate<uint8_t>(count);
      if (!plane) {
        status = kPsdNoMemory;
        break;
      }
      const uint8_t* source = document->planes + i * planeLength;
      const int64_t step = document->depth == 16 ? 2 : 1;
      for (int64_t p = 0; p < count; ++p) plane[p] = source[p * step];
      PsdRelease(document->alphaChannels[extra].plane);
      document->alphaChannels[extra].plane = plane;
    }
  }
  PsdRelease(document->planes);
  document->planeCapacity = 0;
  if (status != kPsdOk) return status;
  if (document->layerCount == 0 && !document->layers &&
      (document->tag == kPsdLoadAll || document->tag == kPsdLoadLayers)) {
    return PsdMakeMergedLayer(document);
  }
  return kPsdOk;
}

int32_t PsdReadPattern(PsdDocument* document) {
  int64_t length = PsdReadU32(document);
  length = (length + 3) & ~int64_t(3);
  const int64_t start = document->consumed;
  const int64_t end = start + length;
  if (PsdReadU32(document) != 1) return kPsdBadPattern;
  if (document->patternCount == document->patternCapacity) {
    const int32_t capacity = document->patternCapacity ? document->patternCapacity * 2 : 4;
    PsdPattern* grown = PsdAllocate<PsdPattern>(capacity);
    if (!grown) return kPsdNoMemory;
    if (document->patterns) std::memcpy(grown, document->patterns, sizeof(PsdPattern) * size_t(document->patternCount));
    PsdRelease(document->patterns);
    document->patterns = grown;
    document->patternCapacity = capacity;
  }
  PsdPattern* pattern = &document->patterns[document->patternCount];
  *pattern = PsdPattern{};
  // Counted at once so that the document releases what the pattern owns on any failure.
  ++document->patternCount;
  pattern->mode = PsdReadU32(document);
  if (pattern->mode > 9 || pattern->mode == 5 || pattern->mode == 6) return kPsdBadMode;
  const uint16_t height = PsdReadU16(document);
  const uint16_t width = PsdReadU16(document);
  pattern->height = int16_t(height);
  pattern->width = int16_t(width);
  const int64_t nameLength = PsdReadU32(document);
  if (nameLength * 2 > PsdBytesLeft(document)) return kPsdShortData;
  pattern->name = PsdAllocate<uint16_t>(nameLength);
  if (!pattern->name) return kPsdNoMemory;
  pattern->nameLength = int32_t(nameLength);
  PsdReadBytes(document, pattern->name, nameLength * 2);
  PsdReadBytes(document, pattern->id, PsdReadU8(document));
  uint32_t palette[256] = {};
  if (pattern->mode == 2) {
    uint8_t rgb[768] = {};
    PsdReadBytes(document, rgb, sizeof rgb);
    for (int32_t i = 0; i < 256; ++i) {
      palette[i] = 0xFF000000u | uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2];
    }
  }
  pattern->arrayVersion = PsdReadU32(document);
  PsdReadU32(document);
  pattern->top = int16_t(PsdReadU32(document));
  pattern->left = int16_t(PsdReadU32(document));
  pattern->bottom = int16_t(PsdReadU32(document));
  pattern->right = int16_t(PsdReadU32(document));
  const uint32_t channels = PsdReadU32(document);
  const int32_t planeCount = pattern->mode == 1 || pattern->mode == 8 ? 2
                             : pattern->mode == 3 || pattern->mode == 7 || pattern->mode == 9 ? 4
                             : pattern->mode == 4 ? 5 : 1;
  const int64_t planeLength = PsdPlaneLength(width, height, document->depth);
  if (planeLength < 0) return kPsdNoMemory;
  int32_t decoded = 0;
  bool depthKept = false;
  const auto patternLeft = [&] {
    const int64_t limit = end < document->fileLength ? end : document->fileLength;
    return limit - document->consumed;
  };
  for (uint32_t i = 0; i < channels && patternLeft() > 12; ++i) {
    const uint32_t written = PsdReadU32(document);
    const int64_t size = int64_t(PsdReadU32(document)) - 23;
    if (size < 0) continue;
    const uint32_t depth = PsdReadU32(document);
    if (!depthKept) pattern->depth = depth, depthKept = true;
    PsdSkip(document, 18);
    const uint8_t code = PsdReadU8(document);
    // Written channels beyond the planes the mode has are passed over.
    if (!written || decoded >= planeCount) {
      PsdSkip(document, size);
      continue;
    }
    if (decoded == 0) {
      const int32_t status =
          PsdReserve(document->planes, document->planeCapacity, planeLength * planeCount, 0);
      if (status != kPsdOk) return status;
      std::memset(document->planes, 0, size_t(planeLength * planeCount));
    }
    if (size > PsdBytesLeft(document)) return kPsdShortData;
    int32_t status = PsdReserve(document->compressed, document->compressedCapacity, size, 4096);
    if (status != kPsdOk) return status;
    if (PsdReadBytes(document, document->compressed, size) != size) return kPsdShortData;
    uint8_t* plane = document->planes + decoded * planeLength;
    switch (code) {
      case 0: std::memcpy(plane, document->compressed, size_t(size < planeLength ? size : planeLength)); break;
      case 1: status = PsdUnpackRuns(document->compressed, size, height, plane, planeLength); break;
      case 2: status = PsdInflate(document->compressed, size, plane, planeLength); break;
      case 3: status = PsdInflatePredicted(document->compressed, size, plane, planeLength, width, document->depth); break;
      default: status = kPsdBadCompression; break;
    }
    if (status != kPsdOk) return status;
    ++decoded;
  }
  pattern->channelCount = decoded;
  const int64_t count = int64_t(width) * height;
  pattern->pixels = PsdAllocate<uint32_t>(count);
  if (!pattern->pixels) return kPsdNoMemory;
  const bool combinable = pattern->mode != 0 || pattern->depth == 1;
  if (decoded > 0 && count > 0 && combinable) {
    PsdPlaneSet set = PsdMakePlaneSet(pattern->mode, document->planes, planeLength, document->depth, width, height);
    set.colourPlanes = decoded;
    PsdCombine(document, set, pattern->pixels, pattern->mode == 2 ? palette : nullptr);
  }
  PsdSkip(document, end - document->consumed);
  return kPsdOk;
}
