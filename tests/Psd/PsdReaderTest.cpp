// The layered-document reader on documents built in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

#include "Core/Psd/Psd.h"
#include "Psd/PsdFiles.h"
#include "Psd/PsdJpegFiles.h"

namespace {

using psdtest::Bytes;
using psdtest::PsdLayerSpec;
using psdtest::PsdSpec;
using psdtest::PsdWriter;

struct PsdDocumentDeleter {
  void operator()(PsdDocument* document) const { PsdFree(document); }
};
using PsdDocumentPtr = std::unique_ptr<PsdDocument, PsdDocumentDeleter>;

struct PsdReaderLoad {
  int32_t status;
  PsdDocumentPtr document;
};

PsdReaderLoad PsdReaderLoadBytes(const Bytes& bytes, PsdLoadTag tag = kPsdLoadAll) {
  PsdDocument* document = reinterpret_cast<PsdDocument*>(uintptr_t(1));  // must be overwritten
  const int32_t status = PsdLoadMemoryTagged(bytes.data(), int64_t(bytes.size()), &document, tag);
  return {status, PsdDocumentPtr(document)};
}

// A 2 x 2 RGB layer whose planes hold distinct values per channel.
PsdLayerSpec PsdReaderRgbLayer(const std::vector<int16_t>& ids, const std::string& name = "layer") {
  std::vector<Bytes> planes;
  for (int16_t id : ids) {
    const uint8_t base = uint8_t(0x10 * (id + 2));
    planes.push_back({base, uint8_t(base + 1), uint8_t(base + 2), uint8_t(base + 3)});
  }
  return psdtest::RawLayer(0, 0, 2, 2, ids, planes, name);
}

uint32_t PsdReaderExpectedRgb(int p, bool alpha) {
  const auto value = [p](int id) { return uint32_t(0x10 * (id + 2) + p); };
  return (alpha ? value(-1) : 255u) << 24 | value(0) << 16 | value(1) << 8 | value(2);
}

TEST(PsdReaderTest, HeaderFailures) {
  struct Case {
    const char* name;
    Bytes bytes;
    int32_t status;
  };
  Bytes good = psdtest::MakePsd(PsdSpec{});
  const auto patched = [&](size_t at, std::initializer_list<uint8_t> values) {
    Bytes bytes = good;
    std::copy(values.begin(), values.end(), bytes.begin() + long(at));
    return bytes;
  };
  const Case cases[] = {
      {"Empty", {}, kPsdShortData},
      {"TwentyFiveBytes", Bytes(good.begin(), good.begin() + 25), kPsdShortData},
      {"Signature", patched(0, {'8', 'B', 'P', 'X'}), kPsdBadSignature},
      {"Version2", patched(4, {0, 2}), kPsdBadVersion},
      {"Depth32", patched(22, {0, 32}), kPsdBadDepth},
      {"Mode5", patched(24, {0, 5}), kPsdBadMode},
      {"Mode6", patched(24, {0, 6}), kPsdBadMode},
      {"ChannelsFrom0x8000", patched(12, {0x80, 0}), kPsdShortData},
  };
  for (const Case& c : cases) {
    PsdReaderLoad load = PsdReaderLoadBytes(c.bytes);
    EXPECT_EQ(load.status, c.status) << c.name;
    EXPECT_EQ(load.document, nullptr) << c.name;
  }
}

TEST(PsdReaderTest, NullArguments) {
  EXPECT_EQ(PsdLoad(nullptr, "x.psd"), kPsdNoOut);
  PsdDocument* document = nullptr;
  EXPECT_EQ(PsdLoad(&document, nullptr), kPsdCannotOpen);
  EXPECT_EQ(PsdLoad(&document, "/nonexistent/none.psd"), kPsdCannotOpen);
  EXPECT_EQ(document, nullptr);
  EXPECT_EQ(PsdFree(nullptr), kPsdNoOut);
}

TEST(PsdReaderTest, HeaderTagReadsOnlyTheHeader) {
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({0, 1, 2}), PsdReaderRgbLayer({0, 1, 2})};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec), kPsdLoadHeader);
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->width, 2);
  EXPECT_EQ(load.document->channelCount, 3);
  EXPECT_EQ(load.document->colorChannelCount, 3);
  EXPECT_EQ(load.document->layerCount, 0);
  EXPECT_EQ(load.document->stage, 5);
}

TEST(PsdReaderTest, FlatDocumentBecomesOneLayer) {
  PsdSpec spec;
  spec.layerSection = false;
  spec.merged = psdtest::Planes({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
  for (PsdLoadTag tag : {kPsdLoadAll, kPsdLoadLayers}) {
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec), tag);
    ASSERT_EQ(load.status, kPsdOk);
    ASSERT_EQ(load.document->layerCount, 1);
    const PsdLayer& layer = load.document->layers[0];
    EXPECT_EQ(layer.width, 2);
    EXPECT_EQ(layer.height, 2);
    ASSERT_NE(layer.pixels, nullptr);
    EXPECT_EQ(layer.pixels[3], 0xFF04080Cu);
    EXPECT_EQ(load.document->merged != nullptr, tag == kPsdLoadAll);
  }
}

