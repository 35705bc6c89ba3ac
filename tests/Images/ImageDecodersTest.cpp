// The DevIL and raw-layer decoders and the decoder choice of the image loader.
#include <IL/il.h>
#include <gtest/gtest.h>

#include <memory>

#include "Core/Base/ImageInfo.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageDataDDS.h"
#include "Core/Render/ImageDataDevil.h"
#include "Core/Render/ImageDataRaw.h"
#include "Core/Render/ImageLoader.h"
#include "tests/Images/ImageFiles.h"

namespace {

using testimages::Bytes;
using testimages::StreamOf;

struct Decoded {
  VNResultEnum result = VN_FAIL;
  std::vector<uint32_t> words;  // ARGB, rows from the top
  std::string mask;             // '#' solid, rows ended by '/'
};

Decoded CopyOut(render::ImageData& image) {
  Decoded out;
  const int w = image.mWidth;
  const int h = image.mHeight;
  out.words.assign(size_t(w) * h, 0xDEADBEEF);
  render::HitMask mask(unsigned(w * h));
  out.result = image.CopyTo(w * 4, 0, out.words.data(), &mask, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) out.mask += mask.Test(unsigned(x + y * w)) ? '#' : '.';
    out.mask += '/';
  }
  return out;
}

// Top row: red alpha 49, green alpha 50; bottom row: blue alpha 255, white alpha 0. BGRA order.
const Bytes kTgaPixels = {0, 0, 255, 49, 0, 255, 0, 50, 255, 0, 0, 255, 255, 255, 255, 0};
const std::vector<uint32_t> kTgaWords = {0x31FF0000, 0x3200FF00, 0xFF0000FF, 0x00FFFFFF};

TEST(DevilDecoderTest, TgaOfEitherRowOrderIsDeliveredTopDown) {
  for (bool bottomUp : {true, false}) {
    SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
    const Bytes file = testimages::MakeTga(2, 2, bottomUp, kTgaPixels);
    auto stream = StreamOf(file);
    render::ImageDataDevil image;
    ASSERT_EQ(image.Load(stream.get(), u".tga"), VN_OK);
    EXPECT_EQ(image.mWidth, 2);
    EXPECT_EQ(image.mHeight, 2);
    EXPECT_EQ(image.mBytesPerPixel, 4);
    const Decoded decoded = CopyOut(image);
    ASSERT_EQ(decoded.result, VN_OK);
    EXPECT_EQ(decoded.words, kTgaWords);
    EXPECT_EQ(decoded.mask, ".#/#./");  // alpha 49 is not solid, 50 is
  }
}

TEST(DevilDecoderTest, PngKeepsColoursAndAlpha) {
  const Bytes rgba = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 50, 1, 2, 3, 4, 200, 100, 50, 49};
  const Bytes file = testimages::MakePng(3, 2, rgba);
  for (const char16_t* extension : {u".png", u".xyz"}) {  // a known type, or DevIL's detection
    auto stream = StreamOf(file);
    render::ImageDataDevil image;
    ASSERT_EQ(image.Load(stream.get(), extension), VN_OK);
    const Decoded decoded = CopyOut(image);
    ASSERT_EQ(decoded.result, VN_OK);
    EXPECT_EQ(decoded.words, (std::vector<uint32_t>{0xFFFF0000, 0x8000FF00, 0x000000FF, 0x320A141E, 0x04010203, 0x31C86432}));
    EXPECT_EQ(decoded.mask, "##./#../");
  }
}

TEST(DevilDecoderTest, FailedLoadReleasesItsImageAndTheLibrary) {
  // The name DevIL hands out first after its start.
  ilInit();
  ILuint first = 0;
  ilGenImages(1, &first);
  ilDeleteImages(1, &first);
  ilShutDown();

  const Bytes junk = {1, 2, 3, 4, 5, 6, 7, 8};
  auto stream = StreamOf(junk);
  auto image = std::make_unique<render::ImageDataDevil>();
  ASSERT_EQ(image->Load(stream.get(), u".png"), VN_FAIL);
  image.reset();

  ilInit();
  EXPECT_FALSE(ilIsImage(first));
  ilShutDown();
}

