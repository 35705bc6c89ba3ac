// Additional layer information of adjustment and fill layers, and the descriptor reader.
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

// Attaches a zero-filled record of kind to the layer's next slot; null when the slots are full or
// memory runs out (status in *status).
template <class T>
T* PsdAttachInfo(PsdLayer* layer, PsdLayerInfoKind kind, int32_t* status) {
  *status = kPsdOk;
  T* record = PsdAllocate<T>(1);
  if (!record) {
    *status = kPsdNoMemory;
    return nullptr;
  }
  layer->infoKinds[layer->infoCount] = kind;
  layer->infos[layer->infoCount] = record;
  ++layer->infoCount;
  return record;
}

int16_t PsdReadI16(PsdDocument* document) { return int16_t(PsdReadU16(document)); }


void PsdSkipReference(PsdDocument* document) {
  const uint32_t count = PsdReadU32(document);
  for (uint32_t i = 0; i < count && PsdBytesLeft(document) > 0; ++i) {
    switch (PsdReadU32(document)) {
      case PsdKey("Clss"):
        PsdSkipUnicode(document);
        PsdReadDescriptorKey(document);
        break;
      case PsdKey("Enmr"):
        PsdSkipUnicode(document);
        PsdReadDescriptorKey(document);
        PsdReadDescriptorKey(document);
        PsdReadDescriptorKey(document);
        break;
      case PsdKey("prop"):
        PsdSkipUnicode(document);
        PsdReadDescriptorKey(document);
        PsdReadDescriptorKey(document);
        break;
      case PsdKey("rele"):
        PsdSkipUnicode(document);
        PsdReadDescriptorKey(document);
        PsdReadU32(document);
        break;
      case PsdKey("Idnt"):
      case PsdKey("indx"): PsdReadU32(document); break;
      case PsdKey("name"): PsdSkipUnicode(document); break;
      default: break;
    }
  }
}

int32_t PsdReadFillVersion(PsdDocument* document, int32_t failure) {
  return PsdReadU32(document) == 16 ? kPsdOk : failure;
}

int32_t PsdReadLevelsEntries(PsdDocument* document, PsdLevelsEntry* entries, int64_t count) {
  for (int64_t i = 0; i < count; ++i) {
    entries[i].inputFloor = PsdReadI16(document);
    entries[i].inputCeiling = PsdReadI16(document);
    entries[i].outputFloor = PsdReadI16(document);
    entries[i].outputCeiling = PsdReadI16(document);
    entries[i].gamma = float(PsdReadI16(document)) / 100.0f;
  }
  return kPsdOk;
}

int32_t PsdReadLevels(PsdDocument* document, PsdLayer* layer, int64_t length) {
  int32_t status = kPsdOk;
  auto* levels = PsdAttachInfo<PsdLevels>(layer, kPsdInfoLevels, &status);
  if (!levels) return status;
  const int64_t start = document->consumed;
  if (PsdReadU16(document) != 2) return kPsdBadLevels;
  // Reads stop at the block's end, so a block too short for what it holds is caught by its length.
  if (length < 2 + 29 * 10) return kPsdLevelsLength;
  PsdReadLevelsEntries(document, levels->entries, 29);
  if (document->consumed - start < length - 4) {
    if (length - (document->consumed - start) < 8) return kPsdLevelsLength;
    if (PsdReadU32(document) != PsdKey("Lvls")) return kPsdBadLevelsExtension;
    if (PsdReadU16(document) != 3) return kPsdBadLevelsExtensionVersion;
    const uint16_t count = PsdReadU16(document);
    // Counts below the 29 fixed entries have no extra ones; the length check then decides.
    int64_t extra = count > 29 ? count - 29 : 0;
    if (extra * 10 > PsdBytesLeft(document)) return kPsdLevelsLength;
    levels->extra = PsdAllocate<PsdLevelsEntry>(extra);
    if (!levels->extra) return kPsdNoMemory;
    levels->extraCount = uint16_t(extra);
    PsdReadLevelsEntries(document, levels->extra, extra);
  }
  if (document->consumed - start != length) return kPsdLevelsLength;
  layer->adjustmentValid = true;
  return kPsdOk;
}

