// The upgrade shop on the sample layout: what a click on a plate buys and what it costs (kept in
// "profiles.xml"), the hardcore case, the stars, scrolling by bar, buttons and wheel, the drag zone,
// the tutorial's block, the reset question, tabs, and the root board's layers.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Widget/BaseBoard.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDModalMessage.h"
#include "Game/Screens/HUDScrollBar.h"
#include "Game/Screens/HUDShopWindow.h"
#include "Game/Screens/HUDTabBar.h"
#include "ShopScene.h"
#include "gamesupport/RootBoardGame.h"
#include "tests/fakes/MainLogRecorder.h"
#include "tinyxml2.h"

namespace {

// Sample upgrade 1 costs 10, 25 and 50 gems for its three steps.
constexpr int kLives = 1;
const char kUnbought[] = R"(<upgrades><upgrade id="1" level="-1"/></upgrades>)";

std::string LivesBought(int level) {
  return R"(<upgrades><upgrade id="1" level=")" + std::to_string(level) + R"("/></upgrades>)";
}

class UpgradeShopTest : public shoptest::ShopScene {
 protected:
  void SetUp() override {
    ShopScene::SetUp();
    mApplication = std::make_unique<gametest::RootBoardGame>();
    SetFeatures(false, true, true);
  }
  void TearDown() override {
    RuvFeatures::instance().loadFromText(SampleDataText("ruv/config.xml"));
    mApplication.reset();
    ShopScene::TearDown();
  }

  static void SetFeatures(bool gemShopOffer, bool resetActive, bool resetFree) {
    const auto flag = [](const char* name, bool active, bool free) {
      return std::string("<feature name=\"") + name + "\" is_active=\"" + (active ? "1" : "0") + "\" is_free=\"" +
             (free ? "1" : "0") + "\"/>";
    };
    RuvFeatures::instance().loadFromText("<config><features>" +
                                         flag(RuvFeatures::kLowPremiumPointsDialog, gemShopOffer, false) +
                                         flag(RuvFeatures::kResetPremiumPoints, resetActive, resetFree) +
                                         "</features></config>");
  }

  // A fresh profile holding these upgrade entries, the gems in the wallet and the profile, and an
  // empty screen stack.
  void Profile(const std::string& upgrades, int gems) {
    mMap->mHud->stack.clear();
    mMap->mHud->pending.clear();
    mMap->mProgress.reset();
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A">)" + upgrades + "</Profile></Profiles>");
    mMap->mProgress = std::make_unique<RuvProgress>(mMap.get());
    mMap->mProgress->setGems(gems);
    mMap->mWallet->gems = gems;
    mMap->mState = -1;
    mMap->mReturnScreen.clear();
  }

  // Global upgrades 1, 2, ... of section 0 with these step counts, step k costing k + 1 gems.
  void UseUpgrades(const std::vector<int>& stepCounts) {
    std::string text = "<upgrades>";
    for (size_t i = 0; i < stepCounts.size(); ++i) {
      text += R"(<upgrade id=")" + std::to_string(i + 1) + R"(" section="0" icon="upgrades/lives">)";
      text += R"(<targets><target id="-1"/></targets><steps>)";
      for (int k = 0; k < stepCounts[i]; ++k) text += R"(<step cost_g="0" cost_r=")" + std::to_string(k + 1) + R"("/>)";
      text += "</steps></upgrade>";
    }
    mMap->mUpgrades = std::make_unique<RuvUpgrades>(text + "</upgrades>", mMap.get());
  }

  static HUDShopPlate& Plate(HUDShopWindow& shop, int upgradeId) {
    for (const std::unique_ptr<HUDShopPlate>& plate : shop.plates) {
      if (plate->upgradeId == upgradeId) return *plate;
    }
    ADD_FAILURE() << "no plate for upgrade " << upgradeId;
    return *shop.plates.front();
  }

