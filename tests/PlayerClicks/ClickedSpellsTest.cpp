// Every spell of the spells sheet cast once by clicks given to the root board: its button on the
// HUD, then (unless it casts at once) the road where the enemies walk, in the last sample level,
// where every spell is unlocked.
#include <gtest/gtest.h>

#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvSpell.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

constexpr int kInstantSpell = 4;

HUDSpellButton* SpellButton(RuvMap& map, int spellNumber) {
  for (const auto& button : map.mHud->spellButtons) {
    if (button->spellNumber == spellNumber) return button.get();
  }
  return nullptr;
}

size_t CastSpells(const RuvMap& map) {
  size_t spells = 0;
  for (const auto& bullet : map.mBullets->bullets) spells += dynamic_cast<const RuvSpell*>(bullet.get()) != nullptr;
  return spells;
}

TEST(ClickedSpellsTest, EverySpellIsCastOnceByItsButtonAndTheMap) {
  harness::BattleHarness battle;
  harness::BattleRun run;
  run.episode = 1;
  run.level = 2;
  run.tickLimit = 60 * 12;  // enemies on the road
  run.commands = harness::parseBattleScript("0 build 0 10000\n");  // a tower for the tower boost
  battle.run(run);
  RuvMap& map = battle.map();
  ASSERT_EQ(map.mState, kStatePlaying);
  ASSERT_FALSE(map.mSpells->rows.empty());
  harness::ClickPlayer player(battle);
  player.update(harness::BattleHarness::kStep);  // a frame on screen
  for (const auto& row : map.mSpells->rows) {
    SCOPED_TRACE(row->spellNumber);
    HUDSpellButton* button = SpellButton(map, row->spellNumber);
    ASSERT_NE(button, nullptr) << "every spell has its button here";
    ASSERT_FALSE(map.mWaves->units.empty());
    const RuvUnit& enemy = *map.mWaves->units.front();
    const size_t castBefore = CastSpells(map);
    player.board().click(button->centreX, button->centreY);
    if (row->spellNumber != kInstantSpell) {
      EXPECT_EQ(map.mArmedSpell, button) << "armed by its button";
      EXPECT_EQ(CastSpells(map), castBefore);
      player.board().click(enemy.position.x, enemy.position.y);
    }
    EXPECT_EQ(map.mArmedSpell, nullptr);
    EXPECT_EQ(CastSpells(map), castBefore + 1);
    EXPECT_TRUE(button->pressed) << "recharging";
    for (int tick = 0; tick < 30; ++tick) player.update(harness::BattleHarness::kStep);
  }
}

}  // namespace