TEST(PsdReaderTest, RgbLayerTakesPlanesByChannelId) {
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({2, -1, 0, 1}, "a"), PsdReaderRgbLayer({0, 1, 2}, "b")};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  ASSERT_EQ(load.document->layerCount, 2);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(load.document->layers[0].pixels[p], PsdReaderExpectedRgb(p, true));
    EXPECT_EQ(load.document->layers[1].pixels[p], PsdReaderExpectedRgb(p, false));
  }
  EXPECT_STREQ(load.document->layers[0].name, "a");
}

TEST(PsdReaderTest, CompressionsDecodeToTheSamePixels) {
  const std::vector<Bytes> planes = {{200, 201, 202, 203}, {10, 20, 30, 40}, {5, 5, 5, 5}, {0, 1, 255, 254}};
  const std::vector<int16_t> ids = {-1, 0, 1, 2};
  for (uint16_t compression : {0, 1, 2, 3}) {
    PsdLayerSpec layer = psdtest::RawLayer(0, 0, 2, 2, ids, planes, "z");
    for (psdtest::PsdChannel& channel : layer.channels) {
      channel.compression = compression;
      if (compression == 1) channel.data = psdtest::Rle(channel.data, 2);
      if (compression == 2) channel.data = psdtest::Zip(channel.data);
      if (compression == 3) {
        Bytes delta = channel.data;  // rows of 2: second sample minus first
        for (int row = 0; row < 2; ++row) delta[row * 2 + 1] = uint8_t(delta[row * 2 + 1] - delta[row * 2]);
        channel.data = psdtest::Zip(delta);
      }
    }
    PsdSpec spec;
    spec.layers = {layer, layer};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, kPsdOk) << compression;
    for (int p = 0; p < 4; ++p) {
      const uint32_t expected = uint32_t(planes[0][p]) << 24 | uint32_t(planes[1][p]) << 16 |
                                uint32_t(planes[2][p]) << 8 | planes[3][p];
      EXPECT_EQ(load.document->layers[1].pixels[p], expected) << compression << " pixel " << p;
    }
  }
}

TEST(PsdReaderTest, BadCompressionAndBadZip) {
  for (auto [compression, data, status] : {std::tuple<uint16_t, Bytes, int32_t>{4, {1, 2, 3, 4}, kPsdBadCompression},
                                           {2, {1, 2, 3, 4}, kPsdBadZip}}) {
    PsdLayerSpec layer = psdtest::RawLayer(0, 0, 2, 2, {0}, {data}, "x");
    layer.channels[0].compression = compression;
    PsdSpec spec;
    spec.layers = {layer};
    EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec)).status, status);
  }
}

TEST(PsdReaderTest, BlendingRanges) {
  struct Case {
    uint32_t length;
    int32_t status;
    int32_t ranges;
  };
  for (const Case& c : {Case{0, kPsdOk, 0}, Case{8, kPsdNoBlendingRanges, 0}, Case{40, kPsdOk, 4}}) {
    PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2});
    if (c.length > 0) {
      PsdWriter ranges;
      ranges.U32(c.length);
      for (uint32_t i = 0; i < c.length / 2; ++i) ranges.U16(i);
      layer.blendingRanges = ranges.Get();
    }
    PsdSpec spec;
    spec.layers = {layer};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    EXPECT_EQ(load.status, c.status) << c.length;
    if (c.status != kPsdOk) continue;
    EXPECT_EQ(load.document->layers[0].rangeCount, c.ranges);
    if (c.ranges == 4) {
      EXPECT_EQ(load.document->layers[0].compositeGrey[3], 3);
      EXPECT_EQ(load.document->layers[0].destinationWhite[3], 19);
    }
  }
}

// A mask field: user rectangle and, for 36 bytes, the real rectangle.
Bytes PsdReaderMask(uint32_t size, int32_t top, int32_t left, int32_t bottom, int32_t right, int32_t realBottom,
                    int32_t realRight) {
  PsdWriter w;
  w.U32(size).U32(uint32_t(top)).U32(uint32_t(left)).U32(uint32_t(bottom)).U32(uint32_t(right)).U8(0).U8(0);
  if (size == 20) {
    w.U16(0);
  } else {
    w.U8(0).U8(255).U32(0).U32(0).U32(uint32_t(realBottom)).U32(uint32_t(realRight));
  }
  return w.Get();
}

TEST(PsdReaderTest, MaskRecordsOf20And36Bytes) {
  for (uint32_t size : {20u, 36u}) {
    // A 3 x 3 user mask beside a 4 x 4 real mask; the layer is 2 x 2.
    PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2});
    layer.mask = PsdReaderMask(size, 0, 0, 3, 3, 4, 4);
    layer.channels.push_back({-2, 0, Bytes(9, 0x77)});
    if (size == 36) layer.channels.push_back({-3, 1, psdtest::Rle(Bytes(16, 0x55), 4)});
    PsdSpec spec;
    spec.layers = {layer};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, kPsdOk) << size;
    const PsdLayerMask& mask = load.document->layers[0].mask;
    EXPECT_EQ(mask.width, 3) << size;
    EXPECT_EQ(mask.height, 3) << size;
    ASSERT_NE(mask.pixels, nullptr);
    EXPECT_EQ(mask.pixels[8], 0x77);
    EXPECT_EQ(mask.hasReal, size == 36);
    if (size == 36) {
      EXPECT_EQ(mask.realRight, 4);
    }
    EXPECT_EQ(load.document->layers[0].pixels[0], PsdReaderExpectedRgb(0, false));
  }
}

