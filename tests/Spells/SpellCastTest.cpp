// A cast spell: the areas it lays down, the units it hurts once, its lifetime and effect speed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tinyxml2.h>

#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvSpell.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvWaveProto.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"
#include "gamesupport/BattleMapScene.h"

namespace {

// Spell 3100 lasts 4 s over a circle of 200 px; the upgrade lengthens it by 25 %.
const char kSpellProtos[] = R"(<data><ammo>
  <unit id="3100" speed="4" r="200" strength="10" cooldown="30" splash="1" hold="1" dot="1" onAmmo="mg_00"/>
  <unit id="3101" speed="4" r="200" strength="10" stun="1"/>
  <unit id="3102" speed="0" r="200" strength="10"/>
</ammo></data>)";

const char kSpellUpgrades[] = R"(<upgrades>
  <upgrade id="1"><targets><target id="-1"/><target id="3100"/></targets><steps>
    <step cost_r="5"><attributes><a name="speed" value="25"/></attributes></step>
  </steps></upgrade>
</upgrades>)";

struct StandingUnit : RuvUnit {
  StandingUnit(RuvWaveEntry& waveEntry, float x, float y) {
    entry = &waveEntry;
    position = math::Point2(x, y);
    health = 100.0f;
  }
  void update(float) override {}
};

class SpellCastTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override {
    BattleMapTest::SetUp();
    ASSERT_EQ(mDocument.Parse(kSpellProtos), tinyxml2::XML_SUCCESS);
    mMap->mProtos = std::make_unique<RuvProtoLibrary>(mDocument.RootElement());
    mMap->mUpgrades = std::make_unique<RuvUpgrades>(std::string(kSpellUpgrades), mMap.get());
    mMap->mState = kStatePlaying;
  }
  StandingUnit& AddUnit(float x, float y) {
    mMap->mWaves->units.push_back(std::make_unique<StandingUnit>(mEntry, x, y));
    return static_cast<StandingUnit&>(*mMap->mWaves->units.back());
  }
  RuvSpell& Cast(int protoId, float x = 500.0f, float y = 400.0f) {
    auto spell = std::make_unique<RuvSpell>(*mMap, protoId);
    spell->position = math::Point2(x, y);
    RuvSpell& cast = *spell;
    mMap->mBullets->add(std::move(spell));
    cast.cast();
    return cast;
  }

  tinyxml2::XMLDocument mDocument;
  RuvWaveEntry mEntry;
};

TEST_F(SpellCastTest, EveryUnitIsHurtOnce) {
  StandingUnit& inside = AddUnit(550.0f, 400.0f);
  StandingUnit& later = AddUnit(500.0f, 560.0f);
  StandingUnit& edge = AddUnit(500.0f, 500.0f);
  RuvSpell& spell = Cast(3100);
  EXPECT_EQ(inside.health, 90.0f);
  EXPECT_EQ(edge.health, 90.0f);
  EXPECT_EQ(later.health, 100.0f);
  spell.update(0.1f);
  later.position = math::Point2(500.0f, 480.0f);
  spell.update(0.1f);
  spell.update(0.1f);
  EXPECT_EQ(inside.health, 90.0f);
  EXPECT_EQ(later.health, 90.0f);
  EXPECT_TRUE(spell.alive);
}

TEST_F(SpellCastTest, StunIsGivenToUnitsWalkingIn) {
  StandingUnit& unit = AddUnit(500.0f, 400.0f);
  RuvSpell& spell = Cast(3101);
  EXPECT_EQ(unit.health, 100.0f);  // no splash at the cast
  spell.update(0.1f);
  spell.update(0.1f);
  EXPECT_EQ(unit.health, 90.0f);
  ASSERT_EQ(unit.modifiers.size(), 1u);
  EXPECT_NE(dynamic_cast<StunModifier*>(unit.modifiers[0].get()), nullptr);
  EXPECT_EQ(unit.modifiers[0]->duration, 4.0f);
}

TEST_F(SpellCastTest, ZeroDurationEndsAtTheFirstUpdate) {
  StandingUnit& unit = AddUnit(500.0f, 400.0f);
  RuvSpell& spell = Cast(3102);
  spell.update(0.0f);
  EXPECT_FALSE(spell.alive);
  EXPECT_EQ(unit.health, 100.0f);
}

