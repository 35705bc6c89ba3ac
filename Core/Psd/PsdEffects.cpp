// Layer effects: the binary "lrFX" block and the descriptor-based "lfx2" block.
#include <cmath>
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

// Points of a contour that are kept; further points are read and dropped.
constexpr int32_t kPsdMaxContourPoints = 256;

void PsdContourDefaults(PsdContour& contour) {
  for (int32_t i = 0; i < 256; ++i) contour.table[i] = uint8_t(i);
  contour.antiAliased = false;
}

void PsdShadowDefaults(PsdShadowEffect& shadow) {
  shadow = PsdShadowEffect{};
  shadow.blendMode = 3;
  shadow.color = shadow.nativeColor = 0xFF000000u;
  shadow.opacity = 191;
  shadow.angle = 120;
  shadow.useGlobalLight = true;
  shadow.distance = 5;
  shadow.size = 5;
  PsdContourDefaults(shadow.contour);
}

void PsdGlowDefaults(PsdGlowEffect& glow, bool inner) {
  glow = PsdGlowEffect{};
  glow.blendMode = 7;
  glow.opacity = 191;
  glow.color = glow.nativeColor = 0xFFFFFFBEu;
  glow.source = inner ? 1 : 0;
  glow.size = 5;
  glow.range = 50;
  PsdContourDefaults(glow.contour);
}

void PsdSatinDefaults(PsdSatinEffect& satin) {
  satin = PsdSatinEffect{};
  satin.blendMode = 3;
  satin.color = 0xFF000000u;
  satin.opacity = 128;
  satin.angle = 19;
  satin.distance = 11;
  satin.size = 14;
  satin.invert = true;
  PsdContourDefaults(satin.contour);
}

void PsdColorOverlayDefaults(PsdColorOverlayEffect& overlay) {
  overlay = PsdColorOverlayEffect{};
  overlay.color = 0xFFFF0000u;
  overlay.opacity = 255;
}

void PsdBevelDefaults(PsdBevelEffect& bevel) {
  bevel = PsdBevelEffect{};
  bevel.style = 1;
  bevel.technique = 2;
  bevel.depth = 100;
  bevel.size = 5;
  bevel.angle = 120;
  bevel.useGlobalLight = true;
  bevel.altitude = 30;
  bevel.highlightBlendMode = 7;
  bevel.highlightColor = bevel.nativeHighlightColor = 0xFFFFFFFFu;
  bevel.highlightOpacity = 191;
  bevel.shadowBlendMode = 7;
  bevel.shadowColor = bevel.nativeShadowColor = 0xFF000000u;
  bevel.shadowOpacity = 191;
  bevel.range = 50;
  PsdContourDefaults(bevel.glossContour);
  PsdContourDefaults(bevel.contour);
}

void PsdMarkEffect(PsdLayerEffects* effects, PsdEffectKind kind) {
  effects->present[kind][0] = effects->present[kind][1] = true;
}

// "8BIM" and a blend-mode key.
int32_t PsdReadEffectBlend(PsdDocument* document, int32_t* mode) {
  if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadBlendSignature;
  *mode = PsdReadBlendMode(document);
  return kPsdOk;
}

int32_t PsdReadShadowBinary(PsdDocument* document, PsdShadowEffect& shadow) {
  PsdShadowDefaults(shadow);
  PsdReadU32(document);
  const uint32_t version = PsdReadU32(document);
  if (version != 0 && version != 2) return kPsdBadShadow;
  // The size field is read as 16 bits, as stored files were read before.
  shadow.size = int16_t(PsdReadU16(document));
  shadow.spread = int32_t(PsdReadU32(document));
  shadow.angle = int32_t(PsdReadU32(document));
  shadow.distance = int32_t(PsdReadU32(document));
  PsdReadU16(document);
  shadow.color = PsdReadColor(document);
  const int32_t status = PsdReadEffectBlend(document, &shadow.blendMode);
  if (status != kPsdOk) return status;
  shadow.enabled = PsdReadBool(document);
  shadow.useGlobalLight = PsdReadBool(document);
  shadow.opacity = PsdReadU8(document);
  if (version == 2) shadow.nativeColor = PsdReadColor(document);
  return kPsdOk;
}

