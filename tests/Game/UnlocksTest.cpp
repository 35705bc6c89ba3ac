#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Tables/RuvUnlocks.h"
#include "gamesupport/GameTestSupport.h"
#include "fakes/MainLogRecorder.h"

namespace {

using Ids = std::vector<int>;

class UnlocksTest : public gametest::GameFolderTest {
 protected:
  void Load(const std::string& text) {
    WriteTestFile("ruv/unlocks.csv", text);
    mUnlocks = std::make_unique<RuvUnlocks>(&mMap);
    mMap.unlocks = mUnlocks.get();
  }
  void At(int episode, int level, int mode = 0) {
    mMap.episode = episode;
    mMap.level = level;
    mMap.mode = mode;
  }
  Ids Newly(Ids out = {}) {
    mUnlocks->newlyUnlocked(out);
    return out;
  }

  gametest::FakeMapState mMap;
  std::unique_ptr<RuvUnlocks> mUnlocks;
};

TEST_F(UnlocksTest, EarlierLinesAccumulate) {
  Load("0;0;1,2\n0;1;5\n0;2;\n");
  At(0, 1);
  EXPECT_TRUE(mUnlocks->isUnlocked(1));
  EXPECT_TRUE(mUnlocks->isUnlocked(2));
  EXPECT_TRUE(mUnlocks->isUnlocked(5));
  EXPECT_FALSE(mUnlocks->isUnlocked(6));
  EXPECT_EQ(Newly({9}), Ids{5});
  At(0, 2);
  EXPECT_TRUE(mUnlocks->isUnlocked(5));
  EXPECT_EQ(Newly({9}), Ids{});
  At(0, 0);
  EXPECT_FALSE(mUnlocks->isUnlocked(5));
}

TEST_F(UnlocksTest, LevelWithoutALineUnlocksNothing) {
  Load("0;0;1\n");
  At(0, 3);
  EXPECT_FALSE(mUnlocks->isUnlocked(1));
  EXPECT_EQ(Newly({4}), Ids{});
}

TEST_F(UnlocksTest, MinusOneUnlocksEverythingFromItsLineOn) {
  Load("0;0;1\n0;1;-1\n0;2;7\n");
  At(0, 0);
  EXPECT_FALSE(mUnlocks->isUnlocked(42));
  At(0, 1);
  EXPECT_TRUE(mUnlocks->isUnlocked(42));
  At(0, 2);
  EXPECT_TRUE(mUnlocks->isUnlocked(42));
}

TEST_F(UnlocksTest, BlanksAndCarriageReturnsAreIgnored) {
  Load(" 1 ; 2 ; 10 , 20 \r\n1;3;\r\n1;4;30,\r\n");
  At(1, 2);
  EXPECT_EQ(Newly(), (Ids{10, 20}));
  At(1, 3);
  EXPECT_EQ(Newly(), Ids{});
  At(1, 4);
  EXPECT_EQ(Newly(), Ids{30});
  EXPECT_TRUE(mUnlocks->isUnlocked(20));
  EXPECT_FALSE(mUnlocks->isUnlocked(0));
}

TEST_F(UnlocksTest, LineWithFewerThanThreeFieldsIsSkippedAndLogged) {
  fakes::MainLogRecorder log;
  Load("0;0;1\n0;1\n0;2;3\n");
  At(0, 2);
  EXPECT_EQ(Newly(), Ids{3});
  EXPECT_TRUE(mUnlocks->isUnlocked(1));
  At(0, 1);
  EXPECT_FALSE(mUnlocks->isUnlocked(1));
  EXPECT_NE(log.Text().find(u"fewer than three fields"), std::u16string::npos);
}

TEST_F(UnlocksTest, HardcoreUnlocksEverythingAndAnnouncesAtTheFirstLevel) {
  Load("0;0;1\n");
  At(0, 0, 3);
  EXPECT_TRUE(mUnlocks->isUnlocked(99));
  EXPECT_EQ(Newly({4}), (Ids{4, 36, 37, 38}));
  At(0, 1, 3);
  EXPECT_EQ(Newly({4}), Ids{4});
}

TEST_F(UnlocksTest, MissingFileGivesAnEmptyTable) {
  mUnlocks = std::make_unique<RuvUnlocks>(&mMap);
  EXPECT_FALSE(mUnlocks->isUnlocked(1));
  EXPECT_EQ(Newly(), Ids{});
}

TEST_F(UnlocksTest, SampleDataHasALineForEveryLevel) {
  CopySampleData("ruv/unlocks.csv");
  mUnlocks = std::make_unique<RuvUnlocks>(&mMap);
  At(0, 0);
  EXPECT_FALSE(Newly().empty());
  EXPECT_TRUE(mUnlocks->isUnlocked(10000));
}

}  // namespace
