// Every text a screen can put into a text place fits it in the font the screen draws it with: laid out
// by the game's own bitmap font reader as the screen lays it out, no line is wider than the place,
// the lines are no taller than it, and no line breaks inside a word. The texts are the strings the
// screens write there, filled with the longest name and the largest numbers the game shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <tuple>

#include "Core/Render/BMFont.h"
#include "Core/Render/TextFormat.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDModalInput.h"
#include "tests/Layouts/LayoutData.h"

namespace layouts {
namespace {

using Texts = std::vector<std::u16string>;

// How a screen lays a text out in its place.
enum class Wrap {
  kPlace,  // wrapped to the place's width (text slots, hints, shop rows)
  kNone,   // one line per written line, centred on the place (button captions, dialog texts)
};

// A text place: a layer of a layout, or a rectangle the code places by itself (layout empty).
struct TextPlace {
  std::string layout;
  std::string layer;
  LayerRect rect;
  const char16_t* font;
  Wrap wrap;
  Texts texts;
  float scale = 1.0f;
  float inset = 0.0f;  // kept free on both sides
  float letterSpacing = 0.0f;
};

// Numbers at their widest: the counters and scores the screens show run to five digits, lives and
// waves to three and two.
const std::u16string kScore = u"99999";
const std::u16string kLives = u"100/100";
const std::u16string kWaves = u"99/99";
const std::u16string kPrice = u"$99.99";

class TextPlacesTest : public LayoutDataTest {
 protected:
  void SetUp() override {
    LayoutDataTest::SetUp();
    std::istringstream sheet(ReadDataFile("ruv/strings_en.csv"));
    for (std::string line; std::getline(sheet, line);) mKeys.insert(line.substr(0, line.find(';')));
    mStrings = std::make_unique<LocalStrings>();
  }
  void TearDown() override {
    mStrings.reset();
    LayoutDataTest::TearDown();
  }

  // The string as the game reads it; a key the data lacks fails here (the game would show the key).
  std::u16string S(const std::string& key) {
    EXPECT_EQ(mKeys.count(key), 1u) << "no string " << key;
    return mKeys.count(key) ? mStrings->get(Wide(key)) : Wide(key);
  }
  Texts Keys(std::initializer_list<std::string> keys) {
    Texts texts;
    for (const std::string& key : keys) texts.push_back(S(key));
    return texts;
  }
  // Every key beginning with prefix whose rest passes keep.
  Texts Prefixed(const std::string& prefix, const std::function<bool(const std::string&)>& keep) {
    Texts texts;
    for (const std::string& key : mKeys) {
      if (key.compare(0, prefix.size(), prefix) == 0 && keep(key.substr(prefix.size()))) texts.push_back(S(key));
    }
    EXPECT_FALSE(texts.empty()) << prefix;
    return texts;
  }
  // A string with its first "%d" or "%s" filled in.
  std::u16string Filled(const std::string& key, const std::u16string& value) {
    std::u16string text = S(key);
    const std::size_t at = text.find(u'%');
    return at == std::u16string::npos ? text : text.substr(0, at) + value + text.substr(at + 2);
  }

  render::BMFont* Font(const char16_t* name) {
    resource::ResourcePtr<render::BMFont>& font = mFonts[name];
    if (!font) {
      font = resource::ResourceManager::Instance()->Get<render::BMFont>(name);
      if (font) {
        font->SetRender(&mRender);
        if (font->Load() != VN_OK) font = resource::ResourcePtr<render::BMFont>();
      }
    }
    return font.Get();
  }