int32_t PsdReadCurves(PsdDocument* document, PsdLayer* layer, int64_t length) {
  int32_t status = kPsdOk;
  auto* curves = PsdAttachInfo<PsdCurves>(layer, kPsdInfoCurves, &status);
  if (!curves) return status;
  const int64_t start = document->consumed;
  PsdReadU8(document);
  const uint16_t version = PsdReadU16(document);
  if (version != 1 && version != 4) return kPsdBadCurves;
  const uint32_t bits = PsdReadU32(document);
  int32_t count = 0;
  for (uint32_t b = bits; b; b &= b - 1) ++count;
  curves->curves = PsdAllocate<PsdCurve>(count);
  if (!curves->curves) return kPsdNoMemory;
  curves->count = count;
  int32_t index = 0;
  for (int32_t bit = 0; bit < 32; ++bit) {
    if (!(bits & (1u << bit))) continue;
    PsdCurve& curve = curves->curves[index++];
    curve.channel = bit;
    const uint16_t points = PsdReadU16(document);
    curve.pointCount = points < 19 ? points : 19;
    for (int32_t p = 0; p < points && PsdBytesLeft(document) > 0; ++p) {
      const uint16_t first = PsdReadU16(document), second = PsdReadU16(document);
      if (p < 19) curve.first[p] = first, curve.second[p] = second;
    }
  }
  if (document->consumed - start < length - 4) {
    if (PsdReadU32(document) != PsdKey("Crv ")) return kPsdBadCurvesExtension;
    if (PsdReadU16(document) != 4) return kPsdBadCurvesExtensionVersion;
    if (int64_t(PsdReadU32(document)) != count) return kPsdOk;
    for (int32_t i = 0; i < count; ++i) {
      PsdCurve& curve = curves->curves[i];
      const uint16_t channel = PsdReadU16(document);
      const uint16_t points = PsdReadU16(document);
      if (points > 19 || points != curve.pointCount) return kPsdOk;
      for (int32_t p = 0; p < points; ++p) {
        const uint16_t first = PsdReadU16(document), second = PsdReadU16(document);
        if (first != curve.first[p] || second != curve.second[p]) return kPsdOk;
      }
      curve.channel = channel;
    }
  }
  layer->adjustmentValid = true;
  return kPsdOk;
}

