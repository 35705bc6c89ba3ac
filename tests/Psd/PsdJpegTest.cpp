// The streaming JPEG decoder, fed whole and in pieces, and the thumbnail decoded through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Core/Psd/Psd.h"
#include "Psd/PsdFiles.h"
#include "Psd/PsdJpegFiles.h"

namespace {

using psdtest::Bytes;
using psdtest::JpegSpec;

struct PsdJpegDecoderDeleter {
  void operator()(PsdJpegDecoder* decoder) const { PsdJpegDecoderRelease(decoder); }
};
using PsdJpegDecoderPtr = std::unique_ptr<PsdJpegDecoder, PsdJpegDecoderDeleter>;

// What the decoder's output must hold for a file: its plain decode with grey tripled into RGB and
// CMYK turned into RGB and 255 (inverted inks with an Adobe marker).
Bytes PsdJpegExpectedOutput(const Bytes& jpeg, int* components) {
  const psdtest::JpegPlain plain = psdtest::DecodeJpegPlain(jpeg);
  *components = plain.components == 4 ? 4 : 3;
  Bytes out;
  for (size_t p = 0; p < size_t(plain.width) * size_t(plain.height); ++p) {
    const uint8_t* in = plain.samples.data() + p * size_t(plain.components);
    if (plain.components == 1) {
      out.insert(out.end(), {in[0], in[0], in[0]});
    } else if (plain.components == 3) {
      out.insert(out.end(), in, in + 3);
    } else {
      for (int c = 0; c < 3; ++c) {
        out.push_back(uint8_t(plain.adobe ? in[c] * in[3] / 255 : (255 - in[c]) * (255 - in[3]) / 255));
      }
      out.push_back(255);
    }
  }
  return out;
}

// Feeds the first `length` bytes of jpeg in pieces of `piece` bytes; false when a feed fails.
bool PsdJpegFeed(PsdJpegDecoder* decoder, const Bytes& jpeg, size_t piece, size_t length) {
  for (size_t at = 0; at < length; at += piece) {
    if (!PsdJpegDecoderFeed(decoder, jpeg.data() + at, int64_t(std::min(piece, length - at)))) return false;
  }
  return true;
}

// The size of the larger files: several 4096-byte pieces.
constexpr int kPsdJpegWidth = 128, kPsdJpegHeight = 80;

JpegSpec PsdJpegSpec(int width, int height, int components, bool progressive) {
  JpegSpec spec;
  spec.width = width, spec.height = height, spec.components = components, spec.progressive = progressive;
  return spec;
}

TEST(PsdJpegTest, PiecesOfAnySizeGiveThePixelsOfTheWholeFile) {
  struct Case {
    const char* name;
    JpegSpec spec;
  };
  const Case cases[] = {
      {"BaselineRgb", PsdJpegSpec(kPsdJpegWidth, kPsdJpegHeight, 3, false)},
      {"ProgressiveRgb", PsdJpegSpec(kPsdJpegWidth, kPsdJpegHeight, 3, true)},
      {"ProgressiveGrey", PsdJpegSpec(40, 24, 1, true)},
      {"OddSizedCmyk", PsdJpegSpec(23, 17, 4, false)},
  };
  for (const Case& c : cases) {
    const Bytes jpeg = psdtest::MakeJpeg(c.spec, psdtest::JpegPatternSample);
    if (c.spec.width == kPsdJpegWidth) {
      ASSERT_GT(jpeg.size(), 2u * 4096u) << c.name;  // several pieces
    }
    int components = 0;
    const Bytes expected = PsdJpegExpectedOutput(jpeg, &components);
    for (size_t piece : {jpeg.size(), size_t(4096), size_t(1)}) {
      PsdJpegDecoderPtr decoder(PsdJpegDecoderCreate());
      ASSERT_NE(decoder, nullptr);
      ASSERT_TRUE(PsdJpegFeed(decoder.get(), jpeg, piece, jpeg.size())) << c.name << " " << piece;
      ASSERT_TRUE(decoder->started) << c.name << " " << piece;
      EXPECT_FALSE(decoder->outputPassActive) << c.name << " " << piece;
      EXPECT_EQ(decoder->width, c.spec.width) << c.name;
      EXPECT_EQ(decoder->height, c.spec.height) << c.name;
      EXPECT_EQ(decoder->components, components) << c.name;
      EXPECT_EQ(decoder->rowStride, components * c.spec.width) << c.name;
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoder->output)) << c.name << " " << piece;
    }
  }
}