TEST_F(SpellCastTest, UpgradedDurationStretchesAreasAndEffectNotPresence) {
  mMap->mProgress->setUpgradeLevel(1, 0);
  RuvSpell& spell = Cast(3100);
  ASSERT_EQ(mMap->mModifiers.size(), 2u);
  EXPECT_NE(dynamic_cast<MapImpassableArea*>(mMap->mModifiers[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<DotModifierArea*>(mMap->mModifiers[1].get()), nullptr);
  for (const auto& modifier : mMap->mModifiers) {
    EXPECT_EQ(modifier->duration, 5.0f);
    EXPECT_EQ(modifier->x, 500.0f);
    EXPECT_EQ(modifier->radius, 200.0f);
  }
  ASSERT_EQ(mMap->mEffects.size(), 1u);
  EXPECT_FLOAT_EQ(mMap->mEffects[0]->speed, 0.8f);
  spell.update(3.9f);
  EXPECT_TRUE(spell.alive);
  spell.update(0.1f);
  EXPECT_FALSE(spell.alive);
}

TEST(SpellEffectSpeedTest, LibraryOverUpgradedDuration) {
  struct Case {
    float library, upgraded, expected;
  };
  const Case cases[] = {{4.0f, 5.0f, 0.8f}, {3.0f, 3.0f, 1.0f}, {4.0f, 0.0f, 4.0f}, {4.0f, -1.0f, 4.0f}, {0.0f, 0.0f, 0.0f}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(spellEffectSpeed(c.library, c.upgraded), c.expected) << c.upgraded;
}

TEST_F(SpellCastTest, MapCastStartsTheRecharge) {
  mMap->mSpells = std::make_unique<RuvSpellSheet>("meteor;3100;a;b;0;5\n");
  HUDSpellButton button(*mMap, 0);
  EXPECT_TRUE(mMap->castSpell(button, 300.0f, 200.0f));
  ASSERT_EQ(mMap->mBullets->bullets.size(), 1u);
  auto* spell = dynamic_cast<RuvSpell*>(mMap->mBullets->bullets[0].get());
  ASSERT_NE(spell, nullptr);
  EXPECT_EQ(spell->protoId, 3100);
  EXPECT_EQ(spell->position.x, 300.0f);
  EXPECT_TRUE(button.pressed);
  EXPECT_EQ(button.time, 30.0f);
  HUDSpellButton unknown(*mMap, 3);
  EXPECT_FALSE(mMap->castSpell(unknown, 300.0f, 200.0f));
  EXPECT_EQ(mMap->mBullets->bullets.size(), 1u);
  EXPECT_FALSE(unknown.pressed);
}

}  // namespace

namespace {

class SampleSpellsTest : public battletest::BattleMapTest {};

TEST_F(SampleSpellsTest, EveryRowNamesASpellPrototypeAndItsIcons) {
  ASSERT_FALSE(mMap->mSpells->rows.empty());
  for (const std::unique_ptr<RuvSpellRow>& row : mMap->mSpells->rows) {
    EXPECT_NE(mMap->mProtos->findProto(row->protoId), nullptr) << row->protoId;
    EXPECT_NE(row->icon, nullptr) << row->iconPath;
    EXPECT_NE(row->secondIcon, nullptr) << row->secondIconPath;
    EXPECT_EQ(mMap->mSpells->findSpell(row->spellNumber), row.get());
  }
}

}  // namespace

namespace {

class SampleLevelSpellsTest : public battletest::BattleMapTest {
 protected:
  void Run(float seconds) {
    for (int i = 0; i < int(seconds * 60.0f); ++i) mMap->update(1.0f / 60.0f);
  }
  // The level opens with the message of its unlocks: each "ok" shows the next, the last lets the
  // battle run.
  void AcceptUnlocks() {
    mMap->mHud->update(0.0f);
    for (int i = 0; i < 20 && mMap->mState == 11; ++i) {
      const RuvButtonFrame* ok = mMap->mHud->stack.back()->findButton(u"ok");
      ASSERT_NE(nullptr, ok);
      mMap->onMouseUp(int(ok->rect[0] + ok->rect[2] / 2), int(ok->rect[1] + ok->rect[3] / 2));
    }
  }
};

TEST_F(SampleLevelSpellsTest, EverySpellIsCastOnceOnTheFirstLevel) {
  mMap->mMode = 1;
  mMap->mEpisode = 0;
  mMap->mLevel = 0;
  mMap->startLevel();
  AcceptUnlocks();
  ASSERT_EQ(mMap->mState, kStatePlaying);
  ASSERT_EQ(mMap->mSpeed, 1.0f);
  Run(8.0f);
  ASSERT_FALSE(mMap->mWaves->units.empty());
  for (const std::unique_ptr<RuvSpellRow>& row : mMap->mSpells->rows) {
    RuvUnit& unit = *mMap->mWaves->units.front();
    const float health = unit.health;
    mMap->mHud->spellButtons.push_back(std::make_unique<HUDSpellButton>(*mMap, row->spellNumber));
    HUDSpellButton& button = *mMap->mHud->spellButtons.back();
    const size_t bullets = mMap->mBullets->bullets.size();
    ASSERT_TRUE(mMap->castSpell(button, unit.position.x, unit.position.y));
    EXPECT_EQ(mMap->mBullets->bullets.size(), bullets + 1);
    EXPECT_TRUE(button.pressed);
    EXPECT_LT(unit.health, health) << row->spellNumber;
  }
  Run(2.0f);
  EXPECT_EQ(mMap->mState, kStatePlaying);
}

}  // namespace
