// Layer effects: the binary and the descriptor form, and contour tables.
#include <gtest/gtest.h>

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
