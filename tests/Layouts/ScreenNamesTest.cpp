// Every screen layout holds the elements its screen looks up by name: pictures whose images load,
// and rect-only places (text slots, button positions and captions, spell slots) without an image.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "tests/Layouts/LayoutData.h"

namespace layouts {
namespace {

using Names = std::vector<std::string>;

// prefix + i + suffix for i = from .. to.
Names Numbered(const std::string& prefix, int from, int to, const std::string& suffix = "") {
  Names names;
  for (int i = from; i <= to; ++i) names.push_back(prefix + std::to_string(i) + suffix);
  return names;
}

// The position and caption places of hover-button groups.
Names Groups(const Names& keys) {
  Names names;
  for (const std::string& key : keys) {
    names.push_back("button/" + key + "/pos");
    names.push_back("button/" + key + "/label");
  }
  return names;
}

Names Join(std::initializer_list<Names> parts) {
  Names names;
  for (const Names& part : parts) names.insert(names.end(), part.begin(), part.end());
  return names;
}

struct ScreenElements {
  const char* layout;
  Names pictures;
  Names places;
};

std::vector<ScreenElements> ScreenTable() {
  return {
      {"ruv/ui",
       {"button/pause_btn", "button/pause_btn_ac", "button/play_btn", "button/play_btn_ac", "button/speed_btn",
        "button/speed_btn_ac", "button/options_btn", "button/options_btn_ac"},
       Join({Numbered("spell/slot", 0, 4), {"text/crystals", "text/mana", "text/coins", "text/waves"}})},
      {"ruv/data/mm",
       {"back", "input", "button/b1_normal", "button/b1_over", "button/b1_ok/label"},
       {"button/b1_cancel/pos", "button/b1_cancel/label", "button/b1_ok/pos", "text/caption", "text/message"}},
      {"ruv/data/ingame",
       {"main_menu_ico", "button/b1_normal", "button/b1_over", "button/b4_normal", "button/b4_over"},
       Join({Groups({"b1_resume", "b1_restart", "b1_mmenu", "b1_levels", "b1_options", "b4_close"}),
             {"text/caption"}})},
      {"ruv/ui_levelresult",
       Join({{"back_win", "back_lose", "diffictly", "diffictly_lose", "victory_label", "defeat_label"},
             Numbered("star", 0, 2),
             {"button/done", "button/restart", "button/menu"}}),
       {"text/levelResult", "text/levelName", "text/gameName", "text/killScore", "text/goldBonus", "text/lifeBonus",
        "text/totalScore", "text/gems", "text/bestScore"}},
      {"ruv/main_menu",
       {"en", "ru", "button/b1_normal", "button/b1_over", "button/b2_normal", "button/b2_over"},
       Join({Groups({"b2_play", "b1_shop", "b1_options", "b1_cloze"}), {"text/greet"}})},
      {"ruv/episode_select",
       {"plates/chapter_01", "plates/lock", "plates/new", "button/play", "button/arrow_left", "button/arrow_right",
        "button/back", "button/shop"},
       {"text/levelName", "text/caption", "text/stars"}},
      {"ruv/level_select",
       {"skulls", "plate/super", "plate/complete", "plate/incomplete", "plate/locked", "plate/new",
        "stars_plate/plate", "stars_plate/star", "button/back", "button/upgrade", "button/locked_d",
        "button/unlocked_d", "tabs/up_button_ac", "tabs/up_button_in"},
       {"text/episode", "text/gems"}},
      {"ruv/data/profiles",
       {"button/b1_normal", "button/b1_over", "button/b2_normal", "button/b2_over", "button/b3_normal",
        "button/b3_over"},
       Join({Groups(Join({{"b1_create", "b1_delete", "b1_rename", "b2_confirm", "b1_back"}, Numbered("b3_p", 1, 5)})),
             {"text/caption", "text/select"},
             Numbered("text/profile", 1, 5)})},
      {"ruv/options",
       {"title",
        "buttons/music_dec/b_in", "buttons/music_dec/b_ac", "buttons/music_inc/b_in", "buttons/music_inc/b_ac",
        "buttons/sound_dec/b_in", "buttons/sound_dec/b_ac", "buttons/sound_inc/b_in", "buttons/sound_inc/b_ac",
        "buttons/menu/menu_in", "buttons/menu/menu_ac", "buttons/menu/menu_sh",
        "buttons/close/ok_in", "buttons/close/ok_ac", "buttons/cheat/cheat_in", "buttons/cheat/cheat_ac",
        "main_options/sound/sound_bar", "main_options/sound/sound_begunok", "main_options/sound/sound_back",
        "main_options/music/music_bar", "main_options/music/music_begunok", "main_options/music/music_back",
        "main_options/window/window_nonselected", "main_options/window/window_ac", "main_options/window/window_in",
        "main_options/window/window_sh", "main_options/fullscreen/fullscreen_nonselected",
        "main_options/fullscreen/fullscreen_ac", "main_options/fullscreen/main_menu_in",
        "main_options/fullscreen/main_menu_sh"},
       {"main_options/options_title", "main_options/sounds_and_music", "main_options/game_type",
        "main_options/window_type", "buttons/close/close_caption", "main_options/sound/sound_frame",
        "main_options/music/music_frame"}},
      {"ruv/shop",
       Join({{"back_header", "back_footer", "button/back_ac", "button/return_ac", "button/down_in", "button/up_in",
              "button/gem_shop", "button/reset_premium_points", "item_plate/Layer_1", "item_plate/stars/clear_star",
              "item_plate/buy_ac", "item_plate/buy_in", "item_plate/grem", "tabs/up_button_ac", "tabs/up_button_in",
              "scroll/bar", "scroll/slider_in"},
             Numbered("item_plate/stars/star_0", 1, 10)}),
       {"text/caption", "text/gems"}},
      {"ruv/gem_shop",
       Join({Numbered("button/b_0", 1, 5, "_in"), {"button/back_in", "button/offers_wall"},
             Numbered("pricing/en/", 1, 5), {"1/most_popular", "1/best_buy", "1/all_inclusive"}}),
       Join({Numbered("text/b_0", 1, 5, "_text"), {"text/caption", "text/caption_gems"}})},
      {"ruv/boost_shop",
       Join({Numbered("button/b_0", 1, 3, "_in"), {"button/back_in", "button/offers_wall"},
             Numbered("pricing/en/", 1, 3), {"1/most_popular"}}),
       Join({Numbered("text/b_0", 1, 3, "_text"), {"text/caption", "text/caption_gems"}})},
      {"ruv/data/message", {"button/ok"}, {"text/caption", "text/button", "text/message"}},
      {"ruv/data/tutorial/skip", {"button/b4_normal", "button/b4_over"}, {}},
  };
}

class ScreenNamesTest : public LayoutDataTest {
 protected:
  // The layout holds each picture with its image and each place without one.
  static void ExpectElements(file::ImageContainer* layout, const Names& pictures, const Names& places) {
    for (const std::string& name : pictures) {
      EXPECT_NE(layout->GetLayerInfo(Wide(name)), nullptr) << name;
      EXPECT_TRUE(HasImage(layout, Wide(name))) << name;
    }
    for (const std::string& name : places) {
      EXPECT_NE(layout->GetLayerInfo(Wide(name)), nullptr) << name;
      EXPECT_FALSE(HasImage(layout, Wide(name))) << name;
    }
  }
};

TEST_F(ScreenNamesTest, EveryScreenHoldsTheNamesItLooksUp) {
  for (const ScreenElements& screen : ScreenTable()) {
    SCOPED_TRACE(screen.layout);
    std::unique_ptr<file::ImageContainer> layout = Open(Wide(screen.layout));
    if (layout) ExpectElements(layout.get(), screen.pictures, screen.places);
  }
}

// A hover button "button/<art>_<click>" takes its place from "/pos" and its pictures from the
// art's "_normal" and "_over" layers.
TEST_F(ScreenNamesTest, HoverButtonGroupsHavePositionsAndPictures) {
  for (const char16_t* path : {u"ruv/data/mm", u"ruv/data/ingame", u"ruv/main_menu", u"ruv/data/profiles"}) {
    SCOPED_TRACE(Narrow(path));
    std::unique_ptr<file::ImageContainer> layout = Open(path);
    if (!layout) continue;
    const std::vector<std::u16string> keys = Folders(layout.get(), u"button");
    EXPECT_GE(keys.size(), 2u);
    for (const std::u16string& key : keys) {
      const size_t split = key.find(u'_');
      ASSERT_NE(split, std::u16string::npos) << Narrow(key);
      EXPECT_LT(split + 1, key.size()) << "no click name in " << Narrow(key);
      const std::u16string art = key.substr(0, split);
      ExpectElements(layout.get(), {"button/" + Narrow(art) + "_normal", "button/" + Narrow(art) + "_over"},
                     {"button/" + Narrow(key) + "/pos"});
    }
  }
}

TEST_F(ScreenNamesTest, ModalButtonsRefuseFirstAndConfirmSecond) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/data/mm");
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(Folders(layout.get(), u"button"), (std::vector<std::u16string>{u"b1_cancel", u"b1_ok"}));
}

// A press on the profile rows maps the slot at position p of the text slots in name order to the
// (p - 2)-th name: two slots sort before the rows, and each row's highlight lies on its row.
TEST_F(ScreenNamesTest, ProfileRowsFollowTwoSlotsAndCarryTheirHighlights) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/data/profiles");
  ASSERT_NE(layout, nullptr);
  std::vector<std::u16string> slots;
  for (const std::u16string& name : Layers(layout.get(), u"text")) slots.push_back(name.substr(5));
  std::sort(slots.begin(), slots.end());
  for (int k = 1; k <= 5; ++k) {
    const std::u16string row = Wide("profile" + std::to_string(k));
    const auto at = std::find(slots.begin(), slots.end(), row);
    ASSERT_NE(at, slots.end()) << Narrow(row);
    EXPECT_EQ(at - slots.begin(), k + 1) << Narrow(row);
    const LayerRect text = Rect(layout.get(), u"text/" + row);
    const LayerRect highlight = Rect(layout.get(), Wide("button/b3_p" + std::to_string(k) + "/pos"));
    EXPECT_TRUE(text.Contains(highlight) && highlight.Contains(text)) << Narrow(row);
  }
}

