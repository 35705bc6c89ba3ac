#include <gtest/gtest.h>

#include <tinyxml2.h>

#include <functional>
#include <memory>
#include <string>

#include "fakes/MainLogRecorder.h"
#include "Core/File/Profiles.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/RuvWallet.h"
#include "gamesupport/GameTestSupport.h"

namespace {

using Names = std::vector<std::u16string>;

class ProgressTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    mUpgrades = std::make_unique<RuvUpgrades>(
        std::string("<upgrades><upgrade id=\"7\"><targets><target id=\"-1\"/></targets></upgrade>"
                    "<upgrade id=\"28\"><targets><target id=\"3004\"/></targets></upgrade></upgrades>"),
        &mMap);
    mMap.upgrades = mUpgrades.get();
    mMap.wallet = &mWallet;
  }
  void TearDown() override {
    mProgress.reset();
    GameFolderTest::TearDown();
  }
  RuvProgress& Start(const std::string& profiles = R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)") {
    LoadProfiles(profiles);
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
    return *mProgress;
  }
  // The profile element as it stands in the saved file, printed compactly; "" when missing.
  std::string Saved(const std::string& name = "A") const {
    tinyxml2::XMLDocument document;
    const std::string text = SavedProfiles();
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) return "";
    for (const tinyxml2::XMLElement* profile = document.RootElement()->FirstChildElement("Profile"); profile;
         profile = profile->NextSiblingElement("Profile")) {
      if (name == profile->Attribute("name")) {
        tinyxml2::XMLPrinter printer(nullptr, true);
        profile->Accept(&printer);
        return printer.CStr();
      }
    }
    return "";
  }
  std::string SavedCurrent() const {
    tinyxml2::XMLDocument document;
    const std::string text = SavedProfiles();
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS) return "";
    const char* current = document.RootElement()->Attribute("currentProfile");
    return current ? current : "";
  }

  gametest::FakeMapState mMap;
  RuvWallet mWallet;
  std::unique_ptr<RuvUpgrades> mUpgrades;
  std::unique_ptr<RuvProgress> mProgress;
};

const char kLaidOut[] = R"(<Profile name="A" version="4"><towers/><levels/></Profile>)";

TEST_F(ProgressTest, FreshProfileDefaultsReachTheFileWithTheNextSave) {
  mMap.defaultGems = 7;
  RuvProgress& progress = Start();
  EXPECT_EQ(progress.getGems(), 7);
  EXPECT_FLOAT_EQ(progress.getMusicVolume(), 1.0f);
  EXPECT_EQ(progress.getMode(), 0);
  EXPECT_TRUE(progress.isTutorialEnabled());
  EXPECT_FALSE(progress.getFullscreen());
  // Getters that only fill in a default do not save.
  EXPECT_EQ(Saved(), "<Profile name=\"A\"/>");
  progress.save();
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><fs v=\"0\"/><mode v=\"0\"/><music v=\"1.000000\"/>"
                     "<gems amount=\"7\"/><towers/><levels/></Profile>");
  EXPECT_EQ(progress.getGems(), 7);
}

TEST_F(ProgressTest, UpgradeListIsWrittenWithEveryDefinitionAtMinusOne) {
  RuvProgress& progress = Start();
  EXPECT_EQ(progress.getUpgradeLevel(28), -1);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><upgrades><upgrade id=\"28\" level=\"-1\"/>"
                     "<upgrade id=\"7\" level=\"-1\"/></upgrades><towers/><levels/></Profile>");
}

TEST_F(ProgressTest, UpgradeLevelCacheAnswersMinusTwoOnceThenMinusOne) {
  RuvProgress& progress = Start(
      R"(<Profiles currentProfile="A"><Profile name="A"><upgrades><upgrade id="7" level="2"/></upgrades></Profile></Profiles>)");
  EXPECT_EQ(progress.getUpgradeLevel(99), -2);
  EXPECT_EQ(progress.getUpgradeLevel(99), -1);
  EXPECT_EQ(progress.getUpgradeLevel(7), 2);
  progress.setUpgradeLevel(99, 1);
  EXPECT_EQ(progress.getUpgradeLevel(99), 1);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><towers/><levels/><upgrades><upgrade id=\"99\" level=\"1\"/>"
                     "<upgrade id=\"7\" level=\"2\"/></upgrades></Profile>");
  progress.setUpgradeLevel(7, -1);
  EXPECT_NE(Saved().find("<upgrade id=\"7\" level=\"-1\"/>"), std::string::npos);
  mMap.mode = 3;
  EXPECT_EQ(progress.getUpgradeLevel(99), -1);
}

