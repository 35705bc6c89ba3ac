#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "EntitiesTestSupport.h"
#include "Game/Tables/RuvDataSheet.h"
#include "Game/Tables/RuvProtos.h"

namespace {

struct ConvertCase {
  const char* name;
  const char* sheet;
  const char* xml;  // the target element "towers" afterwards
};

class SheetConvertTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(SheetConvertTest, RowsBecomeUnitElements) {
  const ConvertCase& c = GetParam();
  tinyxml2::XMLDocument document;
  tinyxml2::XMLElement* towers = document.NewElement("towers");
  document.InsertEndChild(towers);
  RuvDataSheet::convert(c.sheet, towers);
  EXPECT_EQ(entitiestest::CompactXml(towers), c.xml);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetConvertTest,
    ::testing::Values(
        ConvertCase{"DecimalComma", "id;name;cost\n5;Arrow;12,5\n", R"(<towers><unit id="5" name="Arrow" cost="12.5"/></towers>)"},
        ConvertCase{"CrLfAndEmptyLines", "id;cost\r\n\r\n1;2\r\n \t\r\n3;4\r\n",
                    R"(<towers><unit id="1" cost="2"/><unit id="3" cost="4"/></towers>)"},
        ConvertCase{"Padding", " id ; cost \n  1 ;\t2  \n", R"(<towers><unit id="1" cost="2"/></towers>)"},
        ConvertCase{"EmptyFieldsKept", "id;a;b\n1;;x\n", R"(<towers><unit id="1" a="" b="x"/></towers>)"},
        ConvertCase{"ShortRowLacksTheLastColumns", "id;a;b\n1\n", R"(<towers><unit id="1"/></towers>)"},
        ConvertCase{"ExtraFieldsIgnored", "id\n1;2;3\n", R"(<towers><unit id="1"/></towers>)"},
        ConvertCase{"EmptyColumnNameIgnored", "id;;c\n1;2;3\n", R"(<towers><unit id="1" c="3"/></towers>)"},
        ConvertCase{"LaterColumnOfTheSameNameWins", "id;a;a\n1;x;y\n", R"(<towers><unit id="1" a="y"/></towers>)"},
        ConvertCase{"EmptyText", "", "<towers/>"},
        ConvertCase{"HeaderOnly", "id;cost\r\n", "<towers/>"},
        ConvertCase{"ParentEarlier", "id;name;cost;parent\n5;a;1;-1\n6;b;2;5\n",
                    R"(<towers><unit id="5" name="a" cost="1" parent="-1"><unit id="6" name="b" cost="2" parent="5"/></unit></towers>)"},
        ConvertCase{"ParentLater", "id;parent\n6;5\n5;-1\n",
                    R"(<towers><unit id="6" parent="5"/><unit id="5" parent="-1"/></towers>)"},
        ConvertCase{"ParentUnknown", "id;parent\n5;-1\n6;9\n",
                    R"(<towers><unit id="5" parent="-1"/><unit id="6" parent="9"/></towers>)"},
        ConvertCase{"ParentNotNumeric", "id;parent\n5;-1\n6;x\n7;\n",
                    R"(<towers><unit id="5" parent="-1"/><unit id="6" parent="x"/><unit id="7" parent=""/></towers>)"},
        ConvertCase{"ParentWithoutColumn", "id\n5\n6\n", R"(<towers><unit id="5"/><unit id="6"/></towers>)"},
        // Only direct children are searched: a tier's tier stays at the top.
        ConvertCase{"OneLevelOfNesting", "id;parent\n5;-1\n6;5\n7;6\n",
                    R"(<towers><unit id="5" parent="-1"><unit id="6" parent="5"/></unit><unit id="7" parent="6"/></towers>)"},
        ConvertCase{"FirstMatchingParent", "id;parent\n5;-1\n5;-1\n6;5\n",
                    R"(<towers><unit id="5" parent="-1"><unit id="6" parent="5"/></unit><unit id="5" parent="-1"/></towers>)"}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return std::string(info.param.name); });

// Episode, levels, hardcore levels, stars needed.
using SetupRows = std::vector<std::array<int, 4>>;

SetupRows Rows(const RuvEpisodeTable& episodes) {
  SetupRows rows;
  for (const auto& [episode, setup] : episodes) rows.push_back({episode, setup.levels, setup.hardcoreLevels, setup.starsNeeded});
  return rows;
}

struct SetupCase {
  const char* name;
  const char* sheet;
  SetupRows expected;  // besides the row of episode 7 that every table starts with
};

class SetupSheetTest : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SetupSheetTest, LinesOfFiveFieldsSetTheirEpisode) {
  const SetupCase& c = GetParam();
  RuvEpisodeTable episodes{{7, {1, 1, 1}}};
  RuvDataSheet::readSetup(c.sheet, episodes);
  SetupRows expected = c.expected;
  if (episodes.count(7) && std::none_of(expected.begin(), expected.end(), [](const auto& row) { return row[0] == 7; })) {
    expected.push_back({7, 1, 1, 1});
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Rows(episodes), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupSheetTest,
    ::testing::Values(SetupCase{"Plain", "0;3;1;0;0\n", {{0, 3, 1, 0}}},
                      SetupCase{"BlanksRemoved", " 1 ; 2 ;\t1 ; 9 ; 0 \r\n", {{1, 2, 1, 9}}},
                      SetupCase{"FourOrSixFieldsIgnored", "2;1;1;1\n3;1;1;1;1;1\n", {}},
                      SetupCase{"EpisodeMinusOneIgnored", "-1;5;5;5;0\n", {}},
                      SetupCase{"NonNumericReadsZero", "4;x;2;3;0\n", {{4, 0, 2, 3}}},
                      SetupCase{"DigitsUpToTheFirstOther", "5;7abc;1;1;0\n", {{5, 7, 1, 1}}},
                      SetupCase{"EmptyFieldsCount", ";;;;\n", {{0, 0, 0, 0}}},
                      SetupCase{"LaterLineReplaces", "0;3;1;0;0\n0;4;2;1;0\n", {{0, 4, 2, 1}}},
                      SetupCase{"OverwritesAnEarlierRow", "7;2;0;5;0\n", {{7, 2, 0, 5}}},
                      // Counts and indices from the file: negatives would be read as "no row" or
                      // shrink the level total.
                      SetupCase{"NegativeCountIgnored", "6;-2;1;0;0\n6;2;-1;0;0\n6;2;1;-4;0\n", {}},
                      SetupCase{"NegativeEpisodeIgnored", "-3;1;1;1;0\n", {}}),
    [](const ::testing::TestParamInfo<SetupCase>& info) { return std::string(info.param.name); });

struct TotalCase {
  const char* name;
  RuvEpisodeTable episodes;
  int total;
};

class TotalLevelCountTest : public ::testing::TestWithParam<TotalCase> {};

TEST_P(TotalLevelCountTest, CountsUpToTheFirstMissingEpisode) {
  EXPECT_EQ(RuvDataSheet::totalLevelCount(GetParam().episodes), GetParam().total);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TotalLevelCountTest,
    ::testing::Values(TotalCase{"Empty", {}, 0}, TotalCase{"NoEpisodeZero", {{1, {3, 1, 0}}}, 0},
                      TotalCase{"GapEndsTheCount", {{0, {3, 1, 0}}, {1, {2, 2, 0}}, {3, {5, 5, 0}}}, 8},
                      TotalCase{"NoNormalLevelsAddsNothing", {{0, {0, 4, 0}}, {1, {3, 1, 0}}}, 4}),
    [](const ::testing::TestParamInfo<TotalCase>& info) { return std::string(info.param.name); });

TEST(EpisodeLookupTest, MissingEpisodesAnswerMinusOne) {
  const RuvEpisodeTable episodes{{0, {3, 1, 0}}, {2, {4, 2, 9}}};
  EXPECT_EQ(RuvDataSheet::levelCount(episodes, 2), 4);
  EXPECT_EQ(RuvDataSheet::hardcoreLevelCount(episodes, 2), 2);
  EXPECT_EQ(RuvDataSheet::starsNeeded(episodes, 2), 9);
  for (int missing : {-1, 1, 3}) {
    EXPECT_EQ(RuvDataSheet::levelCount(episodes, missing), -1) << missing;
    EXPECT_EQ(RuvDataSheet::hardcoreLevelCount(episodes, missing), -1) << missing;
    EXPECT_EQ(RuvDataSheet::starsNeeded(episodes, missing), -1) << missing;
  }
}

class LoadSheetsTest : public entitiestest::SheetFolderTest {
 protected:
  void Load() { RuvDataSheet::loadSheets(mProtos, mEpisodes, mSellRatio, mDefaultGems); }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const auto& proto : mProtos.getList()) ids.push_back(proto->id);
    return ids;
  }

  RuvProtoLibrary mProtos;
  RuvEpisodeTable mEpisodes;
  float mSellRatio = 0.0f;
  int mDefaultGems = -1;
};

