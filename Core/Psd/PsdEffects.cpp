// Layer effects: the binary "lrFX" block and the descriptor-based "lfx2" block.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "Core/Psd/PsdLocal.h"

namespace {

// Points of a contour that are kept; further points are read and dropped.
constexpr int32_t kPsdMaxContourPoints = 256;
// What an effect's item handler returns for a key it does not read.
constexpr int32_t kPsdUnknownItem = 1;

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

// The defaults of the records below also release what an effect read before them left (an item
// that occurs twice is read twice).
void PsdBevelDefaults(PsdBevelEffect& bevel) {
  PsdReleasePatternReference(bevel.texturePattern);
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
  bevel.textureScale = 100;
  bevel.textureDepth = 100;
  bevel.alignTexture = true;
}

void PsdGradientOverlayDefaults(PsdGradientOverlayEffect& overlay) {
  PsdReleaseGradient(overlay.gradient);
  overlay = PsdGradientOverlayEffect{};
  overlay.opacity = 255;
  overlay.aligned = true;
  overlay.angle = 90;
  overlay.scale = 100;
}

void PsdPatternOverlayDefaults(PsdPatternOverlayEffect& overlay) {
  PsdReleasePatternReference(overlay.pattern);
  overlay = PsdPatternOverlayEffect{};
  overlay.opacity = 255;
  overlay.scale = 100;
  overlay.linked = true;
}

void PsdStrokeDefaults(PsdStrokeEffect& stroke) {
  PsdReleaseGradient(stroke.gradient);
  PsdReleasePatternReference(stroke.pattern);
  stroke = PsdStrokeEffect{};
  stroke.size = 3;
  stroke.opacity = 255;
  stroke.color = 0xFFFF0000u;
  stroke.aligned = true;
  stroke.angle = 90;
  stroke.gradientScale = 100;
  stroke.patternScale = 100;
  stroke.linked = true;
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

// The items of one effect's descriptor; handle(key, name, type) reads the value of an item it
// knows and returns 0 (or a failure, which ends the items), or kPsdUnknownItem for an item that is
// then skipped by its type.
template <class Handle>
int32_t PsdReadEffectItems(PsdDocument* document, Handle handle) {
  PsdSkipUnicode(document);
  PsdReadDescriptorKey(document);
  const uint32_t items = PsdReadU32(document);
  for (uint32_t i = 0; i < items && PsdBytesLeft(document) > 0; ++i) {
    char name[256];
    const uint32_t key = PsdReadDescriptorKey(document, name);
    const uint32_t type = PsdReadU32(document);
    const int32_t status = handle(key, name, type);
    if (status == kPsdUnknownItem) PsdSkipDescriptorValue(document, type, 2);
    else if (status != kPsdOk) return status;
  }
  return kPsdOk;
}

void PsdReadShadowDescriptor(PsdDocument* document, PsdShadowEffect& shadow) {
  PsdShadowDefaults(shadow);
  PsdReadEffectItems(document, [&](uint32_t key, const char* name, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): shadow.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): shadow.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Clr "): shadow.color = shadow.nativeColor = PsdReadColorDescriptor(document); return kPsdOk;
      case PsdKey("Opct"): shadow.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("lagl"): shadow.angle = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("uglg"): shadow.useGlobalLight = PsdReadBool(document); return kPsdOk;
      case PsdKey("Dstn"): shadow.distance = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Ckmt"): shadow.spread = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("blur"): shadow.size = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Nose"): shadow.noise = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("AntA"): shadow.contour.antiAliased = PsdReadBool(document); return kPsdOk;
      case PsdKey("TrnS"): PsdReadContour(document, shadow.contour); return kPsdOk;
      default:
        if (std::strcmp(name, "layerConceals") == 0) {
          shadow.knocksOut = PsdReadBool(document);
          return kPsdOk;
        }
        return kPsdUnknownItem;
    }
  });
}

