// Spell buttons on the battle map: the hit box, the click decision table with exactly one offer per
// release, recharge on battle time, countdown and band, slots.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gamesupport/BattleMapScene.h"
#include "Core/Base/TextFile.h"
#include "Core/Render/Image.h"
#include "Core/Render/Texture.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Screens/HUD.h"

namespace {

constexpr int kSpellProto = 10000;  // a sample tower stands in for the spell's prototype
constexpr float kCooldown = 4.0f;

class SpellButtonTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override {
    battletest::BattleMapTest::SetUp();
    // Spells 0 (price 15) and 4 (needs a tower), both with 100 x 80 icons; spell 2 without icons.
    mMap->mSpells = std::make_unique<RuvSpellSheet>(
        "fire;" + std::to_string(kSpellProto) + ";a;b;0;15\nheal;" + std::to_string(kSpellProto) +
        ";a;b;4;10\nbare;" + std::to_string(kSpellProto) + ";;;2;5\n");
    for (int i = 0; i < 2; ++i) {
      mMap->mSpells->rows[size_t(i)]->icon.reset(Image(100, 80));
      mMap->mSpells->rows[size_t(i)]->secondIcon.reset(Image(100, 80));
    }
    mMap->mProtos->findProto(kSpellProto)->cooldown = kCooldown;
    mMap->mState = kStatePlaying;
  }
  void TearDown() override {
    RuvFeatures::instance().loadFromText(base::ReadTextFile(RuvFeatures::kPath));
    battletest::BattleMapTest::TearDown();
  }
  render::Image* Image(int width, int height) {
    render::Texture* texture = nullptr;
    mRender.CreateTexture(texture);
    texture->CreateRenderTarget(width, height);
    return new render::Image(texture);
  }
  static void SetFeatures(bool recharge, bool offer) {
    RuvFeatures::instance().loadFromText(std::string("<config><features><feature name='spell_recharge' is_active='") +
                                         (recharge ? "1" : "0") +
                                         "'/><feature name='low_premium_points_dialog' is_active='" +
                                         (offer ? "1" : "0") + "'/></features></config>");
  }
  // A button of that spell on the first free slot; the first sits at (60, 716).
  HUDSpellButton& AddButton(int spell) {
    HUD& hud = *mMap->mHud;
    const int previousMode = mMap->mMode;
    mMap->mMode = 3;  // everything unlocked
    hud.addSpellButton(spell);
    mMap->mMode = previousMode;
    return *hud.spellButtons.back();
  }
};

