// Layer effects: the binary and the descriptor form, and contour tables.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>

#include "Core/Psd/Psd.h"
#include "Psd/PsdFiles.h"

namespace {

using psdtest::Bytes;
using psdtest::PsdWriter;

// The effects record of a one-layer document whose layer carries block key with data.
struct PsdEffectsLoad {
  int32_t status = 0;
  PsdDocument* document = nullptr;
  ~PsdEffectsLoad() { PsdFree(document); }
  const PsdLayerEffects* Effects() const {
    return document ? static_cast<const PsdLayerEffects*>(document->layers[0].infos[0]) : nullptr;
  }
};

std::unique_ptr<PsdEffectsLoad> PsdEffectsRead(const char* key, const Bytes& data) {
  psdtest::PsdLayerSpec layer = psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{1}, {2}, {3}}, "fx");
  layer.extra = psdtest::InfoBlock(key, data);
  psdtest::PsdSpec spec;
  spec.layers = {layer};
  const Bytes bytes = psdtest::MakePsd(spec);
  auto load = std::make_unique<PsdEffectsLoad>();
  load->status = PsdLoadMemory(&load->document, bytes.data(), int64_t(bytes.size()));
  return load;
}

// A colour record of RGB bytes.
PsdWriter& PsdEffectsColor(PsdWriter& w, uint8_t r, uint8_t g, uint8_t b) {
  return w.U16(0).U16(uint32_t(r) << 8).U16(uint32_t(g) << 8).U16(uint32_t(b) << 8).U16(0);
}

TEST(PsdEffectsTest, BinaryEffects) {
  EXPECT_EQ(PsdEffectsRead("lrFX", PsdWriter().U16(0).U16(0).Get())->Effects()->count, 0);
  EXPECT_EQ(PsdEffectsRead("lrFX", PsdWriter().U16(1).U16(0).Get())->status, kPsdBadEffects);
  EXPECT_EQ(PsdEffectsRead("lrFX", PsdWriter().U16(0).U16(1).Key("8BIM").Key("what").Get())->status, kPsdBadEffectKey);

  PsdWriter shadow;
  shadow.U16(0).U16(2).Key("8BIM").Key("cmnS").U32(7).U32(0).U8(1).U16(0);
  shadow.Key("8BIM").Key("dsdw").U32(41).U32(0).U16(9).U32(1).U32(90).U32(4).U16(0);
  PsdEffectsColor(shadow, 10, 20, 30).Key("8BIM").Key("mul ").U8(1).U8(0).U8(200);
  auto load = PsdEffectsRead("lrFX", shadow.Get());
  ASSERT_EQ(load->status, kPsdOk);
  const PsdLayerEffects* effects = load->Effects();
  EXPECT_EQ(load->document->layers[0].infoKinds[0], kPsdInfoEffects);
  EXPECT_TRUE(effects->visible);
  const PsdShadowEffect& drop = effects->dropShadow;
  EXPECT_TRUE(drop.enabled);
  EXPECT_EQ(drop.size, 9);
  EXPECT_EQ(drop.angle, 90);
  EXPECT_EQ(drop.color, 0xFF0A141Eu);
  EXPECT_EQ(drop.nativeColor, 0xFF000000u);  // version 0 has none
  EXPECT_EQ(drop.opacity, 200);
  EXPECT_TRUE(effects->present[kPsdEffectDropShadow][0] && effects->present[kPsdEffectDropShadow][1]);
}

// A descriptor item: 4-byte key, type.
PsdWriter& PsdEffectsItem(PsdWriter& w, const char* key, const char* type) { return w.U32(0).Key(key).Key(type); }

