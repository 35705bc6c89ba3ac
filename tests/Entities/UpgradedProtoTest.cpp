#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <string>

#include "EntitiesTestSupport.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvProtos.h"

namespace {

// Upgrade 1 targets prototype 7 (and -1, so it always qualifies) with one bonus per step; upgrade 2
// adds 10 % range again; upgrade 3 names 7 but has no global or unlocked target.
const char kUpgrades[] = R"(<upgrades>
  <upgrade id="1"><targets><target id="7"/><target id="-1"/></targets><steps>
    <step><attributes><a name="strength" value="10"/></attributes></step>
    <step><attributes><a name="cost" value="10"/></attributes></step>
    <step><attributes><a name="radius" value="10"/></attributes></step>
    <step><attributes><a name="cooldown" value="10"/></attributes></step>
    <step><attributes><a name="goldIncome" value="15"/></attributes></step>
    <step><attributes><a name="speed" value="10"/></attributes></step>
    <step/>
  </steps></upgrade>
  <upgrade id="2"><targets><target id="-1"/><target id="7"/></targets><steps>
    <step><attributes><a name="radius" value="10"/></attributes></step>
  </steps></upgrade>
  <upgrade id="3"><targets><target id="7"/></targets><steps>
    <step><attributes><a name="strength" value="500"/></attributes></step>
  </steps></upgrade>
</upgrades>)";

const char kSheet[] = R"(<data><towers>
  <unit id="7" strength="7" cost="105" r="200" cooldown="2" goldIncome="10" speed="55" dropChance="9"><unit id="8"/></unit>
  <unit id="9" strength="7"/>
</towers></data>)";

class UpgradedProtoTest : public entitiestest::SheetFolderTest {
 protected:
  void SetUp() override {
    SheetFolderTest::SetUp();
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    mUpgrades = std::make_unique<RuvUpgrades>(std::string(kUpgrades), &mMap);
    mMap.upgrades = mUpgrades.get();
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
    ASSERT_EQ(mDocument.Parse(kSheet), tinyxml2::XML_SUCCESS);
    mLibrary.load(mDocument.RootElement());
  }
  void TearDown() override {
    mProgress.reset();
    SheetFolderTest::TearDown();
  }
  void Buy(int level1, int level2 = -1, int level3 = -1) {
    mProgress->setUpgradeLevel(1, level1);
    mProgress->setUpgradeLevel(2, level2);
    mProgress->setUpgradeLevel(3, level3);
  }

  gametest::FakeMapState mMap;
  std::unique_ptr<RuvUpgrades> mUpgrades;
  std::unique_ptr<RuvProgress> mProgress;
  tinyxml2::XMLDocument mDocument;
  RuvProtoLibrary mLibrary;
};

struct BonusCase {
  const char* name;
  int step;                    // bought level of upgrade 1
  float RuvProtoValues::*field;
  float expected;
};

class UpgradedProtoBonusTest : public UpgradedProtoTest, public ::testing::WithParamInterface<BonusCase> {};

// Each bonus is a percentage of the copy's own value, rounded as its column needs.
TEST_P(UpgradedProtoBonusTest, AddsTheBoughtStep) {
  const BonusCase& c = GetParam();
  Buy(c.step);
  const std::unique_ptr<RuvProto> copy = mLibrary.makeUpgradedProto(7, mUpgrades.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_FLOAT_EQ((*copy).*c.field, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpgradedProtoBonusTest,
    ::testing::Values(BonusCase{"StrengthRoundsUp", 0, &RuvProtoValues::strength, 8.0f},   // 7 + ceil(0.7)
                      BonusCase{"CostRoundsDown", 1, &RuvProtoValues::cost, 115.0f},      // 105 + floor(10.5)
                      BonusCase{"RadiusExact", 2, &RuvProtoValues::r, 220.0f},
                      BonusCase{"CooldownShortens", 3, &RuvProtoValues::cooldown, 1.8f},
                      BonusCase{"SpeedRoundsDown", 5, &RuvProtoValues::speed, 60.0f},     // 55 + floor(5.5)
                      BonusCase{"StepWithoutBonusesChangesNothing", 6, &RuvProtoValues::strength, 7.0f},
                      BonusCase{"NothingBought", -1, &RuvProtoValues::cost, 105.0f}),
    [](const ::testing::TestParamInfo<BonusCase>& info) { return std::string(info.param.name); });

TEST_F(UpgradedProtoTest, IncomeIsTruncatedAndStepsCompound) {
  Buy(4);
  EXPECT_EQ(mLibrary.makeUpgradedProto(7, mUpgrades.get())->goldIncome, 11);  // 10 + trunc(1.5)
  Buy(2, 0);
  EXPECT_FLOAT_EQ(mLibrary.makeUpgradedProto(7, mUpgrades.get())->r, 242.0f);  // 200 * 1.1 * 1.1
}

TEST_F(UpgradedProtoTest, OnlyQualifyingUpgradesOfThatIdCount) {
  Buy(0, -1, 0);  // upgrade 3 has no global or unlocked target: its +500 % is not applied
  EXPECT_FLOAT_EQ(mLibrary.makeUpgradedProto(7, mUpgrades.get())->strength, 8.0f);
  EXPECT_FLOAT_EQ(mLibrary.makeUpgradedProto(9, mUpgrades.get())->strength, 7.0f);
  mMap.mode = 3;  // hardcore: nothing is bought
  EXPECT_FLOAT_EQ(mLibrary.makeUpgradedProto(7, mUpgrades.get())->strength, 7.0f);
}

TEST_F(UpgradedProtoTest, CopyIsPrivateAndUnknownIdsGiveNone) {
  Buy(0);
  const std::unique_ptr<RuvProto> copy = mLibrary.makeUpgradedProto(7, mUpgrades.get());
  EXPECT_TRUE(copy->tiers.empty());
  EXPECT_EQ(copy->dropChance, 0);
  EXPECT_FLOAT_EQ(mLibrary.findProto(7)->strength, 7.0f);  // the library's record is untouched
  EXPECT_FLOAT_EQ(mLibrary.makeUpgradedProto(7, nullptr)->strength, 7.0f);
  EXPECT_EQ(mLibrary.makeUpgradedProto(8, nullptr)->id, 8);  // tiers are found too
  EXPECT_EQ(mLibrary.makeUpgradedProto(42, mUpgrades.get()), nullptr);
}

}  // namespace