TEST(PsdJpegTest, EveryScanOfAProgressiveFileIsShownAsItArrives) {
  // Half of each file: the progressive one already shows its last rows from its first scans, the
  // baseline one has not reached them.
  for (bool progressive : {true, false}) {
    const Bytes jpeg = psdtest::MakeJpeg(PsdJpegSpec(kPsdJpegWidth, kPsdJpegHeight, 3, progressive), psdtest::JpegPatternSample);
    int components = 0;
    const Bytes expected = PsdJpegExpectedOutput(jpeg, &components);
    PsdJpegDecoderPtr decoder(PsdJpegDecoderCreate());
    ASSERT_TRUE(PsdJpegFeed(decoder.get(), jpeg, 4096, jpeg.size() / 2));
    ASSERT_TRUE(decoder->started);
    const uint8_t* lastRow = decoder->output + (kPsdJpegHeight - 1) * decoder->rowStride;
    const bool lastRowWritten = std::any_of(lastRow, lastRow + decoder->rowStride, [](uint8_t v) { return v != 0; });
    EXPECT_EQ(lastRowWritten, progressive);
    EXPECT_FALSE(std::equal(expected.begin(), expected.end(), decoder->output)) << progressive;
    ASSERT_TRUE(PsdJpegFeed(decoder.get(), Bytes(jpeg.begin() + long(jpeg.size() / 2), jpeg.end()), 4096,
                            jpeg.size() - jpeg.size() / 2));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoder->output)) << progressive;
  }
}

// A file with a table segment of 65000 bytes after its start marker: more than the decoder's
// input buffer holds at once (the file's own tables follow and replace these).
Bytes PsdJpegWithHugeTables(const Bytes& jpeg) {
  psdtest::PsdWriter w;
  w.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xC4).U16(65000);
  for (int t = 0; t < 238; ++t) {
    w.U8(0x10 | uint32_t(t % 2)).Zeros(7).U8(255).U8(1).Zeros(7);
    for (int s = 0; s < 256; ++s) w.U8(uint32_t(s));
  }
  w.U8(0x10).Zeros(2).U8(7).Zeros(13);
  for (int s = 0; s < 7; ++s) w.U8(uint32_t(s));
  w.Raw(jpeg.data() + 2, jpeg.size() - 2);
  return w.Get();
}

TEST(PsdJpegTest, ASegmentLargerThanTheInputBufferFailsInsteadOfWaiting) {
  const Bytes jpeg = PsdJpegWithHugeTables(psdtest::MakeJpeg(PsdJpegSpec(16, 16, 3, false), psdtest::JpegPatternSample));
  for (size_t piece : {jpeg.size(), size_t(4096)}) {
    PsdJpegDecoderPtr decoder(PsdJpegDecoderCreate());
    EXPECT_FALSE(PsdJpegFeed(decoder.get(), jpeg, piece, jpeg.size())) << piece;
    EXPECT_FALSE(PsdJpegDecoderFeed(decoder.get(), jpeg.data(), 1)) << piece;  // and stays failed
  }
}

TEST(PsdJpegTest, FilesOfMoreThanAHundredScansFail) {
  // Grey files of single-coefficient scans: 64 without successive approximation, 128 with it.
  for (bool refined : {false, true}) {
    JpegSpec spec = PsdJpegSpec(16, 16, 1, false);
    const int shift = refined ? 1 : 0;
    for (int pass = 0; pass <= shift; ++pass) {
      const int high = pass == 0 ? 0 : 1, low = pass == 0 ? shift : 0;
      for (int k = 0; k < 64; ++k) spec.scans.push_back({1, {0, 0, 0, 0}, k, k, high, low});
    }
    const Bytes jpeg = psdtest::MakeJpeg(spec, psdtest::JpegPatternSample);
    int components = 0;
    const Bytes expected = PsdJpegExpectedOutput(jpeg, &components);
    PsdJpegDecoderPtr decoder(PsdJpegDecoderCreate());
    EXPECT_EQ(PsdJpegFeed(decoder.get(), jpeg, 4096, jpeg.size()), !refined) << spec.scans.size();
    if (!refined) {
      EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoder->output));
    }
  }
}