TEST(PsdEffectsTest, DescriptorEffectsKeepTheirDefaults) {
  PsdWriter fx;
  fx.U32(0).U32(16).U32(0).U32(0).Key("null").U32(3);
  PsdEffectsItem(fx, "Scl ", "UntF").Key("#Prc").Double(100.0);
  PsdEffectsItem(fx, "masterFXSwitch", "bool");  // the item after "Scl ": its bool is the visible flag
  fx.U8(1);
  PsdEffectsItem(fx, "DrSh", "Objc").U32(0).U32(0).Key("DrSh").U32(2);
  PsdEffectsItem(fx, "enab", "bool").U8(1);
  PsdEffectsItem(fx, "Clr ", "Objc").U32(0).U32(0).Key("RGBC").U32(3);
  for (double value : {1.0, 2.0, 3.0}) PsdEffectsItem(fx, "Rd  ", "doub").Double(value);
  auto load = PsdEffectsRead("lfx2", fx.Get());
  ASSERT_EQ(load->status, kPsdOk);
  const PsdLayerEffects* effects = load->Effects();
  EXPECT_TRUE(effects->visible);
  EXPECT_EQ(effects->count, 1);
  const PsdShadowEffect& drop = effects->dropShadow;
  EXPECT_TRUE(drop.enabled);
  EXPECT_EQ(drop.color, 0xFF010203u);
  EXPECT_EQ(drop.opacity, 191);
  EXPECT_EQ(drop.angle, 120);
  EXPECT_EQ(drop.distance, 5);
  EXPECT_EQ(drop.size, 5);
  EXPECT_EQ(drop.contour.table[77], 77);
  EXPECT_TRUE(effects->present[kPsdEffectDropShadow][1]);
  EXPECT_EQ(PsdEffectsRead("lfx2", PsdWriter().U32(0).U32(15).Get())->status, kPsdBadEffects);
}

namespace desc = psdtest::desc;

// A percent opacity as the reader keeps it.
uint8_t PsdEffectsOpacity(double percent) { return uint8_t(int(percent * 2.55 + 0.5)); }

uint32_t PsdEffectsArgb(uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | b; }

// The gradient written by PsdEffectsWriteGradient, checked field by field.
const desc::ColorStop kPsdEffectsColorStops[] = {{10, 20, 30, "FrgC", 0, 50}, {200, 100, 0, "UsrS", 4096, 25},
                                                  {1, 2, 3, "BckC", 2048, 75}};
const desc::TransparencyStop kPsdEffectsTransparencyStops[] = {{100.0, 0, 50}, {37.9, 4096, 60}};

PsdWriter& PsdEffectsWriteGradient(PsdWriter& w) {
  return desc::Gradient(w, "Grd", 4096.7, {std::begin(kPsdEffectsColorStops), std::end(kPsdEffectsColorStops)},
                        {std::begin(kPsdEffectsTransparencyStops), std::end(kPsdEffectsTransparencyStops)});
}

void PsdEffectsExpectGradient(const PsdGradient& gradient) {
  EXPECT_EQ(gradient.interpolation, 4096);
  ASSERT_EQ(gradient.nameLength, 3);
  EXPECT_EQ(gradient.name[0], 'G' << 8);  // units as stored: big-endian pairs
  const int32_t types[3] = {0, 2, 1};
  ASSERT_EQ(gradient.colorStopCount, 3);
  for (int i = 0; i < 3; ++i) {
    const desc::ColorStop& want = kPsdEffectsColorStops[i];
    const PsdGradientStop& stop = gradient.colorStops[i];
    EXPECT_EQ(stop.color, PsdEffectsArgb(want.r, want.g, want.b)) << i;
    EXPECT_EQ(stop.type, types[i]) << i;
    EXPECT_EQ(stop.location, want.location) << i;
    EXPECT_EQ(stop.midpoint, want.midpoint) << i;
  }
  ASSERT_EQ(gradient.transparencyStopCount, 2);
  for (int i = 0; i < 2; ++i) {
    const desc::TransparencyStop& want = kPsdEffectsTransparencyStops[i];
    EXPECT_EQ(gradient.transparencyStops[i].opacity, int16_t(want.opacity)) << i;
    EXPECT_EQ(gradient.transparencyStops[i].location, want.location) << i;
    EXPECT_EQ(gradient.transparencyStops[i].midpoint, want.midpoint) << i;
  }
}