  // The centre of the plate's buy button on the screen, scroll offset included.
  static void BuyPoint(const HUDShopPlate& plate, int& x, int& y) {
    x = int(plate.root->mPosition.x + plate.buyButton->mPosition.x);
    y = int(plate.root->mPosition.y + plate.root->GetParent()->mPosition.y + plate.buyButton->mPosition.y);
  }

  static void Centre(HUDShopWindow& shop, const char16_t* button, int& x, int& y) {
    const RuvButtonFrame* frame = shop.findButton(button);
    ASSERT_NE(nullptr, frame);
    x = int(frame->rect[0] + frame->rect[2] / 2);
    y = int(frame->rect[1] + frame->rect[3] / 2);
  }

  // The level that the saved "profiles.xml" keeps for the upgrade; "" without an entry.
  std::string SavedLevel(int upgradeId) const {
    tinyxml2::XMLDocument saved;
    EXPECT_EQ(tinyxml2::XML_SUCCESS, saved.Parse(SavedProfiles().c_str()));
    const tinyxml2::XMLElement* profile = saved.RootElement()->FirstChildElement("Profile");
    const tinyxml2::XMLElement* upgrades = profile ? profile->FirstChildElement("upgrades") : nullptr;
    for (const tinyxml2::XMLElement* entry = upgrades ? upgrades->FirstChildElement() : nullptr; entry;
         entry = entry->NextSiblingElement()) {
      if (entry->IntAttribute("id") == upgradeId) return entry->Attribute("level");
    }
    return "";
  }

  // The pending two-button dialog's message, "" without one.
  std::u16string PendingDialog() const {
    const auto& pending = mMap->mHud->pending;
    auto* dialog = pending.empty() ? nullptr : dynamic_cast<HUDModalDialog*>(pending.back().get());
    return dialog ? dialog->getText(u"message") : u"";
  }

  static float ContentY(const HUDShopWindow& shop) { return shop.content->mPosition.y; }

  std::unique_ptr<gametest::RootBoardGame> mApplication;
};

TEST_F(UpgradeShopTest, AReleaseOnTheBuyButtonBuysTheNextStepOrOffersTheGemShop) {
  LocalStrings* strings = LocalStrings::Instance();
  struct Case {
    const char* label;
    std::string upgrades;
    int gems;
    bool offer;
    int fromLevel;
    int level;  // stored after the release
    int gemsAfter;
    int state;
    const char16_t* returnScreen;
    bool dialog;
  };
  const Case cases[] = {
      {"no entry (-2), the exact price", R"(<upgrades><upgrade id="2" level="-1"/></upgrades>)", 10, false, 0, 0, 0, 8,
       u"", false},
      {"unbought, more than the price", kUnbought, 11, false, 0, 0, 1, 8, u"", false},
      {"one step bought, one gem short, no offer", LivesBought(0), 24, false, 0, 0, 24, 8, u"", false},
      {"one step bought, short, offer after a level", LivesBought(0), 24, true, 1, 0, 24, 20, u"shop1", true},
      {"unbought, short, offer from a menu", kUnbought, 9, true, 0, -1, 9, 20, u"shop0", true},
      {"completed", LivesBought(2), 100, true, 0, 2, 100, 8, u"", false},
  };
  for (const Case& c : cases) {
    SetFeatures(c.offer, true, true);
    Profile(c.upgrades, c.gems);
    HUDShopWindow shop(*mMap, c.fromLevel);
    HUDShopPlate& plate = Plate(shop, kLives);
    int x = 0, y = 0;
    BuyPoint(plate, x, y);
    ASSERT_TRUE(plate.hitBuyButton(x, y)) << c.label;
    shop.onMouseUp(x, y);
    EXPECT_EQ(c.level, mMap->mProgress->getStoredUpgradeLevel(kLives)) << c.label;
    EXPECT_EQ(c.gemsAfter, mMap->mWallet->gems) << c.label;
    EXPECT_EQ(c.gemsAfter, mMap->mProgress->getGems()) << c.label;
    EXPECT_EQ(c.state, mMap->mState) << c.label;
    EXPECT_EQ(c.returnScreen, mMap->mReturnScreen) << c.label;
    EXPECT_EQ(c.dialog ? strings->get(u"gemShopDialogText") : u"", PendingDialog()) << c.label;
    if (c.level >= 0) {
      EXPECT_EQ(std::to_string(c.level), SavedLevel(kLives)) << c.label;
    }
    // The plate shows the step after the stored one.
    const std::u16string next = c.level < 2 ? u"_step" + std::u16string(1, char16_t(u'0' + c.level + 1)) : u"_complete";
    EXPECT_EQ(strings->get(u"upgrade_1" + next), plate.descriptionLabel->mText) << c.label;
  }
}