TEST(PsdReaderTest, FoldersFromSectionDividers) {
  PsdSpec spec;
  PsdLayerSpec start = psdtest::FolderLayer(1, "group");
  PsdLayerSpec end = psdtest::FolderLayer(3, "</Layer group>");
  PsdLayerSpec start16;
  start16.name = "g16";
  start16.extra = psdtest::InfoBlock("lsct", PsdWriter().U32(2).U32(0).U32(0).Key("mul ").Get());  // 16 bytes
  spec.layers = {end, PsdReaderRgbLayer({0, 1, 2}, "a"), PsdReaderRgbLayer({0, 1, 2}, "b"), start, start16};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  const PsdLayer* layers = load.document->layers;
  EXPECT_EQ(layers[0].type, kPsdLayerFolderEnd);
  EXPECT_EQ(layers[3].type, kPsdLayerFolderStart);
  EXPECT_EQ(layers[1].folder, &layers[3]);
  EXPECT_EQ(layers[2].folder, &layers[3]);
  EXPECT_EQ(layers[3].folder, nullptr);
  EXPECT_EQ(layers[4].type, kPsdLayerFolderStart);
  EXPECT_EQ(layers[4].dividerBlendMode, kPsdBlendPassThrough);

  PsdLayerSpec bad = psdtest::FolderLayer(1, "bad");
  bad.extra = psdtest::InfoBlock("lsct", PsdWriter().U32(1).Key("8BIX").Key("norm").Get());
  spec.layers = {bad};
  EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec)).status, kPsdBadDividerSignature);
}

TEST(PsdReaderTest, LayerRecordFields) {
  PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2}, "fivec");
  layer.flags = 0x1A;  // hidden, bit 3 and bit 4
  layer.blendKey = "scrn";
  layer.extra = psdtest::InfoBlock("zzzz", Bytes(3, 1));  // odd length, skipped rounded up
  const Bytes nan = PsdWriter().Double(std::numeric_limits<double>::quiet_NaN()).Double(1e300).Get();
  Bytes extra = psdtest::InfoBlock("fxrp", nan);
  layer.extra.insert(layer.extra.end(), extra.begin(), extra.end());
  PsdSpec spec;
  spec.layers = {layer};
  spec.storedLayerCount = 0xFFFF;  // -1: one layer
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  ASSERT_EQ(load.document->layerCount, 1);
  const PsdLayer& read = load.document->layers[0];
  EXPECT_FALSE(read.visible);
  EXPECT_TRUE(read.pixelDataIrrelevant);
  EXPECT_EQ(read.blendMode, 7);
  EXPECT_STREQ(read.name, "fivec");
  EXPECT_EQ(read.referenceX, 0);
  EXPECT_EQ(read.referenceY, std::numeric_limits<int32_t>::max());
}

TEST(PsdReaderTest, HostileCountsAndRectanglesFailOrStayEmpty) {
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
  spec.storedLayerCount = 0x8000;
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  EXPECT_NE(load.status, kPsdOk);
  EXPECT_EQ(load.document, nullptr);

  spec.storedLayerCount = 5000;  // more records than bytes
  EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec)).status, kPsdShortData);

  spec.storedLayerCount = -1;
  PsdLayerSpec negative = PsdReaderRgbLayer({0, 1, 2});
  negative.bottom = -2, negative.right = -3;  // both sides negative: the product is positive
  PsdLayerSpec overflowing = PsdReaderRgbLayer({0, 1, 2});
  overflowing.left = std::numeric_limits<int32_t>::min(), overflowing.right = std::numeric_limits<int32_t>::max();
  spec.layers = {negative, overflowing, PsdReaderRgbLayer({0, 1, 2}, "after")};
  load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->layers[0].pixels, nullptr);
  EXPECT_EQ(load.document->layers[1].width, 0);
  EXPECT_EQ(load.document->layers[1].pixels, nullptr);
  // The empty layers consumed exactly their channels: the next one decodes right.
  EXPECT_EQ(load.document->layers[2].pixels[3], PsdReaderExpectedRgb(3, false));
}

TEST(PsdReaderTest, ChannelDataLongerThanTheFileFails) {
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
  Bytes bytes = psdtest::MakePsd(spec);
  bytes.resize(bytes.size() - 14);  // cut into the last channel
  EXPECT_EQ(PsdReaderLoadBytes(bytes).status, kPsdShortData);
}