int32_t PsdReadSimpleAdjustment(PsdDocument* document, PsdLayer* layer, uint32_t key) {
  int32_t status = kPsdOk;
  switch (key) {
    case PsdKey("brit"): {
      auto* record = PsdAttachInfo<PsdBrightnessContrast>(layer, kPsdInfoBrightnessContrast, &status);
      if (!record) return status;
      record->brightness = PsdReadI16(document);
      record->contrast = PsdReadI16(document);
      record->mean = PsdReadI16(document);
      record->labOnly = PsdReadU8(document);
      break;
    }
    case PsdKey("blnc"): {
      auto* record = PsdAttachInfo<PsdColorBalance>(layer, kPsdInfoColorBalance, &status);
      if (!record) return status;
      for (int32_t range = 0; range < 3; ++range) {
        record->cyanRed[range] = PsdReadI16(document);
        record->magentaGreen[range] = PsdReadI16(document);
        record->yellowBlue[range] = PsdReadI16(document);
      }
      record->preserveLuminosity = PsdReadU16(document);
      break;
    }
    case PsdKey("hue2"): {
      auto* record = PsdAttachInfo<PsdHueSaturation>(layer, kPsdInfoHueSaturation, &status);
      if (!record) return status;
      if (PsdReadU16(document) != 2) return kPsdBadHueSaturation;
      record->colorize = PsdReadU8(document);
      PsdReadU8(document);
      for (int16_t& value : record->colorization) value = PsdReadI16(document);
      for (int16_t& value : record->master) value = PsdReadI16(document);
      for (int32_t range = 0; range < 6; ++range) {
        for (int16_t& value : record->ranges[range]) value = PsdReadI16(document);
        for (int16_t& value : record->settings[range]) value = PsdReadI16(document);
      }
      break;
    }
    case PsdKey("selc"): {
      auto* record = PsdAttachInfo<PsdSelectiveColor>(layer, kPsdInfoSelectiveColor, &status);
      if (!record) return status;
      if (PsdReadU16(document) != 1) return kPsdBadSelectiveColor;
      record->method = PsdReadU16(document);
      for (int32_t i = 0; i < 10; ++i) {
        record->cyan[i] = PsdReadI16(document);
        record->magenta[i] = PsdReadI16(document);
        record->yellow[i] = PsdReadI16(document);
        record->black[i] = PsdReadI16(document);
      }
      break;
    }
    case PsdKey("thrs"): {
      auto* record = PsdAttachInfo<PsdThreshold>(layer, kPsdInfoThreshold, &status);
      if (!record) return status;
      record->level = PsdReadU16(document);
      PsdReadU16(document);
      break;
    }
    case PsdKey("nvrt"):
      // The kind is listed without a record.
      layer->infoKinds[layer->infoCount] = kPsdInfoInvert;
      layer->infos[layer->infoCount] = nullptr;
      ++layer->infoCount;
      break;
    case PsdKey("post"): {
      auto* record = PsdAttachInfo<PsdPosterize>(layer, kPsdInfoPosterize, &status);
      if (!record) return status;
      record->levels = PsdReadU16(document);
      PsdReadU16(document);
      break;
    }
    case PsdKey("mixr"): {
      auto* record = PsdAttachInfo<PsdChannelMixer>(layer, kPsdInfoChannelMixer, &status);
      if (!record) return status;
      if (PsdReadU16(document) != 1) return kPsdBadChannelMixer;
      record->monochrome = uint8_t(PsdReadU16(document));
      for (int32_t group = 0; group < 4; ++group) {
        for (int32_t n = 0; n < 5; ++n) record->values[n][group] = PsdReadI16(document);
      }
      break;
    }
    case PsdKey("phfl"): {
      auto* record = PsdAttachInfo<PsdPhotoFilter>(layer, kPsdInfoPhotoFilter, &status);
      if (!record) return status;
      if (PsdReadU16(document) != 3) return kPsdBadPhotoFilter;
      record->x = int32_t(PsdReadU32(document)) >> 8;
      record->y = int32_t(PsdReadU32(document)) >> 8;
      record->z = int32_t(PsdReadU32(document)) >> 8;
      record->density = PsdReadU32(document);
      record->preserveLuminosity = PsdReadBool(document);
      PsdReadU8(document);
      break;
    }
    default: return 1;
  }
  layer->adjustmentValid = true;
  return kPsdOk;
}

int32_t PsdReadSolidColorFill(PsdDocument* document, PsdLayer* layer) {
  int32_t status = kPsdOk;
  auto* record = PsdAttachInfo<PsdSolidColor>(layer, kPsdInfoSolidColor, &status);
  if (!record) return status;
  if (PsdReadFillVersion(document, kPsdBadSolidColor) != kPsdOk) return kPsdBadSolidColor;
  PsdSkipUnicode(document);
  PsdReadU32(document);
  record->classId = PsdReadU32(document);
  for (int32_t i = 0; i < 4; ++i) PsdReadU32(document);
  record->color = PsdReadColorDescriptor(document);
  return kPsdOk;
}