void PsdReadGlowDescriptor(PsdDocument* document, PsdGlowEffect& glow, bool inner) {
  PsdGlowDefaults(glow, inner);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): glow.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): glow.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Clr "):
        glow.color = glow.nativeColor = PsdReadColorDescriptor(document);
        glow.fillType = 0;
        return kPsdOk;
      case PsdKey("Opct"): glow.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("Ckmt"): glow.spread = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("blur"): glow.size = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Nose"): glow.noise = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("AntA"): glow.contour.antiAliased = PsdReadBool(document); return kPsdOk;
      case PsdKey("TrnS"): PsdReadContour(document, glow.contour); return kPsdOk;
      case PsdKey("GlwT"): glow.technique = PsdReadTechniqueEnum(document); return kPsdOk;
      case PsdKey("Inpr"): glow.range = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("ShdN"): glow.jitter = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("glwS"): {
        PsdReadDescriptorKey(document);
        const uint32_t source = PsdReadDescriptorKey(document);
        if (source == PsdKey("SrcC")) glow.source = 0;
        if (source == PsdKey("SrcE")) glow.source = 1;
        return kPsdOk;
      }
      default: return kPsdUnknownItem;
    }
  });
}

void PsdReadSatinDescriptor(PsdDocument* document, PsdSatinEffect& satin) {
  PsdSatinDefaults(satin);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): satin.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): satin.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Clr "): satin.color = PsdReadColorDescriptor(document); return kPsdOk;
      case PsdKey("Opct"): satin.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("lagl"): satin.angle = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Dstn"): satin.distance = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("blur"): satin.size = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("AntA"): satin.contour.antiAliased = PsdReadBool(document); return kPsdOk;
      case PsdKey("MpgS"): PsdReadContour(document, satin.contour); return kPsdOk;
      case PsdKey("Invr"): satin.invert = PsdReadBool(document); return kPsdOk;
      default: return kPsdUnknownItem;
    }
  });
}

void PsdReadColorOverlayDescriptor(PsdDocument* document, PsdColorOverlayEffect& overlay) {
  PsdColorOverlayDefaults(overlay);
  PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): overlay.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): overlay.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Clr "): overlay.color = overlay.nativeColor = PsdReadColorDescriptor(document); return kPsdOk;
      case PsdKey("Opct"): overlay.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      default: return kPsdUnknownItem;
    }
  });
}

// An enum value (type id, then a 4-byte or named key) looked up in keys; a named value is
// compared with named when given. fallback when neither matches.
int32_t PsdReadKeyedEnum(PsdDocument* document, const uint32_t* keys, int32_t count, int32_t fallback,
                         const char* named = nullptr, int32_t namedValue = 0) {
  PsdReadDescriptorKey(document);
  char name[256];
  const uint32_t key = PsdReadDescriptorKey(document, name);
  if (name[0]) return named && std::strcmp(name, named) == 0 ? namedValue : fallback;
  for (int32_t i = 0; i < count; ++i) {
    if (keys[i] == key) return i;
  }
  return fallback;
}

// A point object kept as 0, 0 (the phase of overlays and strokes).
int32_t PsdSkipPhase(PsdDocument* document) {
  int32_t x = 0, y = 0;
  PsdReadPointDescriptor(document, &x, &y);
  return kPsdOk;
}

int32_t PsdReadGradientOverlayDescriptor(PsdDocument* document, PsdGradientOverlayEffect& overlay) {
  PsdGradientOverlayDefaults(overlay);
  return PsdReadEffectItems(document, [&](uint32_t key, const char*, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): overlay.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): overlay.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Opct"): overlay.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("Grad"): return PsdReadGradientDescriptor(document, &overlay.gradient);
      case PsdKey("Rvrs"): overlay.reverse = PsdReadBool(document); return kPsdOk;
      case PsdKey("Type"):
        PsdReadDescriptorKey(document);
        overlay.gradientType = PsdReadGradientTypeEnum(document);
        return kPsdOk;
      case PsdKey("Algn"): overlay.aligned = PsdReadBool(document); return kPsdOk;
      case PsdKey("Angl"): overlay.angle = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Scl "): overlay.scale = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Ofst"): PsdReadPointDescriptor(document, &overlay.offsetX, &overlay.offsetY); return kPsdOk;
      default: return kPsdUnknownItem;
    }
  });
}