TEST_F(ProgressTest, SetUpgradeLevelWithoutAListCreatesIt) {
  RuvProgress& progress = Start();
  mMap.mode = 3;  // hardcore never creates the list on reading
  EXPECT_EQ(progress.getUpgradeLevel(7), -1);
  progress.setUpgradeLevel(7, 0);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><upgrades><upgrade id=\"28\" level=\"-1\"/>"
                     "<upgrade id=\"7\" level=\"0\"/></upgrades><towers/><levels/></Profile>");
  mMap.mode = 0;
  EXPECT_EQ(progress.getUpgradeLevel(7), 0);
}

TEST_F(ProgressTest, VolumeSettersCreateTheirElementAndWriteSixDecimals) {
  RuvProgress& progress = Start();
  progress.setSoundVolume(0.25f);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><sound v=\"0.250000\"/><towers/><levels/></Profile>");
  progress.setMusicVolume(0.0f);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><music v=\"0.000000\"/><sound v=\"0.250000\"/><towers/>"
                     "<levels/></Profile>");
  EXPECT_FLOAT_EQ(progress.getSoundVolume(), 0.25f);
  EXPECT_FLOAT_EQ(progress.getMusicVolume(), 0.0f);
}

TEST_F(ProgressTest, VolumeElementWithoutValueReadsZero) {
  RuvProgress& progress = Start(R"(<Profiles currentProfile="A"><Profile name="A"><music/></Profile></Profiles>)");
  EXPECT_EQ(progress.getMusicVolume(), 0.0f);
}

// Every setter saves at once: the file holds the value after each call.
TEST_F(ProgressTest, EverySetterSaves) {
  RuvProgress& progress = Start();
  struct Step {
    std::function<void()> call;
    std::string expected;
  };
  const std::vector<Step> steps = {
      {[&] { progress.setGems(12); }, "<gems amount=\"12\"/>"},
      {[&] { progress.addGems(3); }, "<gems amount=\"15\"/>"},
      {[&] { progress.setMode(3); }, "<mode v=\"3\"/>"},
      {[&] { progress.setFullscreen(true); }, "<fs v=\"1\"/>"},
      {[&] { progress.setEpisodeVisits(2, 3, 5); }, "<episodeVisited episode2h=\"5\"/>"},
      {[&] { progress.setEpisodeVisits(2, 1, 4); }, "<episodeVisited episode2h=\"5\" episode2n=\"4\"/>"},
      {[&] { progress.setEventFlag(3); }, "event3=\"1\"/>"},
      {[&] { progress.setTutorialEnabled(false); }, "<tutorial avail=\"0\"/>"},
      {[&] { progress.setTutorialStepState(4, 2); }, "<step id=\"4\" state=\"2\"/>"},
      {[&] { progress.setTutorialParam(u"count", 6); }, "<param name=\"count\" v=\"6\"/>"},
      {[&] { progress.addOwnedSpot(u"spot_1", 1, 2); }, "<spot name=\"spot_1\" episode=\"1\" level=\"2\" mode=\"0\"/>"},
  };
  for (const Step& step : steps) {
    step.call();
    EXPECT_NE(Saved().find(step.expected), std::string::npos) << step.expected << "\n" << Saved();
  }
  EXPECT_EQ(progress.getEpisodeVisits(2, 3), 5);
  EXPECT_EQ(progress.getEpisodeVisits(2, 0), 4);
  EXPECT_EQ(progress.getEpisodeVisits(1, 0), 0);
  EXPECT_TRUE(progress.getEventFlag(3));
  EXPECT_FALSE(progress.getEventFlag(0));
  EXPECT_FALSE(progress.isTutorialEnabled());
  EXPECT_TRUE(progress.getFullscreen());
  // episodeVisited was appended last; the others were inserted first.
  const std::string saved = Saved();
  EXPECT_LT(saved.find("<owned>"), saved.find("<tutorial"));
  EXPECT_LT(saved.find("<tutorial"), saved.find("<fs"));
  EXPECT_GT(saved.find("<episodeVisited"), saved.find("<levels"));
}