TEST_F(UpgradeShopTest, BuyingTheLastStepCompletesThePlate) {
  Profile(LivesBought(1), 60);
  HUDShopWindow shop(*mMap, 0);
  HUDShopPlate& plate = Plate(shop, kLives);
  EXPECT_EQ(u"50", plate.priceLabel->mText);
  EXPECT_EQ(1.0f, plate.priceLabel->mColor.r);
  int x = 0, y = 0;
  BuyPoint(plate, x, y);
  shop.onMouseUp(x, y);
  EXPECT_EQ(1, plate.completed);
  const std::vector<const layer::Layer*> hidden = {plate.priceLabel.get(), plate.gemIcon.get(), plate.buyActive.get(),
                                                   plate.buyInactive.get()};
  for (const layer::Layer* part : hidden) EXPECT_FALSE(part->mVisible);
  EXPECT_EQ(LocalStrings::Instance()->get(u"upgrade_1_complete"), plate.descriptionLabel->mText);
  for (int i = 0; i < plate.starCount; ++i) EXPECT_TRUE(plate.stars[i]->mVisible) << i;
  shop.onMouseUp(x, y);
  EXPECT_EQ(10, mMap->mWallet->gems);
  EXPECT_EQ(2, mMap->mProgress->getStoredUpgradeLevel(kLives));
}

TEST_F(UpgradeShopTest, TooFewGemsShowThePriceInRed) {
  Profile(kUnbought, 9);
  HUDShopWindow shop(*mMap, 0);
  const HUDShopPlate& plate = Plate(shop, kLives);
  EXPECT_EQ(u"10", plate.priceLabel->mText);
  EXPECT_FLOAT_EQ(0.94f, plate.priceLabel->mColor.r);
  EXPECT_FLOAT_EQ(0.44f, plate.priceLabel->mColor.g);
  EXPECT_FALSE(plate.buyActive->mVisible);
  EXPECT_TRUE(plate.buyInactive->mVisible);
}

// In hardcore mode the battle reads no bought level, but the shop sells on from the stored one and
// never takes the gems for a step twice; the reset refunds what was really bought.
TEST_F(UpgradeShopTest, HardcoreModeSellsOnFromTheStoredLevels) {
  Profile(LivesBought(0), 100);
  mMap->mMode = 3;
  ASSERT_EQ(-1, mMap->mProgress->getUpgradeLevel(kLives));
  HUDShopWindow shop(*mMap, 1);
  HUDShopPlate& plate = Plate(shop, kLives);
  EXPECT_EQ(LocalStrings::Instance()->get(u"upgrade_1_step1"), plate.descriptionLabel->mText);
  EXPECT_TRUE(plate.stars[0]->mVisible);
  EXPECT_FALSE(plate.stars[1]->mVisible);
  int x = 0, y = 0;
  BuyPoint(plate, x, y);
  shop.onMouseUp(x, y);
  EXPECT_EQ(1, mMap->mProgress->getStoredUpgradeLevel(kLives));
  EXPECT_EQ(75, mMap->mWallet->gems);
  EXPECT_EQ("1", SavedLevel(kLives));
  EXPECT_EQ(-1, mMap->mProgress->getUpgradeLevel(kLives));
  mMap->refundPremiumPoints();
  EXPECT_EQ(75 + 10 + 25, mMap->mWallet->gems);
  EXPECT_EQ(-1, mMap->mProgress->getStoredUpgradeLevel(kLives));
  mMap->mMode = 1;
  EXPECT_EQ(-1, mMap->mProgress->getUpgradeLevel(kLives));
}

