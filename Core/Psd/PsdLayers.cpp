// Stage 3: the layer and mask section, the layer records and their additional information.
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

// Fewest bytes one layer record takes: rectangle, channel count, blend signature and key,
// opacity, clipping, flags, filler and the extra data length.
constexpr int64_t kPsdMinLayerRecord = 34;

void PsdSetLayerDefaults(PsdLayer* layer) {
  layer->type = kPsdLayerNormal;
  layer->blendMode = kPsdBlendNormal;
  layer->opacity = 255;
  layer->fillOpacity = 255;
  layer->blendClipped = true;
  layer->blendInterior = false;
  layer->knockout = false;
  layer->transparencyShapes = true;
  layer->layerMaskHidesEffects = false;
  layer->vectorMaskHidesEffects = false;
  layer->dividerBlendMode = kPsdBlendPassThrough;
  layer->mask.defaultColor = 255;
  layer->mask.disabled = true;
}

// right - left as an i32 size; 0 when the difference does not fit.
int32_t PsdSpan(int32_t low, int32_t high) {
  const int64_t span = int64_t(high) - low;
  return span >= INT32_MIN && span <= INT32_MAX ? int32_t(span) : 0;
}

int32_t PsdReadMask(PsdDocument* document, PsdLayer* layer) {
  const int64_t size = int32_t(PsdReadU32(document));
  if (size <= 0) return kPsdOk;
  const int64_t start = document->consumed;
  PsdLayerMask& mask = layer->mask;
  mask.top = int32_t(PsdReadU32(document));
  mask.left = int32_t(PsdReadU32(document));
  mask.bottom = int32_t(PsdReadU32(document));
  mask.right = int32_t(PsdReadU32(document));
  mask.defaultColor = PsdReadU8(document);
  const uint8_t flags = PsdReadU8(document);
  mask.relative = flags & 1;
  mask.disabled = flags & 2;
  mask.invert = flags & 4;
  if (size == 20) {
    PsdReadU16(document);
  } else {
    // The real mask keeps its own rectangle: channel -3 is sized by it, channel -2 by the user mask.
    mask.hasReal = true;
    mask.realFlags = PsdReadU8(document);
    mask.realBackground = PsdReadU8(document);
    mask.realTop = int32_t(PsdReadU32(document));
    mask.realLeft = int32_t(PsdReadU32(document));
    mask.realBottom = int32_t(PsdReadU32(document));
    mask.realRight = int32_t(PsdReadU32(document));
  }
  mask.width = PsdSpan(mask.left, mask.right);
  mask.height = PsdSpan(mask.top, mask.bottom);
  // Longer records (mask parameters) continue to their recorded end.
  PsdSkip(document, start + size - document->consumed);
  return kPsdOk;
}

int32_t PsdReadBlendingRanges(PsdDocument* document, PsdLayer* layer, int64_t extraEnd) {
  const int64_t length = PsdReadU32(document);
  // Writers that keep no ranges store length 0: there is nothing to read.
  if (length == 0) return kPsdOk;
  const int64_t start = document->consumed;
  for (uint16_t& value : layer->compositeGrey) value = PsdReadU16(document);
  const int64_t count = (length - 8) / 8;
  if (count <= 0) return kPsdNoBlendingRanges;
  if (start + length > extraEnd || length > PsdBytesLeft(document) + 8) return kPsdShortData;
  layer->sourceBlack = PsdAllocate<int16_t>(count);
  layer->sourceWhite = PsdAllocate<int16_t>(count);
  layer->destinationBlack = PsdAllocate<int16_t>(count);
  layer->destinationWhite = PsdAllocate<int16_t>(count);
  if (!layer->sourceBlack || !layer->sourceWhite || !layer->destinationBlack || !layer->destinationWhite) {
    return kPsdNoMemory;
  }
  layer->rangeCount = int32_t(count);
  for (int64_t i = 0; i < count; ++i) {
    layer->sourceBlack[i] = int16_t(PsdReadU16(document));
    layer->sourceWhite[i] = int16_t(PsdReadU16(document));
    layer->destinationBlack[i] = int16_t(PsdReadU16(document));
    layer->destinationWhite[i] = int16_t(PsdReadU16(document));
  }
  PsdSkip(document, start + length - document->consumed);
  return kPsdOk;
}

