#include "Core/Base/StringEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Win32/CodePage.h"

namespace {

using base::StringEncoding;

const StringEncoding kUtf8Codes[] = {base::kEncodingUtf8, base::kEncodingAnsi, base::kEncodingOem};

struct RoundTrip {
  std::u16string wide;
  std::string narrow;
};

const std::vector<RoundTrip> kUtf8RoundTrips = {
    {u"", ""},
    {u"plain ASCII", "plain ASCII"},
    {u"caf\u00e9", "caf\xc3\xa9"},
    {u"\u4e2d\u6587/\u0416", "\xe4\xb8\xad\xe6\x96\x87/\xd0\x96"},
    {u"\U0001F600 pair", "\xf0\x9f\x98\x80 pair"},   // a surrogate pair
    {u"\U0010FFFF", "\xf4\x8f\xbf\xbf"},               // the last code point
};

TEST(StringEncodingTest, Utf8CodesRoundTrip) {
  for (StringEncoding code : kUtf8Codes) {
    for (const RoundTrip& c : kUtf8RoundTrips) {
      SCOPED_TRACE(testing::Message() << "code " << code << " text " << c.narrow);
      EXPECT_EQ(base::ToNarrow(c.wide, code), c.narrow);
      EXPECT_EQ(base::ToWide(c.narrow, code), c.wide);
    }
  }
}

TEST(StringEncodingTest, InvalidInputBecomesReplacementCharacter) {
  struct Case {
    std::string narrow;
    std::u16string wide;
  };
  const std::vector<Case> toWide = {
      {"a\xff" "b", u"a\ufffdb"},
      {"\xe4\xb8", u"\ufffd\ufffd"},         // cut short at the end
      {"\xc0\xaf", u"\ufffd\ufffd"},         // overlong
      {"\xed\xa0\x80", u"\ufffd\ufffd\ufffd"},  // an encoded surrogate
  };
  const std::vector<Case> toNarrow = {
      {"a\xef\xbf\xbd" "b", std::u16string(u"a") + char16_t(0xD800) + u"b"},  // lone high surrogate
      {"\xef\xbf\xbd", std::u16string(1, char16_t(0xDC00))},                 // lone low surrogate
      {"\xef\xbf\xbd" "x", std::u16string(1, char16_t(0xDBFF)) + u"x"},
  };
  for (StringEncoding code : kUtf8Codes) {
    SCOPED_TRACE(code);
    for (const Case& c : toWide) EXPECT_EQ(base::ToWide(c.narrow, code), c.wide);
    for (const Case& c : toNarrow) EXPECT_EQ(base::ToNarrow(c.wide, code), c.narrow);
  }
}

TEST(StringEncodingTest, RawBytesAreSignExtendedAndCutBack) {
  EXPECT_EQ(base::ToWide("\xe9", base::kEncodingRaw), std::u16string(1, char16_t(0xFFE9)));
  EXPECT_EQ(base::ToNarrow(std::u16string(1, char16_t(0xFFE9)), base::kEncodingRaw), "\xe9");
  EXPECT_EQ(base::ToWide("emitter\x7f", base::kEncodingRaw), u"emitter\x7f");
  EXPECT_EQ(base::ToNarrow(u"\u4e2dA", base::kEncodingRaw), "\x2d" "A");
  EXPECT_EQ(base::ToWide(std::string("a\0b", 3), base::kEncodingRaw), std::u16string(u"a\0b", 3));
}

TEST(StringEncodingTest, CodePagesEndAtTheFirstZero) {
  const std::string narrow("a\0b", 3);
  const std::u16string wide(u"a\0b", 3);
  for (StringEncoding code : {base::kEncodingAnsi, base::kEncodingOem}) {
    EXPECT_EQ(base::ToWide(narrow, code), u"a");
    EXPECT_EQ(base::ToNarrow(wide, code), "a");
  }
  EXPECT_EQ(base::ToWide(narrow, base::kEncodingUtf8), wide);
  EXPECT_EQ(base::ToNarrow(wide, base::kEncodingUtf8), narrow);
}

TEST(StringEncodingTest, EmptyInputAndUnknownCodesGiveEmptyText) {
  for (int code : {0, 1, 2, 3}) {
    EXPECT_TRUE(base::ToWide("", static_cast<StringEncoding>(code)).empty());
    EXPECT_TRUE(base::ToNarrow(u"", static_cast<StringEncoding>(code)).empty());
  }
  for (int code : {-1, 4, 65001}) {
    EXPECT_TRUE(base::ToWide("text", static_cast<StringEncoding>(code)).empty());
    EXPECT_TRUE(base::ToNarrow(u"text", static_cast<StringEncoding>(code)).empty());
  }
}

TEST(CodePageTest, SizeQueryConversionAndShortBuffer) {
  const char text[] = "\xc3\xa9t\xc3\xa9";
  EXPECT_EQ(win32::MultiByteToWideChar(win32::CP_ACP, 0, text, 5, nullptr, 0), 3);
  EXPECT_EQ(win32::MultiByteToWideChar(win32::CP_UTF8, 0, text, -1, nullptr, 0), 4);  // with the zero
  char16_t wide[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(win32::MultiByteToWideChar(win32::CP_OEMCP, 0, text, 5, wide, 3), 3);
  EXPECT_EQ(std::u16string(wide, 4), u"\u00e9t\u00e9x");

  win32::SetLastError(win32::ERROR_SUCCESS);
  EXPECT_EQ(win32::MultiByteToWideChar(win32::CP_ACP, 0, text, 5, wide, 2), 0);
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_INSUFFICIENT_BUFFER);

  win32::BOOL used = win32::TRUE;
  EXPECT_EQ(win32::WideCharToMultiByte(win32::CP_ACP, 0, u"\u00e9t", 2, nullptr, 0, nullptr, &used), 3);
  EXPECT_EQ(used, win32::FALSE);
  char narrow[3] = {};
  EXPECT_EQ(win32::WideCharToMultiByte(win32::CP_ACP, 0, u"\u00e9t", 2, narrow, 3, nullptr, nullptr), 3);
  EXPECT_EQ(std::string(narrow, 3), "\xc3\xa9t");

  win32::SetLastError(win32::ERROR_SUCCESS);
  EXPECT_EQ(win32::MultiByteToWideChar(1252, 0, text, 5, nullptr, 0), 0);
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(win32::WideCharToMultiByte(win32::CP_ACP, 0, u"", 0, nullptr, 0, nullptr, nullptr), 0);
}

TEST(CodePageTest, OemBuffersHoldEveryUnitsUtf8Form) {
  const std::u16string wide = u"\u4e2d\u6587\U0001F600";
  std::string narrow(3 * wide.size(), '\0');
  EXPECT_EQ(win32::CharToOemBuffW(wide.data(), narrow.data(), static_cast<win32::DWORD>(wide.size())), win32::TRUE);
  EXPECT_EQ(narrow.c_str(), std::string("\xe4\xb8\xad\xe6\x96\x87\xf0\x9f\x98\x80"));

  std::u16string back(narrow.size(), u'\0');
  EXPECT_EQ(win32::OemToCharBuffW(narrow.data(), back.data(), 10), win32::TRUE);
  EXPECT_EQ(std::u16string(back.c_str()), wide);
  EXPECT_EQ(win32::OemToCharBuffW(nullptr, back.data(), 1), win32::FALSE);
}

}  // namespace