int32_t PsdReadGlowBinary(PsdDocument* document, PsdGlowEffect& glow, bool inner) {
  PsdGlowDefaults(glow, inner);
  PsdReadU32(document);
  const uint32_t version = PsdReadU32(document);
  if (version != 0 && version != 2) return inner ? kPsdBadInnerGlow : kPsdBadOuterGlow;
  glow.size = int32_t(PsdReadU32(document));
  glow.spread = int32_t(PsdReadU32(document));
  glow.color = PsdReadColor(document);
  const int32_t status = PsdReadEffectBlend(document, &glow.blendMode);
  if (status != kPsdOk) return status;
  glow.enabled = PsdReadBool(document);
  glow.opacity = PsdReadU8(document);
  if (version == 2) {
    if (inner && PsdReadBool(document)) glow.source = 0;
    glow.nativeColor = PsdReadColor(document);
  }
  return kPsdOk;
}

int32_t PsdReadBevelBinary(PsdDocument* document, PsdBevelEffect& bevel) {
  PsdBevelDefaults(bevel);
  PsdReadU32(document);
  const uint32_t version = PsdReadU32(document);
  if (version != 0 && version != 2) return kPsdBadBevel;
  bevel.angle = int32_t(PsdReadU32(document));
  bevel.size = int32_t(PsdReadU32(document));
  bevel.soften = int32_t(PsdReadU32(document));
  int32_t status = PsdReadEffectBlend(document, &bevel.highlightBlendMode);
  if (status == kPsdOk) status = PsdReadEffectBlend(document, &bevel.shadowBlendMode);
  if (status != kPsdOk) return status;
  bevel.highlightColor = PsdReadColor(document);
  bevel.shadowColor = PsdReadColor(document);
  bevel.style = PsdReadU8(document);
  bevel.highlightOpacity = PsdReadU8(document);
  bevel.shadowOpacity = PsdReadU8(document);
  bevel.enabled = PsdReadBool(document);
  bevel.useGlobalLight = PsdReadBool(document);
  bevel.direction = PsdReadU8(document);
  if (version == 2) {
    bevel.nativeHighlightColor = PsdReadColor(document);
    bevel.nativeShadowColor = PsdReadColor(document);
  }
  return kPsdOk;
}

int32_t PsdReadSolidFillBinary(PsdDocument* document, PsdColorOverlayEffect& overlay) {
  PsdColorOverlayDefaults(overlay);
  PsdReadU32(document);
  if (PsdReadU32(document) != 2) return kPsdBadSolidFill;
  const int32_t status = PsdReadEffectBlend(document, &overlay.blendMode);
  if (status != kPsdOk) return status;
  overlay.color = PsdReadColor(document);
  overlay.opacity = PsdReadU8(document);
  overlay.enabled = PsdReadBool(document);
  overlay.nativeColor = PsdReadColor(document);
  return kPsdOk;
}

int32_t PsdReadEffectsLayer(PsdDocument* document, PsdLayerEffects* effects) {
  if (PsdReadU16(document) != 0) return kPsdBadEffects;
  effects->count = int16_t(PsdReadU16(document));
  for (int32_t i = 0; i < effects->count; ++i) {
    if (PsdReadU32(document) != PsdKey("8BIM")) return kPsdBadEffectSignature;
    int32_t status = kPsdOk;
    switch (PsdReadU32(document)) {
      case PsdKey("cmnS"):
        PsdReadU32(document);
        if (PsdReadU32(document) != 0) return kPsdBadCommonState;
        effects->visible = PsdReadBool(document);
        PsdReadU16(document);
        break;
      case PsdKey("dsdw"):
        status = PsdReadShadowBinary(document, effects->dropShadow);
        PsdMarkEffect(effects, kPsdEffectDropShadow);
        break;
      case PsdKey("isdw"):
        status = PsdReadShadowBinary(document, effects->innerShadow);
        PsdMarkEffect(effects, kPsdEffectInnerShadow);
        break;
      case PsdKey("oglw"):
        status = PsdReadGlowBinary(document, effects->outerGlow, false);
        PsdMarkEffect(effects, kPsdEffectOuterGlow);
        break;
      case PsdKey("iglw"):
        status = PsdReadGlowBinary(document, effects->innerGlow, true);
        PsdMarkEffect(effects, kPsdEffectInnerGlow);
        break;
      case PsdKey("bevl"):
        status = PsdReadBevelBinary(document, effects->bevel);
        PsdMarkEffect(effects, kPsdEffectBevel);
        break;
      case PsdKey("sofi"):
        status = PsdReadSolidFillBinary(document, effects->colorOverlay);
        PsdMarkEffect(effects, kPsdEffectColorOverlay);
        break;
      default: return kPsdBadEffectKey;
    }
    if (status != kPsdOk) return status;
  }
  return kPsdOk;
}

