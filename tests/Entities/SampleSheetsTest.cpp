// The committed balance sheets against the rest of the sample data: they load, every prototype the
// other tables name exists, art and frame rates agree, and each unit ability is on some unit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Core/File/FileManager.h"
#include "Game/Art/RuvResources.h"
#include "Game/Tables/RuvDataSheet.h"
#include "Game/Tables/RuvProtos.h"

namespace {

// The unit and tower containers, loaded before the sheets as the map does.
const char16_t* const kArtContainers[] = {u"ruv/units/t1units",    u"ruv/units/t2units", u"ruv/units/t3units",
                                          u"ruv/towers/artillery", u"ruv/towers/dart",   u"ruv/towers/cannon",
                                          u"ruv/towers/support",   u"ruv/data/ui_parts"};

class SampleSheetsTest : public ::testing::Test {
 protected:
  // Reads the committed data root in place; nothing is written.
  void SetUp() override {
    mPrevious = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(QM_SOURCE_DIR) / "data");
    file::FileManager::Instance()->GetMountTable().clear();
    for (const char16_t* container : kArtContainers) RuvResources::Instance()->loadArtFolder(container);
    RuvDataSheet::loadSheets(mProtos, mEpisodes, mSellRatio, mDefaultGems);
  }
  void TearDown() override {
    mProtos.load(nullptr);
    delete RuvResources::Instance();
    file::FileManager::Instance()->GetMountTable().clear();
    std::filesystem::current_path(mPrevious);
  }

  static std::string DataText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Every top-level record and every tier.
  std::vector<const RuvProto*> AllRecords() const {
    std::vector<const RuvProto*> records;
    for (const auto& proto : mProtos.getList()) {
      records.push_back(proto.get());
      for (const auto& tier : proto->tiers) records.push_back(tier.get());
    }
    return records;
  }

  std::filesystem::path mPrevious;
  RuvProtoLibrary mProtos;
  RuvEpisodeTable mEpisodes;
  float mSellRatio = 0.0f;
  int mDefaultGems = -1;
};

// Two playable episodes, the second behind every star of the first; then a row after a gap, so the
// episode select shows a third plate without levels ("comingSoon") and counts no level past the gap.
TEST_F(SampleSheetsTest, EpisodesMatchTheUnlockLines) {
  ASSERT_EQ(mEpisodes.size(), 3u);
  EXPECT_EQ(RuvDataSheet::levelCount(mEpisodes, 2), -1);
  EXPECT_GT(RuvDataSheet::levelCount(mEpisodes, 3), 0);
  EXPECT_EQ(RuvDataSheet::totalLevelCount(mEpisodes), 8);
  EXPECT_EQ(RuvDataSheet::starsNeeded(mEpisodes, 0), 0);
  EXPECT_EQ(RuvDataSheet::starsNeeded(mEpisodes, 1), 3 * RuvDataSheet::levelCount(mEpisodes, 0));
  std::set<std::pair<int, int>> levels;
  for (int episode : {0, 1}) {
    const RuvEpisodeSetup& setup = mEpisodes.at(episode);
    EXPECT_EQ(setup.levels, 3) << episode;
    EXPECT_EQ(setup.hardcoreLevels, 1) << episode;
    for (int level = 0; level < setup.levels; ++level) levels.insert({episode, level});
  }
  std::set<std::pair<int, int>> lines;
  std::istringstream unlocks(DataText("ruv/unlocks.csv"));
  for (std::string line; std::getline(unlocks, line);) {
    int episode = -1;
    int level = -1;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d;%d;", &episode, &level), 2) << line;
    EXPECT_TRUE(lines.insert({episode, level}).second) << line;
  }
  EXPECT_EQ(lines, levels);
}