TEST(RawDecoderTest, CopiesWordsWithAlphaFrom10Solid) {
  base::ImageInfo info;
  info.mRawPixels = true;
  info.mWidth = 2.9f;  // truncated
  info.mHeight = 2.0f;
  const Bytes words = {1, 2, 3, 10, 4, 5, 6, 9, 0, 0, 0, 255, 7, 7, 7, 0};
  auto stream = StreamOf(words);
  render::ImageDataRaw image(info);
  ASSERT_EQ(image.Load(stream.get(), u""), VN_OK);
  ASSERT_EQ(image.mWidth, 2);
  const Decoded decoded = CopyOut(image);
  ASSERT_EQ(decoded.result, VN_OK);
  EXPECT_EQ(decoded.words, (std::vector<uint32_t>{0x0A030201, 0x09060504, 0xFF000000, 0x00070707}));
  EXPECT_EQ(decoded.mask, "#./#./");

  auto shortStream = StreamOf(Bytes(words.begin(), words.end() - 1));
  render::ImageDataRaw shortImage(info);
  ASSERT_EQ(shortImage.Load(shortStream.get(), u""), VN_OK);
  EXPECT_EQ(CopyOut(shortImage).result, VN_FAIL);
}

enum Kind { kNone, kDds, kDevil, kRaw };

struct LoaderCase {
  const char* name;
  std::u16string extension;
  bool raw;
  Kind kind;
};

void PrintTo(const LoaderCase& c, std::ostream* os) { *os << c.name; }

const LoaderCase kLoaderCases[] = {
    {"NoExtension", u"", false, kNone},
    // Layers of layered documents are named without an extension and still decode.
    {"RawLayerWithoutExtension", u"", true, kRaw},
    {"Dds", u".dds", false, kDds},
    {"UpperCaseDds", u".DDS", false, kNone},
    {"UpperCasePng", u".PNG", false, kNone},
    {"Tga", u".tga", false, kDevil},
    {"FirstFourCharacters", u".pngx", false, kDevil},
    {"Jpeg", u".jpeg", false, kNone},
    {"Unknown", u".psd", false, kNone},
    {"RawWinsOverExtension", u".dds", true, kRaw},
};

class ImageLoaderTest : public ::testing::TestWithParam<LoaderCase> {};

TEST_P(ImageLoaderTest, ChoosesDecoderByExtension) {
  const LoaderCase& c = GetParam();
  // A file that the expected decoder accepts (the raw decoder takes any 16 bytes).
  const Bytes file = c.kind == kDds                      ? testimages::MakeDds(2, 2, 1, nullptr, Bytes(16))
                     : c.extension.compare(0, 4, u".png") == 0 ? testimages::MakePng(2, 2, Bytes(16))
                                                               : testimages::MakeTga(2, 2, true, kTgaPixels);
  base::ImageInfo info;
  info.mRawPixels = c.raw;
  info.mWidth = info.mHeight = 2;
  auto stream = StreamOf(file);
  std::unique_ptr<render::ImageData> image(render::ImageLoader::Instance()->Load(stream.get(), c.extension, &info));
  switch (c.kind) {
    case kNone:
      EXPECT_EQ(image, nullptr);
      break;
    case kDds:
      EXPECT_NE(dynamic_cast<render::ImageDataDDS*>(image.get()), nullptr);
      break;
    case kDevil:
      EXPECT_NE(dynamic_cast<render::ImageDataDevil*>(image.get()), nullptr);
      break;
    case kRaw:
      EXPECT_NE(dynamic_cast<render::ImageDataRaw*>(image.get()), nullptr);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageLoaderTest, ::testing::ValuesIn(kLoaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImageLoaderFailureTest, FailedLoadGivesNoDecoder) {
  auto stream = StreamOf(testimages::MakeDds(4, 4, 1, "ATI2", Bytes(16)));
  EXPECT_EQ(render::ImageLoader::Instance()->Load(stream.get(), u".dds", nullptr), nullptr);
  auto junk = StreamOf(Bytes(40, 7));
  EXPECT_EQ(render::ImageLoader::Instance()->Load(junk.get(), u".png", nullptr), nullptr);
}

}  // namespace