// Descriptor values.
int32_t PsdReadUnitInteger(PsdDocument* document) {
  PsdReadU32(document);
  return PsdDoubleToInt(PsdReadDouble(document));
}

uint8_t PsdReadPercentOpacity(PsdDocument* document) {
  PsdReadU32(document);
  const double value = PsdReadDouble(document) * 2.55 + 0.5;
  if (!(value > 0.0)) return 0;
  return value >= 255.0 ? 255 : uint8_t(value);
}

int32_t PsdReadBlendModeEnum(PsdDocument* document) {
  PsdReadDescriptorKey(document);  // the enum's type id
  char name[256];
  const uint32_t key = PsdReadDescriptorKey(document, name);
  struct Named {
    const char* name;
    int32_t mode;
  };
  static const Named kNamed[] = {{"linearBurn", 5},  {"linearDodge", 9}, {"vividLight", 13},
                                 {"linearLight", 14}, {"pinLight", 15},   {"hardMix", 16}};
  static const uint32_t kKeys[23] = {0,
                                     PsdKey("Dslv"), PsdKey("Drkn"), PsdKey("Mltp"), PsdKey("CBrn"), 0,
                                     PsdKey("Lghn"), PsdKey("Scrn"), PsdKey("CDdg"), 0,
                                     PsdKey("Ovrl"), PsdKey("SftL"), PsdKey("HrdL"), 0, 0, 0, 0,
                                     PsdKey("Dfrn"), PsdKey("Xclu"), PsdKey("H   "), PsdKey("Strt"),
                                     PsdKey("Clr "), PsdKey("Lmns")};
  if (name[0]) {
    for (const Named& named : kNamed) {
      if (std::strcmp(named.name, name) == 0) return named.mode;
    }
    return 0;
  }
  for (int32_t mode = 1; mode < 23; ++mode) {
    if (kKeys[mode] && kKeys[mode] == key) return mode;
  }
  return 0;
}

int32_t PsdReadTechniqueEnum(PsdDocument* document) {
  PsdReadDescriptorKey(document);
  if (PsdReadU32(document) != 0) return 0;
  const uint32_t key = PsdReadU32(document);
  return key == PsdKey("PrBL") ? 1 : key == PsdKey("Slmt") ? 2 : 0;
}

uint8_t PsdContourByte(double value) {
  const int32_t whole = PsdDoubleToInt(value);
  return uint8_t(whole < 0 ? 0 : whole > 255 ? 255 : whole);
}

