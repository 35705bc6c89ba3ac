#include "Core/Math/Color.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(ColorTest, PackedValueGivesEachChannelOver255) {
  const math::Color c(0x80FF4001u);
  EXPECT_EQ(c.r, 1.0f);
  EXPECT_EQ(c.g, 64.0f / 255.0f);
  EXPECT_EQ(c.b, 1.0f / 255.0f);
  EXPECT_EQ(c.a, 128.0f / 255.0f);
}

// A colour that came out of a packed value must pack back to the same value, or every particle and
// vertex colour would drift down by one step per conversion.
TEST(ColorTest, EveryChannelValueRoundTripsThroughThePacking) {
  for (int shift : {0, 8, 16, 24}) {
    for (uint32_t v = 0; v < 256; ++v) {
      const uint32_t packed = v << shift;
      EXPECT_EQ(math::Color(packed).ToARGB(), packed) << "value " << v << " at bit " << shift;
    }
  }
}

TEST(ColorTest, PackingTruncatesEachChannel) {
  struct Case {
    float channel;
    uint32_t packed;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {0.0f, 0x00}, {1.0f, 0xFF}, {0.5f, 0x7F}, {0.999f, 0xFE}, {0.003f, 0x00},
      {1.2f, 306 & 0xFF},  // only the low byte of the truncated value is kept
      {nan, 0x00},  {1e20f, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "channel " << c.channel);
    EXPECT_EQ(math::Color(c.channel, 0, 0, 0).ToARGB(), c.packed << 16);
    EXPECT_EQ(math::Color(0, c.channel, 0, 0).ToARGB(), c.packed << 8);
    EXPECT_EQ(math::Color(0, 0, c.channel, 0).ToARGB(), c.packed);
    EXPECT_EQ(math::Color(0, 0, 0, c.channel).ToARGB(), c.packed << 24);
  }
}

TEST(ColorTest, MultiplyIsComponentwiseOverAllFourChannels) {
  math::Color c(9, 9, 9, 9);
  c.Multiply(math::Color(0.5f, 1.0f, 0.25f, 0.0f), math::Color(0.5f, 0.75f, 2.0f, 1.0f));
  EXPECT_EQ(c.r, 0.25f);
  EXPECT_EQ(c.g, 0.75f);
  EXPECT_EQ(c.b, 0.5f);
  EXPECT_EQ(c.a, 0.0f);
}

}  // namespace
