// Building: spot, tower and icon hit distances, building with and without money, towers placed by
// the level, the sale refund, tower menus and chain costs, boost icons, buying spots.
#include <gtest/gtest.h>

#include <cmath>

#include "Game/Tables/RuvFeatures.h"
#include "Game/BattleView/RuvMapDraw.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Towers/CombatScene.h"

namespace {

using combattest::CombatTest;

class BuildingTest : public CombatTest {
 protected:
  void TearDown() override {
    SetGemShopOffer(false);
    CombatTest::TearDown();
  }

  static void SetGemShopOffer(bool on) {
    RuvFeatures::instance().loadFromText(std::string(R"(<config><features><feature name="low_premium_points_dialog" is_active=")") +
                                         (on ? "1" : "0") + R"("/></features></config>)");
  }

  static RuvRadialMenu& OpenMenu(RuvRadialMenu& menu, float x, float y) {
    menu.centreX = x;
    menu.centreY = y;
    menu.update(0.25f);  // fully open
    return menu;
  }
};

TEST_F(BuildingTest, HitDistances) {
  RuvFrameEntry* spot = AddSpot(100.0f, 100.0f, "");
  EXPECT_EQ(mMap->mSpots->findSpotAt(140.0f, 100.0f), spot);   // exactly 40 px
  EXPECT_EQ(mMap->mSpots->findSpotAt(100.0f, 140.5f), nullptr);
  spot->visible = 0;
  EXPECT_EQ(mMap->mSpots->findSpotAt(100.0f, 100.0f), nullptr);

  RuvTower& tower = AddTower(100, 300.0f, 300.0f);
  EXPECT_EQ(mMap->findTowerAt(350.0f, 300.0f), nullptr);  // exactly 50 px
  EXPECT_EQ(mMap->findTowerAt(349.5f, 300.0f), &tower);

  struct Case {
    float centreX, pointer;  // the pointer's distance from the centre along the icon's direction
    bool hit;
  };
  const Case cases[] = {
      {500.0f, 80.0f + 32.0f, false}, {500.0f, 80.0f + 31.9f, true},
      {149.0f, 124.0f, true},  {149.0f, 60.0f, false},  // radius 104 near the edge: 20 and 44 px off
      {150.0f, 60.0f, true},   {150.0f, 124.0f, false},  // radius 80 from x 150 on
  };
  for (const Case& c : cases) {
    RuvRadialMenu menu;
    menu.addItem(1, 7).angle = 90.0f;
    OpenMenu(menu, c.centreX, 400.0f);
    const float a = 90.0f * 3.14f / 180.0f;
    const float x = c.centreX + std::sin(a) * c.pointer;
    const float y = 400.0f + std::cos(a) * c.pointer;
    EXPECT_EQ(menu.itemAt(x, y), c.hit ? 7 : -1) << c.centreX << " " << c.pointer;
  }
  RuvRadialMenu opening;
  opening.addItem(1, 7).angle = 90.0f;
  EXPECT_EQ(opening.itemAt(opening.centreX + 80.0f, opening.centreY), -1);  // not fully open
}

TEST_F(BuildingTest, RangePreviewTakesTheSpotsRadiusFactorAsWritten) {
  RuvFrameEntry* wide = AddSpot(300.0f, 200.0f, R"(<a name="radius_mult" value="1.5"/>)");
  RuvFrameEntry* plain = AddSpot(500.0f, 200.0f, "");
  RuvTower& tower = AddTower(100, 300.0f, 200.0f, wide);  // tier level 0: "r" 200
  struct Case {
    const char* what;
    int mode;  // 1 build, else the tower's menu with its stars
    int stars;
    RuvFrameEntry* spot;
    int hoveredId;       // build menus
    int hoveredItem;     // tower menus: the item's place, -1 none
    bool closing;
    bool shown, scaled, rings;
    float scale, rim, ring;  // ring: the growing ring's full radius
  };
  const float s200 = 200.0f / 336.0f * 1.5f;
  const float s240 = 240.0f / 336.0f * 1.5f;
  const Case cases[] = {
      {"build, hovered", 1, 0, wide, 100, -1, false, true, true, true, s200, 150.0f, 150.0f},
      {"build, spot without factor", 1, 0, plain, 100, -1, false, true, true, true, 0.0f, 0.0f, 0.0f},
      {"build, nothing hovered", 1, 0, wide, -1, -1, false, false, false, false, 0.0f, 0.0f, 0.0f},
      {"build, closing", 1, 0, wide, 100, -1, true, false, false, false, 0.0f, 0.0f, 0.0f},
      // Rim: the hovered range; ring: the mean of the tower's and the hovered range, times the scale.
      {"tower, nothing hovered", 0, 2, wide, -1, -1, false, true, true, true, s200, 150.0f, 300.0f * s200},
      {"tower, tier hovered", 0, 2, wide, -1, 1, false, true, true, true, s240, 180.0f, 330.0f * s240},
      {"tower, sale hovered", 0, 2, wide, -1, 0, false, true, false, false, 0.0f, 0.0f, 0.0f},
      {"tower with stars to buy", 0, 1, wide, -1, -1, false, false, false, false, 0.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RuvRadialMenu menu;
    if (c.mode == RuvRadialMenu::kBuildMode) {
      menu.openBuildMenu(*mMap, c.spot);
    } else {
      tower.stars = c.stars;
      menu.openTowerMenu(*mMap, tower);
    }
    menu.hoveredId = c.hoveredId;
    if (c.hoveredItem >= 0) menu.hoveredItem = menu.items.at(size_t(c.hoveredItem)).get();
    if (c.closing) menu.close();
    const RuvRangePreview preview = radialRangePreview(menu, *mMap);
    EXPECT_EQ(preview.shown, c.shown);
    if (!c.shown) continue;
    EXPECT_EQ(preview.x, c.spot == wide ? 300.0f : 500.0f);
    EXPECT_EQ(preview.y, 200.0f);
    ASSERT_EQ(preview.imageScale.has_value(), c.scaled);
    if (c.scaled) {
      EXPECT_FLOAT_EQ(*preview.imageScale, c.scale);
    }
    EXPECT_EQ(preview.rings, c.rings);
    if (!c.rings) continue;
    EXPECT_FLOAT_EQ(preview.rimRadius, c.rim);
    EXPECT_FLOAT_EQ(preview.ringRadius, c.ring);
  }
}

TEST_F(BuildingTest, TooLittleMoneyChangesNothing) {
  RuvFrameEntry* spot = AddSpot(100.0f, 100.0f, "");
  mMap->mWallet->money = 74;
  EXPECT_EQ(mMap->buildTower(mMap->mProtos->findProto(100), spot), nullptr);
  EXPECT_EQ(mMap->mWallet->money, 74);
  EXPECT_EQ(spot->visible, 1);
  EXPECT_TRUE(mMap->mTowers.empty());
  mMap->mWallet->money = 75;
  RuvTower* tower = mMap->buildTower(mMap->mProtos->findProto(100), spot);
  ASSERT_NE(tower, nullptr);
  EXPECT_EQ(mMap->mWallet->money, 0);
  EXPECT_EQ(spot->visible, 0);
  EXPECT_EQ(tower->position.x, 100.0f);
  EXPECT_EQ(tower->spot, spot);
}

TEST_F(BuildingTest, TowerPlacedByTheLevel) {
  struct Case {
    int costPercent;  // of a bought "cost" upgrade; 0 none
    int money;
  };
  // 75 is refunded before the upgraded price is paid: -20 % makes it 60.
  const Case cases[] = {{0, 500}, {-20, 515}};
  for (const Case& c : cases) {
    SetUpgrades(R"(<upgrades><upgrade id="9"><targets><target id="100"/></targets><steps><step><attributes>
        <a name="cost" value=")" + std::to_string(c.costPercent) + R"("/></attributes></step></steps></upgrade></upgrades>)",
                {{9, 0}});
    mMap->mTowers.clear();
    mMap->mWallet->money = 500;
    tinyxml2::XMLDocument document;
    document.Parse(R"(<spot><a name="tower_id" value="100"/></spot>)");
    RuvLevelSpot definition;
    definition.x = 200.0f;
    definition.y = 100.0f;
    definition.attributes = RuvAttributes(document.FirstChildElement("spot"));
    mMap->loadSpots({definition}, "ruv/data/maps/none/layout");
    EXPECT_EQ(mMap->mWallet->money, c.money) << c.costPercent;
    ASSERT_EQ(mMap->mTowers.size(), 1u);
    EXPECT_EQ(mMap->mTowers[0]->position.x, 200.0f);
    EXPECT_EQ(mMap->mSpots->spots.size(), 1u);
    EXPECT_EQ(mMap->mSpots->spots[0]->name, u"#0");
    EXPECT_EQ(mMap->mSpots->spots[0]->visible, 0);
  }
}

TEST_F(BuildingTest, Refund) {
  struct Case {
    int id;
    float expected;
  };
  const Case cases[] = {
      {101, 62},  // 50 + its library tower's 75 at 0.5: floor(62.5)
      {100, 37},  // a top-level row: its own price alone
  };
  for (const Case& c : cases) {
    EXPECT_EQ(towerRefund(*mMap->mProtos, *mMap->mProtos->findProto(c.id), 0.5f), c.expected) << c.id;
  }
  // A parent column naming no library tower (here a unit) adds nothing.
  RuvProto orphan;
  orphan.parent = combattest::kWalker;
  orphan.cost = 80.0f;
  EXPECT_EQ(towerRefund(*mMap->mProtos, orphan, 0.5f), 40);

  RuvFrameEntry* spot = AddSpot(0.0f, 0.0f, "");
  mMap->mWallet->money = 75;
  RuvTower* tower = mMap->buildTower(mMap->mProtos->findProto(100), spot);
  RuvRadialMenu menu;
  menu.openTowerMenu(*mMap, *tower);
  menu.runAction(0);
  EXPECT_TRUE(mMap->mTowers.empty());
  EXPECT_EQ(spot->visible, 1);
  EXPECT_EQ(mMap->mWallet->money, 37);
  EXPECT_EQ(menu.phase, RuvRadialMenu::kClosing);
}

TEST_F(BuildingTest, TowerMenusAndChainCosts) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  struct Case {
    int stars, tierLevel, mode;
    std::vector<std::pair<int, float>> items;  // id and cost
  };
  const Case cases[] = {
      {1, 0, RuvRadialMenu::kStarMode, {{0, 0}, {1, 0}}},
      {2, 0, RuvRadialMenu::kTowerMode, {{0, 0}, {1, 50}, {2, 110}, {3, 180}}},
      {2, 1, RuvRadialMenu::kTowerMode, {{0, 0}, {2, 60}, {3, 130}}},
  };
  for (const Case& c : cases) {
    tower.stars = c.stars;
    tower.tierLevel = c.tierLevel;
    RuvRadialMenu menu;
    menu.openTowerMenu(*mMap, tower);
    EXPECT_EQ(menu.mode, c.mode);
    std::vector<std::pair<int, float>> items;
    for (const auto& item : menu.items) items.emplace_back(item->id, item->cost);
    EXPECT_EQ(items, c.items) << c.stars << " " << c.tierLevel;
  }
  // A chain that runs in a circle stops at the first tier seen again.
  RuvProto a;
  a.levelId = 5;
  a.require = 6;
  a.cost = 10.0f;
  RuvProto b;
  b.levelId = 6;
  b.require = 5;
  b.cost = 20.0f;
  EXPECT_EQ(radialChainCost({&a, &b}, a, 0), 20.0f + 10.0f);
  EXPECT_EQ(radialChainCost({&a, &b}, b, 0), 10.0f + 20.0f);
}