TEST(PsdReaderTest, LayerChannelCountFrom0x8000Fails) {
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
  Bytes bytes = psdtest::MakePsd(spec);
  // The channel count follows the section, info and layer count fields and the rectangle.
  const size_t at = 26 + 4 + 4 + 4 + 4 + 2 + 16;
  ASSERT_EQ(bytes[at + 1], 3);
  bytes[at] = 0x80, bytes[at + 1] = 0;
  EXPECT_EQ(PsdReaderLoadBytes(bytes).status, kPsdShortData);
}

TEST(PsdReaderTest, AtMostTwentyInfoRecordsAreKept) {
  PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2});
  for (int i = 0; i < 25; ++i) {
    const Bytes block = psdtest::InfoBlock("brit", PsdWriter().U16(uint32_t(i)).U16(0).U16(0).U8(0).Get());
    layer.extra.insert(layer.extra.end(), block.begin(), block.end());
  }
  PsdSpec spec;
  spec.layers = {layer};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->layers[0].infoCount, kPsdMaxLayerInfos);
  EXPECT_EQ(load.document->layers[0].type, kPsdLayerBrightnessContrast);
  EXPECT_EQ(static_cast<PsdBrightnessContrast*>(load.document->layers[0].infos[19])->brightness, 19);
}

Bytes PsdReaderLevels(uint16_t extraCount, bool extension, size_t pad, bool writeEntries = true) {
  PsdWriter w;
  w.U16(2);
  for (int i = 0; i < 29; ++i) w.U16(0).U16(255).U16(0).U16(255).U16(100);
  if (extension) {
    w.Key("Lvls").U16(3).U16(extraCount);
    for (int i = 29; i < extraCount && writeEntries; ++i) w.U16(0).U16(255).U16(0).U16(255).U16(100);
  }
  w.Zeros(pad);
  return w.Get();
}

TEST(PsdReaderTest, LevelsBlocks) {
  struct Case {
    const char* name;
    Bytes data;
    int32_t status;
    uint16_t extra;
  };
  const Case cases[] = {
      {"Plain", PsdReaderLevels(0, false, 0), kPsdOk, 0},
      {"ExtensionOf29", PsdReaderLevels(29, true, 0), kPsdOk, 0},
      {"ExtensionOf31", PsdReaderLevels(31, true, 0), kPsdOk, 2},
      {"CountBelow29", PsdReaderLevels(3, true, 0), kPsdOk, 0},
      {"TwoPadBytes", PsdReaderLevels(0, false, 2), kPsdLevelsLength, 0},
      {"HugeCountAtTheEnd", PsdReaderLevels(0xFFFF, true, 0, false), kPsdLevelsLength, 0},
  };
  for (const Case& c : cases) {
    PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2});
    layer.extra = psdtest::InfoBlock("levl", c.data);
    PsdSpec spec;
    spec.layers = {layer};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    EXPECT_EQ(load.status, c.status) << c.name;
    if (load.status != kPsdOk) continue;
    EXPECT_EQ(load.document->layers[0].type, kPsdLayerLevels);
    EXPECT_EQ(static_cast<PsdLevels*>(load.document->layers[0].infos[0])->extraCount, c.extra) << c.name;
  }
}

TEST(PsdReaderTest, CurvesInvertAndSolidColour) {
  PsdLayerSpec curves = PsdReaderRgbLayer({0, 1, 2});
  curves.extra = psdtest::InfoBlock(
      "curv", PsdWriter().U8(0).U16(1).U32(9).U16(2).U16(0).U16(0).U16(255).U16(255).U16(1).U16(7).U16(8).Get());
  PsdLayerSpec invert = PsdReaderRgbLayer({0, 1, 2});
  invert.extra = psdtest::InfoBlock("nvrt", {});
  PsdLayerSpec solid = PsdReaderRgbLayer({0, 1, 2});
  PsdWriter color;
  color.U32(16).U32(0).U32(0).Key("null").U32(1).U32(0).Key("Clr ").Key("Objc");
  color.U32(0).U32(0).Key("RGBC").U32(3);
  for (double value : {255.0, 0.0, 0.0}) color.U32(0).Key("Rd  ").Key("doub").Double(value);
  solid.extra = psdtest::InfoBlock("SoCo", color.Get());
  PsdSpec spec;
  spec.layers = {curves, invert, solid};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  const auto* read = static_cast<PsdCurves*>(load.document->layers[0].infos[0]);
  ASSERT_EQ(read->count, 2);
  EXPECT_EQ(read->curves[1].channel, 3);
  EXPECT_EQ(read->curves[1].second[0], 8);
  EXPECT_EQ(load.document->layers[1].type, kPsdLayerInvert);
  EXPECT_EQ(load.document->layers[1].infoKinds[0], kPsdInfoInvert);
  EXPECT_EQ(load.document->layers[1].infos[0], nullptr);
  EXPECT_EQ(load.document->layers[2].type, kPsdLayerSolidColor);
  EXPECT_EQ(static_cast<PsdSolidColor*>(load.document->layers[2].infos[0])->color, 0xFFFF0000u);
}

