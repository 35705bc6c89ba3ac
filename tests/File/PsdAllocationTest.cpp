// Counts and sizes read from a hostile layered document allocate nothing large.
#include <gtest/gtest.h>

#include <algorithm>

#include "AllocationProbe.h"
#include "Core/Psd/Psd.h"
#include "Psd/PsdFiles.h"
#include "Psd/PsdJpegFiles.h"

namespace {

using psdtest::Bytes;
using psdtest::PsdWriter;

constexpr size_t kPsdProbeLargest = 64 * 1024;

psdtest::PsdLayerSpec PsdProbeLayer(const Bytes& extra = {}) {
  psdtest::PsdLayerSpec layer =
      psdtest::RawLayer(0, 0, 2, 2, {0, 1, 2}, {Bytes(4, 1), Bytes(4, 2), Bytes(4, 3)}, "l");
  layer.extra = extra;
  return layer;
}

struct PsdProbeCase {
  const char* name;
  Bytes bytes;
};

// Overwrites the big-endian u32 at offset.
Bytes PsdProbePatch(Bytes bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (24 - 8 * i));
  return bytes;
}

std::vector<PsdProbeCase> PsdProbeCases() {
  std::vector<PsdProbeCase> cases;
  psdtest::PsdSpec spec;
  spec.layers = {PsdProbeLayer()};
  const Bytes plain = psdtest::MakePsd(spec);
  // Offsets in the plain document: colour-mode length 26, resources 30, section 34, info 38,
  // layer count 42, the record from 44 (rectangle, channel count 60, channel infos 62).
  cases.push_back({"PaletteLength", PsdProbePatch(plain, 26, 0x7FFFFFFF)});
  cases.push_back({"LayerCount", [&] { Bytes b = plain; b[42] = 0x7F, b[43] = 0xFF; return b; }()});
  cases.push_back({"ChannelCount", [&] { Bytes b = plain; b[60] = 0x7F, b[61] = 0xFF; return b; }()});
  cases.push_back({"ChannelLength", PsdProbePatch(plain, 64, 0x7FFFFFF0)});

  const auto withExtra = [&](const Bytes& block) {
    psdtest::PsdSpec s;
    s.layers = {PsdProbeLayer(block)};
    return psdtest::MakePsd(s);
  };
  cases.push_back({"UnicodeName", withExtra(psdtest::InfoBlock("luni", PsdWriter().U32(0x40000000).Get()))});
  PsdWriter levels;
  levels.U16(2).Zeros(290).Key("Lvls").U16(3).U16(0xFFFF);
  cases.push_back({"LevelsCount", withExtra(psdtest::InfoBlock("levl", levels.Get()))});
  cases.push_back({"DescriptorCount",
                   withExtra(psdtest::InfoBlock("GdFl", PsdWriter().U32(16).U32(0x7FFFFFFF).Get()))});
  PsdWriter ranges;
  ranges.U32(0x7FFFFFF8).Zeros(8);
  psdtest::PsdLayerSpec rangeLayer = PsdProbeLayer();
  rangeLayer.blendingRanges = ranges.Get();
  spec.layers = {rangeLayer};
  cases.push_back({"BlendingRanges", psdtest::MakePsd(spec)});

  psdtest::PsdSpec resources;
  resources.layers = {PsdProbeLayer()};
  resources.resources = psdtest::Resource(1026, Bytes(2, 0));
  Bytes groups = psdtest::MakePsd(resources);
  cases.push_back({"LayerGroupsSize", PsdProbePatch(groups, 34 + 8, 0x7FFFFFF0)});
  resources.resources = psdtest::Resource(1045, PsdWriter().U32(0x7FFFFFF0).Get());
  cases.push_back({"AlphaNames", psdtest::MakePsd(resources)});
  resources.resources = psdtest::Resource(
      1036, PsdWriter().U32(1).U32(60000).U32(60000).U32(180000).U32(0).U32(0x7FFFFFF0).U16(24).U16(1).Get());
  cases.push_back({"ThumbnailSize", psdtest::MakePsd(resources)});
  // A JPEG whose frame claims 65535 x 65535 pixels.
  psdtest::JpegSpec small;
  Bytes jpeg = psdtest::MakeJpeg(small, psdtest::JpegPatternSample);
  for (size_t at = 0; at + 8 < jpeg.size(); ++at) {
    if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xC0) std::fill(jpeg.begin() + long(at) + 5, jpeg.begin() + long(at) + 9, 0xFF);
  }
  resources.resources = psdtest::ThumbnailResource(8, 8, jpeg, uint32_t(jpeg.size()));
  cases.push_back({"ThumbnailFrame", psdtest::MakePsd(resources)});

  // A stroke effect whose gradient claims 2 billion colour stops.
  PsdWriter stroke;
  psdtest::desc::EffectsStart(stroke, 1);
  psdtest::desc::Item(stroke, "FrFX", "Objc");
  psdtest::desc::Object(stroke, "FrFX", 1);
  psdtest::desc::Item(stroke, "Grad", "Objc");
  psdtest::desc::Object(stroke, "Grdn", 1);
  psdtest::desc::Item(stroke, "Clrs", "VlLs").U32(0x7FFFFFFF);
  cases.push_back({"EffectGradientStops", withExtra(psdtest::InfoBlock("lfx2", stroke.Get()))});

  PsdWriter pattern;
  pattern.U32(0x100).U32(1).U32(3).U16(0xFFFF).U16(0xFFFF).U32(0x7FFFFFFF);
  psdtest::PsdSpec patterns;
  patterns.layers = {PsdProbeLayer()};
  patterns.tail = PsdWriter().Key("8BIM").Key("Patt").U32(uint32_t(pattern.Size())).Raw(pattern.Get()).Get();
  cases.push_back({"PatternName", psdtest::MakePsd(patterns)});
  return cases;
}

