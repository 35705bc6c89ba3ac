// Sound effects and their shared samples, on the scripted audio layer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceSound.h"
#include "File/FileTestSupport.h"
#include "SoundTestSupport.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScriptedBass.h"

namespace {

class SoundEffectTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    mSystem = soundtest::NewSoundSystem();
    mBass.ClearCalls();
  }
  void TearDown() override {
    soundtest::DeleteSoundSystem(mSystem);
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<resource::ResourceSound>().empty());
    TempFolderTest::TearDown();
  }

  fakes::ScriptedBass mBass;
  SoundSystem* mSystem = nullptr;
};

TEST_F(SoundEffectTest, TwoSoundsOfOneFileShareOneSampleFreedWithTheLast) {
  WriteTestFile("fx/hit.ogg", "OggS hit");
  std::unique_ptr<Sound> first(mSystem->CreateSound("fx/hit"));
  std::unique_ptr<Sound> second(mSystem->CreateSound("fx/hit"));
  EXPECT_EQ(mBass.CallsStartingWith("SampleLoad").size(), 1u);
  EXPECT_EQ(first->GetResource().Get(), second->GetResource().Get());
  EXPECT_NE(first->GetChannel(), second->GetChannel());
  EXPECT_EQ(mBass.LiveSamples(), 1);
  const bass::HSAMPLE sample = first->GetResource()->GetSample();
  EXPECT_EQ(mBass.CallsStartingWith("SampleGetChannel"),
            std::vector<std::string>(2, "SampleGetChannel " + std::to_string(sample) + " 1"));

  first.reset();
  EXPECT_EQ(mBass.LiveSamples(), 1);
  EXPECT_TRUE(mBass.CallsStartingWith("SampleFree").empty());
  second.reset();
  EXPECT_EQ(mBass.LiveSamples(), 0);
  EXPECT_EQ(mBass.CallsStartingWith("SampleFree"), std::vector<std::string>{"SampleFree " + std::to_string(sample)});
}

TEST_F(SoundEffectTest, PlayRestartsAndIsPlayingAsksTheChannel) {
  WriteTestFile("fx/hit.wav", "RIFF hit");
  std::unique_ptr<Sound> sound(mSystem->CreateSound("fx/hit"));
  const std::string channel = std::to_string(sound->GetChannel());
  EXPECT_FALSE(sound->IsPlaying());
  sound->Play();
  EXPECT_TRUE(sound->IsPlaying());
  EXPECT_EQ(mBass.CallsStartingWith("ChannelPlay"), std::vector<std::string>{"ChannelPlay " + channel + " 1"});
  mBass.ClearCalls();
  sound.reset();
  EXPECT_EQ(mBass.Calls().front(), "ChannelStop " + channel);
}

TEST_F(SoundEffectTest, SetVolumeSetsAtOnceOrSlidesOverWholeMilliseconds) {
  WriteTestFile("fx/hit.ogg", "OggS hit");
  std::unique_ptr<Sound> sound(mSystem->CreateSound("fx/hit"));
  const std::string channel = std::to_string(sound->GetChannel());
  struct Case {
    float volume;
    float seconds;
    std::string call;
  };
  const Case cases[] = {
      {0.3f, 0.0f, "ChannelSetAttribute " + channel + " 2 0.3"},
      {0.5f, -1.0f, "ChannelSetAttribute " + channel + " 2 0.5"},
      {0.0f, 0.5f, "ChannelSlideAttribute " + channel + " 2 0 500"},
      {1.0f, 1.2345f, "ChannelSlideAttribute " + channel + " 2 1 1234"},
  };
  for (const Case& c : cases) {
    mBass.ClearCalls();
    sound->SetVolume(c.volume, c.seconds);
    EXPECT_EQ(mBass.Calls(), std::vector<std::string>{c.call}) << c.seconds;
  }
}

TEST_F(SoundEffectTest, AnUndecodableFileFailsItsLoadAndIsLogged) {
  WriteTestFile("fx/bad.wav", "not a sound");
  fakes::MainLogRecorder log;
  std::unique_ptr<Sound> sound(mSystem->CreateSound("fx/bad"));
  EXPECT_FALSE(sound->GetResource()->IsLoaded());
  EXPECT_EQ(sound->GetResource()->GetSample(), 0u);
  EXPECT_EQ(sound->GetChannel(), 0u);
  EXPECT_NE(log.Text().find(u"Can't decode sound 'fx/bad.wav'."), std::u16string::npos) << std::string(log.Text().begin(), log.Text().end());
  sound->Play();  // harmless without a channel
  EXPECT_FALSE(sound->IsPlaying());
  // The load is tried again by the next sound of the file.
  EXPECT_EQ(resource::ResourceManager::Instance()->Get<resource::ResourceSound>(u"fx/bad")->Load(), VN_FAIL);
}

TEST_F(SoundEffectTest, AMissingFileMakesASilentSound) {
  fakes::MainLogRecorder log;
  std::unique_ptr<Sound> sound(mSystem->CreateSound("fx/none"));
  EXPECT_TRUE(mBass.CallsStartingWith("SampleLoad").empty());
  EXPECT_EQ(sound->GetChannel(), 0u);
}

// The name as given, then ".ogg", then ".wav"; each file has its own size, which SampleLoad shows.
TEST_F(SoundEffectTest, LookupOrderIsTheNameThenOggThenWav) {
  struct Case {
    std::vector<std::string> files;
    std::string loaded;  // "" = none
  };
  const Case cases[] = {
      {{"x", "x.ogg", "x.wav"}, "x"},
      {{"x.ogg", "x.wav"}, "x.ogg"},
      {{"x.wav"}, "x.wav"},
      {{"x.wav.ogg"}, ""},
      {{}, ""},
  };
  int round = 0;
  for (const Case& c : cases) {
    const std::string folder = "look" + std::to_string(round++) + "/";
    for (const std::string& file : c.files) WriteTestFile(folder + file, "OggS " + file);
    mBass.ClearCalls();
    std::unique_ptr<Sound> sound(mSystem->CreateSound(folder + "x"));
    const std::vector<std::string> loads = mBass.CallsStartingWith("SampleLoad");
    if (c.loaded.empty()) {
      EXPECT_TRUE(loads.empty()) << folder;
    } else {
      ASSERT_EQ(loads.size(), 1u) << folder;
      EXPECT_EQ(loads[0], "SampleLoad 1 0 " + std::to_string(5 + c.loaded.size()) + " 65535 0") << folder;
    }
  }
}

TEST_F(SoundEffectTest, TheFolderPrefixesEveryName) {
  WriteTestFile("pre/fx/hit.ogg", "OggS hit");
  mSystem->SetFolder("pre/");
  std::unique_ptr<Sound> sound(mSystem->CreateSound("fx/hit"));
  EXPECT_EQ(sound->GetResource()->GetName(), u"pre/fx/hit");
  EXPECT_TRUE(sound->GetResource()->IsLoaded());
}

}  // namespace
