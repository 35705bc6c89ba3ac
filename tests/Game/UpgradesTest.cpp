#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvUnlocks.h"
#include "gamesupport/GameTestSupport.h"
#include "fakes/MainLogRecorder.h"

namespace {

// Later siblings of any name are read as upgrades, targets and steps.
const char kUpgradesTree[] = R"(<upgrades>
  <upgrade id="1" section="0" icon="lives">
    <targets><target id="-1"/></targets>
    <steps>
      <step cost_g="1" cost_r="10"><attributes><a name="maxHP" value="2.9"/></attributes></step>
      <extra cost_r="20"><attributes><a name="maxHP" value="5"/><b name="enemyCost" value="10"/></attributes></extra>
      <step cost_r="30"/>
    </steps>
  </upgrade>
  <whatever id="2" section="1" icon="budget">
    <unlock episode="1" level="2"/>
    <targets><target id="-1"/></targets>
    <steps><step cost_r="5"><attributes><a name="startBudget" value="50"/><b name="maxHP" value="-3"/></attributes></step></steps>
  </whatever>
  <upgrade id="3" section="1">
    <targets><target id="5"/><other id="-1"/></targets>
    <steps><step><attributes><a name="maxHP" value="9"/></attributes></step></steps>
  </upgrade>
  <upgrade id="4" section="0"><steps><step/></steps></upgrade>
  <upgrade id="5" section="2" icon="tower"><targets><target id="10100"/><target id="10200"/></targets></upgrade>
</upgrades>)";

class UpgradesTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  }
  void Build(const std::string& text) {
    mUpgrades = std::make_unique<RuvUpgrades>(text, &mMap);
    mMap.upgrades = mUpgrades.get();
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
  }
  void TearDown() override {
    mProgress.reset();
    GameFolderTest::TearDown();
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const auto& upgrade : mUpgrades->getList()) ids.push_back(upgrade->id);
    return ids;
  }

  gametest::FakeMapState mMap;
  std::unique_ptr<RuvUpgrades> mUpgrades;
  std::unique_ptr<RuvProgress> mProgress;
};

TEST_F(UpgradesTest, ReadsEveryUpgradeSiblingAndSkipsOneWithoutTargets) {
  fakes::MainLogRecorder log;
  Build(kUpgradesTree);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_NE(log.Text().find(u"upgrade 4 has no targets"), std::u16string::npos);

  const RuvUpgrade& first = *mUpgrades->getList()[0];
  EXPECT_EQ(first.icon, u"lives");
  EXPECT_EQ(first.targets, std::vector<int>{-1});
  ASSERT_EQ(first.steps.size(), 3u);
  EXPECT_EQ(first.getStep(0)->cost_g, 1);
  EXPECT_EQ(first.getStep(1)->cost_r, 20);
  EXPECT_EQ(first.getStep(2)->attributes, nullptr);
  EXPECT_EQ(first.getStep(3), nullptr);
  EXPECT_EQ(first.getStep(-1), nullptr);
  EXPECT_EQ(first.unlockEpisode, 0);

  const RuvUpgrade& second = *mUpgrades->getList()[1];
  EXPECT_EQ(second.unlockEpisode, 1);
  EXPECT_EQ(second.unlockLevel, 2);
  EXPECT_EQ(mUpgrades->getList()[2]->targets, (std::vector<int>{5, -1}));
  EXPECT_TRUE(mUpgrades->getList()[3]->steps.empty());

  std::vector<RuvUpgrade*> section{nullptr};
  mUpgrades->collectSection(1, section);
  ASSERT_EQ(section.size(), 3u);
  EXPECT_EQ(section[1]->id, 2);
  EXPECT_EQ(section[2]->id, 3);
}

TEST_F(UpgradesTest, UnusableFilesGiveAnEmptyLoggedTree) {
  for (const std::string text : {"", "<upgrades><upgrade>", "<other/>"}) {
    fakes::MainLogRecorder log;
    Build(text);
    EXPECT_TRUE(mUpgrades->getList().empty()) << text;
    EXPECT_NE(log.Text().find(u"RuvUpgrades: data file 'upgrades text' "), std::u16string::npos) << text;
  }
  fakes::MainLogRecorder log;
  RuvUpgrades missing(std::u16string(u"ruv/upgrades.xml"), &mMap);
  EXPECT_TRUE(missing.getList().empty());
  EXPECT_NE(log.Text().find(u"data file 'ruv/upgrades.xml' is missing or empty"), std::u16string::npos);
}

struct GlobalCase {
  const char* name;
  int level1, level2, level3;
  int mode;
  int lives;
  float enemyCost, startBudget;
};

class UpgradesGlobalTest : public UpgradesTest, public ::testing::WithParamInterface<GlobalCase> {};

