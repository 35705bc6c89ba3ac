#include "Core/Math/Angle.h"

#include <gtest/gtest.h>

namespace {

TEST(AngleTest, ConstantsHaveTheirSingleAndDoublePrecisionValues) {
  EXPECT_EQ(math::kTwoPi, 6.2831855f);
  EXPECT_EQ(math::kDegToRad, 0.017453292f);
  EXPECT_EQ(math::kInvTwoPi, 0.15915494f);
  EXPECT_EQ(math::kRadToDeg, 57.29578f);
  EXPECT_EQ(math::kTwoPiD, 6.283185307179586);
  EXPECT_EQ(math::kDegToRadD, 0.017453293005625408);
  EXPECT_EQ(math::kInvTwoPiD, 0.15915494309189535);
  EXPECT_EQ(math::kRadToDegD, 57.29577791868204);
}

}  // namespace