TEST_F(SpellButtonTest, SlotsAndHitBox) {
  HUD& hud = *mMap->mHud;
  mMap->mMode = 0;
  mMap->mEpisode = 5;  // no unlocks
  hud.addSpellButton(0);
  EXPECT_TRUE(hud.spellButtons.empty()) << "locked at this level";
  hud.addSpellButton(7);
  EXPECT_TRUE(hud.spellButtons.empty()) << "no row";
  HUDSpellButton& button = AddButton(0);
  EXPECT_EQ(button.name, u"slot0");
  EXPECT_EQ(button.index, 0);
  EXPECT_FLOAT_EQ(button.centreX, 60.0f);
  EXPECT_FLOAT_EQ(button.centreY, 716.0f);
  // 70 wide and 56 high about the centre, edges included.
  struct Case {
    int x, y;
    bool hit;
  };
  for (const Case& c : {Case{25, 688, true}, Case{95, 744, true}, Case{24, 716, false}, Case{96, 716, false},
                        Case{60, 687, false}, Case{60, 745, false}}) {
    EXPECT_EQ(button.hitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
  }
  HUDSpellButton& bare = AddButton(2);
  EXPECT_FALSE(bare.hitTest(150, 716)) << "no icon, no hit box";
  for (int i = 0; i < 5; ++i) AddButton(0);
  EXPECT_EQ(hud.spellButtons.size(), 5u) << "one button per slot";
}

TEST_F(SpellButtonTest, ClickDecisionTable) {
  struct Case {
    const char* name;
    int spell;
    bool recharging, rechargeFeature, offerFeature, upgrade, tower;
    int gems;
    bool result;
    int gemsAfter;
    bool readyAfter;
    size_t offers;
  };
  const Case cases[] = {
      {"ready", 0, false, true, true, false, false, 0, true, 0, true, 0},
      {"needs a tower", 4, false, false, false, false, false, 0, false, 0, true, 0},
      {"has a tower", 4, false, false, false, false, true, 0, true, 0, true, 0},
      {"no paid recharge", 0, true, false, true, false, false, 99, false, 99, false, 0},
      {"gems above", 0, true, true, true, false, false, 20, false, 5, true, 0},
      {"gems equal", 0, true, true, true, false, false, 15, false, 0, true, 0},
      {"gems below: offer", 0, true, true, true, false, false, 14, false, 14, false, 1},
      {"gems below, no offer", 0, true, true, false, false, false, 14, false, 14, false, 0},
      {"halved price", 0, true, true, true, true, false, 7, false, 0, true, 0},
  };
  for (const Case& c : cases) {
    SetFeatures(c.rechargeFeature, c.offerFeature);
    HUD& hud = *mMap->mHud;
    hud.spellButtons.clear();
    hud.pending.clear();
    mMap->mTowers.clear();
    if (c.tower) mMap->mTowers.push_back(std::make_unique<battletest::RecordingTower>(mLog));
    mMap->mProgress->setUpgradeLevel(HUDSpellButton::kHalvingUpgrade, c.upgrade ? 0 : -1);
    mMap->mWallet->gems = c.gems;
    mMap->mState = kStatePlaying;
    mMap->mSpeed = 1.0f;
    HUDSpellButton& button = AddButton(c.spell);
    if (c.recharging) button.markUsed();
    // One release asks the name and the index.
    hud.onMouseDown(60, 716);
    const std::u16string name = hud.buttonNameAt(60, 716);
    const int index = hud.buttonIndexAt(60, 716);
    EXPECT_EQ(name, c.result ? u"slot0" : u"") << c.name;
    EXPECT_EQ(index, c.result ? 0 : -2) << c.name;
    EXPECT_EQ(mMap->mWallet->gems, c.gemsAfter) << c.name;
    EXPECT_EQ(button.pressed == 0, c.readyAfter) << c.name;
    EXPECT_EQ(hud.pending.size(), c.offers) << c.name << ": at most one offer per release";
    EXPECT_EQ(mMap->mState, c.offers ? 19 : kStatePlaying) << c.name;
    EXPECT_EQ(mMap->mSpeed, c.offers ? 0.0f : 1.0f) << c.name;
  }
}

TEST_F(SpellButtonTest, OneOfferPerRelease) {
  SetFeatures(true, true);
  HUD& hud = *mMap->mHud;
  HUDSpellButton& button = AddButton(0);
  button.markUsed();
  for (int release = 1; release <= 2; ++release) {
    hud.onMouseDown(60, 716);
    hud.buttonNameAt(60, 716);
    hud.buttonIndexAt(60, 716);
    EXPECT_EQ(hud.pending.size(), size_t(release));
  }
}

TEST_F(SpellButtonTest, RechargeRunsOnBattleTime) {
  HUDSpellButton& button = AddButton(0);
  button.markUsed();
  EXPECT_EQ(button.pressed, 1);
  EXPECT_FLOAT_EQ(button.time, kCooldown);
  EXPECT_FLOAT_EQ(button.overlayRatio(), 1.0f);
  mMap->mSpeed = 0.0f;
  button.update(1.0f);
  EXPECT_FLOAT_EQ(button.time, kCooldown) << "paused";
  mMap->mSpeed = 2.0f;
  button.update(1.0f);
  EXPECT_FLOAT_EQ(button.time, 2.0f);
  EXPECT_FLOAT_EQ(button.overlayRatio(), 0.5f);
  struct Case {
    float left;
    const char16_t* shown;
  };
  for (const Case& c : {Case{2.3f, u"3"}, Case{1.0f, u"2"}, Case{0.4f, u"1"}}) {
    button.time = c.left;
    EXPECT_EQ(button.countdownText(), c.shown) << c.left;
  }
  button.time = 0.5f;
  button.update(0.5f);
  EXPECT_EQ(button.pressed, 0) << "ready";
  EXPECT_EQ(button.time, 0.0f);
  ASSERT_NE(button.readyEffect, nullptr) << "the highlight plays";
  button.markUsed();
  mMap->mHud->resetSpellButtons();
  EXPECT_EQ(button.pressed, 0);
  EXPECT_EQ(button.time, 0.0f);
  mMap->mProtos->findProto(kSpellProto)->cooldown = 0.0f;
  button.time = 3.0f;
  EXPECT_EQ(button.overlayRatio(), 0.0f) << "no band without a library cooldown";
}

}  // namespace