TEST(PsdReaderTest, DescriptorsEndWithTheirBytes) {
  // A gradient fill whose descriptor claims 4 billion items, and one nested far deeper than followed.
  PsdWriter huge;
  huge.U32(16).U32(0).U32(0).Key("null").U32(0xFFFFFFFF).U32(0).Key("Xxxx").Key("long").U32(5);
  PsdWriter deep;
  deep.U32(16).U32(0).U32(0).Key("null").U32(1);
  for (int i = 0; i < 200; ++i) deep.U32(0).Key("Nest").Key("Objc").U32(0).U32(0).Key("null").U32(1);
  for (const Bytes& data : {huge.Get(), deep.Get()}) {
    PsdLayerSpec layer = PsdReaderRgbLayer({0, 1, 2});
    layer.extra = psdtest::InfoBlock("GdFl", data);
    PsdSpec spec;
    spec.layers = {layer, PsdReaderRgbLayer({0, 1, 2}, "next")};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, kPsdOk);
    const auto* fill = static_cast<PsdGradientFill*>(load.document->layers[0].infos[0]);
    EXPECT_EQ(fill->scale, 100);
    EXPECT_TRUE(fill->aligned);
    EXPECT_STREQ(load.document->layers[1].name, "next");
  }
}

TEST(PsdReaderTest, IndexedColours) {
  // Four coloured entries in a 768-byte table; pixels 0, 3, 200 and 2.
  Bytes table(768, 0);
  for (int i = 0; i < 4; ++i) table[i] = uint8_t(0x10 * (i + 1)), table[256 + i] = 1, table[512 + i] = 2;
  struct Case {
    const char* name;
    Bytes colorModeData;
    Bytes resources;
    uint32_t pixels[4];
  };
  const Bytes count3 = psdtest::Resource(1046, PsdWriter().U16(3).Get());
  Bytes count3Transparent2 = count3;
  const Bytes transparent = psdtest::Resource(1047, PsdWriter().U16(2).Get());
  count3Transparent2.insert(count3Transparent2.end(), transparent.begin(), transparent.end());
  const Case cases[] = {
      {"NoCountResource", table, {}, {0xFF100102u, 0xFF400102u, 0xFF000000u, 0xFF300102u}},
      {"Count3", table, count3, {0xFF100102u, 0x00FFFFFFu, 0x00FFFFFFu, 0xFF300102u}},
      {"Count3Transparent2", table, count3Transparent2, {0xFF100102u, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu}},
      // 9 bytes: three entries, red plane 10 20 30, green plane 40 00 00, blue plane 0.
      {"ShortPalette", Bytes(table.begin(), table.begin() + 9), {}, {0xFF104000u, 0x00FFFFFFu, 0x00FFFFFFu, 0xFF300000u}},
      {"NoPalette", {}, {}, {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu}},
  };
  for (const Case& c : cases) {
    PsdSpec spec;
    spec.mode = 2;
    spec.channels = 1;
    spec.colorModeData = c.colorModeData;
    spec.resources = c.resources;
    spec.layers = {psdtest::RawLayer(0, 0, 2, 2, {0}, {{0, 3, 200, 2}}, "i")};
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, kPsdOk) << c.name;
    for (int p = 0; p < 4; ++p) EXPECT_EQ(load.document->layers[0].pixels[p], c.pixels[p]) << c.name << " " << p;
  }
}

TEST(PsdReaderTest, MergedImageAlphaComesAfterTheColourPlanes) {
  PsdSpec spec;
  spec.channels = 4;
  spec.layerSection = false;
  spec.merged = psdtest::Planes({{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {0x80, 0x80, 0x80, 0x80}});
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->merged[0], 0x80010203u);

  // With resource 1006 naming the fourth channel an alpha channel, the image is opaque.
  spec.resources = psdtest::Resource(1006, {5, 'A', 'l', 'p', 'h', 'a'});
  load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->colorChannelCount, 3);
  EXPECT_EQ(load.document->merged[0], 0xFF010203u);
  ASSERT_NE(load.document->alphaChannels[0].plane, nullptr);
  EXPECT_EQ(load.document->alphaChannels[0].plane[0], 0x80);
  EXPECT_STREQ(load.document->alphaChannels[0].name, "Alpha");
}

TEST(PsdReaderTest, AlphaChannelCountIsLimitedToTheChannels) {
  PsdSpec spec;
  spec.layerSection = false;
  spec.resources = psdtest::Resource(1053, Bytes(40, 0));  // ten ids for three channels
  spec.merged = psdtest::Planes({{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}});
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->alphaChannelCount, 3);
  EXPECT_EQ(load.document->colorChannelCount, 0);
}

TEST(PsdReaderTest, MergedImageCutShortHasZeroPlanes) {
  PsdSpec spec;
  spec.layerSection = false;
  spec.merged = {9, 9, 9, 9, 8};  // red plane and one green byte
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->merged[0], 0xFF090800u);
  EXPECT_EQ(load.document->merged[3], 0xFF090000u);
}