TEST_F(SampleSheetsTest, EveryNamedPrototypeExists) {
  // The ids the battle rules name (shaman summons, carrier cargo, the three shots, the spell) and
  // every id the sound sheet builds a tag from.
  std::set<int> ids{0, 11, 2001, 2002, 2003, 3004};
  std::istringstream sounds(DataText("ruv/sounds_sheet.csv"));
  for (std::string line; std::getline(sounds, line);) {
    const std::string tag = line.substr(0, line.find(';'));
    for (const char* kind : {"tower", "enemy", "ammo"}) {
      const std::size_t digits = std::string(kind).size();
      std::size_t end = digits;
      while (end < tag.size() && tag[end] >= '0' && tag[end] <= '9') ++end;
      const std::string rest = tag.substr(end);
      if (tag.rfind(kind, 0) == 0 && end > digits && (rest == "shot" || rest == "hit")) {
        ids.insert(std::stoi(tag.substr(digits, end - digits)));
      }
    }
  }
  EXPECT_GT(ids.size(), 30u);
  for (int id : ids) EXPECT_NE(mProtos.findProto(id), nullptr) << id;
  // Ammunition named by towers and summoners exists; ids are unique over rows and tiers.
  std::set<int> seen;
  for (const RuvProto* record : AllRecords()) {
    EXPECT_TRUE(seen.insert(record->id).second) << record->id;
    if (record->ammoId > 0) {
      EXPECT_NE(mProtos.findProto(record->ammoId), nullptr) << record->id;
    }
  }
}

TEST_F(SampleSheetsTest, ArtAndFrameRatesAgree) {
  for (const RuvProto* record : AllRecords()) {
    SCOPED_TRACE(record->id);
    if (record->psd.empty()) continue;
    ASSERT_NE(record->art, nullptr);
    std::size_t frames = 0;
    for (const char* group : {"walk", "death", "special", "idle", "blast", ""}) frames += record->art->groups[group].size();
    EXPECT_GT(frames, 0u);
    EXPECT_GT(record->fps, 0.0f);
  }
}

TEST_F(SampleSheetsTest, TowersAndUnitsAreShapedForTheBattle) {
  const RuvProto* portal = nullptr;
  std::vector<bool RuvProtoValues::*> abilities{
      &RuvProtoValues::hasteBuff, &RuvProtoValues::invisibleArea, &RuvProtoValues::invisible,
      &RuvProtoValues::regen,     &RuvProtoValues::healer,        &RuvProtoValues::summon,
      &RuvProtoValues::raiseDead, &RuvProtoValues::carrier,       &RuvProtoValues::straight,
      &RuvProtoValues::debuffTower, &RuvProtoValues::blockTower,  &RuvProtoValues::fireDmgOnly,
      &RuvProtoValues::poisonImmun, &RuvProtoValues::ice,         &RuvProtoValues::stone};
  std::vector<bool> present(abilities.size(), false);
  bool explodes = false;
  for (const auto& proto : mProtos.getList()) {
    SCOPED_TRACE(proto->id);
    EXPECT_EQ(proto->parent, -1);
    if (proto->type == 1) {  // a tower the build menu offers: its tiers chain from level 1
      ASSERT_FALSE(proto->tiers.empty());
      for (const auto& tier : proto->tiers) {
        EXPECT_EQ(tier->parent, proto->id);
        EXPECT_GE(tier->levelId, 1);
        EXPECT_LT(tier->require, tier->levelId);
      }
    }
    for (std::size_t i = 0; i < abilities.size(); ++i) present[i] = present[i] || (*proto).*abilities[i];
    explodes = explodes || proto->explodeStr > 0.0f;
    if (proto->summon) portal = mProtos.findProto(proto->ammoId);
  }
  EXPECT_EQ(present, std::vector<bool>(abilities.size(), true));
  EXPECT_TRUE(explodes);
  // The shaman's portal: how long it stays open, how often a unit comes out, and its effect.
  ASSERT_NE(portal, nullptr);
  EXPECT_GT(portal->cooldown, 0.0f);
  EXPECT_GT(portal->speed, 0.0f);
  EXPECT_FALSE(portal->onFire.empty());
}

}  // namespace
