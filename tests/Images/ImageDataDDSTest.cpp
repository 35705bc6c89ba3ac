#include "Core/Render/ImageDataDDS.h"

#include <gtest/gtest.h>

#include <memory>

#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "tests/Images/ImageFiles.h"

namespace {

using testimages::Bytes;
using testimages::MakeDds;
using testimages::StreamOf;

struct HeaderCase {
  const char* name;
  Bytes file;
  VNResultEnum result;
  int format;
  int mipLevels;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.name; }

Bytes Filled(size_t size, uint8_t value = 0x80) { return Bytes(size, value); }

// Level sizes of an 8x8 image: ARGB 256 + 64 + 16 + 4; DXT1 32 + 8 + 8 + 8; DXT5 64 + 16 + 16 + 16.
const HeaderCase kHeaderCases[] = {
    {"BadMagic", MakeDds(4, 4, 1, nullptr, Filled(64), "DDS_"), VN_FAIL, 0, 0},
    {"ShortHeader", Bytes{'D', 'D', 'S', ' ', 124, 0, 0}, VN_FAIL, 0, 0},
    {"UnknownFourCC", MakeDds(4, 4, 1, "ATI2", Filled(16)), VN_FAIL, 0, 0},
    {"NoFourCCIs32Bit", MakeDds(4, 4, 1, nullptr, Filled(64)), VN_OK, 0, 1},
    {"Dxt1", MakeDds(4, 4, 1, "DXT1", Filled(8)), VN_OK, 1, 1},
    {"Dxt3", MakeDds(4, 4, 1, "DXT3", Filled(16)), VN_OK, 2, 1},
    {"Dxt5", MakeDds(4, 4, 1, "DXT5", Filled(16)), VN_OK, 3, 1},
    {"MipCountZeroIsOne", MakeDds(8, 8, 0, nullptr, Filled(256)), VN_OK, 0, 1},
    {"FullMipChain", MakeDds(8, 8, 4, nullptr, Filled(256 + 64 + 16 + 4)), VN_OK, 0, 4},
    {"MipCountBeyondChain", MakeDds(8, 8, 9, "DXT1", Filled(32 + 8 + 8 + 8)), VN_OK, 1, 4},
    {"MissingMipsDropped", MakeDds(8, 8, 4, "DXT5", Filled(64 + 16)), VN_OK, 3, 2},
    {"HugeMipCount", MakeDds(8, 8, 0xFFFFFFFF, nullptr, Filled(256)), VN_OK, 0, 1},
    {"TrailingBytes", MakeDds(4, 4, 1, nullptr, Filled(64 + 1000)), VN_OK, 0, 1},
    {"ShorterThanLevel0", MakeDds(4, 4, 1, nullptr, Filled(63)), VN_FAIL, 0, 0},
    {"TwentyFourBitData", MakeDds(4, 4, 1, nullptr, Filled(48)), VN_FAIL, 0, 0},
    {"ZeroWidth", MakeDds(0, 4, 1, nullptr, Filled(64)), VN_FAIL, 0, 0},
    {"HugeSides", MakeDds(0x40000000, 0x40000000, 1, "DXT1", Filled(64)), VN_FAIL, 0, 0},
    {"PartialBlocks", MakeDds(5, 3, 1, "DXT1", Filled(16)), VN_OK, 1, 1},
};

class DdsHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(DdsHeaderTest, ReadsHeader) {
  const HeaderCase& c = GetParam();
  auto stream = StreamOf(c.file);
  render::ImageDataDDS image;
  ASSERT_EQ(image.Load(stream.get(), u".dds"), c.result);
  if (c.result != VN_OK) return;
  EXPECT_EQ(image.mFormat, c.format);
  EXPECT_EQ(image.mMipLevels, c.mipLevels);
  EXPECT_EQ(image.mBytesPerPixel, 4);
}

INSTANTIATE_TEST_SUITE_P(Cases, DdsHeaderTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Loads the file and copies level 0 into memory of exactly pitch * rows bytes.
struct Copied {
  VNResultEnum result = VN_FAIL;
  std::unique_ptr<render::ImageDataDDS> image;
  std::unique_ptr<base::Stream> stream;
  Bytes pixels;
  render::HitMask mask;
};

void LoadAndCopy(const Bytes& file, int pitch, int rows, Copied& out) {
  out.stream = StreamOf(file);
  out.image.reset(new render::ImageDataDDS);
  ASSERT_EQ(out.image->Load(out.stream.get(), u".dds"), VN_OK);
  out.pixels.assign(size_t(pitch) * rows, 0xEE);
  out.mask.Resize(unsigned(out.image->mWidth * out.image->mHeight), false);
  out.result = out.image->CopyTo(pitch, 0, out.pixels.data(), &out.mask, 0);
}

TEST(DdsCopyTest, TrailingDataStaysOutsideLevel0) {
  Bytes data(64 + 4096);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i);
  Copied copied;
  LoadAndCopy(MakeDds(4, 4, 1, nullptr, data), 16, 4, copied);  // exact-size buffer: ASan sees any overrun
  ASSERT_EQ(copied.result, VN_OK);
  EXPECT_EQ(copied.pixels, Bytes(data.begin(), data.begin() + 64));
}

TEST(DdsCopyTest, RowsFollowThePitch) {
  Bytes data(2 * 2 * 4);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i + 1);
  Copied copied;
  LoadAndCopy(MakeDds(2, 2, 1, nullptr, data), 12, 2, copied);
  ASSERT_EQ(copied.result, VN_OK);
  const Bytes expected = {1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE, 0xEE, 0xEE, 9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(copied.pixels, expected);
}

TEST(DdsCopyTest, MipLevelsGoToTheirOwnMemory) {
  Bytes data(256 + 64 + 16);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i / 16);
  Copied copied;
  LoadAndCopy(MakeDds(8, 8, 3, nullptr, data), 32, 8, copied);
  ASSERT_EQ(copied.result, VN_OK);
  ASSERT_EQ(copied.image->mMipLevels, 3);
  Bytes level1(64);
  Bytes level2(16);
  ASSERT_EQ(copied.image->CopyLevelTo(1, 16, level1.data()), VN_OK);
  ASSERT_EQ(copied.image->CopyLevelTo(2, 8, level2.data()), VN_OK);
  EXPECT_EQ(level1, Bytes(data.begin() + 256, data.begin() + 320));
  EXPECT_EQ(level2, Bytes(data.begin() + 320, data.end()));
  EXPECT_EQ(copied.image->CopyLevelTo(3, 4, level2.data()), VN_FAIL);
  EXPECT_EQ(copied.image->CopyLevelTo(1, 8, level1.data()), VN_FAIL);  // pitch below a row
}

