// Sound tags on the scripted audio layer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceSound.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/SoundTags.h"
#include "gamesupport/GameTestSupport.h"
#include "fakes/ScriptedBass.h"

namespace {

using Calls = std::vector<std::string>;

class SoundTagsTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    for (const char* name : {"a.ogg", "b.ogg", "c.wav"}) WriteTestFile(std::string("ruv/data/sound/") + name, "OggS x");
    Tags()->SetMapState(&mMap);
  }
  void TearDown() override {
    delete k2::SoundTags::Instance();
    mProgress.reset();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<resource::ResourceSound>().empty());
    GameFolderTest::TearDown();
  }
  static k2::SoundTags* Tags() { return k2::SoundTags::Instance(); }
  void LoadSheet(const std::string& text) {
    WriteTestFile("ruv/sounds_sheet.csv", text);
    EXPECT_TRUE(Tags()->Load(u"ruv/sounds_sheet.csv"));
    mBass.ClearCalls();
  }
  std::string Channel(std::size_t entry) const {
    return std::to_string(Tags()->GetEntries().at(entry)->sound->GetChannel());
  }
  void StartProgress() {
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
  }

  fakes::ScriptedBass mBass;
  gametest::FakeMapState mMap;
  std::unique_ptr<RuvProgress> mProgress;
};

TEST_F(SoundTagsTest, ReadsTheSheet) {
  LoadSheet(
      "# tag;file;volume;group;number\n"
      "#hidden;a;1;0;0\n"
      " pad ; b ; 0.5 ; 2 ; 7 \n"
      "\n"
      "short;c\r\n"
      "silent;;0.3;4;1\r\n"
      "bare\n");
  const auto& entries = Tags()->GetEntries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0]->tag, u"pad");
  EXPECT_EQ(entries[0]->file, u"b");
  EXPECT_FLOAT_EQ(entries[0]->volume, 0.5f);
  EXPECT_EQ(entries[0]->group, 2);
  // The CR of a short line is not part of the file name: the sound loads.
  EXPECT_EQ(entries[1]->file, u"c");
  EXPECT_EQ(entries[1]->volume, 0.0f);
  EXPECT_EQ(entries[1]->group, 0);
  ASSERT_NE(entries[1]->sound, nullptr);
  EXPECT_NE(entries[1]->sound->GetChannel(), 0u);
  EXPECT_EQ(entries[2]->sound, nullptr);
  EXPECT_EQ(entries[2]->group, 4);
  EXPECT_EQ(entries[3]->file, u"");
  EXPECT_EQ(mBass.LiveSamples(), 2);
}

TEST_F(SoundTagsTest, PlayRestartsTheFirstEntryWithAFile) {
  LoadSheet("dup;;1;0;0\ndup;a;1;0;1\ndup;b;1;0;2\nempty;;1;0;3\n");
  EXPECT_TRUE(Tags()->Play(u"dup"));
  EXPECT_TRUE(Tags()->Play(u"dup"));
  const Calls expected = {"ChannelSetAttribute " + Channel(1) + " 2 1", "ChannelPlay " + Channel(1) + " 1",
                          "ChannelSetAttribute " + Channel(1) + " 2 1", "ChannelPlay " + Channel(1) + " 1"};
  EXPECT_EQ(mBass.Calls(), expected);
  mBass.ClearCalls();
  EXPECT_FALSE(Tags()->Play(u"empty"));
  EXPECT_FALSE(Tags()->Play(u"Dup"));
  EXPECT_TRUE(mBass.Calls().empty());
}

TEST_F(SoundTagsTest, PlayTakesTheProfileVolumeAtEachPlay) {
  LoadSheet("hit;a;0.2;0;0\n");
  StartProgress();
  mProgress->setSoundVolume(0.25f);
  mBass.ClearCalls();
  Tags()->Play(u"hit");
  EXPECT_EQ(mBass.CallsStartingWith("ChannelSetAttribute"), Calls{"ChannelSetAttribute " + Channel(0) + " 2 0.25"});
  mProgress->setSoundVolume(0.5f);
  mBass.ClearCalls();
  Tags()->Play(u"hit");
  EXPECT_EQ(mBass.CallsStartingWith("ChannelSetAttribute"), Calls{"ChannelSetAttribute " + Channel(0) + " 2 0.5"});
}

TEST_F(SoundTagsTest, MusicStartsTheTrackAtTheProfileVolume) {
  WriteTestFile("ruv/data/music/main_menu.ogg", "OggS music");
  Tags()->PlayMusic(u"ruv/data/music/main_menu.ogg");
  EXPECT_EQ(SoundSystem::Instance()->GetCurrentTrack(), "ruv/data/music/main_menu.ogg");
  EXPECT_EQ(SoundSystem::Instance()->GetMusicVolume(), 1.0f);
  StartProgress();
  mProgress->setMusicVolume(0.75f);
  Tags()->PlayMusic(u"ruv/data/music/main_menu.ogg");
  EXPECT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.75f);
}

TEST_F(SoundTagsTest, MissingSheetGivesAnEmptyTable) {
  LoadSheet("hit;a;1;0;0\n");
  EXPECT_TRUE(Tags()->Load(u"ruv/none.csv"));
  EXPECT_TRUE(Tags()->GetEntries().empty());
  EXPECT_FALSE(Tags()->Play(u"hit"));
}

// The committed sheet has five fields a line and names sounds that exist.
TEST_F(SoundTagsTest, SampleSheetNamesExistingSounds) {
  const std::string sheet = SampleDataText("ruv/sounds_sheet.csv");
  ASSERT_FALSE(sheet.empty());
  std::size_t start = 0;
  while (start < sheet.size()) {
    const std::size_t end = sheet.find('\n', start);
    const std::string line = sheet.substr(start, end - start);
    start = end + 1;
    EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 4) << line;
    if (line[0] == '#') continue;
    const std::string file = line.substr(line.find(';') + 1, line.find(';', line.find(';') + 1) - line.find(';') - 1);
    if (file.empty()) continue;
    const std::string base = std::string(QM_SOURCE_DIR) + "/data/ruv/data/sound/" + file;
    EXPECT_TRUE(std::filesystem::exists(base + ".ogg") || std::filesystem::exists(base + ".wav")) << line;
  }
}

}  // namespace