TEST(PsdAllocationTest, HostileCountsAllocateNothingLarge) {
  for (const PsdProbeCase& c : PsdProbeCases()) {
    PsdDocument* document = nullptr;
    size_t largest = 0;
    {
      filetest::AllocationProbe probe;
      PsdLoadMemory(&document, c.bytes.data(), int64_t(c.bytes.size()));
      largest = probe.Largest();
    }
    PsdFree(document);
    EXPECT_LT(largest, kPsdProbeLargest) << c.name;
  }
}

TEST(PsdAllocationTest, ImagesAboveTheCapAreRefused) {
  // A 30000 x 30000 layer whose channels carry no data: the pixels would pass 512 MiB.
  psdtest::PsdSpec spec;
  psdtest::PsdLayerSpec layer = PsdProbeLayer();
  layer.bottom = 30000, layer.right = 30000;
  for (auto& channel : layer.channels) channel.data.clear();
  spec.layers = {layer};
  const Bytes bytes = psdtest::MakePsd(spec);
  PsdDocument* document = reinterpret_cast<PsdDocument*>(uintptr_t(1));
  size_t largest = 0;
  {
    filetest::AllocationProbe probe;
    EXPECT_EQ(PsdLoadMemory(&document, bytes.data(), int64_t(bytes.size())), kPsdNoMemory);
    largest = probe.Largest();
  }
  EXPECT_EQ(document, nullptr);
  EXPECT_LE(largest, size_t(kPsdMaxImageBytes));
  // With a smaller cap the same document is refused before anything large is made.
  {
    filetest::AllocationProbe probe;
    EXPECT_EQ(PsdLoadMemoryLimited(bytes.data(), int64_t(bytes.size()), &document, kPsdLoadAll, 1 << 20), kPsdNoMemory);
    EXPECT_LT(probe.Largest(), size_t(1 << 20));
  }
}

}  // namespace