int32_t PsdReadGradientFill(PsdDocument* document, PsdLayer* layer) {
  int32_t status = kPsdOk;
  auto* record = PsdAttachInfo<PsdGradientFill>(layer, kPsdInfoGradientFill, &status);
  if (!record) return status;
  record->scale = 100;
  record->aligned = true;
  if (PsdReadFillVersion(document, kPsdBadGradientFill) != kPsdOk) return kPsdBadGradientFill;
  PsdSkipUnicode(document);
  record->classId = PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    const uint32_t key = PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadU32(document);
    switch (key) {
      case PsdKey("Algn"): record->aligned = PsdReadBool(document); break;
      case PsdKey("Angl"):
        PsdReadU32(document);
        record->angle = PsdReadDouble(document);
        break;
      case PsdKey("Dthr"): record->dithered = PsdReadBool(document); break;
      case PsdKey("Rvrs"): record->reversed = PsdReadBool(document); break;
      case PsdKey("Scl "):
        PsdReadU32(document);
        record->scale = PsdDoubleToInt(PsdReadDouble(document));
        break;
      case PsdKey("Type"):
        PsdReadDescriptorKey(document);
        record->gradientType = PsdReadGradientTypeEnum(document);
        break;
      case PsdKey("Grad"):
        status = PsdReadGradientDescriptor(document, &record->gradient);
        if (status != kPsdOk) return status;
        break;
      default: PsdSkipDescriptorValue(document, type, 1); break;
    }
  }
  return kPsdOk;
}

int32_t PsdReadPatternFill(PsdDocument* document, PsdLayer* layer) {
  int32_t status = kPsdOk;
  auto* record = PsdAttachInfo<PsdPatternFill>(layer, kPsdInfoPatternFill, &status);
  if (!record) return status;
  if (PsdReadFillVersion(document, kPsdBadPatternFill) != kPsdOk) return kPsdBadPatternFill;
  PsdSkipUnicode(document);
  record->classId = PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    const uint32_t key = PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadU32(document);
    if (key == PsdKey("Scl ")) {
      PsdReadU32(document);
      record->scale = PsdDoubleToInt(PsdReadDouble(document));
    } else if (key == PsdKey("Ptrn") && type == PsdKey("Objc")) {
      status = PsdReadPatternDescriptor(document, &record->pattern);
      if (status != kPsdOk) return status;
    } else {
      PsdSkipDescriptorValue(document, type, 1);
    }
  }
  return kPsdOk;
}

// Creates the array of a counted list (count cut by PsdCountInBlock) and stores its count.
template <class T, class Count>
int32_t PsdCreateCounted(PsdDocument* document, int64_t count, int64_t minimum, T** array, Count* stored) {
  count = PsdCountInBlock(document, count, minimum);
  *array = PsdAllocate<T>(count);
  if (!*array) return kPsdNoMemory;
  *stored = Count(count);
  return kPsdOk;
}

int32_t PsdReadGradientMap(PsdDocument* document, PsdLayer* layer) {
  int32_t status = kPsdOk;
  auto* map = PsdAttachInfo<PsdGradientMap>(layer, kPsdInfoGradientMap, &status);
  if (!map) return status;
  if (PsdReadU16(document) != 1) return kPsdBadGradientMap;
  map->reversed = PsdReadBool(document);
  map->dithered = PsdReadBool(document);
  status = PsdReadUnicodeText(document, &map->nameLength, &map->name);
  if (status != kPsdOk) return status;
  status = PsdCreateCounted(document, PsdReadU16(document), 20, &map->colorStops, &map->colorStopCount);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < map->colorStopCount; ++i) {
    PsdGradientStop& stop = map->colorStops[i];
    stop.location = PsdReadU32(document);
    stop.midpoint = PsdReadU32(document);
    stop.color = PsdReadColor(document);
    PsdReadU16(document);
    stop.type = 2;
  }
  status = PsdCreateCounted(document, PsdReadU16(document), 10, &map->transparencyStops,
                            &map->transparencyStopCount);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < map->transparencyStopCount; ++i) {
    PsdTransparencyStop& stop = map->transparencyStops[i];
    stop.location = PsdReadU32(document);
    stop.midpoint = PsdReadU32(document);
    stop.opacity = PsdReadI16(document);
  }
  map->expansionCount = PsdReadU16(document);
  if (map->expansionCount > 0) {
    map->interpolation = PsdReadU16(document);
    map->length = PsdReadU16(document);
    if (map->length >= 32) {
      map->mode = PsdReadU16(document);
      map->randomSeed = PsdReadU32(document);
      map->showTransparency = PsdReadU16(document);
      map->useVectorColor = PsdReadU16(document);
      map->roughness = PsdReadU32(document);
      map->colorModel = PsdReadU16(document);
      int16_t values[2][4];
      for (auto& color : values) {
        for (int16_t& value : color) value = PsdReadColorComponent(document);
      }
      PsdConvertColorRecord(&map->minimumColor, map->colorModel, values[0][0], values[0][1], values[0][2],
                            values[0][3]);
      PsdConvertColorRecord(&map->maximumColor, map->colorModel, values[1][0], values[1][1], values[1][2],
                            values[1][3]);
    }
  }
  PsdReadU16(document);
  layer->adjustmentValid = true;
  return kPsdOk;
}