TEST_F(BuildingTest, TierIconWithTooLittleMoneyStillResetsTheStars) {
  RuvTower& tower = AddTower(100, 0.0f, 0.0f);
  tower.stars = 2;
  mMap->mWallet->money = 10;
  RuvRadialMenu menu;
  menu.openTowerMenu(*mMap, tower);
  menu.runAction(1);
  EXPECT_EQ(tower.tierLevel, 0);
  EXPECT_EQ(tower.stars, 0);
  EXPECT_EQ(mMap->mWallet->money, 10);
}

TEST_F(BuildingTest, BuildMenuBuildsAtTheUpgradedPrice) {
  RuvFrameEntry* spot = AddSpot(0.0f, 0.0f, "");
  mMap->mWallet->money = 100;
  RuvRadialMenu menu;
  menu.openBuildMenu(*mMap, spot);
  std::vector<int> ids;
  for (const auto& item : menu.items) ids.push_back(item->id);
  EXPECT_EQ(ids, (std::vector<int>{100, 200, 300, 400, 500, 600}));
  EXPECT_EQ(menu.priceOf(200), 80.0f);
  menu.runAction(400);  // 110: too dear, the menu stays open
  EXPECT_TRUE(mMap->mTowers.empty());
  EXPECT_NE(menu.phase, RuvRadialMenu::kClosing);
  menu.runAction(200);
  ASSERT_EQ(mMap->mTowers.size(), 1u);
  EXPECT_EQ(mMap->mWallet->money, 20);
  EXPECT_EQ(menu.phase, RuvRadialMenu::kClosing);
}