void PsdReadContour(PsdDocument* document, PsdContour& contour) {
  PsdSkipUnicode(document);
  PsdReadU32(document);
  PsdReadU32(document);
  const uint32_t items = PsdReadU32(document);
  if (items == 2) {
    PsdReadU32(document);
    PsdReadU32(document);
    PsdReadU32(document);
    PsdSkipUnicode(document);
  }
  PsdReadU32(document);
  PsdReadU32(document);
  PsdReadU32(document);
  const uint32_t points = PsdReadU32(document);
  uint8_t x[kPsdMaxContourPoints] = {}, y[kPsdMaxContourPoints] = {};
  bool corner[kPsdMaxContourPoints] = {};
  int32_t kept = 0;
  for (uint32_t p = 0; p < points && PsdBytesLeft(document) > 0; ++p) {
    PsdReadU32(document);
    PsdSkipUnicode(document);
    PsdReadU32(document);
    PsdReadU32(document);
    const uint32_t pointItems = PsdReadU32(document);
    double px = 0.0, py = 0.0;
    bool smooth = true;
    for (uint32_t i = 0; i < pointItems && PsdBytesLeft(document) > 0; ++i) {
      PsdReadU32(document);
      const uint32_t key = PsdReadU32(document);
      const uint32_t type = PsdReadU32(document);
      if (key == PsdKey("Hrzn") && type == PsdKey("doub")) {
        px = PsdReadDouble(document);
      } else if (key == PsdKey("Vrtc") && type == PsdKey("doub")) {
        py = PsdReadDouble(document);
      } else if (key == PsdKey("Cnty") && type == PsdKey("bool")) {
        smooth = PsdReadBool(document);
      } else {
        PsdSkipDescriptorValue(document, type, 2);
      }
    }
    if (kept < kPsdMaxContourPoints) {
      x[kept] = PsdContourByte(px), y[kept] = PsdContourByte(py), corner[kept] = !smooth;
      ++kept;
    }
  }
  PsdBuildContourTable(kept, x, y, corner, contour.table);
}

// The items of one effect's descriptor; handle(key, name, type) returns false for an item it does
// not know, which is then skipped by its type.
template <class Handle>
void PsdReadEffectItems(PsdDocument* document, Handle handle) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    char name[256];
    const uint32_t key = PsdReadDescriptorKey(document, name);
    const uint32_t type = PsdReadU32(document);
    if (!handle(key, name, type)) PsdSkipDescriptorValue(document, type, 2);
  }
}

void PsdReadShadowDescriptor(PsdDocument* document, PsdShadowEffect& shadow) {
  PsdShadowDefaults(shadow);
  PsdReadEffectItems(document, [&](uint32_t key, const char* name, uint32_t) {
    switch (key) {
      case PsdKey("enab"): shadow.enabled = PsdReadBool(document); return true;
      case PsdKey("Md  "): shadow.blendMode = PsdReadBlendModeEnum(document); return true;
      case PsdKey("Clr "): shadow.color = shadow.nativeColor = PsdReadColorDescriptor(document); return true;
      case PsdKey("Opct"): shadow.opacity = PsdReadPercentOpacity(document); return true;
      case PsdKey("lagl"): shadow.angle = PsdReadUnitInteger(document); return true;
      case PsdKey("uglg"): shadow.useGlobalLight = PsdReadBool(document); return true;
      case PsdKey("Dstn"): shadow.distance = PsdReadUnitInteger(document); return true;
      case PsdKey("Ckmt"): shadow.spread = PsdReadUnitInteger(document); return true;
      case PsdKey("blur"): shadow.size = PsdReadUnitInteger(document); return true;
      case PsdKey("Nose"): shadow.noise = PsdReadUnitInteger(document); return true;
      case PsdKey("AntA"): shadow.contour.antiAliased = PsdReadBool(document); return true;
      case PsdKey("TrnS"): PsdReadContour(document, shadow.contour); return true;
      default:
        if (std::strcmp(name, "layerConceals") == 0) {
          shadow.knocksOut = PsdReadBool(document);
          return true;
        }
        return false;
    }
  });
}

