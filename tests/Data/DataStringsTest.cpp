// Every string key that the code or the data looks up is in "ruv/strings_en.csv" (the game would
// append an unknown key to the file and show the key), and every font has every character of the
// strings.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Core/Base/StringEncoding.h"
#include "Core/File/FileManager.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Art/GameFonts.h"
#include "tests/Data/DataSources.h"

namespace datatest {
namespace {

// The calls that take a string key among their arguments; a literal followed by "+" inside the call
// is the beginning of a key that the code completes.
const char* const kKeyTakers[] = {"get",        "levelText",           "inputText",        "confirmText",
                                  "TMessageBox", "AddText",            "CreateButton",     "levelResultLine",
                                  "upgradeInfoLine", "inputShowMessageBox", "OptionsSwitchText"};

// Keys that reach their lookup through a table the scan cannot follow; each must still stand in the
// code as a literal.
const char* const kTableKeys[] = {"level_tab_0", "level_tab_1", "level_tab_2", "options_OptionsTitle",
                                  "options_OptionsSounds", "options_OptionsGameType", "options_OptionsWindowType"};

// The layouts whose button groups are captioned with the string of the group's name.
const char16_t* const kCaptionedLayouts[] = {u"ruv/main_menu", u"ruv/data/profiles", u"ruv/data/ingame", u"ruv/data/mm"};

struct CodeKeys {
  std::map<std::string, std::string> keys;      // key -> file
  std::map<std::string, std::string> prefixes;  // beginning of a key -> file
};

CodeKeys ScanCodeKeys() {
  CodeKeys found;
  for (const CodeFile& file : GameCode()) {
    for (const char* taker : kKeyTakers) {
      for (const std::string& arguments : CallArguments(file.text, taker)) {
        for (const Literal& literal : Literals(arguments)) {
          if (literal.prefix != "u" || !IsIdentifier(literal.value)) continue;
          const bool completed = arguments.find('+', literal.end) != std::string::npos;
          (completed ? found.prefixes : found.keys).emplace(literal.value, file.path);
        }
      }
    }
  }
  return found;
}

std::map<std::string, std::u16string> Strings() {
  std::map<std::string, std::u16string> strings;
  for (const auto& fields : SplitLines(ReadDataFile("ruv/strings_en.csv"), ';')) {
    if (fields.size() >= 2) strings.emplace(fields[0], base::ToWide(fields[1], base::kEncodingUtf8));
  }
  return strings;
}

class DataStringsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mPrevious = std::filesystem::current_path();
    std::filesystem::current_path(DataRoot());
    file::FileManager::Instance()->GetMountTable().clear();
  }
  void TearDown() override { std::filesystem::current_path(mPrevious); }

  const std::map<std::string, std::u16string> mStrings = Strings();
  std::filesystem::path mPrevious;
};

TEST_F(DataStringsTest, EveryKeyTheCodeLooksUpHasAString) {
  const CodeKeys code = ScanCodeKeys();
  EXPECT_GT(code.keys.size(), 50u);
  for (const auto& [key, file] : code.keys) EXPECT_EQ(mStrings.count(key), 1u) << key << " (" << file << ")";
  for (const auto& [prefix, file] : code.prefixes) {
    const auto next = mStrings.lower_bound(prefix);
    EXPECT_TRUE(next != mStrings.end() && next->first.compare(0, prefix.size(), prefix) == 0)
        << "no key begins with " << prefix << " (" << file << ")";
  }
  for (const char* key : kTableKeys) {
    EXPECT_EQ(mStrings.count(key), 1u) << key;
    bool named = false;
    for (const CodeFile& file : GameCode()) named = named || file.text.find("u\"" + std::string(key) + "\"") != std::string::npos;
    EXPECT_TRUE(named) << key << " no longer stands in the code";
  }
}

// The keys the data makes: the captions of the menus' buttons, an unlock text per pictured id, and
// an episode title per plate of the episode select (one per setup row, in both modes).
TEST_F(DataStringsTest, EveryKeyTheDataMakesHasAString) {
  std::set<std::string> keys;
  for (const char16_t* layout : kCaptionedLayouts) {
    const std::set<std::string> groups = ButtonGroups(layout);
    EXPECT_FALSE(groups.empty()) << std::string(layout, layout + std::char_traits<char16_t>::length(layout));
    keys.insert(groups.begin(), groups.end());
  }
  // The unlock message looks up the text of each id it has a picture for.
  std::set<int> ids(std::begin(RuvUnlocks::kHardcoreAnnouncements), std::end(RuvUnlocks::kHardcoreAnnouncements));
  for (const auto& fields : SplitLines(ReadDataFile("ruv/unlocks.csv"), ';')) {
    ASSERT_GE(fields.size(), 3u);
    for (const auto& id : SplitLines(fields[2], ',')) ids.insert(std::stoi(id[0]));
  }
  int pictured = 0;
  for (int id : ids) {
    if (!DataEntryBeginsWith("ruv/data/message/icons/id" + std::to_string(id) + ".")) continue;
    keys.insert("unlock_" + std::to_string(id));
    ++pictured;
  }
  EXPECT_GT(pictured, 5);
  const std::size_t plates = SplitLines(ReadDataFile("ruv/setup_sheet.csv"), ';').size();
  EXPECT_EQ(plates, 3u);
  for (std::size_t episode = 0; episode < plates; ++episode) {
    keys.insert("episode" + std::to_string(episode));
    keys.insert("episodeHardcore" + std::to_string(episode));
  }
  for (const std::string& key : keys) EXPECT_EQ(mStrings.count(key), 1u) << key;
}

// Every character of the strings and of the boost names (drawn as the offers' captions) is a
// glyph of every font.
TEST_F(DataStringsTest, EveryFontHasEveryCharacterOfTheStrings) {
  std::set<char16_t> characters;
  for (const auto& [key, text] : mStrings) characters.insert(text.begin(), text.end());
  for (const auto& fields : SplitLines(ReadDataFile("ruv/config.xml"), '"')) {
    for (const std::string& field : fields) {
      const std::u16string text = base::ToWide(field, base::kEncodingUtf8);
      characters.insert(text.begin(), text.end());
    }
  }
  EXPECT_EQ(characters.count(u'\u0445'), 1u) << "the boost name with the Cyrillic kha";
  for (const char16_t* font : {kFontMain32x1, kFontMain32x2, kFontMain42x1, kFontMain42x2, kFontMain42x3, kFontMain80}) {
    const std::string name(font, font + std::char_traits<char16_t>::length(font));
    const std::string text = ReadDataFile(name + ".fnt");
    std::set<char16_t> glyphs;
    const std::string tag = "<char id=\"";
    for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
      glyphs.insert(static_cast<char16_t>(std::stoi(text.substr(at + tag.size()))));
    }
    for (char16_t c : characters) {
      EXPECT_EQ(glyphs.count(c), 1u) << name << " lacks U+" << std::hex << int(c);
    }
  }
}

}  // namespace
}  // namespace datatest