// A length byte and that many bytes, kept zero-terminated in 256 chars.
void PsdReadShortName(PsdDocument* document, char* name) {
  const uint8_t length = PsdReadU8(document);
  PsdReadBytes(document, name, length);
}

int32_t PsdReadTypeTool(PsdDocument* document, PsdLayer* layer) {
  int32_t status = kPsdOk;
  auto* type = PsdAttachInfo<PsdTypeTool>(layer, kPsdInfoTypeTool, &status);
  if (!type) return status;
  for (double& value : type->transform) value = PsdReadDouble(document);
  status = PsdCreateCounted(document, PsdReadU16(document), 15, &type->fonts, &type->fontCount);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < type->fontCount; ++i) {
    PsdTypeFont& font = type->fonts[i];
    font.mark = PsdReadU16(document);
    font.fontType = PsdReadU32(document);
    PsdReadShortName(document, font.name);
    PsdReadShortName(document, font.family);
    PsdReadShortName(document, font.style);
    font.script = PsdReadU16(document);
    status = PsdCreateCounted(document, PsdReadU32(document), 4, &font.designVector, &font.axisCount);
    if (status != kPsdOk) return status;
    for (uint32_t a = 0; a < font.axisCount; ++a) font.designVector[a] = PsdReadU32(document);
  }
  status = PsdCreateCounted(document, PsdReadU16(document), 27, &type->styles, &type->styleCount);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < type->styleCount; ++i) {
    PsdTypeStyle& style = type->styles[i];
    style.mark = PsdReadU16(document);
    style.faceMark = PsdReadU16(document);
    style.size = PsdReadU32(document);
    style.tracking = PsdReadU32(document);
    style.kerning = PsdReadU32(document);
    style.leading = PsdReadU32(document);
    style.baseShift = PsdReadU32(document);
    style.autoKern = PsdReadBool(document);
    PsdReadU8(document);
    style.rotate = PsdReadBool(document);
  }
  type->textType = PsdReadU16(document);
  type->scaling = PsdReadU32(document);
  type->characterCount = PsdReadU32(document);
  type->horizontal = PsdReadU32(document);
  type->vertical = PsdReadU32(document);
  type->selectStart = PsdReadU32(document);
  type->selectEnd = PsdReadU32(document);
  status = PsdCreateCounted(document, PsdReadU16(document), 12, &type->lines, &type->lineCount);
  if (status != kPsdOk) return status;
  for (int32_t i = 0; i < type->lineCount; ++i) {
    PsdTypeLine& line = type->lines[i];
    line.characterCount = PsdReadU32(document);
    line.orientation = PsdReadU16(document);
    line.alignment = PsdReadU16(document);
    line.character = PsdReadU16(document);
    line.style = PsdReadU16(document);
  }
  type->color = PsdReadColor(document);
  type->antiAlias = PsdReadBool(document);
  return kPsdOk;
}

}  // namespace

int64_t PsdCountInBlock(PsdDocument* document, int64_t count, int64_t minimum) {
  const int64_t fit = PsdBytesLeft(document) / minimum;
  return count < fit ? count : fit;
}