  // The widest name a player can type: the name input's length of the font's widest letter.
  std::u16string LongestName(const char16_t* fontName) {
    render::BMFont* font = Font(fontName);
    char16_t widest = u'W';
    float most = 0.0f;
    std::u16string letters;
    for (char16_t c = u'0'; c <= u'z'; ++c) letters += c;
    for (char16_t c = 0x410; c <= 0x44F; ++c) letters += c;
    for (char16_t c : letters) {
      const render::BMFont::Glyph* glyph = font ? font->FindGlyph(c, nullptr) : nullptr;
      if (glyph && glyph->xadvance > most) {
        most = glyph->xadvance;
        widest = c;
      }
    }
    return std::u16string(HUDModalInput::kMaxNameLength, widest);
  }

  std::vector<TextPlace> Places();
  void ExpectFits(const TextPlace& place);

  std::set<std::string> mKeys;
  std::unique_ptr<LocalStrings> mStrings;
  std::map<std::u16string, resource::ResourcePtr<render::BMFont>> mFonts;
};

std::vector<TextPlace> TextPlacesTest::Places() {
  const Wrap kPlace = Wrap::kPlace;
  const Wrap kNone = Wrap::kNone;
  std::vector<TextPlace> places;
  auto slot = [&](const std::string& layout, const std::string& name, const char16_t* font, Texts texts) {
    const bool large = name == "caption" || name == "levelResult";
    places.push_back({layout, "text/" + name, {}, large ? kFontMain80 : font, kPlace, std::move(texts)});
  };
  auto caption = [&](const std::string& layout, const std::string& group, const char16_t* font) {
    places.push_back({layout, "button/" + group + "/label", {}, font, kNone, Keys({group})});
  };

  // The battle's counters, in the HUD's own font.
  places.push_back({"ruv/ui", "text/crystals", {}, kFontMain42x3, kPlace, {kScore}});
  places.push_back({"ruv/ui", "text/mana", {}, kFontMain42x3, kPlace, {kLives}});
  places.push_back({"ruv/ui", "text/coins", {}, kFontMain42x3, kPlace, {kScore}});
  places.push_back({"ruv/ui", "text/waves", {}, kFontMain42x3, kPlace, {S("game_wave") + u" " + kWaves}});

  // Modal messages, dialogs and the name input share one layout.
  slot("ruv/data/mm", "caption", kFontMain42x3,
       Keys({"profile_edit_caption", "HardcoreTitle", "profiles_error", "buyHealthDialogTitle", "gemShopDialogTitle",
             "convertCristallToMoneyDialogTitle", "reset_shop_title", "profile_delete_caption",
             "tutorial_skip_caption"}));
  slot("ruv/data/mm", "message", kFontMain42x3,
       Keys({"HardcoreUnlockMessage", "HardcoreDescMessage", "profiles_maxcount", "buyHealthDialogText",
             "gemShopDialogText", "reset_shop_message", "profile_delete_message", "tutorial_skip_message"}));
  places.back().texts.push_back(Filled("reset_shop_message_inapp", kPrice));
  // The name being typed, with its cursor mark, from the input frame's indent.
  places.push_back({"ruv/data/mm", "input", {}, kFontMain42x3, kNone, {LongestName(kFontMain42x3) + u"|"}, 1.0f,
                    HUDModalInput::kTextIndent});
  caption("ruv/data/mm", "b1_ok", kFontMain42x3);
  caption("ruv/data/mm", "b1_cancel", kFontMain42x3);
  // The message box: its text over the message place, its buttons' captions in the large font over
  // the ok picture. A damaged file's message is followed by the file's path on a line of its own,
  // whose length is the player's.
  places.push_back({"ruv/data/mm", "text/message", {}, kFontMain42x3, kNone,
                    Keys({"progress_confirm_text", "IllegalResolutionMessage", "profile_corrupt", "profile_unreadable",
                          "profile_save_failed", "layout_damaged"})});
  places.push_back({"ruv/data/mm", "button/b1_normal", {}, kFontMain80, kNone, Keys({"b1_ok", "b1_cancel"})});

  // The pause menu: every caption in the large font.
  slot("ruv/data/ingame", "caption", kFontMain80, Keys({"ingame_caption"}));
  for (const char* group : {"b1_resume", "b1_restart", "b1_levels", "b1_options", "b1_mmenu", "b4_close"}) {
    caption("ruv/data/ingame", group, kFontMain80);
  }

  // The level result: the lost window draws its lines in main_42_2, the won one in main_42_3.
  Texts levelNames;
  for (const char* prefix : {"episode", "episodeHardcore"}) {
    for (int episode = 0; episode < 3; ++episode) {
      levelNames.push_back(S(prefix + std::to_string(episode)) + u" 9 - 9");
    }
  }
  for (const char16_t* font : {kFontMain42x2, kFontMain42x3}) {
    slot("ruv/ui_levelresult", "levelResult", font, Keys({"game_win", "game_lose"}));
    slot("ruv/ui_levelresult", "levelName", font, levelNames);
    slot("ruv/ui_levelresult", "gameName", font, Keys({"diff_easy", "diff_normal", "diff_hard"}));
    slot("ruv/ui_levelresult", "killScore", font, {S("game_kill_score") + kScore});
    slot("ruv/ui_levelresult", "goldBonus", font, {S("game_combo_bonus") + kScore});
    slot("ruv/ui_levelresult", "lifeBonus", font, {S("game_life_bonus") + kScore});
    slot("ruv/ui_levelresult", "totalScore", font, {S("game_total_score") + kScore});
    slot("ruv/ui_levelresult", "gems", font, {S("gems") + u": " + kScore});
    slot("ruv/ui_levelresult", "bestScore", font, {S("game_best_score") + kScore});
  }

  // The menus.
  slot("ruv/main_menu", "greet", kFontMain42x3, {S("greet_1") + LongestName(kFontMain42x3) + S("greet_2"),
                                                 S("greet_1") + S("unnamed_player") + S("greet_2")});
  caption("ruv/main_menu", "b2_play", kFontMain80);
  for (const char* group : {"b1_shop", "b1_options", "b1_cloze"}) caption("ruv/main_menu", group, kFontMain42x3);
  const auto digits = [](const std::string& rest) {
    return !rest.empty() && rest.find_first_not_of("0123456789") == std::string::npos;
  };
  Texts episodes = Prefixed("episode", digits);
  slot("ruv/episode_select", "caption", kFontMain42x3, Keys({"episodes_caption"}));
  slot("ruv/episode_select", "stars", kFontMain42x3, {kWaves});
  slot("ruv/episode_select", "levelName", kFontMain42x3, episodes);
  places.back().texts.push_back(S("episodes_none"));
  // The plates of the episode select: the star gate's text at 0.8 of main_80 wrapped to 320 pixels
  // inside the plate, and the badge's caption.
  places.push_back({"", "episode plate", {0, 0, 256, 300}, kFontMain80, kPlace, {Filled("unlockEpisodeText", u"99")},
                    0.8f});
  places.push_back({"ruv/episode_select", "plates/new", {}, kFontMain80, kPlace, Keys({"episodeSelectNew"})});
  // The level select: its title in main_80 (main_42_3 on the hardcore tab), the plates' numbers and badges.
  places.push_back({"ruv/level_select", "text/episode", {}, kFontMain80, kPlace, episodes});
  places.push_back(
      {"ruv/level_select", "text/episode", {}, kFontMain42x3, kPlace, Prefixed("episodeHardcore", digits)});
  places.push_back({"ruv/level_select", "plate/locked", {}, kFontMain80, kNone, {u"99"}});
  places.push_back({"ruv/level_select", "plate/new", {}, kFontMain42x3, kPlace, Keys({"episodeSelectNew"})});
  slot("ruv/level_select", "gems", kFontMain42x3, {kScore});
  slot("ruv/data/profiles", "caption", kFontMain42x3, Keys({"profiles_caption"}));
  slot("ruv/data/profiles", "select", kFontMain32x2, Keys({"profiles_select"}));
  for (int row = 1; row <= 5; ++row) {
    slot("ruv/data/profiles", "profile" + std::to_string(row), kFontMain32x2,
         {LongestName(kFontMain32x2), S("empty_profile")});
    places.push_back({"ruv/data/profiles", "button/b3_p" + std::to_string(row) + "/label", {}, kFontMain42x3, kNone,
                      {LongestName(kFontMain42x3)}});
  }
  for (const char* group : {"b1_create", "b1_rename", "b1_delete", "b1_back", "b2_confirm"}) {
    caption("ruv/data/profiles", group, kFontMain42x3);
  }

  // The options dialog: its captions centred on their places, unwrapped.
  places.push_back(
      {"ruv/options", "main_options/options_title", {}, kFontMain80, kNone, Keys({"options_OptionsTitle"})});
  for (const auto& [layer, key] : {std::pair<const char*, const char*>{"sounds_and_music", "options_OptionsSounds"},
                                   {"game_type", "options_OptionsGameType"},
                                   {"window_type", "options_OptionsWindowType"}}) {
    places.push_back({"ruv/options", std::string("main_options/") + layer, {}, kFontMain42x2, kNone, Keys({key})});
  }
  places.push_back({"ruv/options", "buttons/close/close_caption", {}, kFontMain80, kNone, Keys({"options_OptionsOk"})});
  places.push_back(
      {"ruv/options", "main_options/window/window_in", {}, kFontMain42x3, kNone, Keys({"options_caption"})});
  // The windowed switch's note is drawn at 0.6 of its size below the caption; both switch texts
  // are spaced out by 2 pixels a letter.
  places.push_back({"ruv/options", "main_options/window/window_in", {}, kFontMain42x3, kNone,
                    Keys({"options_window_add"}), 0.6f, 0.0f, 2.0f});
  places.push_back({"ruv/options", "main_options/fullscreen/main_menu_in", {}, kFontMain42x3, kNone,
                    Keys({"options_fs"}), 1.0f, 0.0f, 2.0f});

  // The shops: captions, gem counts, the offers' lines and the upgrade rows (name and description
  // beside the icon, left of the buy button: the row places them itself).
  slot("ruv/shop", "caption", kFontMain80, Keys({"shop"}));
  slot("ruv/shop", "gems", kFontMain80, {kScore});
  const std::u16string gemCount = Filled("gemShopTitle2", kScore);
  using Shop = std::tuple<const char*, const char*, int>;  // layout, title key, offers
  for (const auto& [layout, title, offers] :
       {Shop{"ruv/gem_shop", "gemShopTitle", 5}, Shop{"ruv/boost_shop", "boostShopTitle", 3}}) {
    slot(layout, "caption", kFontMain42x3, Keys({title}));
    slot(layout, "caption_gems", kFontMain42x3, {gemCount});
    for (int offer = 1; offer <= offers; ++offer) {
      slot(layout, "b_0" + std::to_string(offer) + "_text", kFontMain42x3,
           {Filled("gemShopBuyFor", kPrice), S("gemShopBuy_progress"), S("boostShopBuy_already_purchased")});
    }
  }
  const auto named = [](const std::string& rest) { return rest.size() > 5 && rest.substr(rest.size() - 5) == "_name"; };
  places.push_back({"", "upgrade row name", {140, 14, 330, 44}, kFontMain42x3, kPlace, Prefixed("upgrade_", named)});
  places.push_back({"", "upgrade row description", {140, 70, 330, 29}, kFontMain32x2, kPlace,
                    Prefixed("upgrade_", [&](const std::string& rest) { return !named(rest); })});

  // The tab bars' labels, in the largest of their fonts (the selected tab's).
  places.push_back({"ruv/shop", "tabs/up_button_in", {}, kFontMain42x3, kNone, Prefixed("shop_tab_", digits)});
  places.push_back({"ruv/level_select", "tabs/up_button_in", {}, kFontMain42x3, kNone, Prefixed("level_tab_", digits)});

  // The tutorial: every hint fits every step's hint place; the skip button's caption its picture.
  {
    std::unique_ptr<file::ImageContainer> tutorial = Open(u"ruv/data/tutorial");
    const Texts hints = Prefixed("tutorial_step", digits);
    for (const std::u16string& folder : tutorial ? Folders(tutorial.get(), u"") : std::vector<std::u16string>()) {
      const std::vector<std::u16string> layers = Layers(tutorial.get(), folder);
      if (std::find(layers.begin(), layers.end(), folder + u"/hint") == layers.end()) continue;
      places.push_back({"ruv/data/tutorial", Narrow(folder) + "/hint", {}, kFontMain32x1, kPlace, hints});
    }
  }
  places.push_back(
      {"ruv/data/tutorial/skip", "button/b4_normal", {}, kFontMain42x3, kNone, Keys({"tutorial_skip_label"})});

  // The unlock message: its message in main_32_2, the caption and the button in main_80.
  slot("ruv/data/message", "caption", kFontMain32x2, Keys({"unlock_caption"}));
  slot("ruv/data/message", "message", kFontMain32x2, Prefixed("unlock_", digits));
  places.push_back({"ruv/data/message", "text/button", {}, kFontMain80, kPlace, Keys({"unlock_button"})});
  return places;
}

void TextPlacesTest::ExpectFits(const TextPlace& place) {
  LayerRect rect = place.rect;
  if (!place.layout.empty()) {
    std::unique_ptr<file::ImageContainer> layout = Open(Wide(place.layout));
    if (!layout) return;
    rect = Rect(layout.get(), Wide(place.layer));
  }
  rect.width -= int(2.0f * place.inset);
  render::BMFont* font = Font(place.font);
  ASSERT_NE(font, nullptr) << Narrow(place.font);
  for (const std::u16string& text : place.texts) {
    const std::string where =
        place.layout + " " + place.layer + " in " + Narrow(place.font) + ": \"" + Narrow(text) + "\"";
    render::TextFormat format;
    format.mAlignment = 2;
    format.mLetterSpacing = place.letterSpacing;
    if (place.wrap == Wrap::kPlace) format.mWrapWidth = float(rect.width) / place.scale;
    float size[2] = {0.0f, 0.0f};
    ASSERT_EQ(font->DrawText(nullptr, nullptr, text, format, size), VN_OK) << where;
    EXPECT_LE(size[0] * place.scale, float(rect.width)) << where << " is too wide for " << rect.width;
    EXPECT_LE(size[1] * place.scale, float(rect.height)) << where << " is too tall for " << rect.height;
    render::BMFont::LineList lines;
    font->LayoutLines(text, format, nullptr, lines);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      const uint32_t end = lines[i].start + lines[i].count;
      const bool inWord = lines[i].wrapped && end < text.size() && lines[i + 1].start == end && text[end] != u' ' &&
                          text[end - 1] != u' ';
      EXPECT_FALSE(inWord) << where << " breaks inside a word after \""
                           << Narrow(text.substr(lines[i].start, lines[i].count))
                           << "\"";
    }
  }
}

TEST_F(TextPlacesTest, EveryTextFitsItsPlaceInItsScreensFont) {
  const std::vector<TextPlace> places = Places();
  EXPECT_GT(places.size(), 60u);
  for (const TextPlace& place : places) ExpectFits(place);
}

// A greeting ends with the blank that separates it from the name; the result lines end with the
// blank before their number.
TEST_F(TextPlacesTest, TextsFollowedByANameOrNumberEndWithABlank) {
  for (const char* key : {"greet_1", "game_kill_score", "game_best_score", "game_life_bonus", "game_total_score",
                          "game_combo_bonus", "game_nextwave"}) {
    const std::u16string text = S(key);
    ASSERT_FALSE(text.empty()) << key;
    EXPECT_EQ(text.back(), u' ') << key;
  }
}

}  // namespace
}  // namespace layouts