void PsdReadGlowDescriptor(PsdDocument* document, PsdGlowEffect& glow, bool inner) {
  PsdGlowDefaults(glow, inner);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) {
    switch (key) {
      case PsdKey("enab"): glow.enabled = PsdReadBool(document); return true;
      case PsdKey("Md  "): glow.blendMode = PsdReadBlendModeEnum(document); return true;
      case PsdKey("Clr "):
        glow.color = glow.nativeColor = PsdReadColorDescriptor(document);
        glow.fillType = 0;
        return true;
      case PsdKey("Opct"): glow.opacity = PsdReadPercentOpacity(document); return true;
      case PsdKey("Ckmt"): glow.spread = PsdReadUnitInteger(document); return true;
      case PsdKey("blur"): glow.size = PsdReadUnitInteger(document); return true;
      case PsdKey("Nose"): glow.noise = PsdReadUnitInteger(document); return true;
      case PsdKey("AntA"): glow.contour.antiAliased = PsdReadBool(document); return true;
      case PsdKey("TrnS"): PsdReadContour(document, glow.contour); return true;
      case PsdKey("GlwT"): glow.technique = PsdReadTechniqueEnum(document); return true;
      case PsdKey("Inpr"): glow.range = PsdReadUnitInteger(document); return true;
      case PsdKey("ShdN"): glow.jitter = PsdReadUnitInteger(document); return true;
      case PsdKey("glwS"): {
        PsdReadDescriptorKey(document);
        const uint32_t source = PsdReadDescriptorKey(document);
        if (source == PsdKey("SrcC")) glow.source = 0;
        if (source == PsdKey("SrcE")) glow.source = 1;
        return true;
      }
      default: return false;
    }
  });
}

void PsdReadSatinDescriptor(PsdDocument* document, PsdSatinEffect& satin) {
  PsdSatinDefaults(satin);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) {
    switch (key) {
      case PsdKey("enab"): satin.enabled = PsdReadBool(document); return true;
      case PsdKey("Md  "): satin.blendMode = PsdReadBlendModeEnum(document); return true;
      case PsdKey("Clr "): satin.color = PsdReadColorDescriptor(document); return true;
      case PsdKey("Opct"): satin.opacity = PsdReadPercentOpacity(document); return true;
      case PsdKey("lagl"): satin.angle = PsdReadUnitInteger(document); return true;
      case PsdKey("Dstn"): satin.distance = PsdReadUnitInteger(document); return true;
      case PsdKey("blur"): satin.size = PsdReadUnitInteger(document); return true;
      case PsdKey("AntA"): satin.contour.antiAliased = PsdReadBool(document); return true;
      case PsdKey("MpgS"): PsdReadContour(document, satin.contour); return true;
      case PsdKey("Invr"): satin.invert = PsdReadBool(document); return true;
      default: return false;
    }
  });
}

void PsdReadColorOverlayDescriptor(PsdDocument* document, PsdColorOverlayEffect& overlay) {
  PsdColorOverlayDefaults(overlay);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) {
    switch (key) {
      case PsdKey("enab"): overlay.enabled = PsdReadBool(document); return true;
      case PsdKey("Md  "): overlay.blendMode = PsdReadBlendModeEnum(document); return true;
      case PsdKey("Clr "): overlay.color = overlay.nativeColor = PsdReadColorDescriptor(document); return true;
      case PsdKey("Opct"): overlay.opacity = PsdReadPercentOpacity(document); return true;
      default: return false;
    }
  });
}

int32_t PsdReadObjectEffects(PsdDocument* document, PsdLayerEffects* effects) {
  if (PsdReadU32(document) != 0 || PsdReadU32(document) != 16) return kPsdBadEffects;
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    char name[256];
    const uint32_t key = PsdReadDescriptorKey(document, name);
    const uint32_t type = PsdReadU32(document);
    PsdEffectKind kind = kPsdEffectKinds;
    switch (key) {
      case PsdKey("DrSh"): PsdReadShadowDescriptor(document, effects->dropShadow), kind = kPsdEffectDropShadow; break;
      case PsdKey("IrSh"): PsdReadShadowDescriptor(document, effects->innerShadow), kind = kPsdEffectInnerShadow; break;
      case PsdKey("OrGl"): PsdReadGlowDescriptor(document, effects->outerGlow, false), kind = kPsdEffectOuterGlow; break;
      case PsdKey("IrGl"): PsdReadGlowDescriptor(document, effects->innerGlow, true), kind = kPsdEffectInnerGlow; break;
      case PsdKey("ChFX"): PsdReadSatinDescriptor(document, effects->satin), kind = kPsdEffectSatin; break;
      case PsdKey("SoFi"):
        PsdReadColorOverlayDescriptor(document, effects->colorOverlay);
        kind = kPsdEffectColorOverlay;
        break;
      case PsdKey("Scl "):
        PsdReadU32(document);
        PsdReadDouble(document);
        if (i + 1 < items) {
          ++i;
          PsdReadDescriptorKey(document);
          PsdReadU32(document);
          effects->visible = PsdReadBool(document);
        }
        break;
      default:
        // Gradient and pattern overlays, strokes and bevels are passed over by their type.
        PsdSkipDescriptorValue(document, type, 1);
        break;
    }
    if (kind != kPsdEffectKinds) {
      ++effects->count;
      PsdMarkEffect(effects, kind);
    }
  }
  return kPsdOk;
}

}  // namespace

