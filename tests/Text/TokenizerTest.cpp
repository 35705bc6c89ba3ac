#include "Core/Base/Tokenizer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "TextHelpers.h"

namespace {

using texttest::Text;

struct TokenCase {
  const char* source;
  char delimiter;
  bool skipEmpty;
  std::vector<std::string> tokens;
};

const std::vector<TokenCase> kTokenCases = {
    {" 1, 2 ,3 ", ',', false, {"1", "2", "3"}},
    {"a,,b,", ',', false, {"a", "", "b", ""}},
    {"a,,b,", ',', true, {"a", "b"}},
    {"", ',', false, {""}},
    {"", ',', true, {}},
    {" \t ", ',', false, {""}},
    {"\t a b \t", ',', false, {"a b"}},
    {", ,x, \t ,", ',', true, {"x"}},
    {", ,x, \t ,", ',', false, {"", "", "x", "", ""}},
    {"name;12;;4.5", ';', false, {"name", "12", "", "4.5"}},
    {"line one\nline two\n", '\n', false, {"line one", "line two", ""}},
    {"fire/ice//poison/", '/', true, {"fire", "ice", "poison"}},
};

template <class Char>
class TokenizerTest : public ::testing::Test {};

using TokenizerCharTypes = ::testing::Types<char, char16_t>;
TYPED_TEST_SUITE(TokenizerTest, TokenizerCharTypes);

TYPED_TEST(TokenizerTest, SplitsAndCountsTable) {
  using Char = TypeParam;
  using String = std::basic_string<Char>;
  for (const TokenCase& c : kTokenCases) {
    SCOPED_TRACE(testing::Message() << '"' << c.source << "\" skip " << c.skipEmpty);
    base::BasicTokenizer<Char> tokenizer(Text<Char>(c.source), Char(c.delimiter), c.skipEmpty);
    std::vector<String> tokens;
    String token;
    while (tokenizer.Next(&token)) tokens.push_back(token);
    std::vector<String> expected;
    for (const std::string& t : c.tokens) expected.push_back(Text<Char>(t));
    EXPECT_EQ(tokens, expected);

    token = Text<Char>("kept");
    EXPECT_FALSE(tokenizer.Next(&token));
    EXPECT_EQ(token, Text<Char>("kept"));

    // Skip-empty off counts delimiters plus one; on, the tokens from the start.
    EXPECT_EQ(tokenizer.Count(), static_cast<int>(c.tokens.size()));

    base::BasicTokenizer<Char> withoutTarget(Text<Char>(c.source), Char(c.delimiter), c.skipEmpty);
    int taken = 0;
    while (withoutTarget.Next()) ++taken;
    EXPECT_EQ(taken, static_cast<int>(c.tokens.size()));
  }
}

TYPED_TEST(TokenizerTest, CountIsIndependentOfReadingAndKept) {
  using Char = TypeParam;
  base::BasicTokenizer<Char> tokenizer(Text<Char>("a,,b,c"), Char(','), true);
  EXPECT_TRUE(tokenizer.Next());
  EXPECT_TRUE(tokenizer.Next());
  EXPECT_EQ(tokenizer.Count(), 3);
  std::basic_string<Char> token;
  EXPECT_TRUE(tokenizer.Next(&token));
  EXPECT_EQ(token, Text<Char>("c"));
  EXPECT_EQ(tokenizer.Count(), 3);
}

TYPED_TEST(TokenizerTest, TrimRemovesBlanksAndTabsOnly) {
  using Char = TypeParam;
  std::basic_string<Char> text = Text<Char>(" \t\na b\r\t ");
  base::BasicTokenizer<Char>::Trim(text);
  EXPECT_EQ(text, Text<Char>("\na b\r"));
  text = Text<Char>("\t \t");
  base::BasicTokenizer<Char>::Trim(text);
  EXPECT_TRUE(text.empty());
}

TEST(ReadTokenTest, ChainedReadsLeaveMissingTargetsUnchanged) {
  base::Tokenizer padding("1,2", ',', false);
  int values[4] = {-1, -1, -1, -1};
  padding >> values[0] >> values[1] >> values[2];
  base::ReadTokenInt(padding, values[3]);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], -1);
  EXPECT_EQ(values[3], -1);

  base::Tokenizer spacing(" 0.5 , -2 ", ',', false);
  float x = 9.0f;
  float y = 9.0f;
  float z = 9.0f;
  base::ReadTokenFloat(spacing, x) >> y >> z;
  EXPECT_EQ(x, 0.5f);
  EXPECT_EQ(y, -2.0f);
  EXPECT_EQ(z, 9.0f);
}

template <class T>
struct ReadCase {
  const char* token;
  T value;
};

// Each token alone in a tokenizer over ';', read into a target that starts at 42.
template <class T>
void ExpectReads(const std::vector<ReadCase<T>>& cases) {
  for (const ReadCase<T>& c : cases) {
    SCOPED_TRACE(c.token);
    base::Tokenizer tokenizer(c.token, ';', false);
    T value = T(42);
    tokenizer >> value;
    EXPECT_EQ(value, c.value);
  }
}

TEST(ReadTokenTest, IntsReadAsAtoiWithClampedOverflow) {
  const int max = std::numeric_limits<int>::max();
  const int min = std::numeric_limits<int>::min();
  ExpectReads<int>({
      {"12abc", 12}, {"abc", 0}, {"-7", -7}, {"+5", 5}, {"\n\v3", 3}, {"1e3", 1}, {"- 4", 0},
      {"99999999999", max}, {"2147483647", max}, {"2147483648", max},
      {"-2147483648", min}, {"-99999999999", min},
  });
}

TEST(ReadTokenTest, FloatsReadAsAtofInTheCLocale) {
  const float inf = std::numeric_limits<float>::infinity();
  ExpectReads<float>({
      {"2.5", 2.5f}, {"-.5", -0.5f}, {"1e3", 1000.0f}, {"1.5e", 1.5f}, {"3.25xyz", 3.25f},
      {"abc", 0.0f}, {"+-1", 0.0f}, {"\n3", 3.0f}, {"0x10", 16.0f}, {"-0x1p-1", -0.5f},
      {"0xg", 0.0f}, {"inf", inf}, {"-INFINITY", -inf}, {"1e400", inf}, {"-1e400", -inf},
      {"1e-400", 0.0f}, {"1,5", 1.0f},
  });
  base::Tokenizer nan("nan", ';', false);
  float value = 0.0f;
  nan >> value;
  EXPECT_TRUE(std::isnan(value));
}

TEST(ReadTokenTest, DecimalPointIgnoresTheProcessLocale) {
  const char* const commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"};
  const char* chosen = nullptr;
  for (const char* name : commaLocales) {
    if (std::setlocale(LC_NUMERIC, name)) {
      chosen = name;
      break;
    }
  }
  // scripts/setup.sh generates de_DE.UTF-8.
  ASSERT_NE(chosen, nullptr) << "no locale with a decimal comma is installed";
  const std::string point = std::localeconv()->decimal_point;
  base::Tokenizer tokenizer("2.5", ',', false);
  float value = 0.0f;
  tokenizer >> value;
  std::setlocale(LC_NUMERIC, "C");
  ASSERT_EQ(point, ",") << chosen;
  EXPECT_EQ(value, 2.5f);
}

}  // namespace