int32_t PsdReadPatternOverlayDescriptor(PsdDocument* document, PsdPatternOverlayEffect& overlay) {
  PsdPatternOverlayDefaults(overlay);
  return PsdReadEffectItems(document, [&](uint32_t key, const char* name, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): overlay.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Md  "): overlay.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Opct"): overlay.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("Algn"): overlay.linked = PsdReadBool(document); return kPsdOk;
      case PsdKey("Ptrn"): return PsdReadPatternDescriptor(document, &overlay.pattern);
      case PsdKey("Scl "): overlay.scale = PsdReadUnitInteger(document); return kPsdOk;
      default: return std::strcmp(name, "phase") == 0 ? PsdSkipPhase(document) : kPsdUnknownItem;
    }
  });
}

int32_t PsdReadStrokeDescriptor(PsdDocument* document, PsdStrokeEffect& stroke) {
  PsdStrokeDefaults(stroke);
  static const uint32_t kPositions[3] = {PsdKey("OutF"), PsdKey("InsF"), PsdKey("CtrF")};
  static const uint32_t kFillTypes[3] = {PsdKey("SClr"), PsdKey("GrFl"), PsdKey("Ptrn")};
  return PsdReadEffectItems(document, [&](uint32_t key, const char* name, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): stroke.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("Styl"): stroke.position = PsdReadKeyedEnum(document, kPositions, 3, stroke.position); return kPsdOk;
      case PsdKey("PntT"): stroke.fillType = PsdReadKeyedEnum(document, kFillTypes, 3, stroke.fillType); return kPsdOk;
      case PsdKey("Md  "): stroke.blendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("Opct"): stroke.opacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("Sz  "): stroke.size = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Clr "): stroke.color = PsdReadColorDescriptor(document); return kPsdOk;
      case PsdKey("Grad"): return PsdReadGradientDescriptor(document, &stroke.gradient);
      case PsdKey("Angl"): stroke.angle = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Type"):
        PsdReadDescriptorKey(document);
        stroke.gradientType = PsdReadGradientTypeEnum(document);
        return kPsdOk;
      case PsdKey("Rvrs"): stroke.reverse = PsdReadBool(document); return kPsdOk;
      case PsdKey("Algn"): stroke.aligned = PsdReadBool(document); return kPsdOk;
      case PsdKey("Ofst"): PsdReadPointDescriptor(document, &stroke.offsetX, &stroke.offsetY); return kPsdOk;
      case PsdKey("Scl "): {
        // The scale of the fill read so far: a gradient's or a pattern's.
        const int32_t scale = PsdReadUnitInteger(document);
        if (stroke.fillType == 1) stroke.gradientScale = scale;
        if (stroke.fillType == 2) stroke.patternScale = scale;
        return kPsdOk;
      }
      case PsdKey("Ptrn"): return PsdReadPatternDescriptor(document, &stroke.pattern);
      case PsdKey("Lnkd"): stroke.linked = PsdReadBool(document); return kPsdOk;
      default: return std::strcmp(name, "phase") == 0 ? PsdSkipPhase(document) : kPsdUnknownItem;
    }
  });
}