TEST_F(UpgradeShopTest, OneStarPerStepSixForASingleStepTenAtMost) {
  UseUpgrades({1, 1, 3, 12});
  Profile(R"(<upgrades><upgrade id="1" level="-1"/><upgrade id="2" level="0"/><upgrade id="3" level="1"/>)"
          R"(<upgrade id="4" level="10"/></upgrades>)",
          100);
  fakes::MainLogRecorder log;
  HUDShopWindow shop(*mMap, 0);
  struct Case {
    int upgradeId;
    std::vector<bool> shown;
    unsigned char completed;
  };
  const Case cases[] = {
      {1, {false, false, false, false, false, false}, 0},
      {2, {true, true, true, true, true, true}, 1},
      {3, {true, true, false}, 0},
      {4, std::vector<bool>(10, true), 0},
  };
  for (const Case& c : cases) {
    const HUDShopPlate& plate = Plate(shop, c.upgradeId);
    ASSERT_EQ(int(c.shown.size()), plate.starCount) << c.upgradeId;
    for (int i = 0; i < plate.starCount; ++i) EXPECT_EQ(c.shown[i], plate.stars[i]->mVisible) << c.upgradeId << " " << i;
    for (int i = plate.starCount; i < HUDShopPlate::kMaxStars; ++i) EXPECT_EQ(nullptr, plate.stars[i]);
    EXPECT_EQ(c.completed, plate.completed) << c.upgradeId;
  }
  EXPECT_NE(std::u16string::npos, log.Text().find(u"upgrade 4 has 12 steps"));
  // Steps past the tenth star are still sold.
  HUDShopPlate& longest = Plate(shop, 4);
  longest.buy();
  EXPECT_EQ(11, mMap->mProgress->getStoredUpgradeLevel(4));
  EXPECT_EQ(100 - 12, mMap->mWallet->gems);
  EXPECT_EQ(1, longest.completed);
}