void PsdBuildContourTable(int32_t n, const uint8_t* x, const uint8_t* y, const bool* corner, uint8_t* table) {
  for (int32_t i = 0; i < 256; ++i) table[i] = uint8_t(i);
  // Without points the identity stays.
  if (n < 1) return;
  for (int32_t i = 0; i < x[0]; ++i) table[i] = y[0];
  for (int32_t i = x[n - 1]; i < 256; ++i) table[i] = y[n - 1];
  const auto clampByte = [](double value) {
    return value < 0.0 ? 0 : value > 255.0 ? 255 : int32_t(value);
  };
  for (int32_t s = 0; s + 1 < n; ++s) {
    const int32_t i0 = s == 0 || corner[s] ? s : s - 1;
    const int32_t i3 = s + 2 >= n || corner[s + 1] ? s + 1 : s + 2;
    const int32_t index[4] = {i0, s, s + 1, i3};
    double coefficients[2][4];
    for (int32_t axis = 0; axis < 2; ++axis) {
      const uint8_t* value = axis == 0 ? x : y;
      const double p[4] = {double(value[index[0]]), double(value[index[1]]), double(value[index[2]]),
                           double(value[index[3]])};
      coefficients[axis][0] = -0.5 * p[0] + 1.5 * p[1] - 1.5 * p[2] + 0.5 * p[3];
      coefficients[axis][1] = p[0] - 2.5 * p[1] + 2.0 * p[2] - 0.5 * p[3];
      coefficients[axis][2] = -0.5 * p[0] + 0.5 * p[2];
      coefficients[axis][3] = p[1];
    }
    const double h = 1.0 / 512.0;
    double point[2], first[2], second[2], third[2];
    for (int32_t axis = 0; axis < 2; ++axis) {
      const double a = coefficients[axis][0], b = coefficients[axis][1], c = coefficients[axis][2];
      point[axis] = coefficients[axis][3];
      first[axis] = a * h * h * h + b * h * h + c * h;
      second[axis] = 6 * a * h * h * h + 2 * b * h * h;
      third[axis] = 6 * a * h * h * h;
    }
    int32_t lastX = clampByte(point[0]), lastY = clampByte(point[1]);
    table[lastX] = uint8_t(lastY);
    for (int32_t step = 0; step < 512; ++step) {
      for (int32_t axis = 0; axis < 2; ++axis) {
        point[axis] += first[axis];
        first[axis] += second[axis];
        second[axis] += third[axis];
      }
      const int32_t px = clampByte(point[0] + 0.5), py = clampByte(point[1] + 0.5);
      if (px != lastX || py != lastY) {
        table[px] = uint8_t(py);
        lastX = px, lastY = py;
      }
    }
  }
  for (int32_t i = 0; i < n; ++i) table[x[i]] = y[i];
}

int32_t PsdReadEffectsInfo(PsdDocument* document, PsdLayer* layer, uint32_t key) {
  if (key != PsdKey("lrFX") && key != PsdKey("lfx2")) return 1;
  if (layer->infoCount >= kPsdMaxLayerInfos) return kPsdOk;
  auto* effects = PsdAllocate<PsdLayerEffects>(1);
  if (!effects) return kPsdNoMemory;
  const bool binary = key == PsdKey("lrFX");
  layer->infoKinds[layer->infoCount] = binary ? kPsdInfoEffects : kPsdInfoObjectEffects;
  layer->infos[layer->infoCount] = effects;
  ++layer->infoCount;
  return binary ? PsdReadEffectsLayer(document, effects) : PsdReadObjectEffects(document, effects);
}