TEST_F(ProgressTest, TutorialParamKeepsTheTutorialOn) {
  RuvProgress& progress = Start();
  EXPECT_EQ(progress.getTutorialParam(u"hint"), 0);
  EXPECT_TRUE(progress.isTutorialEnabled());
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\"><tutorial avail=\"1\"><param name=\"hint\" v=\"0\"/>"
                     "</tutorial><towers/><levels/></Profile>");
  EXPECT_EQ(progress.getTutorialStepState(2), 0);
  EXPECT_EQ(progress.getTutorialStepState(1), 0);
  EXPECT_NE(Saved().find("<param name=\"hint\" v=\"0\"/><step id=\"2\" state=\"0\"/><step id=\"1\" state=\"0\"/>"),
            std::string::npos);
}

TEST_F(ProgressTest, SaveLevelResultMergesTheRecord) {
  RuvProgress& progress = Start();
  RuvLevelRecord first{100, 5, 2000, 2, 3, 0, 0};
  progress.saveLevelResult(1, 2, 0, first);
  EXPECT_EQ(Saved(), "<Profile name=\"A\" version=\"4\" lastEpisode=\"1\"><gems amount=\"3\"/><towers/><levels>"
                     "<level n=\"2\" episode=\"1\" mode=\"0\" combo=\"5\" kills=\"100\" healthBonus=\"2000\" "
                     "gems=\"3\" high=\"2100\" stars=\"2\"/></levels></Profile>");
  // Lower score and stars, a large combo: high and stars stay, the rest is overwritten.
  RuvLevelRecord second{50, 900, 100, 1, 0, 0, 0};
  progress.saveLevelResult(1, 2, 0, second);
  EXPECT_NE(Saved().find("combo=\"900\" kills=\"50\" healthBonus=\"100\" gems=\"0\" high=\"2100\" stars=\"2\""),
            std::string::npos);
  std::unique_ptr<RuvLevelRecord> record(progress.getLevelRecord(1, 2, 0));
  EXPECT_EQ(record->high, 2100);
  EXPECT_EQ(record->stars, 2);
  EXPECT_EQ(record->combo, 900);
  EXPECT_EQ(progress.getGems(), 3);
  EXPECT_EQ(progress.getLastEpisode(), 1);
}

TEST_F(ProgressTest, ModesKeepTheirOwnRecordsButStarsAddUp) {
  RuvProgress& progress = Start();
  progress.saveLevelResult(0, 0, 0, RuvLevelRecord{0, 0, 0, 3, 0, 0, 0});
  progress.saveLevelResult(0, 0, 3, RuvLevelRecord{0, 0, 0, 1, 0, 0, 0});
  progress.saveLevelResult(1, 0, 0, RuvLevelRecord{0, 0, 0, 2, 0, 0, 0});
  std::unique_ptr<RuvLevelRecord> hardcore(progress.getLevelRecord(0, 0, 3));
  EXPECT_EQ(hardcore->stars, 1);
  EXPECT_EQ(progress.getStarCount(0), 4);
  EXPECT_EQ(progress.getStarCount(1), 2);
  EXPECT_EQ(progress.getStarCount(-1), 6);
  EXPECT_EQ(progress.nextPlayableLevel(0, 0), 1);
  EXPECT_EQ(progress.nextPlayableLevel(0, 3), 1);
  EXPECT_EQ(progress.nextPlayableLevel(0, 1), 0);
}