uint32_t PsdReadDescriptorKey(PsdDocument* document, char* name) {
  const int64_t length = PsdReadU32(document);
  if (name) name[0] = 0;
  if (length == 0) return PsdReadU32(document);
  const int64_t kept = length < 255 ? length : 255;
  if (name) {
    PsdReadBytes(document, name, kept);
    name[kept] = 0;
    PsdSkip(document, length - kept);
  } else {
    PsdSkip(document, length);
  }
  return 0;
}

void PsdSkipUnicode(PsdDocument* document) { PsdSkip(document, int64_t(PsdReadU32(document)) * 2); }

uint32_t PsdReadColorDescriptor(PsdDocument* document) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  PsdReadU32(document);
  uint32_t rgb[3] = {};
  for (uint32_t& value : rgb) {
    PsdReadU32(document);
    PsdReadU32(document);
    PsdReadU32(document);
    value = uint32_t(PsdDoubleToInt(PsdReadDouble(document))) & 0xFF;
  }
  return 0xFF000000u | rgb[0] << 16 | rgb[1] << 8 | rgb[2];
}

void PsdSkipDescriptor(PsdDocument* document, int32_t depth) {
  if (depth > kPsdMaxDescriptorDepth) return;
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  // A count beyond the bytes left ends with them.
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    PsdReadDescriptorKey(document);
    PsdSkipDescriptorValue(document, PsdReadU32(document), depth);
  }
}

void PsdSkipDescriptorValue(PsdDocument* document, uint32_t type, int32_t depth) {
  if (depth > kPsdMaxDescriptorDepth) return;
  switch (type) {
    case PsdKey("bool"): PsdSkip(document, 1); break;
    case PsdKey("long"): PsdSkip(document, 4); break;
    case PsdKey("doub"): PsdSkip(document, 8); break;
    case PsdKey("UntF"): PsdSkip(document, 12); break;
    case PsdKey("TEXT"): PsdSkipUnicode(document); break;
    case PsdKey("alis"): PsdSkip(document, PsdReadU32(document)); break;
    case PsdKey("enum"):
      PsdReadDescriptorKey(document);
      PsdReadDescriptorKey(document);
      break;
    case PsdKey("type"):
    case PsdKey("GlbC"):
      PsdSkipUnicode(document);
      PsdReadDescriptorKey(document);
      break;
    case PsdKey("Objc"):
    case PsdKey("GlbO"): PsdSkipDescriptor(document, depth + 1); break;
    case PsdKey("VlLs"): {
      const uint32_t count = PsdReadU32(document);
      for (uint32_t i = 0; i < count && PsdBytesLeft(document) > 0; ++i) {
        PsdSkipDescriptorValue(document, PsdReadU32(document), depth + 1);
      }
      break;
    }
    case PsdKey("obj "): PsdSkipReference(document); break;
    default: break;
  }
}