TEST(PsdJpegTest, BytesAfterTheImageAreIgnored) {
  Bytes jpeg = psdtest::MakeJpeg(PsdJpegSpec(16, 16, 3, true), psdtest::JpegPatternSample);
  int components = 0;
  const Bytes expected = PsdJpegExpectedOutput(jpeg, &components);
  jpeg.resize(jpeg.size() + 40000, 0x55);  // more than the input buffer holds
  for (size_t piece : {jpeg.size(), size_t(4096)}) {
    PsdJpegDecoderPtr decoder(PsdJpegDecoderCreate());
    ASSERT_TRUE(PsdJpegFeed(decoder.get(), jpeg, piece, jpeg.size())) << piece;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoder->output)) << piece;
  }
}

TEST(PsdJpegTest, ALaterThumbnailResourceReplacesTheEarlierPixels) {
  // A decoded 16 x 16 thumbnail, then a raw one claiming 300 x 200 whose pixels are not decoded:
  // no pixels remain that the second header's size would overrun.
  const Bytes jpeg = psdtest::MakeJpeg(PsdJpegSpec(16, 16, 3, false), psdtest::JpegPatternSample);
  psdtest::PsdWriter raw;
  raw.U32(0).U32(300).U32(200).U32(900).U32(180000).U32(4).U16(24).U16(1).Zeros(4);
  psdtest::PsdSpec spec;
  spec.layers = {psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{1}, {2}, {3}}, "layer")};
  spec.resources = psdtest::ThumbnailResource(16, 16, jpeg, uint32_t(jpeg.size()));
  const Bytes second = psdtest::Resource(1036, raw.Get());
  spec.resources.insert(spec.resources.end(), second.begin(), second.end());
  const Bytes bytes = psdtest::MakePsd(spec);
  PsdDocument* document = nullptr;
  ASSERT_EQ(PsdLoadMemory(&document, bytes.data(), int64_t(bytes.size())), kPsdOk);
  EXPECT_EQ(document->thumbnailWidth, 300u);
  EXPECT_EQ(document->thumbnailPixels, nullptr);
  PsdFree(document);
}

TEST(PsdJpegTest, ProgressiveThumbnailDecodesThroughTheDocument) {
  const Bytes jpeg = psdtest::MakeJpeg(PsdJpegSpec(kPsdJpegWidth, kPsdJpegHeight, 3, true), psdtest::JpegPatternSample);
  int components = 0;
  const Bytes expected = PsdJpegExpectedOutput(jpeg, &components);
  psdtest::PsdSpec spec;
  spec.layers = {psdtest::RawLayer(0, 0, 1, 1, {0, 1, 2}, {{1}, {2}, {3}}, "layer")};
  spec.resources = psdtest::ThumbnailResource(kPsdJpegWidth, kPsdJpegHeight, jpeg, uint32_t(jpeg.size()));
  const Bytes bytes = psdtest::MakePsd(spec);
  PsdDocument* document = nullptr;
  ASSERT_EQ(PsdLoadMemory(&document, bytes.data(), int64_t(bytes.size())), kPsdOk);
  ASSERT_NE(document->thumbnailPixels, nullptr);
  EXPECT_EQ(document->thumbnailWidth, uint32_t(kPsdJpegWidth));
  EXPECT_EQ(document->thumbnailHeight, uint32_t(kPsdJpegHeight));
  for (size_t p = 0; p < size_t(kPsdJpegWidth * kPsdJpegHeight); ++p) {
    const uint8_t* rgb = expected.data() + p * 3;
    const uint32_t want = 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2];
    ASSERT_EQ(document->thumbnailPixels[p], want) << p;
  }
  PsdFree(document);
}

}  // namespace