void PsdEffectsExpectPattern(const PsdPatternReference& pattern, const char* name, const char* id) {
  ASSERT_EQ(pattern.nameLength, int32_t(std::strlen(name)));
  for (int32_t i = 0; i < pattern.nameLength; ++i) EXPECT_EQ(pattern.name[i], uint16_t(name[i] << 8)) << i;
  EXPECT_STREQ(pattern.id, id);
}

TEST(PsdEffectsTest, GradientPatternStrokeAndBevelFromTheirDescriptors) {
  PsdWriter fx;
  desc::EffectsStart(fx, 4);

  desc::Item(fx, "GrFl", "Objc");
  desc::Object(fx, "GrFl", 10);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Item(fx, "Md  ", "enum");
  desc::Enum(fx, "BlnM", "Mltp");
  desc::Item(fx, "Opct", "UntF");
  desc::Unit(fx, "#Prc", 40.0);
  desc::Item(fx, "Grad", "Objc");
  PsdEffectsWriteGradient(fx);
  desc::Item(fx, "Rvrs", "bool").U8(1);
  desc::Item(fx, "Type", "enum");
  desc::Enum(fx, "GrdT", "Rdl ");
  desc::Item(fx, "Algn", "bool").U8(0);
  desc::Item(fx, "Angl", "UntF");
  desc::Unit(fx, "#Ang", 33.7);
  desc::Item(fx, "Scl ", "UntF");
  desc::Unit(fx, "#Prc", 150.0);
  desc::Item(fx, "Ofst", "Objc");
  desc::Point(fx, 12.9, -7.2);

  desc::NamedItem(fx, "patternFill", "Objc");
  desc::Object(fx, "patternFill", 7);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Item(fx, "Md  ", "enum");
  desc::Enum(fx, "BlnM", "Scrn");
  desc::Item(fx, "Opct", "UntF");
  desc::Unit(fx, "#Prc", 62.5);
  desc::Item(fx, "Algn", "bool").U8(0);
  desc::Item(fx, "Ptrn", "Objc");
  desc::Pattern(fx, "dots", "id-7");
  desc::Item(fx, "Scl ", "UntF");
  desc::Unit(fx, "#Prc", 75.0);
  desc::NamedItem(fx, "phase", "Objc");
  desc::Point(fx, 5.0, 6.0);

  desc::Item(fx, "FrFX", "Objc");
  desc::Object(fx, "FrFX", 17);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Item(fx, "Styl", "enum");
  desc::Enum(fx, "FStl", "InsF");
  desc::Item(fx, "PntT", "enum");
  desc::Enum(fx, "FrFl", "GrFl");
  desc::Item(fx, "Md  ", "enum");
  desc::NamedEnum(fx, "BlnM", "linearDodge");
  desc::Item(fx, "Opct", "UntF");
  desc::Unit(fx, "#Prc", 80.0);
  desc::Item(fx, "Sz  ", "UntF");
  desc::Unit(fx, "#Pxl", 7.0);
  desc::Item(fx, "Clr ", "Objc");
  desc::Color(fx, 1.0, 2.0, 3.0);
  desc::Item(fx, "Grad", "Objc");
  PsdEffectsWriteGradient(fx);
  desc::Item(fx, "Angl", "UntF");
  desc::Unit(fx, "#Ang", -45.0);
  desc::Item(fx, "Type", "enum");
  desc::Enum(fx, "GrdT", "Rflc");
  desc::Item(fx, "Rvrs", "bool").U8(1);
  desc::Item(fx, "Algn", "bool").U8(0);
  desc::Item(fx, "Ofst", "Objc");
  desc::Point(fx, -3.0, 4.0);
  desc::Item(fx, "Scl ", "UntF");
  desc::Unit(fx, "#Prc", 50.0);
  desc::Item(fx, "Ptrn", "Objc");
  desc::Pattern(fx, "ink", "p");
  desc::Item(fx, "Lnkd", "bool").U8(0);
  desc::NamedItem(fx, "phase", "Objc");
  desc::Point(fx, 9.0, 9.0);

  desc::Item(fx, "ebbl", "Objc");
  desc::Object(fx, "ebbl", 29);
  desc::Item(fx, "enab", "bool").U8(1);
  desc::Item(fx, "bvlS", "enum");
  desc::NamedEnum(fx, "BESl", "strokeEmboss");
  desc::Item(fx, "bvlT", "enum");
  desc::Enum(fx, "bvlT", "Slmt");
  desc::Item(fx, "bvlD", "enum");
  desc::Enum(fx, "BESs", "Out ");
  desc::Item(fx, "srgR", "UntF");
  desc::Unit(fx, "#Prc", 250.0);
  desc::Item(fx, "blur", "UntF");
  desc::Unit(fx, "#Pxl", 9.0);
  desc::Item(fx, "Sftn", "UntF");
  desc::Unit(fx, "#Pxl", 3.0);
  desc::Item(fx, "lagl", "UntF");
  desc::Unit(fx, "#Ang", 60.0);
  desc::Item(fx, "uglg", "bool").U8(0);
  desc::Item(fx, "Lald", "UntF");
  desc::Unit(fx, "#Ang", 45.0);
  desc::Item(fx, "TrnS", "Objc");
  desc::Contour(fx, "gloss", {{128.0, 64.0, false}});
  desc::NamedItem(fx, "antialiasGloss", "bool").U8(1);
  desc::Item(fx, "hglM", "enum");
  desc::Enum(fx, "BlnM", "Ovrl");
  desc::Item(fx, "hglC", "Objc");
  desc::Color(fx, 250.0, 240.0, 230.0);
  desc::Item(fx, "hglO", "UntF");
  desc::Unit(fx, "#Prc", 90.0);
  desc::Item(fx, "sdwM", "enum");
  desc::Enum(fx, "BlnM", "Dfrn");
  desc::Item(fx, "sdwC", "Objc");
  desc::Color(fx, 5.0, 6.0, 7.0);
  desc::Item(fx, "sdwO", "UntF");
  desc::Unit(fx, "#Prc", 12.0);
  desc::NamedItem(fx, "useShape", "bool").U8(1);
  desc::Item(fx, "MpgS", "Objc");
  desc::Contour(fx, "falling", {{0.0, 255.0, false}, {255.0, 0.0, false}});
  desc::Item(fx, "AntA", "bool").U8(1);
  desc::Item(fx, "Inpr", "UntF");
  desc::Unit(fx, "#Prc", 70.0);
  desc::NamedItem(fx, "useTexture", "bool").U8(1);
  desc::Item(fx, "Ptrn", "Objc");
  desc::Pattern(fx, "grain", "tex-id");
  desc::Item(fx, "Scl ", "UntF");
  desc::Unit(fx, "#Prc", 80.0);
  desc::NamedItem(fx, "textureDepth", "UntF");
  desc::Unit(fx, "#Prc", -120.0);
  desc::Item(fx, "InvT", "bool").U8(1);
  desc::Item(fx, "Algn", "bool").U8(0);
  desc::NamedItem(fx, "phase", "Objc");
  desc::Point(fx, 3.0, 4.0);

  auto load = PsdEffectsRead("lfx2", fx.Get());
  ASSERT_EQ(load->status, kPsdOk);
  const PsdLayerEffects* effects = load->Effects();
  EXPECT_EQ(effects->count, 4);
  for (PsdEffectKind kind : {kPsdEffectGradientOverlay, kPsdEffectPatternOverlay, kPsdEffectStroke, kPsdEffectBevel}) {
    EXPECT_TRUE(effects->present[kind][0] && effects->present[kind][1]) << kind;
  }
  EXPECT_FALSE(effects->present[kPsdEffectDropShadow][0]);

  const PsdGradientOverlayEffect& gradient = effects->gradientOverlay;
  EXPECT_TRUE(gradient.enabled);
  EXPECT_EQ(gradient.blendMode, 3);
  EXPECT_EQ(gradient.opacity, PsdEffectsOpacity(40.0));
  PsdEffectsExpectGradient(gradient.gradient);
  EXPECT_TRUE(gradient.reverse);
  EXPECT_EQ(gradient.gradientType, 1);
  EXPECT_FALSE(gradient.aligned);
  EXPECT_EQ(gradient.angle, 33);
  EXPECT_EQ(gradient.scale, 150);
  EXPECT_EQ(gradient.offsetX, 12);
  EXPECT_EQ(gradient.offsetY, -7);

  const PsdPatternOverlayEffect& pattern = effects->patternOverlay;
  EXPECT_TRUE(pattern.enabled);
  EXPECT_EQ(pattern.blendMode, 7);
  EXPECT_EQ(pattern.opacity, PsdEffectsOpacity(62.5));
  EXPECT_FALSE(pattern.linked);
  PsdEffectsExpectPattern(pattern.pattern, "dots", "id-7");
  EXPECT_EQ(pattern.scale, 75);
  EXPECT_EQ(pattern.phaseX, 0);  // the phase is read, not kept
  EXPECT_EQ(pattern.phaseY, 0);

  const PsdStrokeEffect& stroke = effects->stroke;
  EXPECT_TRUE(stroke.enabled);
  EXPECT_EQ(stroke.position, 1);
  EXPECT_EQ(stroke.fillType, 1);
  EXPECT_EQ(stroke.blendMode, 9);
  EXPECT_EQ(stroke.opacity, PsdEffectsOpacity(80.0));
  EXPECT_EQ(stroke.size, 7);
  EXPECT_EQ(stroke.color, PsdEffectsArgb(1, 2, 3));
  PsdEffectsExpectGradient(stroke.gradient);
  EXPECT_EQ(stroke.angle, -45);
  EXPECT_EQ(stroke.gradientType, 3);
  EXPECT_TRUE(stroke.reverse);
  EXPECT_FALSE(stroke.aligned);
  EXPECT_EQ(stroke.offsetX, -3);
  EXPECT_EQ(stroke.offsetY, 4);
  EXPECT_EQ(stroke.gradientScale, 50);
  EXPECT_EQ(stroke.patternScale, 100);
  PsdEffectsExpectPattern(stroke.pattern, "ink", "p");
  EXPECT_FALSE(stroke.linked);
  EXPECT_EQ(stroke.phaseX, 0);
  EXPECT_EQ(stroke.phaseY, 0);

  const PsdBevelEffect& bevel = effects->bevel;
  EXPECT_TRUE(bevel.enabled);
  EXPECT_EQ(bevel.style, 4);
  EXPECT_EQ(bevel.technique, 2);
  EXPECT_EQ(bevel.direction, 1);
  EXPECT_EQ(bevel.depth, 250);
  EXPECT_EQ(bevel.size, 9);
  EXPECT_EQ(bevel.soften, 3);
  EXPECT_EQ(bevel.angle, 60);
  EXPECT_FALSE(bevel.useGlobalLight);
  EXPECT_EQ(bevel.altitude, 45);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(bevel.glossContour.table[i], 64) << i;
  EXPECT_TRUE(bevel.glossContour.antiAliased);
  EXPECT_EQ(bevel.highlightBlendMode, 10);
  EXPECT_EQ(bevel.highlightColor, PsdEffectsArgb(250, 240, 230));
  EXPECT_EQ(bevel.nativeHighlightColor, bevel.highlightColor);
  EXPECT_EQ(bevel.highlightOpacity, PsdEffectsOpacity(90.0));
  EXPECT_EQ(bevel.shadowBlendMode, 17);
  EXPECT_EQ(bevel.shadowColor, PsdEffectsArgb(5, 6, 7));
  EXPECT_EQ(bevel.nativeShadowColor, bevel.shadowColor);
  EXPECT_EQ(bevel.shadowOpacity, PsdEffectsOpacity(12.0));
  EXPECT_TRUE(bevel.useShape);
  EXPECT_EQ(bevel.contour.table[0], 255);
  EXPECT_EQ(bevel.contour.table[255], 0);
  EXPECT_TRUE(bevel.contour.antiAliased);
  EXPECT_EQ(bevel.range, 70);
  EXPECT_TRUE(bevel.useTexture);
  PsdEffectsExpectPattern(bevel.texturePattern, "grain", "tex-id");
  EXPECT_EQ(bevel.textureScale, 80);
  EXPECT_EQ(bevel.textureDepth, -120);
  EXPECT_TRUE(bevel.invertTexture);
  EXPECT_FALSE(bevel.alignTexture);
  EXPECT_EQ(bevel.texturePhaseX, 3);  // unlike the overlays' phase, the texture's is kept
  EXPECT_EQ(bevel.texturePhaseY, 4);
}

