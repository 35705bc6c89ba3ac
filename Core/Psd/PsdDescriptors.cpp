// Descriptor values shared by the fill and effect readers: gradients, pattern references, points.
#include "Core/Psd/PsdLocal.h"

namespace {

// Fewest bytes a colour stop and a transparency stop take in a file (one-byte named keys, empty
// class names); larger counts are cut to what the block can hold.
constexpr int64_t kPsdColorStopBytes = 64;
constexpr int64_t kPsdTransparencyStopBytes = 32;

// An item of a stop read by position: its key and type, then a u32 value.
uint32_t PsdReadStopLong(PsdDocument* document) {
  PsdReadDescriptorKey(document);
  PsdReadU32(document);
  return PsdReadU32(document);
}

// "Clrs": a list of colour stop objects, each a colour, a type enum, a location and a midpoint.
int32_t PsdReadColorStops(PsdDocument* document, PsdGradient* gradient) {
  const int64_t count = PsdCountInBlock(document, PsdReadU32(document), kPsdColorStopBytes);
  PsdRelease(gradient->colorStops);
  gradient->colorStopCount = 0;
  gradient->colorStops = PsdAllocate<PsdGradientStop>(count);
  if (!gradient->colorStops) return kPsdNoMemory;
  gradient->colorStopCount = int32_t(count);
  for (int64_t i = 0; i < count; ++i) {
    PsdGradientStop& stop = gradient->colorStops[i];
    PsdReadU32(document);
    PsdSkipUnicode(document);
    PsdReadDescriptorKey(document);
    PsdReadU32(document);
    PsdReadDescriptorKey(document);
    PsdReadU32(document);
    stop.color = PsdReadColorDescriptor(document);
    PsdReadDescriptorKey(document);
    PsdReadU32(document);
    PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadDescriptorKey(document);
    // A stop of another kind still carries its own colour: a user colour.
    stop.type = type == PsdKey("FrgC") ? 0 : type == PsdKey("BckC") ? 1 : 2;
    stop.location = PsdReadStopLong(document);
    stop.midpoint = PsdReadStopLong(document);
  }
  return kPsdOk;
}

// "Trns": a list of transparency stop objects, each an opacity, a location and a midpoint.
int32_t PsdReadTransparencyStops(PsdDocument* document, PsdGradient* gradient) {
  const int64_t count = PsdCountInBlock(document, PsdReadU32(document), kPsdTransparencyStopBytes);
  PsdRelease(gradient->transparencyStops);
  gradient->transparencyStopCount = 0;
  gradient->transparencyStops = PsdAllocate<PsdTransparencyStop>(count);
  if (!gradient->transparencyStops) return kPsdNoMemory;
  gradient->transparencyStopCount = int32_t(count);
  for (int64_t i = 0; i < count; ++i) {
    PsdTransparencyStop& stop = gradient->transparencyStops[i];
    PsdReadU32(document);
    PsdSkipUnicode(document);
    PsdReadDescriptorKey(document);
    PsdReadU32(document);
    PsdReadDescriptorKey(document);
    PsdReadU32(document);
    PsdReadU32(document);
    const int32_t opacity = PsdDoubleToInt(PsdReadDouble(document));
    stop.opacity = int16_t(opacity < -32768 ? -32768 : opacity > 32767 ? 32767 : opacity);
    stop.location = PsdReadStopLong(document);
    stop.midpoint = PsdReadStopLong(document);
  }
  return kPsdOk;
}

}  // namespace

int32_t PsdReadGradientDescriptor(PsdDocument* document, PsdGradient* gradient) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    const uint32_t key = PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadU32(document);
    int32_t status = kPsdOk;
    switch (key) {
      case PsdKey("Clrs"): status = PsdReadColorStops(document, gradient); break;
      case PsdKey("Trns"): status = PsdReadTransparencyStops(document, gradient); break;
      case PsdKey("GrdF"):
        PsdReadDescriptorKey(document);
        PsdReadDescriptorKey(document);
        break;
      case PsdKey("Intr"): gradient->interpolation = PsdDoubleToInt(PsdReadDouble(document)); break;
      case PsdKey("Nm  "): status = PsdReadUnicodeText(document, &gradient->nameLength, &gradient->name); break;
      default: PsdSkipDescriptorValue(document, type, 3); break;
    }
    if (status != kPsdOk) return status;
  }
  return kPsdOk;
}

int32_t PsdReadPatternDescriptor(PsdDocument* document, PsdPatternReference* pattern) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    const uint32_t key = PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadU32(document);
    if (key == PsdKey("Idnt") && type == PsdKey("TEXT")) {
      // Kept as one char per unit, cut to the id buffer.
      const int64_t units = PsdReadU32(document);
      int64_t kept = 0;
      for (int64_t u = 0; u < units && PsdBytesLeft(document) > 0; ++u) {
        const uint16_t unit = PsdReadU16(document);
        if (kept < int64_t(sizeof(pattern->id)) - 1) pattern->id[kept++] = char(unit);
      }
      pattern->id[kept] = 0;
    } else if (key == PsdKey("Nm  ") && type == PsdKey("TEXT")) {
      const int32_t status = PsdReadUnicodeText(document, &pattern->nameLength, &pattern->name);
      if (status != kPsdOk) return status;
    } else {
      PsdSkipDescriptorValue(document, type, 3);
    }
  }
  return kPsdOk;
}

void PsdReadPointDescriptor(PsdDocument* document, int32_t* x, int32_t* y) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    const uint32_t key = PsdReadDescriptorKey(document);
    const uint32_t type = PsdReadU32(document);
    if (key != PsdKey("Hrzn") && key != PsdKey("Vrtc")) {
      PsdSkipDescriptorValue(document, type, 3);
      continue;
    }
    if (type == PsdKey("UntF")) PsdReadU32(document);
    *(key == PsdKey("Hrzn") ? x : y) = PsdDoubleToInt(PsdReadDouble(document));
  }
}

int32_t PsdReadGradientTypeEnum(PsdDocument* document) {
  PsdReadU32(document);
  static const uint32_t kTypes[5] = {0, PsdKey("Rdl "), PsdKey("Angl"), PsdKey("Rflc"), PsdKey("Dmnd")};
  const uint32_t key = PsdReadU32(document);
  for (int32_t t = 1; t < 5; ++t) {
    if (kTypes[t] == key) return t;
  }
  return 0;
}

void PsdReleaseGradient(PsdGradient& gradient) {
  PsdRelease(gradient.name);
  PsdRelease(gradient.colorStops);
  PsdRelease(gradient.transparencyStops);
  gradient = PsdGradient{};
}

void PsdReleasePatternReference(PsdPatternReference& pattern) {
  PsdRelease(pattern.name);
  pattern = PsdPatternReference{};
}
