#include "Core/Render/HitMask.h"

#include <gtest/gtest.h>

namespace {

TEST(HitMaskTest, SetsAndTestsSingleBits) {
  render::HitMask mask(20);
  mask.Set(true, 0);
  mask.Set(true, 9);
  mask.Set(true, 19);
  mask.Set(false, 9);
  for (unsigned i = 0; i < 20; ++i) EXPECT_EQ(mask.Test(i), i == 0 || i == 19) << i;
  EXPECT_FALSE(mask.Test(20));
  EXPECT_FALSE(render::HitMask(0).Test(0));
}

TEST(HitMaskTest, ResizeKeepsBytesOnlyWhenAsked) {
  render::HitMask mask(16);
  mask.Set(true, 3);
  mask.Set(true, 12);
  mask.Resize(24, true);
  EXPECT_TRUE(mask.Test(3));
  EXPECT_TRUE(mask.Test(12));
  EXPECT_FALSE(mask.Test(20));
  mask.Resize(8, true);
  EXPECT_TRUE(mask.Test(3));
  EXPECT_FALSE(mask.Test(12));
  mask.Resize(8, false);
  EXPECT_FALSE(mask.Test(3));
  mask.Resize(0, true);
  EXPECT_EQ(mask.GetCount(), 0u);
  EXPECT_FALSE(mask.Test(0));
}

}  // namespace