// The level is cumulative: level L applies step L alone.
TEST_P(UpgradesGlobalTest, SetsTheMapBonuses) {
  const GlobalCase& c = GetParam();
  Build(kUpgradesTree);
  mProgress->setUpgradeLevel(1, c.level1);
  mProgress->setUpgradeLevel(2, c.level2);
  mProgress->setUpgradeLevel(3, c.level3);
  mMap.mode = c.mode;
  mUpgrades->applyGlobal();
  EXPECT_EQ(mMap.maxLivesBonus, c.lives);
  EXPECT_FLOAT_EQ(mMap.enemyCostBonus, c.enemyCost);
  EXPECT_FLOAT_EQ(mMap.startBudgetBonus, c.startBudget);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpgradesGlobalTest,
    ::testing::Values(GlobalCase{"NothingBought", -1, -1, -1, 0, 0, 0.0f, 0.0f},
                      GlobalCase{"FirstStepTruncated", 0, -1, -1, 0, 2, 0.0f, 0.0f},
                      GlobalCase{"SecondStepAlone", 1, -1, -1, 0, 5, 0.1f, 0.0f},
                      GlobalCase{"StepWithoutAttributes", 2, -1, -1, 0, 0, 0.0f, 0.0f},
                      GlobalCase{"PastTheLastStep", 7, -1, -1, 0, 0, 0.0f, 0.0f},
                      // The later upgrade's negative maxHP leaves the earlier value.
                      GlobalCase{"NegativeLeavesEarlier", 1, 0, -1, 0, 5, 0.1f, 0.5f},
                      // First target 5: not global for applyGlobal.
                      GlobalCase{"FirstTargetNotGlobal", -1, -1, 0, 0, 0, 0.0f, 0.0f},
                      GlobalCase{"HardcoreBuysNothing", 1, 0, 0, 3, 0, 0.0f, 0.0f}),
    [](const ::testing::TestParamInfo<GlobalCase>& info) { return std::string(info.param.name); });

TEST_F(UpgradesTest, LaterGlobalStepOfTheSameNameWins) {
  Build(R"(<upgrades>
    <upgrade id="1"><targets><target id="-1"/></targets><steps><step><attributes><a name="maxHP" value="3"/></attributes></step></steps></upgrade>
    <upgrade id="2"><targets><target id="-1"/></targets><steps><step><attributes><a name="maxHP" value="4"/></attributes></step></steps></upgrade>
  </upgrades>)");
  mProgress->setUpgradeLevel(1, 0);
  mProgress->setUpgradeLevel(2, 0);
  mUpgrades->applyGlobal();
  EXPECT_EQ(mMap.maxLivesBonus, 4);
}

TEST_F(UpgradesTest, AvailableWhenATargetIsGlobalOrUnlocked) {
  Build(kUpgradesTree);
  WriteTestFile("ruv/unlocks.csv", "0;0;10100\n");
  RuvUnlocks unlocks(&mMap);
  mMap.unlocks = &unlocks;
  const auto& list = mUpgrades->getList();
  EXPECT_TRUE(list[0]->isAvailable(false));
  EXPECT_TRUE(list[2]->isAvailable(false));  // -1 in second place
  EXPECT_TRUE(list[3]->isAvailable(false));
  mMap.level = 1;
  EXPECT_FALSE(list[3]->isAvailable(false));
  // The last level reached: nothing has stars, so level 0 of the last available episode (0).
  EXPECT_TRUE(list[3]->isAvailable(true));
}

TEST_F(UpgradesTest, ProtoStepsNeedAGlobalOrUnlockedTarget) {
  Build(R"(<upgrades>
    <upgrade id="1"><targets><target id="5"/><target id="-1"/></targets><steps><step/></steps></upgrade>
    <upgrade id="2"><targets><target id="10100"/><target id="10200"/></targets><steps><step/><step/></steps></upgrade>
    <upgrade id="3"><targets><target id="10200"/></targets><steps><step/></steps></upgrade>
    <upgrade id="4"><targets><target id="-1"/></targets><steps><step/></steps></upgrade>
  </upgrades>)");
  WriteTestFile("ruv/unlocks.csv", "0;0;10200\n");
  RuvUnlocks unlocks(&mMap);
  mMap.unlocks = &unlocks;
  for (int id : {1, 2, 3, 4}) mProgress->setUpgradeLevel(id, id == 2 ? 1 : 0);
  const auto& list = mUpgrades->getList();
  std::vector<const RuvUpgradeStep*> steps;
  mUpgrades->collectProtoSteps(5, steps);
  EXPECT_EQ(steps, (std::vector<const RuvUpgradeStep*>{list[0]->getStep(0)}));
  steps.clear();
  mUpgrades->collectProtoSteps(10100, steps);  // upgrade 2 qualifies through 10200
  EXPECT_EQ(steps, (std::vector<const RuvUpgradeStep*>{list[1]->getStep(1)}));
  steps.clear();
  mMap.level = 1;  // no line: nothing unlocked
  mUpgrades->collectProtoSteps(10200, steps);
  EXPECT_TRUE(steps.empty());
  mMap.mode = 3;  // hardcore: everything unlocked, nothing bought
  mUpgrades->collectProtoSteps(10200, steps);
  EXPECT_TRUE(steps.empty());
}

TEST_F(UpgradesTest, SampleDataHasGlobalAndTowerUpgrades) {
  Build(SampleDataText("ruv/upgrades.xml"));
  ASSERT_FALSE(mUpgrades->getList().empty());
  bool lives = false;
  bool id28 = false;
  for (const auto& upgrade : mUpgrades->getList()) {
    id28 = id28 || upgrade->id == 28;
    if (upgrade->targets.front() == -1 && !upgrade->steps.empty() && upgrade->steps[0]->attributes) {
      lives = lives || upgrade->steps[0]->attributes->getFloat("maxHP") > 0.0f;
    }
  }
  EXPECT_TRUE(lives);
  EXPECT_TRUE(id28);
}

}  // namespace