TEST(PsdReaderTest, SixteenBitLayersFromLr16) {
  // The main list is empty; "Lr16" holds the layers; the high byte of each sample counts.
  PsdSpec spec;
  spec.depth = 16;
  std::vector<Bytes> planes(3, Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0});
  const PsdLayerSpec layer = psdtest::RawLayer(0, 0, 2, 2, {0, 1, 2}, planes, "deep");
  spec.tail = PsdWriter().Key("8BIM").Key("Lr16").Raw(psdtest::LayerInfo({layer, layer})).Get();
  Bytes bytes = psdtest::MakePsd(spec);
  PsdReaderLoad load = PsdReaderLoadBytes(bytes, kPsdLoadLayers);
  ASSERT_EQ(load.status, kPsdOk);
  ASSERT_EQ(load.document->layerCount, 2);
  EXPECT_EQ(load.document->layers[1].pixels[1], 0xFF565656u);

  // A failing second list ends the load with its status.
  PsdLayerSpec bad = layer;
  bad.blendSignature = "8BIX";
  spec.tail = PsdWriter().Key("8BIM").Key("Lr16").Raw(psdtest::LayerInfo({bad})).Get();
  spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
  EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec)).status, kPsdBadBlendSignature);
}

// One pattern of a "Patt" block with the given written channels (raw, 2 x 2 at depth 8).
Bytes PsdReaderPattern(uint32_t mode, int written) {
  PsdWriter w;
  const size_t start = w.Begin();
  w.U32(1).U32(mode).U16(2).U16(2).U32(1).U16('p').U8(2).Raw("id", 2);
  w.U32(3).U32(0).U32(0).U32(0).U32(2).U32(2).U32(uint32_t(written));
  for (int i = 0; i < written; ++i) {
    w.U32(1).U32(23 + 4).U32(8).U32(0).U32(0).U32(2).U32(2).U16(8).U8(0);
    w.U8(uint32_t(0x20 * (i + 1))).U8(0).U8(0).U8(0);
  }
  w.End(start, 4, false);
  return w.Get();
}

TEST(PsdReaderTest, PatternsDecodeWrittenChannelsWithinTheirPlanes) {
  struct Case {
    uint32_t mode;
    int written;
    uint32_t first;
  };
  for (const Case& c : {Case{3, 3, 0xFF204060u}, Case{1, 6, 0x40202020u}, Case{3, 9, 0x80204060u}}) {
    PsdSpec spec;
    spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
    const Bytes pattern = PsdReaderPattern(c.mode, c.written);
    PsdWriter tail;
    tail.Key("8BIM").Key("Patt").U32(uint32_t(pattern.size())).Raw(pattern);
    spec.tail = tail.Get();
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, kPsdOk) << c.written;
    ASSERT_EQ(load.document->patternCount, 1);
    EXPECT_EQ(load.document->patterns[0].pixels[0], c.first) << c.mode << " " << c.written;
    EXPECT_STREQ(load.document->patterns[0].id, "id");
  }
}

TEST(PsdReaderTest, BadJpegThumbnailFailsOnlyWhenRead) {
  PsdWriter thumbnail;
  thumbnail.U32(1).U32(4).U32(4).U32(12).U32(48).U32(6).U16(24).U16(1).Raw("\xFF\xD8 bad", 6);
  PsdSpec spec;
  spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
  spec.resources = psdtest::Resource(1036, thumbnail.Get());
  EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec)).status, kPsdBadJpeg);
  EXPECT_EQ(PsdReaderLoadBytes(psdtest::MakePsd(spec), kPsdLoadLayers).status, kPsdOk);
}

TEST(PsdReaderTest, RunLengthRows) {
  struct Case {
    const char* name;
    Bytes source;
    Bytes expected;
  };
  const Case cases[] = {
      {"Repeat", {0, 2, 0xFE, 0x07}, {7, 7, 7, 0}},
      {"Literal", {0, 4, 0x02, 0x41, 0x42, 0x43}, {0x41, 0x42, 0x43, 0}},
      {"NoOp", {0, 3, 0x80, 0x00, 0x09}, {9, 0, 0, 0}},
      {"LiteralPastTheData", {0, 9, 0x7F, 1, 2}, {1, 2, 0, 0}},
      {"RepeatPastThePlane", {0, 2, 0x81, 5}, {5, 5, 5, 5}},
  };
  for (const Case& c : cases) {
    Bytes plane(4, 0);
    PsdUnpackRuns(c.source.data(), int64_t(c.source.size()), 1, plane.data(), int64_t(plane.size()));
    EXPECT_EQ(plane, c.expected) << c.name;
  }
}

TEST(PsdReaderTest, ZipPrediction) {
  const Bytes row8 = psdtest::Zip({1, 1, 1});
  Bytes out(3);
  ASSERT_EQ(PsdInflatePredicted(row8.data(), int64_t(row8.size()), out.data(), 3, 3, 8), kPsdOk);
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
  const Bytes row16 = psdtest::Zip({0x00, 0xFF, 0x00, 0x01});
  out.assign(4, 0);
  ASSERT_EQ(PsdInflatePredicted(row16.data(), int64_t(row16.size()), out.data(), 4, 2, 16), kPsdOk);
  EXPECT_EQ(out, (Bytes{0x00, 0xFF, 0x01, 0x00}));
  // A stream longer than the plane stops at the plane's end.
  const Bytes longer = psdtest::Zip(Bytes(100, 3));
  out.assign(4, 0);
  EXPECT_EQ(PsdInflate(longer.data(), int64_t(longer.size()), out.data(), 4), kPsdOk);
  EXPECT_EQ(out, (Bytes{3, 3, 3, 3}));
}

