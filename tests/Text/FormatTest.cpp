#include "Core/Base/Format.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "TextHelpers.h"

namespace {

using texttest::Text;
using Arg = std::variant<int, unsigned int, float, std::string>;

struct FormatCase {
  const char* format;
  std::vector<Arg> args;
  std::string expected;
  bool error;
};

const float kInf = std::numeric_limits<float>::infinity();

const std::vector<FormatCase> kCases = {
    // Scanning: literal text, "%%", specs cut off or malformed.
    {"plain text", {}, "plain text", false},
    {"100%%", {}, "100%", false},
    {"%5%", {}, "%", false},
    {"end%", {}, "end%", false},
    {"abc%-5", {}, "abc5", false},
    {"%q", {}, "q", true},
    {"%5-d", {1}, "-d", true},
    {"%*d", {1}, "*d", true},
    {"%5.2.1f", {1.0f}, ".1f", true},
    {"%\xe9", {}, "\xe9", true},
    {"a%\x01z", {}, "a\x01z", true},
    {"%--5d|", {7}, "7    |", false},
    // Arguments: chaining, excess and missing ones, type over letter.
    {"b_%02d_in", {7}, "b_07_in", false},
    {"profile%d", {3u}, "profile3", false},
    {"level_%02d_%02d", {1, 12}, "level_01_12", false},
    {"ruv/levels_%s/level_%02d_%02d.cache", {std::string("hardcore"), 1, 10}, "ruv/levels_hardcore/level_01_10.cache", false},
    {"a=%d b=%d", {}, "a= b=%d", false},
    {"%d", {1, 2}, "1", false},
    {"no conversion", {5}, "no conversion", false},
    {"%s", {42}, "42", false},
    {"%x", {255}, "ff", false},
    {"%d", {std::string("text")}, "text", false},
    {"%c", {65}, "65", false},
    {"%ld %hd %lld", {5, 6, 7}, "5 6 7", false},
    {"%Lf", {1.5f}, "1.500000", false},
    {"new ruv point (%g, %g)#%d!", {120.5f, 33.0f, 4}, "new ruv point (120.5, 33)#4!", false},
    // Integers: width, alignment, zero fill, signs, bases.
    {"[%5d]", {42}, "[   42]", false},
    {"[%-5d]", {42}, "[42   ]", false},
    {"[%=5d]", {42}, "[ 42  ]", false},
    {"%06d", {-42}, "-00042", false},
    {"%+06d", {42}, "+00042", false},
    {"% 06d", {42}, " 00042", false},
    {"% d|%+d|% +d", {5, 5, 5}, " 5|+5|+5", false},
    {"%d", {std::numeric_limits<int>::min()}, "-2147483648", false},
    {"%#08x", {255}, "0x0000ff", false},
    {"%#08X", {255}, "0X0000FF", false},
    {"%#x", {0}, "0x0", false},
    {"%x", {-1}, "ffffffff", false},
    {"%o", {-1}, "37777777777", false},
    {"%b", {-1}, "11111111111111111111111111111111", false},
    {"%#b", {5}, "101", false},
    {"%#o", {8}, "010", false},
    {"%#o", {0}, "00", false},
    {"%+u", {5u}, "5", false},
    {"%u", {4294967295u}, "4294967295", false},
    {"%-04d|", {7}, "0007|", false},
    // Texts: never shortened, filled with blanks only.
    {"[%3s]", {std::string("abcdef")}, "[abcdef]", false},
    {"[%-5s]", {std::string("ab")}, "[ab   ]", false},
    {"[%05s]", {std::string("ab")}, "[   ab]", false},
    {"[%=6s]", {std::string("ab")}, "[  ab  ]", false},
    // Floats.
    {"%f", {3.5f}, "3.500000", false},
    {"%.2f", {-1.256f}, "-1.26", false},
    {"%+f", {0.0f}, "0.000000", false},
    {"%+f", {-0.0f}, "0.000000", false},
    {"%e", {1234.5678f}, "1.234568e+003", false},
    {"%E", {0.00012f}, "1.200000E-004", false},
    {"%.1e", {9.96f}, "1.0e+001", false},
    {"%e", {0.0f}, "0.000000e+000", false},
    {"%E", {0.0f}, "0.000000E+000", false},
    {"%g", {100.0f}, "100", false},
    {"%g", {1e10f}, "1e+010", false},
    {"%G", {1e10f}, "1E+010", false},
    {"%g", {0.0f}, "0", false},
    {"%g|%g|%g", {0.5f, 3.0f, 1234.5678f}, "0.5|3|1234.57", false},
    {"%g|%g|%g", {1234567.0f, 0.0001234f, 99.99999f}, "1.23457e+006|0.0001234|100", false},
    {"%g", {0.00001234f}, "1.234e-005", false},
    {"%g", {-2.5f}, "-2.5", false},
    {"%+g", {2.5f}, "+2.5", false},
    {"% g", {2.5f}, " 2.5", false},
    {"%.3g", {3.14159f}, "3.14", false},
    {"%.10f", {1.5f}, "1.5000000", false},
    {"%.0f", {1.5f}, "1.500000", false},
    {"%08.2f", {3.14159f}, "    3.14", false},
    {"%05.2f", {3.14159f}, " 3.14", false},
    {"%-8.1f|", {2.26f}, "2.3     |", false},
    {"%f|%e|%g", {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN(),
                  std::numeric_limits<float>::quiet_NaN()}, "NaN|NaN|NaN", false},
    {"%f|%e|%g", {kInf, -kInf, kInf}, "+INF|-INF|+INF", false},
    {"[%6g]", {kInf}, "[  +INF]", false},
    // Fixed style beyond 2^64: the digits come from the double itself.
    {"%f", {1e20f}, "100000002004087734272.000000", false},
    {"%.1f", {std::numeric_limits<float>::max()}, "340282346638528859811704183484516925440.0", false},
    {"%e", {std::numeric_limits<float>::max()}, "3.402823e+038", false},
    {"%g", {std::numeric_limits<float>::denorm_min()}, "1.4013e-045", false},
    // Widths and precisions above 1024 are malformed.
    {"%1025d", {1}, "5d", true},
    {"%99999999999d", {1}, "99999999d", true},
    {"%.1025f", {1.0f}, "5f", true},
};

template <class Char>
class FormatTest : public ::testing::Test {};

using CharTypes = ::testing::Types<char16_t, char>;
TYPED_TEST_SUITE(FormatTest, CharTypes);

template <class Char>
void ApplyArg(base::BasicFormat<Char>& format, const Arg& arg) {
  if (const int* i = std::get_if<int>(&arg)) {
    format % *i;
  } else if (const unsigned int* u = std::get_if<unsigned int>(&arg)) {
    format % *u;
  } else if (const float* f = std::get_if<float>(&arg)) {
    format % *f;
  } else {
    format % Text<Char>(std::get<std::string>(arg));
  }
}

TYPED_TEST(FormatTest, RendersTable) {
  using Char = TypeParam;
  for (const FormatCase& c : kCases) {
    SCOPED_TRACE(c.format);
    base::BasicFormat<Char> format(Text<Char>(c.format));
    for (const Arg& arg : c.args) ApplyArg(format, arg);
    EXPECT_EQ(format.GetResult(), Text<Char>(c.expected));
    EXPECT_EQ(format.HasError(), c.error);
  }
}

TYPED_TEST(FormatTest, LargestWidthIsAccepted) {
  using Char = TypeParam;
  base::BasicFormat<Char> format(Text<Char>("%1024d|"));
  format % 1;
  EXPECT_FALSE(format.HasError());
  EXPECT_EQ(format.GetResult(), std::basic_string<Char>(1023, Char(' ')) + Text<Char>("1|"));
}

TYPED_TEST(FormatTest, LiteralTextUpToTheFirstConversionIsThereAtOnce) {
  using Char = TypeParam;
  base::BasicFormat<Char> format(Text<Char>("ab%dcd%d"));
  EXPECT_FALSE(format.IsComplete());
  EXPECT_EQ(format.GetOutput(), Text<Char>("ab"));
  format % 1;
  EXPECT_EQ(format.GetOutput(), Text<Char>("ab1cd"));
  format % 2;
  EXPECT_TRUE(format.IsComplete());
  format % 3;
  EXPECT_EQ(format.GetOutput(), Text<Char>("ab1cd2"));
}

TYPED_TEST(FormatTest, WithoutConversionsIsCompleteAtOnce) {
  using Char = TypeParam;
  base::BasicFormat<Char> format(Text<Char>("plain"));
  EXPECT_TRUE(format.IsComplete());
  EXPECT_EQ(format.GetOutput(), Text<Char>("plain"));
}

TYPED_TEST(FormatTest, PutRestCopiesOnceAndUnparsed) {
  using Char = TypeParam;
  base::BasicFormat<Char> format(Text<Char>("x=%d y=%5.2f%%"));
  format % 1;
  format.PutRest();
  format.PutRest();
  EXPECT_EQ(format.GetOutput(), Text<Char>("x=1 y=%%"));
}

TYPED_TEST(FormatTest, NullTextsAreEmpty) {
  using Char = TypeParam;
  base::BasicFormat<Char> format(static_cast<const Char*>(nullptr));
  EXPECT_TRUE(format.IsComplete());
  EXPECT_TRUE(format.GetResult().empty());

  base::BasicFormat<Char> withArg(Text<Char>("[%3s]").c_str());
  withArg.ArgString(static_cast<const Char*>(nullptr));
  EXPECT_EQ(withArg.GetResult(), Text<Char>("[   ]"));
}

TYPED_TEST(FormatTest, CopyKeepsItsOwnOutput) {
  using Char = TypeParam;
  base::BasicFormat<Char> first(Text<Char>("%d-%d"));
  first % 1;
  base::BasicFormat<Char> second(first);
  second % 2;
  first % 3;
  EXPECT_EQ(first.GetResult(), Text<Char>("1-3"));
  EXPECT_EQ(second.GetResult(), Text<Char>("1-2"));
  second = first;
  EXPECT_EQ(second.GetOutput(), Text<Char>("1-3"));
}

TEST(MakeFormatTest, BuildsFromArrayAndString) {
  EXPECT_EQ((base::MakeFormat(u"spell%d") % 4).GetResult(), u"spell4");
  const std::u16string text = u"%s: %d";
  EXPECT_EQ((base::MakeFormatFromString(text) % std::u16string(u"lives") % 25).GetResult(), u"lives: 25");
}

}  // namespace