TEST_F(ScreenNamesTest, ShopShowsAnIconForEveryUpgrade) {
  tinyxml2::XMLDocument upgrades;
  ASSERT_EQ(upgrades.Parse(ReadDataFile("ruv/upgrades.xml").c_str()), tinyxml2::XML_SUCCESS);
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/shop");
  ASSERT_NE(layout, nullptr);
  Names icons;
  for (const tinyxml2::XMLElement* upgrade = upgrades.RootElement()->FirstChildElement("upgrade"); upgrade;
       upgrade = upgrade->NextSiblingElement("upgrade")) {
    icons.push_back(std::string("icons/") + upgrade->Attribute("icon"));
  }
  EXPECT_FALSE(icons.empty());
  ExpectElements(layout.get(), icons, {});
}

// The unlock message shows the ids that have a picture, one after the other: every level that
// unlocks something opens with one or two of them, and the first hardcore level with at least one.
TEST_F(ScreenNamesTest, UnlockMessageShowsOneOrTwoPicturesPerLevel) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/data/message");
  ASSERT_NE(layout, nullptr);
  const auto pictured = [&](const std::vector<int>& ids) {
    int count = 0;
    for (int id : ids) count += layout->GetLayerInfo(Wide("icons/id" + std::to_string(id))) != nullptr;
    return count;
  };
  std::istringstream sheet(ReadDataFile("ruv/unlocks.csv"));
  int levels = 0;
  for (std::string line; std::getline(sheet, line);) {
    std::istringstream fields(line);
    std::string episode, level, list;
    if (!std::getline(fields, episode, ';') || !std::getline(fields, level, ';') || !std::getline(fields, list, ';')) {
      continue;
    }
    std::vector<int> ids;
    std::istringstream values(list);
    for (std::string value; std::getline(values, value, ',');) {
      if (value.find_first_of("0123456789") != std::string::npos) ids.push_back(std::stoi(value));
    }
    if (ids.empty()) continue;
    ++levels;
    const int shown = pictured(ids);
    EXPECT_GE(shown, 1) << line;
    EXPECT_LE(shown, 2) << line;
  }
  EXPECT_GT(levels, 3);
  const int hardcore = pictured({36, 37, 38});
  EXPECT_GE(hardcore, 1);
  EXPECT_LE(hardcore, 2);
  for (const std::u16string& icon : Layers(layout.get(), u"icons")) EXPECT_TRUE(HasImage(layout.get(), icon)) << Narrow(icon);
}