TEST(PsdReaderTest, ColourConversions) {
  EXPECT_EQ(PsdLabToArgb(255, 0, 0, 0), 0xFF000000u);
  EXPECT_EQ(PsdLabToArgb(255, 99, 0, 0), 0xFFFDFDFDu);
  const uint32_t red = PsdLabToArgb(255, 50, 127, 0);
  EXPECT_EQ(red >> 16 & 0xFF, 255u);
  EXPECT_EQ(red >> 8 & 0xFF, 0u);
  EXPECT_EQ(PsdCmykToArgb(255, 0, 0, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(PsdCmykToArgb(255, 0, 0, 0, 255), 0xFF000000u);
  uint32_t color = 0;
  EXPECT_EQ(PsdConvertColorRecord(&color, 3, 0, 0, 0, 0), -15);
  EXPECT_EQ(color, 0x00FFFFFFu);
  EXPECT_EQ(PsdConvertColorRecord(&color, 0, 255 - 256, 128 - 256, 1, 0), kPsdOk);
  EXPECT_EQ(color, 0xFFFF8001u);
  EXPECT_EQ(PsdHslToArgb(255, 0, 0, 0.5), 0xFF7F7F7Fu);
  EXPECT_EQ(PsdDoubleToInt(std::nan("")), 0);
  EXPECT_EQ(PsdDoubleToInt(-1e300), std::numeric_limits<int32_t>::min());
}

TEST(PsdReaderTest, BitmapAndGreyLayers) {
  PsdSpec bitmap;
  bitmap.mode = 0, bitmap.depth = 1, bitmap.channels = 1;
  bitmap.layers = {psdtest::RawLayer(0, 0, 1, 2, {0}, {{0x80}}, "b")};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(bitmap));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->layers[0].pixels[0], 0xFF000000u);
  EXPECT_EQ(load.document->layers[0].pixels[1], 0xFFFFFFFFu);

  PsdSpec grey;
  grey.mode = 1, grey.depth = 16, grey.channels = 1;
  grey.layers = {psdtest::RawLayer(0, 0, 1, 2, {0, -1}, {{0xAB, 0xCD, 0x01, 0x02}, {0x7F, 0, 0xFF, 0}}, "g")};
  load = PsdReaderLoadBytes(psdtest::MakePsd(grey));
  ASSERT_EQ(load.status, kPsdOk);
  EXPECT_EQ(load.document->layers[0].pixels[0], 0x7FABABABu);
  EXPECT_EQ(load.document->layers[0].pixels[1], 0xFF010101u);
}