TEST(PsdEffectsTest, DescriptorEffectsWithOnlyEnabledKeepEveryDefault) {
  PsdWriter fx;
  desc::EffectsStart(fx, 4);
  for (const char* key : {"ebbl", "GrFl", "FrFX"}) {
    desc::Item(fx, key, "Objc");
    desc::Object(fx, key, 1);
    desc::Item(fx, "enab", "bool").U8(1);
  }
  desc::NamedItem(fx, "patternFill", "Objc");
  desc::Object(fx, "patternFill", 1);
  desc::Item(fx, "enab", "bool").U8(1);
  auto load = PsdEffectsRead("lfx2", fx.Get());
  ASSERT_EQ(load->status, kPsdOk);
  const PsdLayerEffects* effects = load->Effects();
  EXPECT_EQ(effects->count, 4);

  const PsdBevelEffect& bevel = effects->bevel;
  EXPECT_TRUE(bevel.enabled);
  EXPECT_EQ(bevel.style, 1);
  EXPECT_EQ(bevel.technique, 2);
  EXPECT_EQ(bevel.depth, 100);
  EXPECT_EQ(bevel.direction, 0);
  EXPECT_EQ(bevel.size, 5);
  EXPECT_EQ(bevel.soften, 0);
  EXPECT_EQ(bevel.angle, 120);
  EXPECT_TRUE(bevel.useGlobalLight);
  EXPECT_EQ(bevel.altitude, 30);
  EXPECT_EQ(bevel.highlightBlendMode, 7);
  EXPECT_EQ(bevel.highlightColor, 0xFFFFFFFFu);
  EXPECT_EQ(bevel.nativeHighlightColor, 0xFFFFFFFFu);
  EXPECT_EQ(bevel.highlightOpacity, 191);
  EXPECT_EQ(bevel.shadowBlendMode, 7);
  EXPECT_EQ(bevel.shadowColor, 0xFF000000u);
  EXPECT_EQ(bevel.nativeShadowColor, 0xFF000000u);
  EXPECT_EQ(bevel.shadowOpacity, 191);
  EXPECT_FALSE(bevel.useShape);
  EXPECT_EQ(bevel.range, 50);
  EXPECT_FALSE(bevel.useTexture);
  EXPECT_EQ(bevel.texturePattern.nameLength, 0);
  EXPECT_EQ(bevel.textureScale, 100);
  EXPECT_EQ(bevel.textureDepth, 100);
  EXPECT_FALSE(bevel.invertTexture);
  EXPECT_TRUE(bevel.alignTexture);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(bevel.contour.table[i], i) << i;
    ASSERT_EQ(bevel.glossContour.table[i], i) << i;
  }

  const PsdGradientOverlayEffect& gradient = effects->gradientOverlay;
  EXPECT_EQ(gradient.blendMode, 0);
  EXPECT_EQ(gradient.opacity, 255);
  EXPECT_EQ(gradient.gradient.colorStopCount, 0);
  EXPECT_FALSE(gradient.reverse);
  EXPECT_EQ(gradient.gradientType, 0);
  EXPECT_TRUE(gradient.aligned);
  EXPECT_EQ(gradient.angle, 90);
  EXPECT_EQ(gradient.scale, 100);

  const PsdPatternOverlayEffect& pattern = effects->patternOverlay;
  EXPECT_EQ(pattern.opacity, 255);
  EXPECT_EQ(pattern.scale, 100);
  EXPECT_TRUE(pattern.linked);

  const PsdStrokeEffect& stroke = effects->stroke;
  EXPECT_EQ(stroke.size, 3);
  EXPECT_EQ(stroke.position, 0);
  EXPECT_EQ(stroke.opacity, 255);
  EXPECT_EQ(stroke.fillType, 0);
  EXPECT_EQ(stroke.color, 0xFFFF0000u);
  EXPECT_TRUE(stroke.aligned);
  EXPECT_EQ(stroke.angle, 90);
  EXPECT_EQ(stroke.gradientScale, 100);
  EXPECT_EQ(stroke.patternScale, 100);
  EXPECT_TRUE(stroke.linked);
}