bool PsdReadFlagBlock(PsdDocument* document) {
  const bool value = PsdReadBool(document);
  PsdSkip(document, 3);
  return value;
}

int32_t PsdReadLayerInfoBlock(PsdDocument* document, PsdLayer* layer, uint32_t key, int64_t length) {
  switch (key) {
    case PsdKey("luni"): return PsdReadUnicodeText(document, &layer->unicodeNameLength, &layer->unicodeName);
    case PsdKey("lnsr"): layer->nameSource = PsdReadU32(document); return kPsdOk;
    case PsdKey("lyid"): layer->layerId = PsdReadU32(document); return kPsdOk;
    case PsdKey("lyvr"): layer->layerVersion = PsdReadU32(document); return kPsdOk;
    case PsdKey("clbl"): layer->blendClipped = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("infx"): layer->blendInterior = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("knko"): layer->knockout = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("tsly"): layer->transparencyShapes = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("lmgm"): layer->layerMaskHidesEffects = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("vmgm"): layer->vectorMaskHidesEffects = PsdReadFlagBlock(document); return kPsdOk;
    case PsdKey("iOpa"):
      layer->fillOpacity = PsdReadU8(document);
      PsdSkip(document, 3);
      return kPsdOk;
    case PsdKey("lspf"): {
      const uint32_t flags = PsdReadU32(document);
      layer->protectTransparency = flags & 1;
      layer->protectComposite = flags & 2;
      layer->protectPosition = flags & 4;
      return kPsdOk;
    }
    case PsdKey("lclr"): {
      uint8_t rgb[4] = {};
      PsdReadBytes(document, rgb, 4);
      PsdSkip(document, 4);
      layer->sheetColor = 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
      return kPsdOk;
    }
    case PsdKey("fxrp"):
      layer->referenceX = PsdDoubleToInt(PsdReadDouble(document));
      layer->referenceY = PsdDoubleToInt(PsdReadDouble(document));
      return kPsdOk;
    case PsdKey("brst"):
      for (int64_t i = 0; i < length / 4; ++i) {
        const int32_t id = int32_t(PsdReadU32(document));
        for (int32_t c = 0; c < layer->channelCount; ++c) {
          if (layer->channels[c].id == id) {
            layer->channels[c].restricted = true;
            break;
          }
        }
      }
      return kPsdOk;
    case PsdKey("lsct"): {
      layer->dividerType = int32_t(PsdReadU32(document));
      if (layer->dividerType == 1 || layer->dividerType == 2) layer->type = kPsdLayerFolderStart;
      if (layer->dividerType == 3) layer->type = kPsdLayerFolderEnd;
      if (length == 12) {
        if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadDividerSignature;
        layer->dividerBlendMode = PsdReadBlendMode(document);
      }
      return kPsdOk;
    }
    default: {
      int32_t status = PsdReadAdjustmentInfo(document, layer, key, length);
      if (status == 1) status = PsdReadEffectsInfo(document, layer, key);
      return status == 1 ? kPsdOk : status;
    }
  }
}

}  // namespace

void PsdReleaseLayer(PsdLayer* layer) {
  if (!layer) return;
  for (int32_t i = 0; i < layer->infoCount && i < kPsdMaxLayerInfos; ++i) {
    PsdReleaseLayerInfo(layer->infoKinds[i], layer->infos[i]);
    layer->infos[i] = nullptr;
  }
  layer->infoCount = 0;
  PsdRelease(layer->channels);
  layer->channelCount = 0;
  PsdRelease(layer->unicodeName);
  PsdRelease(layer->pixels);
  PsdRelease(layer->mask.pixels);
  PsdRelease(layer->sourceBlack);
  PsdRelease(layer->sourceWhite);
  PsdRelease(layer->destinationBlack);
  PsdRelease(layer->destinationWhite);
  layer->rangeCount = 0;
}