int32_t PsdReadBevelDescriptor(PsdDocument* document, PsdBevelEffect& bevel) {
  PsdBevelDefaults(bevel);
  static const uint32_t kStyles[4] = {PsdKey("OtrB"), PsdKey("InrB"), PsdKey("Embs"), PsdKey("PlEb")};
  static const uint32_t kDirections[2] = {PsdKey("In  "), PsdKey("Out ")};
  return PsdReadEffectItems(document, [&](uint32_t key, const char* name, uint32_t) -> int32_t {
    switch (key) {
      case PsdKey("enab"): bevel.enabled = PsdReadBool(document); return kPsdOk;
      case PsdKey("lagl"): bevel.angle = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("uglg"): bevel.useGlobalLight = PsdReadBool(document); return kPsdOk;
      case PsdKey("blur"): bevel.size = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("AntA"): bevel.contour.antiAliased = PsdReadBool(document); return kPsdOk;
      case PsdKey("TrnS"): PsdReadContour(document, bevel.glossContour); return kPsdOk;
      case PsdKey("MpgS"): PsdReadContour(document, bevel.contour); return kPsdOk;
      case PsdKey("Inpr"): bevel.range = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("bvlS"):
        bevel.style = PsdReadKeyedEnum(document, kStyles, 4, bevel.style, "strokeEmboss", 4);
        return kPsdOk;
      case PsdKey("bvlT"): bevel.technique = PsdReadTechniqueEnum(document); return kPsdOk;
      case PsdKey("bvlD"): bevel.direction = PsdReadKeyedEnum(document, kDirections, 2, bevel.direction); return kPsdOk;
      case PsdKey("srgR"): bevel.depth = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Sftn"): bevel.soften = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("Lald"): bevel.altitude = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("hglM"): bevel.highlightBlendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("sdwM"): bevel.shadowBlendMode = PsdReadBlendModeEnum(document); return kPsdOk;
      case PsdKey("hglC"):
        bevel.highlightColor = bevel.nativeHighlightColor = PsdReadColorDescriptor(document);
        return kPsdOk;
      case PsdKey("sdwC"): bevel.shadowColor = bevel.nativeShadowColor = PsdReadColorDescriptor(document); return kPsdOk;
      case PsdKey("hglO"): bevel.highlightOpacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("sdwO"): bevel.shadowOpacity = PsdReadPercentOpacity(document); return kPsdOk;
      case PsdKey("Ptrn"): return PsdReadPatternDescriptor(document, &bevel.texturePattern);
      case PsdKey("Scl "): bevel.textureScale = PsdReadUnitInteger(document); return kPsdOk;
      case PsdKey("InvT"): bevel.invertTexture = PsdReadBool(document); return kPsdOk;
      case PsdKey("Algn"): bevel.alignTexture = PsdReadBool(document); return kPsdOk;
      default: break;
    }
    if (std::strcmp(name, "antialiasGloss") == 0) {
      bevel.glossContour.antiAliased = PsdReadBool(document);
    } else if (std::strcmp(name, "useShape") == 0) {
      bevel.useShape = PsdReadBool(document);
    } else if (std::strcmp(name, "useTexture") == 0) {
      bevel.useTexture = PsdReadBool(document);
    } else if (std::strcmp(name, "textureDepth") == 0) {
      bevel.textureDepth = PsdReadUnitInteger(document);
    } else if (std::strcmp(name, "phase") == 0) {
      PsdReadPointDescriptor(document, &bevel.texturePhaseX, &bevel.texturePhaseY);
    } else {
      return kPsdUnknownItem;
    }
    return kPsdOk;
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
    int32_t status = kPsdOk;
    if (std::strcmp(name, "patternFill") == 0) {
      status = PsdReadPatternOverlayDescriptor(document, effects->patternOverlay);
      kind = kPsdEffectPatternOverlay;
    }
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
      case PsdKey("GrFl"):
        status = PsdReadGradientOverlayDescriptor(document, effects->gradientOverlay);
        kind = kPsdEffectGradientOverlay;
        break;
      case PsdKey("FrFX"):
        status = PsdReadStrokeDescriptor(document, effects->stroke);
        kind = kPsdEffectStroke;
        break;
      case PsdKey("ebbl"):
        status = PsdReadBevelDescriptor(document, effects->bevel);
        kind = kPsdEffectBevel;
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
        if (kind == kPsdEffectKinds) PsdSkipDescriptorValue(document, type, 1);
        break;
    }
    if (status != kPsdOk) return status;
    if (kind != kPsdEffectKinds) {
      if (effects->count < INT16_MAX) ++effects->count;
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

void PsdReleaseEffects(PsdLayerEffects* effects) {
  PsdReleaseGradient(effects->gradientOverlay.gradient);
  PsdReleasePatternReference(effects->patternOverlay.pattern);
  PsdReleaseGradient(effects->stroke.gradient);
  PsdReleasePatternReference(effects->stroke.pattern);
  PsdReleasePatternReference(effects->bevel.texturePattern);
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
