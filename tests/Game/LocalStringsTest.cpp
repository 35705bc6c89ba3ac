#include <gtest/gtest.h>

#include <string>

#include "Game/Tables/LocalStrings.h"
#include "gamesupport/GameTestSupport.h"

namespace {

class LocalStringsTest : public gametest::GameFolderTest {
 protected:
  static LocalStrings* Strings() { return LocalStrings::Instance(); }
  static void WriteStrings(const std::string& bytes) { WriteTestFile("ruv/strings_en.csv", bytes); }
  static std::string ReadStrings() { return ReadTestFile("ruv/strings_en.csv"); }
};

struct StringsCase {
  const char* name;
  std::string file;
  std::u16string key;
  std::u16string text;
};

class LocalStringsParseTest : public LocalStringsTest, public ::testing::WithParamInterface<StringsCase> {};

TEST_P(LocalStringsParseTest, ReadsTheTextOfTheKey) {
  const StringsCase& c = GetParam();
  WriteStrings(c.file);
  EXPECT_EQ(Strings()->get(c.key), c.text);
  // A known key never touches the file.
  EXPECT_EQ(ReadStrings(), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalStringsParseTest,
    ::testing::Values(
        StringsCase{"Plain", "a;Alpha\n", u"a", u"Alpha"},
        StringsCase{"KeyTrimmedTextKeepsItsEnd", " \tkey \t; some  text \t\n", u"key", u"some  text \t"},
        StringsCase{"CrLfBlanksBeforeCrStay", "key; text \r\n", u"key", u"text "},
        StringsCase{"TrailingBlankBeforeTheNextLine", "greet;Welcome, \nnext;x\n", u"greet", u"Welcome, "},
        StringsCase{"TrailingBlankOfTheLastLine", "greet;Welcome, ", u"greet", u"Welcome, "},
        StringsCase{"TrailingBlankBeforeAFurtherField", "k;one ;two\n", u"k", u"one "},
        StringsCase{"BlankOnlyText", "k; \n", u"k", u""},
        StringsCase{"CrLfCut", "key;text\r\nnext;x\r\n", u"key", u"text"},
        StringsCase{"NoSemicolonEmptyText", "lonely\n", u"lonely", u""},
        StringsCase{"FurtherFieldsIgnored", "k;one;two\n", u"k", u"one"},
        StringsCase{"LaterLineWins", "k;first\nk;second\n", u"k", u"second"},
        StringsCase{"EmptyLinesSkipped", "\n\n  \nk;v\n\n", u"k", u"v"},
        StringsCase{"ByteOrderMarkDropped", "\xEF\xBB\xBFk;v\n", u"k", u"v"},
        StringsCase{"Utf8", "caption;\xD0\xA5\xC3\xA9\n", u"caption", u"\u0425\u00E9"},
        StringsCase{"NoFinalLineBreak", "a;1\nb;2", u"b", u"2"},
        StringsCase{"EscapedLineBreak", "k;First\\nSecond\n", u"k", u"First\nSecond"},
        StringsCase{"TrailingBackslashKept", "k;End\\\n", u"k", u"End\\"},
        StringsCase{"OtherEscapeKept", "k;a\\tb\n", u"k", u"a\\tb"},
        StringsCase{"OneCharacterBackslash", "k;\\\n", u"k", u"\\"},
        StringsCase{"BackslashNOnly", "k;\\n\n", u"k", u"\n"}),
    [](const ::testing::TestParamInfo<StringsCase>& info) { return std::string(info.param.name); });

TEST_F(LocalStringsTest, UnknownKeyIsAppendedOncePerRunAndReturnedAsItself) {
  WriteStrings("a;Alpha\n");
  EXPECT_EQ(Strings()->get(u"missing_key"), u"missing_key");
  EXPECT_EQ(ReadStrings(), "a;Alpha\nmissing_key;???\r\n");
  EXPECT_EQ(Strings()->get(u"missing_key"), u"missing_key");
  EXPECT_EQ(ReadStrings(), "a;Alpha\nmissing_key;???\r\n");
  EXPECT_EQ(Strings()->get(u"\u0425"), u"\u0425");
  EXPECT_EQ(ReadStrings(), "a;Alpha\nmissing_key;???\r\n\xD0\xA5;???\r\n");
}

TEST_F(LocalStringsTest, UnknownKeyStartsANewLineWhenTheFileLacksAFinalLineBreak) {
  WriteStrings("a;Alpha");
  EXPECT_EQ(Strings()->get(u"b"), u"b");
  EXPECT_EQ(ReadStrings(), "a;Alpha\r\nb;???\r\n");
  // Read again, the old entry is whole.
  delete LocalStrings::Instance();
  EXPECT_EQ(Strings()->get(u"a"), u"Alpha");
}

TEST_F(LocalStringsTest, UnknownKeyInAnEmptyFileNeedsNoLineBreakFirst) {
  WriteStrings("");
  Strings()->get(u"k");
  EXPECT_EQ(ReadStrings(), "k;???\r\n");
}

TEST_F(LocalStringsTest, MissingFileGivesTheKeyAndCreatesNothing) {
  EXPECT_EQ(Strings()->get(u"k"), u"k");
  EXPECT_FALSE(std::filesystem::exists("ruv/strings_en.csv"));
}

TEST_F(LocalStringsTest, SampleDataHasAFinalLineBreakAndNoPlaceholders) {
  const std::string text = SampleDataText("ruv/strings_en.csv");
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find("???"), std::string::npos);
  CopySampleData("ruv/strings_en.csv");
  EXPECT_NE(Strings()->get(u"game_caption"), u"game_caption");
  // The greeting is followed by the player's name: its blank survives reading.
  EXPECT_EQ(Strings()->get(u"greet_1"), u"Welcome, ");
  EXPECT_EQ(ReadStrings(), text);
}

}  // namespace