int32_t PsdReadLayerRecord(PsdDocument* document, PsdLayer* layer) {
  layer->top = int32_t(PsdReadU32(document));
  layer->left = int32_t(PsdReadU32(document));
  layer->bottom = int32_t(PsdReadU32(document));
  layer->right = int32_t(PsdReadU32(document));
  layer->width = PsdSpan(layer->left, layer->right);
  layer->height = PsdSpan(layer->top, layer->bottom);
  const uint16_t channels = PsdReadU16(document);
  // Each channel info takes 6 bytes; counts from 0x8000 do not fit the signed count.
  if (channels > 0x7FFF || int64_t(channels) * 6 > PsdBytesLeft(document)) return kPsdShortData;
  layer->channels = PsdAllocate<PsdChannelInfo>(channels);
  if (!layer->channels) return kPsdNoMemory;
  layer->channelCount = int16_t(channels);
  for (int32_t i = 0; i < channels; ++i) {
    layer->channels[i].id = int16_t(PsdReadU16(document));
    layer->channels[i].length = int32_t(PsdReadU32(document));
    layer->channels[i].restricted = false;
  }
  if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadBlendSignature;
  layer->blendMode = PsdReadBlendMode(document);
  layer->opacity = PsdReadU8(document);
  layer->clipping = PsdReadU8(document) != 0;
  const uint8_t flags = PsdReadU8(document);
  layer->transparencyProtected = flags & 1;
  layer->visible = !(flags & 2);
  layer->obsolete = flags & 4;
  layer->pixelDataIrrelevant = (flags & 8) && (flags & 16);
  PsdReadU8(document);
  const int64_t extraLength = PsdReadU32(document);
  const int64_t extraStart = document->consumed;
  const int64_t extraEnd = extraStart + extraLength;
  int32_t status = PsdReadMask(document, layer);
  if (status == kPsdOk) status = PsdReadBlendingRanges(document, layer, extraEnd);
  if (status != kPsdOk) return status;
  const uint8_t nameLength = PsdReadU8(document);
  PsdReadBytes(document, layer->name, (nameLength & ~3) + 3);
  while (document->consumed - extraStart < extraLength) {
    if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadLayerInfoSignature;
    const uint32_t key = PsdReadU32(document);
    int64_t length = PsdReadU32(document);
    length += length & 1;
    const int64_t blockStart = document->consumed;
    // A block claiming more than the file holds is read as far as the file goes.
    const int64_t held = length < PsdBytesLeft(document) ? length : PsdBytesLeft(document);
    {
      const PsdBlockScope block(document, blockStart + held);
      status = PsdReadLayerInfoBlock(document, layer, key, held);
    }
    if (status != kPsdOk) return status;
    PsdSkip(document, blockStart + length - document->consumed);
  }
  return kPsdOk;
}