TEST(PsdEffectsTest, StrokeScaleBelongsToTheFillReadBeforeIt) {
  struct Case {
    const char* fill;
    int32_t fillType, gradientScale, patternScale;
  };
  const Case cases[] = {{"GrFl", 1, 50, 100}, {"Ptrn", 2, 100, 50}, {"SClr", 0, 100, 100}, {nullptr, 0, 100, 100}};
  for (const Case& c : cases) {
    PsdWriter fx;
    desc::EffectsStart(fx, 1);
    desc::Item(fx, "FrFX", "Objc");
    desc::Object(fx, "FrFX", c.fill ? 3 : 2);
    if (c.fill) desc::Enum(desc::Item(fx, "PntT", "enum"), "FrFl", c.fill);
    desc::Unit(desc::Item(fx, "Scl ", "UntF"), "#Prc", 50.0);
    // A fill type after the scale does not move it.
    desc::Enum(desc::Item(fx, "PntT", "enum"), "FrFl", c.fill ? c.fill : "SClr");
    auto load = PsdEffectsRead("lfx2", fx.Get());
    ASSERT_EQ(load->status, kPsdOk);
    const PsdStrokeEffect& stroke = load->Effects()->stroke;
    const char* name = c.fill ? c.fill : "none";
    EXPECT_EQ(stroke.fillType, c.fillType) << name;
    EXPECT_EQ(stroke.gradientScale, c.gradientScale) << name;
    EXPECT_EQ(stroke.patternScale, c.patternScale) << name;
  }
}