TEST(PsdReaderTest, FileAndMemoryLoadsAgree) {
  PsdSpec spec;
  // A document of more than one buffer: a large raw layer read past the 4096-byte buffer.
  std::vector<Bytes> planes(3, Bytes(80 * 80, 0));
  for (size_t i = 0; i < planes[1].size(); ++i) planes[1][i] = uint8_t(i * 7);
  spec.layers = {psdtest::RawLayer(0, 0, 80, 80, {0, 1, 2}, planes, "big"), PsdReaderRgbLayer({0, 1, 2})};
  const Bytes bytes = psdtest::MakePsd(spec);
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("psd_reader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                      "_" + std::to_string(reinterpret_cast<uintptr_t>(&spec)) + ".psd");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  PsdDocument* fromFile = nullptr;
  const int32_t status = PsdLoad(&fromFile, path.c_str());
  std::filesystem::remove(path);
  PsdDocumentPtr file(fromFile);
  ASSERT_EQ(status, kPsdOk);
  EXPECT_EQ(file->file, nullptr);
  EXPECT_EQ(file->readBuffer, nullptr);
  PsdReaderLoad memory = PsdReaderLoadBytes(bytes);
  ASSERT_EQ(memory.status, kPsdOk);
  ASSERT_EQ(file->layerCount, 2);
  EXPECT_EQ(std::memcmp(file->layers[0].pixels, memory.document->layers[0].pixels, 80 * 80 * 4), 0);
  EXPECT_EQ(file->layers[1].pixels[2], PsdReaderExpectedRgb(2, false));
}

// A baseline JPEG of width x height with the given components (1 grey, 3 RGB) of one colour.
Bytes PsdReaderJpeg(int width, int height, int components, const uint8_t* color) {
  psdtest::JpegSpec spec;
  spec.width = width, spec.height = height, spec.components = components, spec.quality = 100;
  return psdtest::MakeJpeg(spec, [color](int, int, int c) { return color[c]; });
}

TEST(PsdReaderTest, JpegThumbnails) {
  const uint8_t red[3] = {250, 0, 0};
  const uint8_t grey[1] = {0x80};
  struct Case {
    const char* name;
    Bytes jpeg;
    uint32_t claimedWidth, claimedSize;
    int32_t status;
    uint32_t width;
    uint32_t pixel;
  };
  const Bytes rgb = PsdReaderJpeg(16, 8, 3, red);
  const Case cases[] = {
      {"Rgb", rgb, 16, uint32_t(rgb.size()), kPsdOk, 16, 0xFFFA0000u},
      {"Grey", PsdReaderJpeg(8, 8, 1, grey), 8, 0, kPsdOk, 8, 0xFF808080u},
      // The header's dimensions and size are claims: the decoded image and the block decide.
      {"ClaimsOtherSizes", rgb, 60000, 0x7FFFFFF0, kPsdOk, 16, 0xFFFA0000u},
      {"CutInTheHeader", Bytes(rgb.begin(), rgb.begin() + 20), 16, 20, kPsdBadJpeg, 0, 0},
  };
  for (const Case& c : cases) {
    PsdSpec spec;
    spec.layers = {PsdReaderRgbLayer({0, 1, 2})};
    const uint32_t size = c.claimedSize ? c.claimedSize : uint32_t(c.jpeg.size());
    spec.resources = psdtest::ThumbnailResource(c.claimedWidth, 8, c.jpeg, size);
    PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
    ASSERT_EQ(load.status, c.status) << c.name;
    if (c.status != kPsdOk) {
      EXPECT_EQ(load.document, nullptr);
      continue;
    }
    EXPECT_EQ(load.document->thumbnailWidth, c.width) << c.name;
    ASSERT_NE(load.document->thumbnailPixels, nullptr) << c.name;
    const uint32_t pixel = load.document->thumbnailPixels[load.document->thumbnailWidth * 8 - 1];
    for (int shift : {0, 8, 16, 24}) {
      EXPECT_NEAR(int(pixel >> shift & 0xFF), int(c.pixel >> shift & 0xFF), 2) << c.name;
    }
    EXPECT_EQ(load.document->layerCount, 1);  // the sections after the resources are in place
  }
}

TEST(PsdReaderTest, TypeToolAndGradientMapCountsEndWithTheirBlock) {
  PsdWriter type;
  for (int i = 0; i < 6; ++i) type.Double(i);
  type.U16(1).U16(0).U32(0).U8(1).U8('F').U8(0).U8(0).U16(0).U32(0xFFFFFFFF);  // a font of 4 billion axes
  PsdWriter hugeType;
  for (int i = 0; i < 6; ++i) hugeType.Double(1.0);
  hugeType.U16(0xFFFF);  // fonts, styles and lines beyond the block
  PsdWriter map;
  map.U16(1).U8(1).U8(0).U32(1).U16('m').U16(1).U32(0).U32(50).U16(0).U16(0xFF00).U16(0).U16(0).U16(0).U16(0);
  map.U16(0xFFFF);  // transparency stops beyond the block
  PsdLayerSpec typeLayer = PsdReaderRgbLayer({0, 1, 2});
  typeLayer.extra = psdtest::InfoBlock("tySh", type.Get());
  PsdLayerSpec hugeLayer = PsdReaderRgbLayer({0, 1, 2});
  hugeLayer.extra = psdtest::InfoBlock("tySh", hugeType.Get());
  PsdLayerSpec mapLayer = PsdReaderRgbLayer({0, 1, 2});
  mapLayer.extra = psdtest::InfoBlock("grdm", map.Get());
  PsdSpec spec;
  spec.layers = {typeLayer, hugeLayer, mapLayer, PsdReaderRgbLayer({0, 1, 2}, "last")};
  PsdReaderLoad load = PsdReaderLoadBytes(psdtest::MakePsd(spec));
  ASSERT_EQ(load.status, kPsdOk);
  const auto* tool = static_cast<PsdTypeTool*>(load.document->layers[0].infos[0]);
  ASSERT_EQ(load.document->layers[0].infoKinds[0], kPsdInfoTypeTool);
  EXPECT_EQ(load.document->layers[0].type, kPsdLayerNormal);  // type information sets no type
  EXPECT_DOUBLE_EQ(tool->transform[5], 5.0);
  ASSERT_EQ(tool->fontCount, 1);
  EXPECT_STREQ(tool->fonts[0].name, "F");
  EXPECT_EQ(tool->fonts[0].axisCount, 0u);
  const auto* huge = static_cast<PsdTypeTool*>(load.document->layers[1].infos[0]);
  EXPECT_EQ(huge->fontCount, 0);
  const auto* gradient = static_cast<PsdGradientMap*>(load.document->layers[2].infos[0]);
  EXPECT_EQ(load.document->layers[2].type, kPsdLayerGradientMap);
  ASSERT_EQ(gradient->colorStopCount, 1);
  EXPECT_EQ(gradient->colorStops[0].color, 0xFFFF0000u);
  EXPECT_EQ(gradient->transparencyStopCount, 0);
  EXPECT_STREQ(load.document->layers[3].name, "last");
}

}  // namespace
