// Where the screens fix a place or a size, the layouts keep it; every screen shows a marker colour
// of its own, so a screenshot tells which screen is up.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/Layouts/LayoutData.h"

namespace layouts {
namespace {

class ScreenGeometryTest : public LayoutDataTest {
 protected:
  // Every layer of folder whose name ends in suffix.
  static std::vector<LayerRect> RectsOf(file::ImageContainer* layout, const std::u16string& folder, bool recursive,
                                        const std::u16string& suffix) {
    std::vector<std::u16string> names;
    layout->ListLayers(folder, recursive, names, false);
    std::vector<LayerRect> rects;
    for (const std::u16string& name : names) {
      if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        rects.push_back(Rect(layout, name));
      }
    }
    return rects;
  }
};

TEST_F(ScreenGeometryTest, MarkerColoursAreOpaqueAndDistinct) {
  const std::map<std::u16string, std::u16string> markers = {
      {u"ruv/ui", u"panel"},
      {u"ruv/data/mm", u"back"},
      {u"ruv/data/ingame", u"panel"},
      {u"ruv/ui_levelresult", u"back_win"},
      {u"ruv/main_menu", u"background"},
      {u"ruv/episode_select", u"background"},
      {u"ruv/level_select", u"background"},
      {u"ruv/data/profiles", u"background"},
      {u"ruv/options", u"title"},
      {u"ruv/shop", u"background"},
      {u"ruv/gem_shop", u"background"},
      {u"ruv/boost_shop", u"background"},
      {u"ruv/data/message", u"background"},
  };
  std::map<uint32_t, std::u16string> seen;
  for (const auto& [path, layer] : markers) {
    SCOPED_TRACE(Narrow(path));
    std::unique_ptr<file::ImageContainer> layout = Open(path);
    if (!layout) continue;
    const uint32_t colour = CentrePixel(layout.get(), layer);
    EXPECT_EQ(colour >> 24, 0xFFu);
    const auto [at, added] = seen.emplace(colour, path);
    EXPECT_TRUE(added) << "same marker as " << Narrow(at->second);
  }
}

// The band from y 721 answers "profile" before any button is asked: the buttons lie above it,
// between y 250 and 600.
TEST_F(ScreenGeometryTest, MainMenuButtonsLieAboveTheProfileBand) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/main_menu");
  ASSERT_NE(layout, nullptr);
  const std::vector<LayerRect> positions = RectsOf(layout.get(), u"button", true, u"/pos");
  EXPECT_EQ(positions.size(), 4u);
  for (const LayerRect& pos : positions) EXPECT_TRUE((LayerRect{0, 250, 1024, 351}.Contains(pos))) << pos.y;
}

// A click on the centred plate counts inside x 323-701, y 201-569; each plate covers that area.
TEST_F(ScreenGeometryTest, EpisodePlatesCoverTheClickArea) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/episode_select");
  ASSERT_NE(layout, nullptr);
  int episodes = 0;
  for (; layout->GetLayerInfo(Wide("plates/chapter_0" + std::to_string(episodes + 1))); ++episodes) {
    const LayerRect plate = Rect(layout.get(), Wide("plates/chapter_0" + std::to_string(episodes + 1)));
    EXPECT_TRUE(plate.Contains(LayerRect{323, 201, 378, 368})) << episodes + 1;
  }
  EXPECT_GT(episodes, 0);
}

// Plates stand on a 125-pixel grid; the tabs stand on the bottom edge of the active tab picture,
// above the first row at y 220.
TEST_F(ScreenGeometryTest, LevelPlatesFitTheGrid) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/level_select");
  ASSERT_NE(layout, nullptr);
  for (const char16_t* name : {u"plate/super", u"plate/complete", u"plate/incomplete", u"plate/locked"}) {
    const LayerRect plate = Rect(layout.get(), name);
    EXPECT_LE(plate.width, 125) << Narrow(name);
    EXPECT_LE(plate.height, 125) << Narrow(name);
  }
  const LayerRect tab = Rect(layout.get(), u"tabs/up_button_ac");
  EXPECT_LE(tab.y + tab.height, 220);
}

// The slider is dragged inside x 865-909 and runs from y 221; the bar starts there too.
TEST_F(ScreenGeometryTest, ShopScrollBarLiesInItsDragZone) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/shop");
  ASSERT_NE(layout, nullptr);
  const LayerRect slider = Rect(layout.get(), u"scroll/slider_in");
  EXPECT_TRUE((LayerRect{865, 201, 45, 419}.Contains(slider))) << slider.x;
  EXPECT_EQ(Rect(layout.get(), u"scroll/bar").y, 221);
}

// An offer answers clicks 50 pixels inside each side of its picture, so each is larger than 100.
TEST_F(ScreenGeometryTest, OffersLeaveAClickableMiddle) {
  for (const char16_t* path : {u"ruv/gem_shop", u"ruv/boost_shop"}) {
    SCOPED_TRACE(Narrow(path));
    std::unique_ptr<file::ImageContainer> layout = Open(path);
    if (!layout) continue;
    const std::vector<LayerRect> offers = RectsOf(layout.get(), u"button", false, u"_in");
    EXPECT_GE(offers.size(), 4u);  // the packs and "back_in"
    for (size_t i = 0; i < offers.size(); ++i) {
      for (size_t j = i + 1; j < offers.size(); ++j) EXPECT_FALSE(offers[i].Overlaps(offers[j])) << i << " " << j;
    }
    for (int n = 1; layout->GetLayerInfo(Wide("button/b_0" + std::to_string(n) + "_in")); ++n) {
      const LayerRect offer = Rect(layout.get(), Wide("button/b_0" + std::to_string(n) + "_in"));
      EXPECT_GT(offer.width, 100) << n;
      EXPECT_GT(offer.height, 100) << n;
    }
  }
}

// The tutorial's skip button must not cover the HUD's buttons and spell slots.
TEST_F(ScreenGeometryTest, TutorialSkipButtonLeavesTheHudFree) {
  std::unique_ptr<file::ImageContainer> skip = Open(u"ruv/data/tutorial/skip");
  std::unique_ptr<file::ImageContainer> hud = Open(u"ruv/ui");
  ASSERT_TRUE(skip && hud);
  std::vector<LayerRect> taken = RectsOf(hud.get(), u"button", false, u"");
  const std::vector<LayerRect> slots = RectsOf(hud.get(), u"spell", false, u"");
  taken.insert(taken.end(), slots.begin(), slots.end());
  EXPECT_GE(taken.size(), 13u);
  for (const char16_t* name : {u"button/b4_normal", u"button/b4_over"}) {
    const LayerRect button = Rect(skip.get(), name);
    for (const LayerRect& other : taken) EXPECT_FALSE(button.Overlaps(other)) << Narrow(name);
  }
}

}  // namespace
}  // namespace layouts
