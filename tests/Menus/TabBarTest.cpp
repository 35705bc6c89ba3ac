// The difficulty tab bar over the level select's template pictures: placement by enabled flags,
// strict hit edges, selection and drawing order, hover swelling and the labels' fonts.
#include <gtest/gtest.h>

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDTabBar.h"
#include "WidgetLayouts.h"

namespace menutest {
namespace {

const std::vector<std::u16string> kModeTabs{u"level_tab_0", u"level_tab_1", u"level_tab_2"};
// "tabs/up_button_ac" of "ruv/level_select": x 205, y 149, 190 x 56.
constexpr float kTabBottom = 149.0f + 56.0f;
constexpr int kHalfWidth = 95;
constexpr int kHeight = 56;

class TabBarTest : public WidgetLayoutTest {
 protected:
  std::unique_ptr<HUDTabBar> Bar(const std::vector<unsigned char>& enabled) {
    mLayout = Open(u"ruv/level_select");
    return std::make_unique<HUDTabBar>(mLayout.get(), kModeTabs, enabled, &mBoard);
  }
  std::unique_ptr<file::ImageContainer> mLayout;
};

TEST_F(TabBarTest, TabsStandOnTheTemplateEdgeAndDisabledOnesShareTheNextPlace) {
  struct Case {
    std::vector<unsigned char> enabled;
    std::vector<float> x;
  };
  const Case cases[] = {
      {{1, 1, 1}, {300, 500, 700}},
      {{1, 0, 1}, {300, 500, 500}},
      {{0, 1, 1}, {300, 300, 500}},
      {{1, 1, 0}, {300, 500, 700}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<HUDTabBar> bar = Bar(c.enabled);
    ASSERT_EQ(3u, bar->tabs.size());
    EXPECT_EQ(&mBoard, bar->root->GetParent());
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(c.x[k], bar->tabs[k]->root->mPosition.x) << k;
      EXPECT_EQ(kTabBottom, bar->tabs[k]->root->mPosition.y) << k;
      EXPECT_EQ(c.enabled[k], bar->tabs[k]->enabled) << k;
    }
    // The first tab is selected and drawn last, even when disabled.
    EXPECT_EQ(1, bar->tabs[0]->selected);
    EXPECT_EQ(bar->tabs[0]->root.get(), bar->root->GetChildren().back());
  }
}

TEST_F(TabBarTest, PicturesRiseAboveTheRootPointAndTheLabelIsLocalised) {
  std::unique_ptr<HUDTabBar> bar = Bar({1, 1, 1});
  const HUDTab& tab = *bar->tabs[1];
  EXPECT_EQ(math::Point3(-95.0f, -56.0f, 0.0f), tab.holder->mPosition);
  ASSERT_EQ(3u, tab.holder->GetChildren().size());
  EXPECT_EQ(tab.inactive.get(), tab.holder->GetChildren()[0]);
  EXPECT_EQ(tab.active.get(), tab.holder->GetChildren()[1]);
  EXPECT_EQ(tab.label.get(), tab.holder->GetChildren()[2]);
  EXPECT_EQ(math::Point3(0.0f, 0.0f, 0.0f), tab.active->mPosition);
  EXPECT_EQ(LocalStrings::Instance()->get(u"level_tab_1"), tab.label->mText);
  EXPECT_EQ(2, tab.label->mHorizontalAnchor);
  EXPECT_EQ(2, tab.label->mVerticalAnchor);
}

TEST_F(TabBarTest, HitsAreStrictlyInsideTheActivePictureAndNeverOnDisabledTabs) {
  struct Case {
    int dx, dy;  // from the root point of the tab at x 500
    bool hit;
  };
  const Case cases[] = {
      {0, -1, true},           {-kHalfWidth, -10, false},    {-kHalfWidth + 1, -10, true},
      {kHalfWidth - 1, -10, true}, {kHalfWidth, -10, false},  {0, 0, false},
      {0, -kHeight, false},    {0, -kHeight + 1, true},
  };
  std::unique_ptr<HUDTabBar> bar = Bar({1, 1, 1});
  for (const Case& c : cases) EXPECT_EQ(c.hit, bar->tabs[1]->hitTest(500 + c.dx, int(kTabBottom) + c.dy)) << c.dx << "," << c.dy;

  // The second tab disabled: at x 500 only the third answers.
  std::unique_ptr<HUDTabBar> shared = Bar({1, 0, 1});
  EXPECT_FALSE(shared->tabs[1]->hitTest(500, 180));
  EXPECT_EQ(2, shared->clickAt(500, 180));
  EXPECT_EQ(1, shared->tabs[2]->selected);
}

TEST_F(TabBarTest, ClicksSelectAndRaiseTheTabOrChangeNothing) {
  std::unique_ptr<HUDTabBar> bar = Bar({1, 1, 1});
  EXPECT_EQ(2, bar->clickAt(700, 180));
  EXPECT_EQ(2, bar->clickAt(700, 180));  // again: still answered
  EXPECT_EQ(bar->tabs[2]->root.get(), bar->root->GetChildren().back());
  EXPECT_EQ(-1, bar->clickAt(100, 180));
  for (int index : {3, -1}) bar->select(index);
  for (size_t k = 0; k < 3; ++k) {
    const HUDTab& tab = *bar->tabs[k];
    const bool chosen = k == 2;
    EXPECT_EQ(chosen, tab.selected != 0) << k;
    EXPECT_EQ(chosen, tab.active->mVisible) << k;
    EXPECT_EQ(!chosen, tab.inactive->mVisible) << k;
    EXPECT_EQ(chosen ? u"ruv/data/fonts/main_42_3" : u"ruv/data/fonts/main_32_2", FontName(tab.label->mFont)) << k;
  }
  EXPECT_FLOAT_EQ(1.1f, bar->tabs[2]->scale);
}

TEST_F(TabBarTest, UnselectedTabsSwellWhileHoveredAndShrinkAfter) {
  std::unique_ptr<HUDTabBar> bar = Bar({1, 1, 1});
  HUDTab& tab = *bar->tabs[1];
  bar->onMouseMove(500, 180);
  EXPECT_EQ(1, tab.hovered);
  EXPECT_EQ(0, bar->tabs[0]->hovered);  // selected tabs ignore the pointer
  struct Step {
    float dt;
    float scale;
    bool activeShown;
  };
  const Step swell[] = {{0.1f, 1.05f, true}, {0.1f, 1.1f, true}, {0.5f, 1.1f, true}};
  for (const Step& step : swell) {
    bar->update(step.dt);
    EXPECT_FLOAT_EQ(step.scale, tab.scale);
    EXPECT_FLOAT_EQ(step.scale, tab.root->mScaleX);
    EXPECT_FLOAT_EQ(step.scale, tab.root->mScaleY);
    EXPECT_EQ(step.activeShown, tab.active->mVisible);
  }
  bar->onMouseMove(10, 10);
  const Step shrink[] = {{0.05f, 1.05f, false}, {0.1f, 1.0f, false}};
  for (const Step& step : shrink) {
    bar->update(step.dt);
    EXPECT_FLOAT_EQ(step.scale, tab.scale);
    EXPECT_EQ(step.activeShown, tab.active->mVisible);
    EXPECT_NE(step.activeShown, tab.inactive->mVisible);
  }
  EXPECT_FLOAT_EQ(1.1f, bar->tabs[0]->root->mScaleX);
}

TEST_F(TabBarTest, DestructionTakesTheBarOffTheBoard) {
  Bar({1, 1, 1}).reset();
  EXPECT_TRUE(mBoard.GetChildren().empty());
  HUDTabBar empty(nullptr, {}, {}, &mBoard);
  EXPECT_TRUE(empty.tabs.empty());
  EXPECT_EQ(-1, empty.clickAt(300, 180));
}

}  // namespace
}  // namespace menutest
