#include <gtest/gtest.h>

#include <vector>

#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvWallet.h"
#include "gamesupport/GameTestSupport.h"

namespace {

struct ComboCase {
  const char* name;
  std::vector<float> gaps;  // seconds before each kill (the first from the start)
  int bonus;
};

class WalletComboTest : public ::testing::TestWithParam<ComboCase> {};

TEST_P(WalletComboTest, ClosesOneWindowAfterTheLastKill) {
  const ComboCase& c = GetParam();
  gametest::FakeMapState map;
  RuvWallet wallet(&map);
  for (float gap : c.gaps) {
    wallet.update(gap);
    wallet.onKill(10, 0.0f, 0.0f);
  }
  const int killMoney = 10 * static_cast<int>(c.gaps.size());
  wallet.update(0.9f);
  EXPECT_EQ(wallet.comboTotal, 0);
  wallet.update(0.2f);  // past the window
  EXPECT_EQ(wallet.comboTotal, c.bonus);
  EXPECT_EQ(wallet.money, killMoney + c.bonus);
  EXPECT_EQ(wallet.killScore, killMoney);
  EXPECT_EQ(wallet.comboCount, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, WalletComboTest,
                         ::testing::Values(ComboCase{"Single", {0.0f}, 0}, ComboCase{"Two", {0.0f, 0.4f}, 3},
                                           ComboCase{"Three", {0.0f, 0.5f, 0.5f}, 4},
                                           ComboCase{"Four", {0.0f, 0.1f, 0.1f, 0.1f}, 5},
                                           ComboCase{"Five", {0.0f, 0.2f, 0.2f, 0.2f, 0.2f}, 7},
                                           ComboCase{"Ten", std::vector<float>(10, 0.3f), 13}),
                         [](const ::testing::TestParamInfo<ComboCase>& info) { return std::string(info.param.name); });

TEST(WalletTest, KillAfterTheWindowClosesTheComboAndIsNotCounted) {
  RuvWallet wallet;
  wallet.onKill(1, 0.0f, 0.0f);
  wallet.onKill(1, 0.0f, 0.0f);
  wallet.comboTimer = 1.5f;  // as if no update had run for a while
  wallet.onKill(1, 0.0f, 0.0f);
  EXPECT_EQ(wallet.comboTotal, 3);
  EXPECT_EQ(wallet.comboCount, 0);
  EXPECT_EQ(wallet.money, 6);
}

struct ShownCase {
  int shown;
  int money;
  std::vector<int> steps;
};

TEST(WalletTest, ShownMoneyStepsTowardMoneyOncePerUpdate) {
  for (const ShownCase& c : {ShownCase{100, 103, {101, 102, 103, 103}}, ShownCase{100, 110, {104, 108, 109, 110}},
                             ShownCase{10, 1, {6, 2, 1, 1}}}) {
    gametest::FakeMapState map;
    RuvWallet wallet(&map);
    wallet.shownMoney = c.shown;
    wallet.money = c.money;
    std::vector<int> steps;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      wallet.update(0.01f);
      steps.push_back(wallet.shownMoney);
    }
    EXPECT_EQ(steps, c.steps) << c.shown << " -> " << c.money;
    int changes = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) changes += steps[i] != (i == 0 ? c.shown : steps[i - 1]);
    EXPECT_EQ(map.coinsRefreshes, changes) << c.shown << " -> " << c.money;
  }
}

TEST(WalletTest, ResetKeepsGemsAndTimer) {
  gametest::FakeMapState map;
  RuvWallet wallet(&map);
  wallet.money = wallet.shownMoney = wallet.killScore = wallet.comboTotal = wallet.levelGems = wallet.comboCount = 5;
  wallet.gems = 7;
  wallet.comboTimer = 0.5f;
  wallet.reset();
  EXPECT_EQ(wallet.money + wallet.shownMoney + wallet.killScore + wallet.comboTotal + wallet.levelGems +
                wallet.comboCount,
            0);
  EXPECT_EQ(wallet.gems, 7);
  EXPECT_EQ(wallet.comboTimer, 0.5f);
}

TEST(WalletTest, LevelRecord) {
  gametest::FakeMapState map;
  map.lives = 12.345f;
  map.mode = 2;
  RuvWallet wallet(&map);
  wallet.killScore = 40;
  wallet.comboTotal = 7;
  RuvLevelRecord record;
  record.high = 99;
  record.stars = 3;
  record.gems = 4;
  wallet.makeLevelRecord(record);
  EXPECT_EQ(record.kills, 40);
  EXPECT_EQ(record.combo, 7);
  EXPECT_EQ(record.healthBonus, 1234);
  EXPECT_EQ(record.stars, 0);
  EXPECT_EQ(record.gems, 0);
  EXPECT_EQ(record.mode, 2);
  EXPECT_EQ(record.high, 99);
}

class WalletGemsTest : public gametest::GameFolderTest {};

TEST_F(WalletGemsTest, GemsAreSavedToTheProfileEvenWhenTooFew) {
  LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  gametest::FakeMapState map;
  RuvProgress progress(&map);
  map.progress = &progress;
  RuvWallet wallet(&map);
  wallet.addGems(5);
  EXPECT_NE(SavedProfiles().find("<gems amount=\"5\"/>"), std::string::npos);
  EXPECT_EQ(wallet.levelGems, 5);
  wallet.spendGems(8);
  EXPECT_EQ(wallet.gems, 5);
  EXPECT_EQ(map.crystalsRefreshes, 2);
  wallet.spendGems(3);
  EXPECT_NE(SavedProfiles().find("<gems amount=\"2\"/>"), std::string::npos);
  wallet.addMoney(10);
  wallet.spendMoney(25);
  EXPECT_EQ(wallet.money, -15);
}

}  // namespace