TEST_F(LoadSheetsTest, ReadsTheFourSheetsThroughTheFileManager) {
  // A byte-order mark before the header does not become part of the first column's name.
  WriteTestFile("ruv/towers_sheet.csv", "\xEF\xBB\xBFid;parent;cost\r\n10;-1;1,5\r\n11;10;2\r\n");
  WriteTestFile("ruv/units_sheet.csv", "id;parent\n1;-1\n");
  WriteTestFile("ruv/ammo_sheet.csv", "id\n2001\n");
  WriteTestFile("ruv/setup_sheet.csv", "0;3;1;0;0\n1;3;1;9;0\n");
  Load();
  EXPECT_EQ(Ids(), (std::vector<int>{1, 10, 2001}));
  ASSERT_NE(mProtos.findProto(11), nullptr);
  EXPECT_FLOAT_EQ(mProtos.findProto(10)->cost, 1.5f);
  EXPECT_EQ(mProtos.findProto(10)->tiers.size(), 1u);
  EXPECT_EQ(RuvDataSheet::totalLevelCount(mEpisodes), 8);
  EXPECT_FLOAT_EQ(mSellRatio, 0.5f);
  EXPECT_EQ(mDefaultGems, 0);

  // Read again: the library is rebuilt, not appended to; a lost setup line leaves its row.
  WriteTestFile("ruv/units_sheet.csv", "id\n3\n");
  WriteTestFile("ruv/setup_sheet.csv", "0;2;0;0;0\n");
  Load();
  EXPECT_EQ(Ids(), (std::vector<int>{3, 10, 2001}));
  EXPECT_EQ(mProtos.findProto(1), nullptr);
  EXPECT_EQ(RuvDataSheet::levelCount(mEpisodes, 0), 2);
  EXPECT_EQ(RuvDataSheet::levelCount(mEpisodes, 1), 3);
}

TEST_F(LoadSheetsTest, MissingSheetsAddNothingAndKeepTheEpisodes) {
  mEpisodes[0] = {3, 1, 0};
  WriteTestFile("ruv/ammo_sheet.csv", "id\n2001\n");
  Load();
  EXPECT_EQ(Ids(), std::vector<int>{2001});
  EXPECT_EQ(RuvDataSheet::levelCount(mEpisodes, 0), 3);
  EXPECT_EQ(mEpisodes.size(), 1u);
  EXPECT_FLOAT_EQ(mSellRatio, 0.5f);
}

}  // namespace