// Four plates hide the scroll controls and ignore the wheel, but a press on the hidden slider still
// drags the plates by up to one 105-pixel row; five plates scroll over two rows.
TEST_F(UpgradeShopTest, ScrollsByBarButtonsAndWheelFromFivePlates) {
  for (int count : {4, 5}) {
    const bool controls = count >= 5;
    const float range = float(count - 3) * 105.0f;
    UseUpgrades(std::vector<int>(size_t(count), 2));
    Profile(kUnbought, 100);
    HUDShopWindow shop(*mMap, 0);
    ASSERT_EQ(size_t(count), shop.plates.size());
    EXPECT_EQ(controls, shop.scrollBar->root->mVisible) << count;
    EXPECT_EQ(controls, shop.findButton(u"down_in")->visible != 0) << count;
    EXPECT_EQ(controls, shop.findButton(u"up_in")->visible != 0) << count;
    for (size_t k = 0; k < shop.plates.size(); ++k) EXPECT_EQ(180.0f + 99.0f * float(k), shop.plates[k]->root->mPosition.y);

    struct Step {
      const char* action;
      int value;
      float position;  // when the controls show; without them nothing moves
    };
    const Step steps[] = {
        {"wheel", -1024, 1.0f}, {"wheel", -1024, 1.0f}, {"wheel", 512, 0.5f},  {"wheel", 1024, 0.0f},
        {"down", 1, 0.25f},     {"down", 3, 1.0f},      {"down", 1, 1.0f},     {"up", 1, 0.75f},
        {"wheel", 4096, 0.0f},  {"up", 1, 0.0f},
    };
    for (const Step& s : steps) {
      if (std::string(s.action) == "wheel") {
        shop.onWheel(s.value);
      } else {
        int x = 0, y = 0;
        Centre(shop, s.action == std::string("down") ? u"down_in" : u"up_in", x, y);
        for (int i = 0; i < s.value; ++i) EXPECT_EQ(u"", shop.buttonNameAt(x, y));
      }
      const float position = controls ? s.position : 0.0f;
      EXPECT_FLOAT_EQ(position, shop.scrollBar->position) << count << " " << s.action << " " << s.value;
      EXPECT_FLOAT_EQ(-range * position, ContentY(shop)) << count << " " << s.action << " " << s.value;
      EXPECT_FLOAT_EQ(221.0f + 243.0f * position, shop.scrollBar->slider->mPosition.y);
    }
    // The slider dragged to the bottom of its track, shown or not.
    shop.onMouseDown(880, 240);
    shop.onMouseMove(880, 700);
    EXPECT_FLOAT_EQ(1.0f, shop.scrollBar->position) << count;
    EXPECT_FLOAT_EQ(-range, ContentY(shop)) << count;
    shop.onMouseUp(880, 700);
    EXPECT_EQ(-1, shop.scrollBar->dragState);
  }
}

TEST_F(UpgradeShopTest, AReleaseAfterADragAlongTheBarBuysNothing) {
  struct Case {
    int pressX, pressY;
    bool bought;
  };
  const Case cases[] = {{880, 300, false}, {865, 201, false}, {909, 619, false},
                        {700, 300, true},  {864, 300, true},  {880, 620, true}};
  for (const Case& c : cases) {
    Profile(kUnbought, 100);
    HUDShopWindow shop(*mMap, 0);
    ASSERT_GT(shop.plates.size(), 3u);
    int x = 0, y = 0;
    BuyPoint(Plate(shop, kLives), x, y);
    shop.onMouseDown(c.pressX, c.pressY);
    shop.onMouseMove(x, y);
    EXPECT_EQ(c.bought ? 0 : 2, shop.dragState) << c.pressX << "," << c.pressY;
    shop.onMouseUp(x, y);
    EXPECT_EQ(0, shop.dragState);
    EXPECT_EQ(c.bought ? 0 : -1, mMap->mProgress->getStoredUpgradeLevel(kLives)) << c.pressX << "," << c.pressY;
    EXPECT_EQ(0.0f, shop.scrollBar->position);
  }
}

TEST_F(UpgradeShopTest, TabsRebuildThePlatesAtTheTop) {
  Profile(kUnbought, 100);
  HUDShopWindow shop(*mMap, 0);
  std::vector<int> first;
  for (const auto& plate : shop.plates) first.push_back(plate->upgradeId);
  EXPECT_EQ(std::vector<int>({1, 2, 3, 4, 5}), first);
  ASSERT_EQ(3u, shop.tabBar->tabs.size());
  for (int section = 0; section < 3; ++section) {
    EXPECT_EQ(shop.countAvailableUpgrades(section) != 0, shop.tabBar->tabs[size_t(section)]->enabled != 0) << section;
  }
  shop.onWheel(-1024);
  ASSERT_NE(0.0f, ContentY(shop));
  // The second tab stands at x 500 with its bottom on the tab picture's lower edge.
  shop.onMouseDown(500, 150);
  EXPECT_EQ(1, shop.tab);
  EXPECT_EQ(size_t(shop.countAvailableUpgrades(1)), shop.plates.size());
  for (const auto& plate : shop.plates) EXPECT_NE(0, plate->upgradeId / 10) << "a tower upgrade";
  EXPECT_EQ(0.0f, shop.scrollBar->position);
  EXPECT_EQ(0.0f, ContentY(shop));
}