TEST_F(ProgressTest, NextPlayableLevel) {
  RuvProgress& progress = Start();
  mMap.normalLevels = {2, 0};
  EXPECT_EQ(progress.nextPlayableLevel(0, 0), 0);
  EXPECT_TRUE(progress.isLevelOpen(0, 0, 0));
  EXPECT_FALSE(progress.isLevelOpen(0, 1, 0));
  progress.saveLevelResult(0, 0, 0, RuvLevelRecord{0, 0, 0, 1, 0, 0, 0});
  progress.saveLevelResult(0, 1, 0, RuvLevelRecord{0, 0, 0, 3, 0, 0, 0});
  // Every level has stars: the last index, and every level is open.
  EXPECT_EQ(progress.nextPlayableLevel(0, 0), 1);
  EXPECT_TRUE(progress.isLevelOpen(0, 1, 0));
  // An episode without levels.
  EXPECT_EQ(progress.nextPlayableLevel(1, 0), 0);
  EXPECT_EQ(progress.nextPlayableLevel(5, 0), 0);
}

TEST_F(ProgressTest, FindLastPlayedLevelLooksAtTheHighestAvailableEpisode) {
  RuvProgress& progress = Start();
  mMap.normalLevels = {3, 2, 4};
  mMap.stars = {0, 3, 100};
  int episode = -1;
  int level = -1;
  progress.findLastPlayedLevel(episode, level);
  EXPECT_EQ(episode, 0);
  EXPECT_EQ(level, 0);
  progress.saveLevelResult(0, 2, 0, RuvLevelRecord{0, 0, 0, 3, 0, 0, 0});
  progress.findLastPlayedLevel(episode, level);
  EXPECT_EQ(episode, 1);
  EXPECT_EQ(level, 0);
  mMap.stars[1] = 4;
  progress.findLastPlayedLevel(episode, level);
  EXPECT_EQ(episode, 0);
  EXPECT_EQ(level, 2);
}

TEST_F(ProgressTest, SpotsBoughtInHardcoreAreKeptApart) {
  RuvProgress& progress = Start();
  mMap.mode = 3;
  progress.addOwnedSpot(u"s\u00E9", 0, 1);
  EXPECT_TRUE(progress.isSpotOwned(u"s\u00E9", 0, 1));
  EXPECT_FALSE(progress.isSpotOwned(u"s\u00E9", 0, 2));
  mMap.mode = 1;
  EXPECT_FALSE(progress.isSpotOwned(u"s\u00E9", 0, 1));
  progress.addOwnedSpot(u"s\u00E9", 0, 1);
  EXPECT_TRUE(progress.isSpotOwned(u"s\u00E9", 0, 1));
  EXPECT_NE(Saved().find("<owned><spot name=\"s\xC3\xA9\" episode=\"0\" level=\"1\" mode=\"1\"/>"
                         "<spot name=\"s\xC3\xA9\" episode=\"0\" level=\"1\" mode=\"3\"/></owned>"),
            std::string::npos);
}

TEST_F(ProgressTest, GetIntReadsProfileAttributes) {
  RuvProgress& progress = Start(R"(<Profiles currentProfile="A"><Profile name="A" Refill="2" bad="x"/></Profiles>)");
  EXPECT_EQ(progress.getInt("Refill"), 2);
  EXPECT_EQ(progress.getInt("bad"), 0);
  EXPECT_EQ(progress.getInt("missing"), 0);
}

TEST_F(ProgressTest, NumbersOutOfRangeAreClampedAndLogged) {
  struct Case {
    const char* amount;
    int gems;
    bool logged;
  };
  const Case cases[] = {
      {"99999999999999999999", 1000000000, true}, {"-99999999999999999999", -1000000000, true},
      {"2147483647", 1000000000, true},            {"1000000000", 1000000000, false},
      {"12", 12, false},                           {"x", 0, false},
  };
  for (const Case& c : cases) {
    fakes::MainLogRecorder log;
    RuvProgress& progress = Start(std::string(R"(<Profiles currentProfile="A"><Profile name="A"><gems amount=")") +
                                  c.amount + R"("/></Profile></Profiles>)");
    EXPECT_EQ(progress.getGems(), c.gems) << c.amount;
    EXPECT_EQ(log.Text().find(u"\"amount\" of <gems> is out of range") != std::u16string::npos, c.logged)
        << c.amount;
  }
}