TEST_F(ScreenNamesTest, SpellCastCursorHasFrames) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/spell_cast");
  ASSERT_NE(layout, nullptr);
  const std::vector<std::u16string> frames = Layers(layout.get(), u"");
  EXPECT_GE(frames.size(), 2u);
  for (const std::u16string& frame : frames) EXPECT_TRUE(HasImage(layout.get(), frame)) << Narrow(frame);
}

// The steps whose ids the game fixes each have a folder with a picture and a text place; the
// steps of the tutorial file, when there is one, find their folders and text places.
TEST_F(ScreenNamesTest, TutorialStepsHavePicturesAndTextPlaces) {
  std::unique_ptr<file::ImageContainer> layout = Open(u"ruv/data/tutorial");
  ASSERT_NE(layout, nullptr);
  for (int step : {0, 1, 2, 3, 4, 5, 6, 7, 8, 51}) {
    const std::u16string folder = Wide("step" + std::to_string(step));
    int pictures = 0, places = 0;
    for (const std::u16string& name : Layers(layout.get(), folder)) {
      ++(HasImage(layout.get(), name) ? pictures : places);
    }
    EXPECT_GT(pictures, 0) << Narrow(folder);
    EXPECT_GT(places, 0) << Narrow(folder);
  }
  tinyxml2::XMLDocument script;
  if (script.Parse(ReadDataFile("ruv/tutorial.xml").c_str()) != tinyxml2::XML_SUCCESS || !script.RootElement()) {
    return;
  }
  for (const tinyxml2::XMLElement* step = script.RootElement()->FirstChildElement("step"); step;
       step = step->NextSiblingElement("step")) {
    const tinyxml2::XMLElement* show = step->FirstChildElement("show");
    if (!show || !show->Attribute("folder")) continue;
    // A step's folder holds layers of its own (IsFolder answers only for folders with sub-folders).
    EXPECT_FALSE(Layers(layout.get(), Wide(show->Attribute("folder"))).empty()) << show->Attribute("folder");
    for (const tinyxml2::XMLElement* text = show->FirstChildElement("text"); text;
         text = text->NextSiblingElement("text")) {
      if (text->Attribute("place")) ExpectElements(layout.get(), {}, {text->Attribute("place")});
    }
  }
}

}  // namespace
}  // namespace layouts