void PsdReleaseLayerInfo(PsdLayerInfoKind kind, void* record) {
  if (!record) return;
  switch (kind) {
    case kPsdInfoLevels: {
      auto* levels = static_cast<PsdLevels*>(record);
      PsdRelease(levels->extra);
      delete[] levels;
      return;
    }
    case kPsdInfoCurves: {
      auto* curves = static_cast<PsdCurves*>(record);
      PsdRelease(curves->curves);
      delete[] curves;
      return;
    }
    case kPsdInfoPatternFill: {
      auto* fill = static_cast<PsdPatternFill*>(record);
      PsdReleasePatternReference(fill->pattern);
      delete[] fill;
      return;
    }
    case kPsdInfoGradientFill: {
      auto* fill = static_cast<PsdGradientFill*>(record);
      PsdReleaseGradient(fill->gradient);
      delete[] fill;
      return;
    }
    case kPsdInfoGradientMap: {
      auto* map = static_cast<PsdGradientMap*>(record);
      PsdRelease(map->name);
      PsdRelease(map->colorStops);
      PsdRelease(map->transparencyStops);
      delete[] map;
      return;
    }
    case kPsdInfoTypeTool: {
      auto* type = static_cast<PsdTypeTool*>(record);
      for (int32_t i = 0; type->fonts && i < type->fontCount; ++i) PsdRelease(type->fonts[i].designVector);
      PsdRelease(type->fonts);
      PsdRelease(type->styles);
      PsdRelease(type->lines);
      delete[] type;
      return;
    }
    case kPsdInfoEffects:
    case kPsdInfoObjectEffects: {
      auto* effects = static_cast<PsdLayerEffects*>(record);
      PsdReleaseEffects(effects);
      delete[] effects;
      return;
    }
    case kPsdInfoBrightnessContrast: delete[] static_cast<PsdBrightnessContrast*>(record); return;
    case kPsdInfoColorBalance: delete[] static_cast<PsdColorBalance*>(record); return;
    case kPsdInfoHueSaturation: delete[] static_cast<PsdHueSaturation*>(record); return;
    case kPsdInfoSelectiveColor: delete[] static_cast<PsdSelectiveColor*>(record); return;
    case kPsdInfoThreshold: delete[] static_cast<PsdThreshold*>(record); return;
    case kPsdInfoPosterize: delete[] static_cast<PsdPosterize*>(record); return;
    case kPsdInfoChannelMixer: delete[] static_cast<PsdChannelMixer*>(record); return;
    case kPsdInfoPhotoFilter: delete[] static_cast<PsdPhotoFilter*>(record); return;
    case kPsdInfoSolidColor: delete[] static_cast<PsdSolidColor*>(record); return;
    default: return;  // no other kind attaches a record
  }
}

int32_t PsdReadAdjustmentInfo(PsdDocument* document, PsdLayer* layer, uint32_t key, int64_t length) {
  struct TypeOfKey {
    uint32_t key;
    int32_t type;
  };
  static const TypeOfKey kTypes[] = {
      {PsdKey("SoCo"), kPsdLayerSolidColor},      {PsdKey("GdFl"), kPsdLayerGradientFill},
      {PsdKey("PtFl"), kPsdLayerPatternFill},     {PsdKey("levl"), kPsdLayerLevels},
      {PsdKey("curv"), kPsdLayerCurves},          {PsdKey("brit"), kPsdLayerBrightnessContrast},
      {PsdKey("blnc"), kPsdLayerColorBalance},    {PsdKey("hue2"), kPsdLayerHueSaturation},
      {PsdKey("selc"), kPsdLayerSelectiveColor},  {PsdKey("thrs"), kPsdLayerThreshold},
      {PsdKey("nvrt"), kPsdLayerInvert},          {PsdKey("post"), kPsdLayerPosterize},
      {PsdKey("mixr"), kPsdLayerChannelMixer},    {PsdKey("grdm"), kPsdLayerGradientMap},
      {PsdKey("phfl"), kPsdLayerPhotoFilter},
  };
  const TypeOfKey* found = nullptr;
  for (const TypeOfKey& entry : kTypes) {
    if (entry.key == key) found = &entry;
  }
  if (!found && key != PsdKey("tySh")) return 1;
  // A layer keeps at most kPsdMaxLayerInfos records: further blocks are passed over whole.
  if (layer->infoCount >= kPsdMaxLayerInfos) return kPsdOk;
  if (!found) return PsdReadTypeTool(document, layer);
  layer->type = found->type;
  switch (key) {
    case PsdKey("levl"): return PsdReadLevels(document, layer, length);
    case PsdKey("curv"): return PsdReadCurves(document, layer, length);
    case PsdKey("SoCo"): return PsdReadSolidColorFill(document, layer);
    case PsdKey("GdFl"): return PsdReadGradientFill(document, layer);
    case PsdKey("PtFl"): return PsdReadPatternFill(document, layer);
    case PsdKey("grdm"): return PsdReadGradientMap(document, layer);
    default: return PsdReadSimpleAdjustment(document, layer, key);
  }
}