// The tutorial's block leaves the tabs, the scroll bar and the buttons dead, not the purchases.
TEST_F(UpgradeShopTest, BlockedShopStillSells) {
  Profile(kUnbought, 100);
  HUDShopWindow shop(*mMap, 0);
  mMap->mHud->blockShop = 1;
  int x = 0, y = 0;
  Centre(shop, u"back_ac", x, y);
  EXPECT_EQ(u"", shop.buttonNameAt(x, y));
  Centre(shop, u"down_in", x, y);
  EXPECT_EQ(u"", shop.buttonNameAt(x, y));
  EXPECT_EQ(0.0f, shop.scrollBar->position);
  shop.onMouseDown(500, 150);
  EXPECT_EQ(0, shop.tab);
  shop.onMouseDown(880, 240);
  EXPECT_EQ(-1, shop.scrollBar->dragState);
  shop.onMouseUp(880, 240);
  BuyPoint(Plate(shop, kLives), x, y);
  shop.onMouseUp(x, y);
  EXPECT_EQ(0, mMap->mProgress->getStoredUpgradeLevel(kLives));
  mMap->mHud->blockShop = 0;
  Centre(shop, u"back_ac", x, y);
  EXPECT_EQ(u"back_ac", shop.buttonNameAt(x, y));
}

TEST_F(UpgradeShopTest, ResetAsksFirstWhenFreeOrForSaleNow) {
  LocalStrings* strings = LocalStrings::Instance();
  enum Product { kMissing, kReady, kPending };
  struct Case {
    bool active, free;
    Product product;
    const char16_t* answer;
    std::u16string dialog;
    int state;
  };
  std::u16string forSale = strings->get(u"reset_shop_message_inapp");
  forSale.replace(forSale.find(u"%s"), 2, u"$0.99");
  const Case cases[] = {
      {false, true, kReady, u"", u"", 8},
      {true, true, kMissing, u"reset_premium_points", strings->get(u"reset_shop_message"), 26},
      {true, false, kReady, u"reset_premium_points", forSale, 26},
      {true, false, kPending, u"reset_premium_points", u"", 8},
      {true, false, kMissing, u"reset_premium_points", u"", 8},
  };
  for (const Case& c : cases) {
    SetFeatures(false, c.active, c.free);
    Store()->UnloadProducts();
    ASSERT_EQ(VN_OK, Store()->LoadProducts(u"ruv/inapp.xml"));
    purchase::Product* product = Store()->FindProduct(u"reset_premium_points");
    ASSERT_NE(nullptr, product);
    product->price = u"$0.99";
    product->pending = c.product == kPending;
    if (c.product == kMissing) {
      Store()->UnloadProducts();
      product = nullptr;
    }
    Profile(kUnbought, 0);
    HUDShopWindow shop(*mMap, 0);
    EXPECT_EQ(c.active, shop.findButton(u"reset_premium_points")->visible != 0);
    int x = 0, y = 0;
    Centre(shop, u"reset_premium_points", x, y);
    EXPECT_EQ(c.answer, shop.buttonNameAt(x, y));
    EXPECT_EQ(c.dialog, PendingDialog());
    EXPECT_EQ(c.state, mMap->mState);
    if (product) product->pending = false;
  }
}