TEST_F(BuildingTest, BoostIconsUnderTheSpot) {
  struct Case {
    const char* values;
    std::vector<float> lefts;  // relative to the spot centre, before truncation
  };
  const Case cases[] = {
      {R"(<a name="radius_mult" value="2"/><a name="damage_mult" value="2"/><a name="income_mult" value="1"/>)",
       {-16.5f, 16.5f}},
      {"", {-33.0f, 0.0f, 33.0f}},  // a missing multiplier reads 0 and shows its icon
      {R"(<a name="radius_mult" value="1"/><a name="damage_mult" value="1"/><a name="income_mult" value="1"/>)", {}},
  };
  for (const Case& c : cases) {
    AddSpot(200.3f, 100.0f, c.values);
    const RuvSpot& spot = *mMap->mSpotDefs.back();
    ASSERT_EQ(spot.boostIcons.size(), c.lefts.size()) << c.values;
    for (size_t j = 0; j < c.lefts.size(); ++j) {
      EXPECT_EQ(spot.boostIcons[j]->rect[0], std::trunc(200.0f + c.lefts[j])) << c.values;
      EXPECT_EQ(spot.boostIcons[j]->rect[1], 125.0f);
    }
  }
}

TEST_F(BuildingTest, BuyingASpot) {
  struct Case {
    const char* name;
    int gold, real, money, gems;
    bool offer;
    bool bought;
    int state;
  };
  const Case cases[] = {
      {"with money", 50, 0, 100, 0, false, true, 0},
      {"with gems", 0, 5, 0, 10, false, true, 0},
      {"both", 50, 5, 100, 10, false, true, 0},
      {"short of money", 50, 0, 40, 10, true, false, 0},
      {"short of gems, no offer", 0, 5, 0, 4, false, false, 0},
      {"short of gems, offer", 0, 5, 0, 4, true, false, 19},
  };
  for (const Case& c : cases) {
    SetGemShopOffer(c.offer);
    mMap->mState = kStatePlaying;
    mMap->mSpeed = 1.0f;
    const std::string values = R"(<a name="cost_gold" value=")" + std::to_string(c.gold) +
                               R"("/><a name="cost_real" value=")" + std::to_string(c.real) + R"("/>)";
    RuvFrameEntry* spot = AddSpot(0.0f, 0.0f, values);
    RuvSpot& definition = *mMap->mSpotDefs.back();
    EXPECT_EQ(definition.isFree, 0);
    mMap->mWallet->money = c.money;
    mMap->mWallet->gems = c.gems;
    RuvRadialMenu menu;
    menu.openBuySpotMenu(*mMap, spot);
    menu.runAction(1);
    EXPECT_EQ(definition.isFree, c.bought ? 1 : 0) << c.name;
    EXPECT_EQ(mMap->mWallet->money, c.bought ? c.money - c.gold : c.money) << c.name;
    EXPECT_EQ(mMap->mWallet->gems, c.bought ? c.gems - c.real : c.gems) << c.name;
    EXPECT_EQ(mMap->mProgress->isSpotOwned(spot->name, 0, 0), c.bought) << c.name;
    EXPECT_EQ(mMap->mState, c.state) << c.name;
    EXPECT_EQ(menu.phase, RuvRadialMenu::kClosing) << c.name;
  }
}

TEST_F(BuildingTest, BuySpotLabel) {
  struct Case {
    int gold, real;
    std::string label;
  };
  const Case cases[] = {{50, 0, "$50"}, {0, 5, "#5"}, {50, 5, "$50; #5"}};
  for (const Case& c : cases) {
    const std::string values = R"(<a name="cost_gold" value=")" + std::to_string(c.gold) +
                               R"("/><a name="cost_real" value=")" + std::to_string(c.real) + R"("/>)";
    RuvRadialMenu menu;
    menu.openBuySpotMenu(*mMap, AddSpot(0.0f, 0.0f, values));
    ASSERT_EQ(menu.items.size(), 1u);
    EXPECT_EQ(menu.items[0]->label, c.label);
    EXPECT_EQ(menu.items[0]->angle, 90.0f);
  }
}

TEST_F(BuildingTest, ClosingTwicePlaysOnce) {
  RuvRadialMenu menu;
  menu.close();
  menu.timer = 0.1f;
  menu.close();
  EXPECT_EQ(menu.timer, 0.1f);
  menu.update(0.15f);
  EXPECT_EQ(menu.active, 0);
}

}  // namespace