TEST(PsdEffectsTest, HostileEffectDescriptorsStayInTheirBlock) {
  // A gradient overlay read twice: the second replaces the first and what it owned.
  PsdWriter twice;
  desc::EffectsStart(twice, 2);
  for (int i = 0; i < 2; ++i) {
    desc::Item(twice, "GrFl", "Objc");
    desc::Object(twice, "GrFl", 1);
    desc::Item(twice, "Grad", "Objc");
    PsdEffectsWriteGradient(twice);
  }
  // A stroke whose gradient claims 4 billion stops of each kind.
  PsdWriter stops;
  desc::EffectsStart(stops, 1);
  desc::Item(stops, "FrFX", "Objc");
  desc::Object(stops, "FrFX", 1);
  desc::Item(stops, "Grad", "Objc");
  desc::Object(stops, "Grdn", 2);
  desc::Item(stops, "Clrs", "VlLs").U32(0xFFFFFFFF);
  desc::Item(stops, "Trns", "VlLs").U32(0xFFFFFFFF);
  // A pattern overlay whose name and id claim more units than the block holds.
  PsdWriter names;
  desc::EffectsStart(names, 1);
  desc::NamedItem(names, "patternFill", "Objc");
  desc::Object(names, "patternFill", 1);
  desc::Item(names, "Ptrn", "Objc");
  desc::Object(names, "Ptrn", 2);
  desc::Item(names, "Idnt", "TEXT").U32(0x7FFFFFFF).U16('a').U16('b');
  desc::Item(names, "Nm  ", "TEXT").U32(0x7FFFFFFF);
  // A bevel item nested far deeper than followed.
  PsdWriter deep;
  desc::EffectsStart(deep, 1);
  desc::Item(deep, "ebbl", "Objc");
  desc::Object(deep, "ebbl", 1);
  desc::Item(deep, "Nest", "Objc");
  for (int i = 0; i < 200; ++i) desc::Item(desc::Object(deep, "null", 1), "Nest", "Objc");

  for (const PsdWriter* block : {&twice, &stops, &names, &deep}) {
    const int64_t blockBytes = int64_t(block->Size());
    psdtest::PsdLayerSpec layer = psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{1}, {2}, {3}}, "fx");
    layer.extra = psdtest::InfoBlock("lfx2", block->Get());
    psdtest::PsdSpec spec;
    spec.layers = {layer, psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{4}, {5}, {6}}, "next")};
    const Bytes bytes = psdtest::MakePsd(spec);
    PsdDocument* document = nullptr;
    ASSERT_EQ(PsdLoadMemory(&document, bytes.data(), int64_t(bytes.size())), kPsdOk) << blockBytes;
    const auto* effects = static_cast<const PsdLayerEffects*>(document->layers[0].infos[0]);
    if (block == &twice) {
      EXPECT_EQ(effects->count, 2);
      PsdEffectsExpectGradient(effects->gradientOverlay.gradient);
    } else if (block == &stops) {
      EXPECT_LE(int64_t(effects->stroke.gradient.colorStopCount) * 64, blockBytes);
      EXPECT_LE(int64_t(effects->stroke.gradient.transparencyStopCount) * 32, blockBytes);
    } else if (block == &names) {
      EXPECT_EQ(std::strncmp(effects->patternOverlay.pattern.id, "ab", 2), 0);
      EXPECT_LE(int64_t(effects->patternOverlay.pattern.nameLength) * 2, blockBytes);
    } else {
      EXPECT_EQ(effects->count, 1);
      EXPECT_EQ(effects->bevel.depth, 100);
    }
    EXPECT_STREQ(document->layers[1].name, "next") << blockBytes;
    EXPECT_EQ(document->layers[1].pixels[0], 0xFF040506u) << blockBytes;
    PsdFree(document);
  }
}

TEST(PsdEffectsTest, ContourTables) {
  uint8_t table[256];
  const uint8_t x2[2] = {0, 255}, rising[2] = {0, 255}, falling[2] = {255, 0};
  const bool smooth[2] = {false, false};
  PsdBuildContourTable(2, x2, rising, smooth, table);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(table[i], i) << i;
  PsdBuildContourTable(2, x2, falling, smooth, table);
  EXPECT_EQ(table[0], 255);
  EXPECT_EQ(table[255], 0);
  for (int i = 1; i < 256; ++i) ASSERT_LE(table[i], table[i - 1]) << i;
  const uint8_t x1[1] = {128}, y1[1] = {64};
  PsdBuildContourTable(1, x1, y1, smooth, table);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(table[i], 64) << i;
  // No points: the identity stays instead of reading a first point that is not there.
  PsdBuildContourTable(0, x1, y1, smooth, table);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(table[i], i) << i;
}

}  // namespace