// Alpha of an ARGB pixel decides its bit: solid above 10.
TEST(DdsHitMaskTest, ArgbAlphaAbove10IsSolid) {
  const Bytes data = {0, 0, 0, 10, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 255};
  Copied copied;
  LoadAndCopy(MakeDds(2, 2, 1, nullptr, data), 8, 2, copied);
  ASSERT_EQ(copied.result, VN_OK);
  EXPECT_FALSE(copied.mask.Test(0));
  EXPECT_TRUE(copied.mask.Test(1));
  EXPECT_FALSE(copied.mask.Test(2));
  EXPECT_TRUE(copied.mask.Test(3));
}

std::string MaskOf(const Copied& copied) {
  std::string rows;
  for (int y = 0; y < copied.image->mHeight; ++y) {
    for (int x = 0; x < copied.image->mWidth; ++x) rows += copied.mask.Test(unsigned(x + y * copied.image->mWidth)) ? '#' : '.';
    rows += '/';
  }
  return rows;
}

struct BlockCase {
  const char* name;
  const char* fourCC;
  int width, height;
  Bytes blocks;
  const char* mask;  // rows of '#' solid / '.' not, each ended by '/'
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }

// Indices of a DXT1 block: pixel i uses bits 2i..2i+1. Row 0 = 0,1,2,3; rows 1-3 = 3,3,0,0.
const uint8_t kDxt1Indices[4] = {0xE4, 0x0F, 0x0F, 0x0F};

const BlockCase kBlockCases[] = {
    {"Dxt1FourColourAllSolid", "DXT1", 4, 4, {0x00, 0xF8, 0x1F, 0x00, kDxt1Indices[0], kDxt1Indices[1], kDxt1Indices[2], kDxt1Indices[3]},
     "####/####/####/####/"},
    {"Dxt1ThreeColourIndex3Clear", "DXT1", 4, 4, {0x1F, 0x00, 0x00, 0xF8, kDxt1Indices[0], kDxt1Indices[1], kDxt1Indices[2], kDxt1Indices[3]},
     "###./..##/..##/..##/"},
    {"Dxt1EqualColoursAreThreeColour", "DXT1", 4, 4, {0x34, 0x12, 0x34, 0x12, 0xFF, 0xFF, 0x00, 0x00},
     "..../..../####/####/"},
    // 4-bit alpha per pixel, low nibble first: 0, 1 (17), 0, 15 ... ; 17 is solid, 0 is not.
    {"Dxt3ExplicitAlpha", "DXT3", 4, 4, {0x10, 0xF0, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0},
     ".#.#/#.../..../####/"},
    // a0 = 10 <= a1 = 11: six values by fifths plus 0 and 255. Row 0 uses indices 0 (10), 1 (11),
    // 6 (0), 7 (255); rows 1-3 index 0.
    {"Dxt5SixValueMode", "DXT5", 4, 4, {10, 11, 0x88, 0x0F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     ".#.#/..../..../..../"},
    // a0 = 70 > a1 = 0: eight values by sevenths (70, 0, 60, 50, 40, 30, 20, 10). Row 0 uses
    // indices 0 (70), 1 (0), 7 (10), 6 (20); rows 1-3 index 0.
    {"Dxt5EightValueMode", "DXT5", 4, 4, {70, 0, 0xC8, 0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
     "#..#/####/####/####/"},
    // 6 x 2: two blocks across, one down; the second block's outside columns are ignored.
    {"Dxt1PartialBlocks", "DXT1", 6, 2, {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0x00, 0, 0, 0x1F, 0x00, 0x00, 0xF8, 0xFC, 0x0C, 0, 0},
     "....#./#####./"},
};

class DdsBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(DdsBlockTest, DecodesBlockAlphaIntoTheHitMask) {
  const BlockCase& c = GetParam();
  const int blockSize = std::string(c.fourCC) == "DXT1" ? 8 : 16;
  Copied copied;
  LoadAndCopy(MakeDds(unsigned(c.width), unsigned(c.height), 1, c.fourCC, c.blocks), (c.width + 3) / 4 * blockSize,
              (c.height + 3) / 4, copied);
  ASSERT_EQ(copied.result, VN_OK);
  EXPECT_EQ(copied.pixels, c.blocks);  // blocks are handed over as stored
  EXPECT_EQ(MaskOf(copied), c.mask);
}

INSTANTIATE_TEST_SUITE_P(Cases, DdsBlockTest, ::testing::ValuesIn(kBlockCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
