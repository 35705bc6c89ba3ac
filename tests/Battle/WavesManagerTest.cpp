#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvWaveManager.h"
#include "WavesLevelScene.h"
#include "gamesupport/GameTestSupport.h"

namespace {

using WavesManagerTest = battletest::LevelSceneTest;

// Kills every live unit: the first tick starts their deaths, the second finishes them (no death
// frames) and reaps them.
void KillAll(RuvMap& map) {
  for (const auto& unit : map.mWaves->units) unit->health = 0.0f;
  for (int tick = 0; tick < 2; ++tick) map.update(1.0f / 60.0f);
}

TEST_F(WavesManagerTest, NoWavesWinsOnTheFirstUpdate) {
  WriteLevel(1, 7, 0, "<waves/>");
  Start(1, 7, 0);
  EXPECT_EQ(mMap->mState, 0);
  Run(1.0f / 60.0f);
  EXPECT_EQ(mMap->mState, 1);
  EXPECT_EQ(mMap->mLevelResult, 2);
}

TEST_F(WavesManagerTest, LinkedWavesStartTogetherAndEndTogether) {
  WriteLevel(1, 7, 0,
             "<waves><wave><u id='1' upgrade='1'/></wave><wave linked='0'><u id='1' upgrade='1' x='90'/></wave>"
             "<wave timeout='30'><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  RuvWaveManager& waves = *mMap->mWaves;
  EXPECT_EQ(waves.waveCount(), 2);
  Run(0.1f);
  ASSERT_EQ(waves.activeWaves.size(), 2u);
  EXPECT_EQ(waves.units.size(), 1u);
  KillAll(*mMap);
  EXPECT_TRUE(waves.units.empty());
  EXPECT_EQ(waves.activeWaves.size(), 2u) << "the linked wave has not spawned yet";
  Run(2.0f);  // the linked wave's entry is due at 2 s
  ASSERT_EQ(waves.units.size(), 1u);
  KillAll(*mMap);
  EXPECT_EQ(waves.finishedCount, 1);
  EXPECT_EQ(waves.currentIndex, 1u);
  EXPECT_TRUE(waves.activeWaves.empty());
  // The next group skips the linked wave and starts the third.
  Run(1.0f / 60.0f);
  ASSERT_EQ(waves.activeWaves.size(), 1u);
  EXPECT_EQ(waves.activeWaves[0], waves.waves[2].get());
  EXPECT_EQ(waves.currentIndex, 2u);
  EXPECT_EQ(mMap->mState, 0);
}

TEST_F(WavesManagerTest, LastWaveLinkedStartsNothingAndThenWins) {
  WriteLevel(1, 7, 0,
             "<waves><wave><u id='1' upgrade='1'/></wave><wave linked='0'><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.1f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  KillAll(*mMap);  // both waves finished: the group ends
  EXPECT_EQ(mMap->mWaves->currentIndex, 1u);
  Run(1.0f / 60.0f);  // only the linked wave is left: nothing starts
  EXPECT_TRUE(mMap->mWaves->activeWaves.empty());
  EXPECT_EQ(mMap->mState, 0);
  Run(1.0f / 60.0f);
  EXPECT_EQ(mMap->mState, 1);
}

// The screens hear of a group's end (the tutorial's "wave_vanish_<n>", the wave counter) and of the
// counter moving past a linked wave that is left over, through the map's notices alone.
TEST_F(WavesManagerTest, GroupEndAndSkippedLinkedWaveTellTheScreens) {
  WriteLevel(1, 7, 0,
             "<waves><wave><u id='1' upgrade='1'/></wave><wave linked='0'><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  auto notices = std::make_unique<gametest::RecordingScreenNotices>();
  const gametest::RecordingScreenNotices& screens = *notices;
  mMap->mNotices = std::move(notices);
  Run(0.1f);
  ASSERT_FALSE(screens.events.empty());
  EXPECT_EQ(screens.events.front(), u"wave_1_spawned_0") << "a started wave's first second";
  EXPECT_EQ(screens.waveTextRefreshes, 0);
  KillAll(*mMap);
  EXPECT_EQ(screens.events.back(), u"wave_vanish_1");
  EXPECT_EQ(screens.waveTextRefreshes, 1);
  const size_t eventsAtEnd = screens.events.size();
  Run(1.0f / 60.0f);  // only the linked wave is left: the counter passes it, nothing starts
  EXPECT_EQ(screens.waveTextRefreshes, 2);
  EXPECT_EQ(screens.events.size(), eventsAtEnd);
  EXPECT_TRUE(screens.dialogCaptions.empty());
}

TEST_F(WavesManagerTest, WipeAwardIsPaidOnceWhenEveryUnitIsKilled) {
  WriteLevel(1, 7, 0,
             "<waves><wave wipeAward='40'><u id='1' upgrade='1'/><u id='1' upgrade='1' x='45'/></wave>"
             "<wave wipeAward='40' timeout='1'><u id='1' upgrade='1'/><u id='6' upgrade='1'/></wave></waves>",
             400.0f, 0);
  Start(1, 7, 0);
  RuvWallet& wallet = *mMap->mWallet;
  Run(0.1f);
  KillAll(*mMap);
  EXPECT_EQ(wallet.money, wallet.killScore) << "one entry is still waiting";
  Run(1.0f);
  KillAll(*mMap);
  EXPECT_EQ(wallet.money, wallet.killScore + 40);
  Run(0.5f);
  EXPECT_EQ(wallet.money, wallet.killScore + 40);
  // Second wave: the flyer gets through, the walker is killed: no award.
  Run(1.5f);
  ASSERT_EQ(mMap->mWaves->units.size(), 2u);
  Unit(0)->health = 0.0f;
  Run(3.0f);
  EXPECT_LT(mMap->mLives, 25.0f);
  EXPECT_EQ(wallet.money, wallet.killScore + 40);
}

TEST_F(WavesManagerTest, EntriesThatCannotBeMadeCountAsKilled) {
  WriteLevel(1, 7, 0,
             "<waves><wave><u id='404' upgrade='1'/></wave><wave spawn='9'><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.2f);
  EXPECT_TRUE(mMap->mWaves->units.empty());
  EXPECT_EQ(mMap->mState, 1) << "both waves end, so the level is won";
}

TEST_F(WavesManagerTest, SpawnMinusOneUsesTheFirstSpawnPointAndWalks) {
  WriteLevel(1, 7, 0, "<waves><wave spawn='-1'><u id='1' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.5f);
  ASSERT_EQ(mMap->mWaves->units.size(), 1u);
  const RuvUnit& unit = *Unit(0);
  EXPECT_EQ(unit.spawnPoint->id, 0);
  EXPECT_FALSE(unit.polyline.empty());
  EXPECT_GT(unit.position.x, 120.0f);
  EXPECT_TRUE(std::isfinite(unit.progress));
}

TEST_F(WavesManagerTest, HintMarksTheNextGroupAndLeavesWhenItIsDue) {
  WriteLevel(1, 7, 0, "<waves><wave timeout='2'><u id='1' upgrade='1' x='45'/></wave></waves>");
  Start(1, 7, 0);
  Run(1.0f / 60.0f);
  RuvWaveHint& hint = *mMap->mWaveHint;
  ASSERT_EQ(hint.marks.size(), 1u);
  EXPECT_FLOAT_EQ(hint.dueTime, 2.0f) << "the scale and the entry's x do not enter";
  EXPECT_FLOAT_EQ(mMap->mWaves->nextHintTime(), 2.0f);
  Run(2.0f);
  EXPECT_TRUE(hint.marks.empty());
}

TEST_F(WavesManagerTest, EarlyCallSetsEveryActiveClock) {
  WriteLevel(1, 7, 0,
             "<waves><wave timeout='20'><u id='1' upgrade='1'/></wave><wave linked='0' timeout='20'><u id='1' "
             "upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.5f);
  mMap->mWaves->setClock(20.0f);
  for (const RuvWaveProto* wave : mMap->mWaves->activeWaves) EXPECT_FLOAT_EQ(wave->clock, 20.0f);
  Run(1.0f / 60.0f);
  EXPECT_EQ(mMap->mWaves->units.size(), 2u);
}

TEST_F(WavesManagerTest, ResetMakesEveryWaveWaitAgain) {
  WriteLevel(1, 7, 0, "<waves><wave><u id='12' upgrade='1'/></wave></waves>");
  Start(1, 7, 0);
  Run(0.5f);
  KillAll(*mMap);  // the carrier releases three units with entries of their own
  RuvWaveProto& wave = *mMap->mWaves->waves[0];
  EXPECT_EQ(wave.entries.size(), 4u);
  mMap->mWaves->deleteUnits();
  mMap->mWaves->reset();
  EXPECT_EQ(wave.entries.size(), 1u);
  EXPECT_EQ(wave.entries[0]->state, RuvWaveEntry::kWaiting);
  EXPECT_TRUE(mMap->mWaves->activeWaves.empty());
}

}  // namespace
