#include "Core/Base/FormatSpec.h"

#include <gtest/gtest.h>

#include <string>

#include "TextHelpers.h"

namespace {

using texttest::Text;

template <class Char>
class FormatSpecTest : public ::testing::Test {};

using CharTypes = ::testing::Types<char16_t, char>;
TYPED_TEST_SUITE(FormatSpecTest, CharTypes);

TYPED_TEST(FormatSpecTest, StandaloneSpecAppendsToItsOwnText) {
  using Char = TypeParam;
  base::BasicFormatSpec<Char> spec(4, 0);
  spec.PutInt(42).PutChar(Char(';')).PutFloat(2.5f).PutUnsigned(7u);
  EXPECT_EQ(spec.GetOutput(), Text<Char>("  42; 2.5   7"));
}

TYPED_TEST(FormatSpecTest, ConstructorPrecisionAndFlags) {
  using Char = TypeParam;
  base::BasicFormatSpec<Char> spec(0, 3);
  spec.PutFloat(3.14159f);
  spec.mFloatStyle = base::BasicFormatSpec<Char>::kFloatFixed;
  spec.mPlus = true;
  spec.PutChar(Char(' ')).PutFloat(3.14159f);
  spec.mPrecision = 0;
  spec.mFloatStyle = base::BasicFormatSpec<Char>::kFloatGeneral;
  spec.PutChar(Char(' ')).PutFloat(-1.0f / 3.0f);
  EXPECT_EQ(spec.GetOutput(), Text<Char>("3.14 +3.142 -0.333333"));
}

TYPED_TEST(FormatSpecTest, CopyHasItsOwnText) {
  using Char = TypeParam;
  base::BasicFormatSpec<Char> spec;
  spec.PutInt(1);
  base::BasicFormatSpec<Char> copy(spec);
  copy.PutInt(2);
  EXPECT_EQ(spec.GetOutput(), Text<Char>("1"));
  EXPECT_EQ(copy.GetOutput(), Text<Char>("12"));
}

TEST(FormatSpecWideTest, StringKeepsUnitsAboveAscii) {
  base::FormatSpec spec(4, 0);
  const std::u16string text = u"\u00e9\U0001F600";
  spec.PutString(text.data(), text.size());
  EXPECT_EQ(spec.GetOutput(), u" \u00e9\U0001F600");  // width counts UTF-16 units
}

}  // namespace
