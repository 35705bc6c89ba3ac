// Line layout and measuring on a small font made by hand; no renderer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/MainLogRecorder.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/TextFormat.h"
#include "tests/Fonts/SyntheticFont.h"

namespace {

using LayoutLine = render::BMFont::LineInfo;

// Size 10; letters advance 10, "W" 20, blank and tab 5; "V" after "A" is kerned by -3; "?" has no glyph.
class LayoutTestFont : public testfonts::SyntheticFont {
 public:
  LayoutTestFont() {
    SetMetrics(10.0f, 8.0f);
    for (char16_t c = u'a'; c <= u'z'; ++c) AddGlyph(c, 10.0f);
    AddGlyph(u'A', 10.0f);
    AddGlyph(u'V', 10.0f);
    AddGlyph(u'W', 20.0f);
    AddGlyph(u' ', 5.0f);
    AddGlyph(u'\t', 5.0f);
    AddKerning(u'A', u'V', -3.0f);
  }
};

struct LayoutCase {
  const char* name;
  std::u16string text;
  float wrap = 0.0f;
  bool fit = true;
  float indent = 0.0f;
  float lineSpacing = 0.0f;
  float letterSpacing = 0.0f;
  char16_t fallback = 0;
  float width = 0.0f, height = 0.0f;  // the measured block
  std::vector<LayoutLine> lines;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

LayoutCase MakeLayoutCase(const char* name, std::u16string text, float width, float height,
                          std::vector<LayoutLine> lines) {
  LayoutCase c;
  c.name = name;
  c.text = std::move(text);
  c.width = width;
  c.height = height;
  c.lines = std::move(lines);
  return c;
}

LayoutCase LayoutWrapped(LayoutCase c, float wrap) {
  c.wrap = wrap;
  return c;
}
LayoutCase LayoutIndented(LayoutCase c, float indent) {
  c.indent = indent;
  return c;
}

std::vector<LayoutCase> LayoutCases() {
  std::vector<LayoutCase> cases;
  // Lines are {width, start, count, blanks, indent, wrapped}.
  cases.push_back(MakeLayoutCase("Empty", u"", 0, 10, {}));
  LayoutCase emptyBox = LayoutWrapped(MakeLayoutCase("EmptyWithoutFitToText", u"", 100, 10, {}), 100);
  emptyBox.fit = false;
  cases.push_back(emptyBox);
  cases.push_back(MakeLayoutCase("OnlyBlanks", u"   ", 0, 10, {}));
  cases.push_back(LayoutIndented(MakeLayoutCase("OnlyBlanksWithIndent", u"  ", 4, 10, {{4, 0, 0, 0, 4, 0}}), 4));
  cases.push_back(MakeLayoutCase("OneLine", u"ab c", 35, 10, {{35, 0, 4, 0, 0, 0}}));
  cases.push_back(MakeLayoutCase("TrailingBlanksLeftOut", u"ab  ", 20, 10, {{20, 0, 2, 0, 0, 0}}));
  cases.push_back(MakeLayoutCase("TabIsABlank", u"a\tb", 25, 10, {{25, 0, 3, 0, 0, 0}}));
  LayoutCase spaced =
      MakeLayoutCase("NewlineWithLineSpacing", u"ab\ncd", 20, 23, {{20, 0, 2, 0, 0, 0}, {20, 3, 2, 0, 0, 0}});
  spaced.lineSpacing = 3;
  cases.push_back(spaced);
  cases.push_back(MakeLayoutCase("EmptyLineBetween", u"a\n\nb", 10, 30,
                                 {{10, 0, 1, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, {10, 3, 1, 0, 0, 0}}));
  cases.push_back(LayoutWrapped(
      MakeLayoutCase("WrapBeforeTheOverflowingWord", u"aaa bbb", 30, 20, {{30, 0, 3, 0, 0, 1}, {30, 4, 3, 0, 0, 0}}),
      45));
  cases.push_back(LayoutWrapped(
      MakeLayoutCase("BlanksAtTheWrapBelongToNoLine", u"aa  bb cc", 50, 20, {{50, 0, 6, 2, 0, 1}, {20, 7, 2, 0, 0, 0}}),
      50));
  cases.push_back(LayoutWrapped(
      MakeLayoutCase("LongWordBreaksBeforeACharacter", u"aaaaaa", 30, 20, {{30, 0, 3, 0, 0, 1}, {30, 3, 3, 0, 0, 0}}),
      35));
  cases.push_back(LayoutWrapped(
      MakeLayoutCase("LeadingBlanksCountInABrokenLine", u"  aaaa", 30, 20, {{30, 0, 4, 0, 0, 1}, {20, 4, 2, 0, 0, 0}}),
      35));
  cases.push_back(LayoutWrapped(MakeLayoutCase("AWideFirstCharacterStays", u"W", 20, 10, {{20, 0, 1, 0, 0, 0}}), 15));
  cases.push_back(LayoutWrapped(
      MakeLayoutCase("SecondCharacterOverflowing", u"Wa", 20, 20, {{20, 0, 1, 0, 0, 1}, {10, 1, 1, 0, 0, 0}}), 25));
  cases.push_back(MakeLayoutCase("KerningNarrowsTheLine", u"AV", 17, 10, {{17, 0, 2, 0, 0, 0}}));
  cases.push_back(LayoutWrapped(MakeLayoutCase("KerningDecidesTheWrap", u"AV", 17, 10, {{17, 0, 2, 0, 0, 0}}), 18));
  cases.push_back(LayoutIndented(
      MakeLayoutCase("IndentOnEveryParagraph", u"ab\ncd", 24, 20, {{24, 0, 2, 0, 4, 0}, {24, 3, 2, 0, 4, 0}}), 4));
  cases.push_back(LayoutIndented(LayoutWrapped(MakeLayoutCase("IndentOnlyOnAParagraphsFirstLine", u"aaa bbb", 34, 20,
                                                              {{34, 0, 3, 0, 4, 1}, {30, 4, 3, 0, 0, 0}}),
                                               49),
                                 4));
  cases.push_back(LayoutWrapped(MakeLayoutCase("BlanksBeforeANewlineDoNotCarryOver", u"ab  \naaa", 30, 20,
                                               {{20, 0, 2, 0, 0, 0}, {30, 5, 3, 0, 0, 0}}),
                                30));
  cases.push_back(MakeLayoutCase("TrailingNewline", u"ab\n", 20, 10, {{20, 0, 2, 0, 0, 0}}));
  cases.push_back(LayoutIndented(
      MakeLayoutCase("TrailingNewlineWithIndent", u"ab\n", 24, 20, {{24, 0, 2, 0, 4, 0}, {4, 3, 0, 0, 4, 0}}), 4));
  LayoutCase letters = MakeLayoutCase("LetterSpacing", u"ab c", 39, 10, {{39, 0, 4, 0, 0, 0}});
  letters.letterSpacing = 1;
  cases.push_back(letters);
  cases.push_back(MakeLayoutCase("MissingGlyphSkipped", u"a?b", 20, 10, {{20, 0, 3, 0, 0, 0}}));
  LayoutCase fallback = MakeLayoutCase("FallbackGlyph", u"a?b", 30, 10, {{30, 0, 3, 0, 0, 0}});
  fallback.fallback = u'a';
  cases.push_back(fallback);
  LayoutCase box =
      LayoutWrapped(MakeLayoutCase("WrapWidthWithoutFitToText", u"ab", 100, 10, {{20, 0, 2, 0, 0, 0}}), 100);
  box.fit = false;
  cases.push_back(box);
  return cases;
}

class FontLayoutTest : public ::testing::TestWithParam<LayoutCase> {
 protected:
  LayoutTestFont mFont;
};

TEST_P(FontLayoutTest, LinesAndBlock) {
  const LayoutCase& c = GetParam();
  render::TextFormat format;
  format.mWrapWidth = c.wrap;
  format.mFitToText = c.fit;
  format.mIndent = c.indent;
  format.mLineSpacing = c.lineSpacing;
  format.mLetterSpacing = c.letterSpacing;
  format.mFallback = c.fallback;

  render::BMFont::LineList lines;
  mFont.LayoutLines(c.text, format, c.fallback ? mFont.GetGlyph(c.fallback) : nullptr, lines);
  ASSERT_EQ(lines.size(), c.lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "line " << i);
    EXPECT_FLOAT_EQ(lines[i].width, c.lines[i].width);
    EXPECT_EQ(lines[i].start, c.lines[i].start);
    EXPECT_EQ(lines[i].count, c.lines[i].count);
    EXPECT_EQ(lines[i].blanks, c.lines[i].blanks);
    EXPECT_FLOAT_EQ(lines[i].indent, c.lines[i].indent);
    EXPECT_EQ(lines[i].wrapped, c.lines[i].wrapped);
  }

  float size[2] = {-1.0f, -1.0f};
  ASSERT_EQ(mFont.DrawText(nullptr, nullptr, c.text, format, size), VN_OK);
  EXPECT_FLOAT_EQ(size[0], c.width);
  EXPECT_FLOAT_EQ(size[1], c.height);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontLayoutTest, ::testing::ValuesIn(LayoutCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FontMeasureTest, WithoutContextOrSizeNothingHappens) {
  LayoutTestFont font;
  EXPECT_EQ(font.DrawText(nullptr, nullptr, u"ab", render::TextFormat(), nullptr), VN_OK);
}

TEST(FontMeasureTest, MeasureTextReportsTheWidthWhenTheRequestGoes) {
  LayoutTestFont font;
  const std::u16string text = u"AV ab";
  float width = 0.0f;
  float height = 0.0f;
  {
    auto request = font.MeasureText(&text);
    request->mOutWidth = &width;
    request->mOutHeight = &height;
  }
  EXPECT_FLOAT_EQ(width, 42.0f);  // 17 + 5 + 20
  EXPECT_FLOAT_EQ(height, 10.0f);
}

TEST(FontMeasureTest, ManyLinesSpillPastTheInlineArray) {
  LayoutTestFont font;
  std::u16string text;
  for (int i = 0; i < 1500; ++i) text += u"a\n";
  float size[2] = {0.0f, 0.0f};
  ASSERT_EQ(font.DrawText(nullptr, nullptr, text, render::TextFormat(), size), VN_OK);
  EXPECT_FLOAT_EQ(size[0], 10.0f);
  EXPECT_FLOAT_EQ(size[1], 1500 * 10.0f);
}

TEST(FontMeasureTest, AnAbsurdlyLongTextIsLaidOutOnlyUpToTheLimit) {
  LayoutTestFont font;
  const size_t limit = render::BMFont::kMaxLaidOutCharacters;
  std::u16string text;
  for (size_t i = 0; text.size() < 2000000; ++i) text += u"a\n";
  fakes::MainLogRecorder log;
  float size[2] = {0.0f, 0.0f};
  for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(font.DrawText(nullptr, nullptr, text, render::TextFormat(), size), VN_OK);
  // The first limit characters are limit / 2 lines of "a", as a text of that length alone gives.
  EXPECT_FLOAT_EQ(size[1], float(limit / 2) * 10.0f);
  const std::u16string line = u"characters is shown only up to its first";
  const size_t first = log.Text().find(line);
  EXPECT_NE(first, std::u16string::npos);
  EXPECT_EQ(log.Text().find(line, first + 1), std::u16string::npos);
}

}  // namespace