TEST_F(UpgradeShopTest, TheLayersOfTheRootBoardComeAndGoWithTheScreen) {
  layer::Layer* board = mApplication->GetRootBoard()->GetLayer();
  const std::vector<layer::Layer*> before = board->GetChildren();
  {
    Profile(kUnbought, 37);
    HUDShopWindow shop(*mMap, 0);
    std::vector<layer::Layer*> expected = before;
    const std::vector<layer::Layer*> added = {shop.scrollBar->root.get(), shop.header.get(), shop.footer.get(),
                                              shop.tabBar->root.get(),    shop.captionLabel.get(), shop.gemsLabel.get()};
    expected.insert(expected.end(), added.begin(), added.end());
    EXPECT_EQ(expected, board->GetChildren());
    EXPECT_EQ(LocalStrings::Instance()->get(u"shop"), shop.captionLabel->mText);
    EXPECT_EQ(u"37", shop.gemsLabel->mText);
    mMap->mWallet->gems = 40;
    shop.update(0.1f);
    EXPECT_EQ(u"40", shop.gemsLabel->mText);
    // The screen itself draws the background and, over it, a plate picture per upgrade, the first on
    // the plate's layer with the lives icon on the icon's layer (upgrade 1 leads the first tab).
    const std::vector<gametest::DrawnQuad> quads = DrawScreen(shop);
    const size_t background =
        gametest::ExpectPictureOn(quads, "ruv/shop", "background", gametest::SampleLayer("ruv/shop", "background"));
    const std::vector<size_t> plates = gametest::QuadsOfPicture(quads, "ruv/shop", "item_plate/Layer_1");
    ASSERT_EQ(shop.plates.size(), plates.size());
    EXPECT_LT(background, plates[0]);
    EXPECT_TRUE(gametest::QuadOn(quads[plates[0]], gametest::SampleLayer("ruv/shop", "item_plate/Layer_1")));
    const size_t lives = gametest::ExpectPictureOn(quads, "ruv/shop", "icons/upgrades/lives",
                                                   gametest::SampleLayer("ruv/shop", "icons/upgrades/lives"));
    EXPECT_LT(plates[0], lives);
  }
  EXPECT_EQ(before, board->GetChildren());
}

// A layout without the leave and scroll buttons gives a shop without them, logged, not a crash.
TEST_F(UpgradeShopTest, MissingLayoutButtonsArePassedOver) {
  std::ofstream("ruv/shop/layers.xml", std::ios::binary | std::ios::trunc)
      << R"(<?xml version="1.0" encoding="UTF-8"?><Layers>)"
      << R"(<Layer name="item_plate/Layer_1" x="150" y="180" width="710" height="95" opacity="255" ind="0"/>)"
      << "</Layers>\n";
  for (int fromLevel : {0, 1}) {
    Profile(kUnbought, 100);
    fakes::MainLogRecorder log;
    HUDShopWindow shop(*mMap, fromLevel);
    EXPECT_EQ(5u, shop.plates.size());
    for (const char16_t* name : {u"back_ac", u"return_ac", u"down_in", u"up_in"}) {
      EXPECT_NE(std::u16string::npos, log.Text().find(u"no button '" + std::u16string(name) + u"'")) << fromLevel;
    }
    shop.onWheel(-1024);
    EXPECT_FLOAT_EQ(1.0f, shop.scrollBar->position);
  }
}

TEST_F(UpgradeShopTest, PushShowsTheLeaveButtonOfItsOpener) {
  for (int fromLevel : {0, 1}) {
    Profile(kUnbought, 0);
    mMap->mHud->pushShopWindow(fromLevel);
    EXPECT_EQ(8, mMap->mState);
    ASSERT_EQ(1u, mMap->mHud->pending.size());
    auto* shop = dynamic_cast<HUDShopWindow*>(mMap->mHud->pending.back().get());
    ASSERT_NE(nullptr, shop);
    EXPECT_EQ(fromLevel, shop->openedFromLevel);
    for (const auto& plate : shop->plates) EXPECT_EQ(fromLevel, plate->openedFromLevel);
    EXPECT_EQ(fromLevel == 1, shop->findButton(u"return_ac")->visible != 0);
    EXPECT_EQ(fromLevel == 0, shop->findButton(u"back_ac")->visible != 0);
    EXPECT_EQ(0, shop->findButton(u"gem_shop")->visible);
  }
}

}  // namespace