int32_t PsdReadLayerInfo(PsdDocument* document) {
  int64_t length = PsdReadU32(document);
  length += length & 1;
  if (length <= 0) return kPsdOk;
  const int64_t start = document->consumed;
  const uint16_t stored = PsdReadU16(document);
  // The absolute value of the signed count; 0x8000 has none.
  if (stored == 0x8000) return kPsdShortData;
  const int64_t count = stored & 0x8000 ? 0x10000 - stored : stored;
  if (count * kPsdMinLayerRecord > PsdBytesLeft(document)) return kPsdShortData;
  // A second layer list (Lr16) takes the place of the first one.
  if (document->layers) {
    for (int32_t i = 0; i < document->layerCount; ++i) PsdReleaseLayer(&document->layers[i]);
    PsdRelease(document->layers);
    document->layerCount = 0;
  }
  document->layers = PsdAllocate<PsdLayer>(count);
  if (!document->layers) return kPsdNoMemory;
  document->layerCount = int16_t(count);
  for (int64_t i = 0; i < count; ++i) {
    PsdLayer* layer = &document->layers[i];
    PsdSetLayerDefaults(layer);
    const int32_t status = PsdReadLayerRecord(document, layer);
    if (status != kPsdOk) {
      PsdReleaseLayer(layer);
      return status;
    }
  }
  for (int64_t i = 0; i < count; ++i) {
    const int32_t status = PsdReadLayerChannels(document, &document->layers[i]);
    if (status != kPsdOk) {
      PsdReleaseLayer(&document->layers[i]);
      return status;
    }
  }
  PsdSkip(document, start + length - document->consumed);
  PsdLayer* folder = nullptr;
  for (int64_t i = count - 1; i >= 0; --i) {
    PsdLayer* layer = &document->layers[i];
    if (layer->type == kPsdLayerFolderStart) {
      folder = layer;
    } else if (layer->type == kPsdLayerFolderEnd) {
      folder = nullptr;
    } else if (layer->type == kPsdLayerNormal) {
      layer->folder = folder;
    }
  }
  return kPsdOk;
}

int32_t PsdReadGlobalLayerMask(PsdDocument* document) {
  const int64_t length = PsdReadU32(document);
  if (length == 0) return kPsdOk;
  const int64_t start = document->consumed;
  document->maskOverlayColor = PsdReadColor(document);
  document->maskOpacity = int16_t(PsdReadU16(document));
  document->maskKind = PsdReadU8(document);
  PsdSkip(document, start + length - document->consumed);
  return kPsdOk;
}

int32_t PsdReadLayerAndMaskSection(PsdDocument* document) {
  const int64_t length = int32_t(PsdReadU32(document));
  if (length <= 0) return kPsdOk;
  const int64_t start = document->consumed;
  const int64_t end = start + length;
  if (document->tag == kPsdLoadMerged || document->tag == kPsdLoadThumbnail || document->tag == kPsdLoadExif) {
    PsdSkip(document, length);
    return kPsdOk;
  }
  int32_t status = PsdReadLayerInfo(document);
  PsdRelease(document->planes);
  document->planeCapacity = 0;
  PsdRelease(document->compressed);
  document->compressedCapacity = 0;
  if (status != kPsdOk) return status;
  PsdReadGlobalLayerMask(document);
  while (end - document->consumed > 12) {
    if (PsdReadU32(document) != PsdKey("8BIM")) break;
    const uint32_t key = PsdReadU32(document);
    if (key == PsdKey("Lr16")) {
      status = PsdReadLayerInfo(document);
      PsdRelease(document->planes);
      document->planeCapacity = 0;
      PsdRelease(document->compressed);
      document->compressedCapacity = 0;
      if (status != kPsdOk) return status;  // a failed second list ends the stage with its status
      continue;
    }
    int64_t blockLength = PsdReadU32(document);
    const int64_t blockStart = document->consumed;
    if ((key == PsdKey("Patt") || key == PsdKey("Pat2")) && blockLength > 3) {
      int64_t left = blockLength;
      while (left >= 4 && PsdBytesLeft(document) >= 4) {
        const int64_t before = document->consumed;
        status = PsdReadPattern(document);
        if (status != kPsdOk) return status;
        left -= document->consumed - before;
      }
      PsdRelease(document->planes);
      document->planeCapacity = 0;
      PsdRelease(document->compressed);
      document->compressedCapacity = 0;
    }
    PsdSkip(document, blockStart + blockLength - document->consumed);
  }
  PsdSeekTo(document, end);
  return kPsdOk;
}