const char kThreeProfiles[] =
    R"(<Profiles currentProfile="B"><Profile name="Player01234567890123456789"/><Profile name="A"/>)"
    R"(<Profile name="B"><gems amount="9"/><mode v="2"/><fs v="1"/></Profile></Profiles>)";

TEST_F(ProgressTest, ProfileNames) {
  RuvProgress& single = Start();
  EXPECT_EQ(single.getCurrentProfileName(), u"");
  EXPECT_TRUE(single.getOtherProfileNames().empty());
  RuvProgress& three = Start(kThreeProfiles);
  EXPECT_EQ(three.getCurrentProfileName(), u"B");
  EXPECT_EQ(three.getOtherProfileNames(), (Names{u"A", u"B"}));
}

TEST_F(ProgressTest, SelectProfileRebindsAndTellsTheMap) {
  RuvProgress& progress = Start(kThreeProfiles);
  progress.getUpgradeLevel(7);
  progress.selectProfile(u"A");
  EXPECT_EQ(SavedCurrent(), "A");
  progress.selectProfile(u"B");
  EXPECT_EQ(mWallet.gems, 9);
  EXPECT_EQ(mMap.mode, 2);
  EXPECT_EQ(mMap.tutorialReloads, 2);
  // B wants full screen while the application runs windowed.
  EXPECT_EQ(mMap.screenSwitches, 1);
  // The cache was emptied: B has no upgrade list yet, so reading writes one.
  EXPECT_EQ(progress.getUpgradeLevel(7), -1);
  EXPECT_NE(Saved("B").find("<upgrades>"), std::string::npos);
  EXPECT_EQ(progress.getCurrentProfileName(), u"B");
}

TEST_F(ProgressTest, CreateProfileLaysItOut) {
  RuvProgress& progress = Start();
  progress.createProfile(u"New");
  EXPECT_EQ(SavedCurrent(), "New");
  progress.save();
  // Selecting read the gems, mode and window mode; the layout came after.
  EXPECT_EQ(Saved("New"), "<Profile name=\"New\" version=\"4\"><towers/><levels/><fs v=\"0\"/><mode v=\"0\"/>"
                          "<gems amount=\"0\"/></Profile>");
  EXPECT_EQ(progress.getCurrentProfileName(), u"New");
  EXPECT_EQ(progress.getOtherProfileNames(), Names{u"New"});
  EXPECT_EQ(Saved(), kLaidOut);
}

TEST_F(ProgressTest, RenameProfile) {
  RuvProgress& progress = Start(kThreeProfiles);
  progress.renameProfile(u"Zed");
  EXPECT_EQ(SavedCurrent(), "Zed");
  EXPECT_NE(Saved("Zed").find("<gems amount=\"9\"/>"), std::string::npos);
  EXPECT_EQ(progress.getOtherProfileNames(), (Names{u"A", u"Zed"}));
  progress.setGems(1);
  EXPECT_NE(Saved("Zed").find("<gems amount=\"1\"/>"), std::string::npos);
}

TEST_F(ProgressTest, DeleteProfileSelectsTheSecondRemaining) {
  RuvProgress& progress = Start(kThreeProfiles);
  progress.deleteProfile();
  EXPECT_EQ(SavedCurrent(), "A");
  EXPECT_EQ(Saved("B"), "");
  EXPECT_EQ(progress.getCurrentProfileName(), u"A");
  progress.deleteProfile();
  EXPECT_EQ(SavedCurrent(), "Player01234567890123456789");
  EXPECT_EQ(progress.getCurrentProfileName(), u"");
  EXPECT_TRUE(progress.getOtherProfileNames().empty());
  progress.setGems(4);
  EXPECT_NE(Saved("Player01234567890123456789").find("<gems amount=\"4\"/>"), std::string::npos);
}

}  // namespace
