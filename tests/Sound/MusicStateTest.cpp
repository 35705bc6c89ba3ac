// The music state machine of the sound system, on the scripted audio layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Base/Stream.h"
#include "File/FileTestSupport.h"
#include "SoundTestSupport.h"
#include "fakes/ScriptedBass.h"

namespace {

using bass::BASS_SYNC_END;
using bass::BASS_SYNC_SLIDE;

const std::string kMusicStateSlideType = std::to_string(bass::BASS_SYNC_MIXTIME | bass::BASS_SYNC_SLIDE);

class MusicStateTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    for (const char* name : {"m/a.ogg", "m/b.ogg", "m/c.ogg"}) WriteTestFile(name, std::string("OggS music ") + name);
    mSystem = soundtest::NewSoundSystem();
  }
  void TearDown() override {
    if (mSystem) soundtest::DeleteSoundSystem(mSystem);
    TempFolderTest::TearDown();
  }
  // Stream handles created since the last ClearCalls.
  int StreamsCreated() { return int(mBass.CallsStartingWith("StreamCreateFileUser").size()); }

  fakes::ScriptedBass mBass;
  SoundSystem* mSystem = nullptr;
};

TEST_F(MusicStateTest, ConstructionInitialisesTheLayer) {
  const std::vector<std::string> expected = {"Init -1 44100 0", "SetConfig 34 4"};
  EXPECT_EQ(mBass.Calls(), expected);
}

TEST_F(MusicStateTest, TheRunningTrackKeepsPlaying) {
  mSystem->PlayMusic("m/a.ogg");
  const bass::HSTREAM stream = mBass.LastStream();
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "m/a.ogg");
  mBass.ClearCalls();
  mSystem->PlayMusic("m/a.ogg");
  const std::vector<std::string> expected = {"ChannelIsActive " + std::to_string(stream)};
  EXPECT_EQ(mBass.Calls(), expected);
}

TEST_F(MusicStateTest, TheSameTrackAfterItStoppedRestarts) {
  mSystem->PlayMusic("m/a.ogg");
  const bass::HSTREAM stream = mBass.LastStream();
  mBass.SetActive(stream, bass::BASS_ACTIVE_STOPPED);
  mBass.ClearCalls();
  mSystem->PlayMusic("m/a.ogg");
  EXPECT_EQ(StreamsCreated(), 0);
  EXPECT_EQ(mBass.CallsStartingWith("ChannelPlay"), std::vector<std::string>{"ChannelPlay " + std::to_string(stream) + " 1"});
}

TEST_F(MusicStateTest, ANewTrackSlidesTheOldOneOutAndStartsOnTheSlideSync) {
  mSystem->SetMusicVolume(0.25f);
  mSystem->PlayMusic("m/a.ogg");
  const std::string a = std::to_string(mBass.LastStream());
  mBass.ClearCalls();
  mSystem->PlayMusic("m/b.ogg");
  const std::vector<std::string> fade = {"ChannelIsActive " + a, "ChannelSlideAttribute " + a + " 2 0 1000",
                                         "ChannelSetSync " + a + " " + kMusicStateSlideType + " 0"};
  EXPECT_EQ(mBass.Calls(), fade);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "m/a.ogg");  // until the fade has ended
  EXPECT_EQ(mSystem->GetNextTrack(), "m/b.ogg");

  mBass.ClearCalls();
  EXPECT_EQ(mBass.FireSyncs(mBass.LastStream(), BASS_SYNC_SLIDE), 1);
  const std::string b = std::to_string(mBass.LastStream());
  ASSERT_NE(b, a);
  const std::vector<std::string> switched = {"ChannelIsActive " + a, "ChannelStop " + a, "StreamFree " + a,
                                             "StreamCreateFileUser 1 0", "ChannelPlay " + b + " 1",
                                             "ChannelSetAttribute " + b + " 2 0.25"};
  EXPECT_EQ(mBass.Calls(), switched);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "m/b.ogg");
  EXPECT_EQ(mBass.LiveSyncs(), 0);
}

TEST_F(MusicStateTest, AnEmptyNameStopsAtOnce) {
  mSystem->PlayMusic("m/a.ogg");
  const std::string a = std::to_string(mBass.LastStream());
  mBass.ClearCalls();
  mSystem->PlayMusic("");
  const std::vector<std::string> expected = {"ChannelIsActive " + a, "ChannelStop " + a, "StreamFree " + a};
  EXPECT_EQ(mBass.Calls(), expected);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "");
}

TEST_F(MusicStateTest, AMissingFileLeavesNoMusicAndTheNameUnchanged) {
  mSystem->PlayMusic("m/none.ogg");
  EXPECT_EQ(StreamsCreated(), 0);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "");

  // While a track plays: it fades out and nothing follows.
  mSystem->PlayMusic("m/a.ogg");
  const bass::HSTREAM a = mBass.LastStream();
  mSystem->PlayMusic("m/none.ogg");
  mBass.ClearCalls();
  mBass.FireSyncs(a, BASS_SYNC_SLIDE);
  EXPECT_EQ(StreamsCreated(), 0);
  EXPECT_FALSE(mBass.IsLive(a));
  EXPECT_EQ(mSystem->GetCurrentTrack(), "");
}

TEST_F(MusicStateTest, AThreeTrackPlaylistGoesRoundOnEndSyncs) {
  mSystem->PlayPlaylist({"m/a.ogg", "m/b.ogg", "m/c.ogg"});
  std::vector<std::string> played = {mSystem->GetCurrentTrack()};
  for (int i = 0; i < 3; ++i) {
    const bass::HSTREAM stream = mBass.LastStream();
    ASSERT_EQ(mBass.CallsStartingWith("ChannelSetSync " + std::to_string(stream) + " 2 0").size(), 1u);
    ASSERT_EQ(mBass.FireSyncs(stream, BASS_SYNC_END), 1);
    EXPECT_FALSE(mBass.IsLive(stream));
    played.push_back(mSystem->GetCurrentTrack());
  }
  const std::vector<std::string> expected = {"m/a.ogg", "m/b.ogg", "m/c.ogg", "m/a.ogg"};
  EXPECT_EQ(played, expected);
  EXPECT_EQ(mSystem->GetNextTrack(), "m/b.ogg");
}

TEST_F(MusicStateTest, APlaylistStartingWithThePlayingTrackChangesNothing) {
  mSystem->PlayMusic("m/a.ogg");
  mBass.ClearCalls();
  mSystem->PlayPlaylist({"m/a.ogg", "m/b.ogg"});
  EXPECT_EQ(StreamsCreated(), 0);
  EXPECT_TRUE(mBass.CallsStartingWith("ChannelSetSync").empty());
}

TEST_F(MusicStateTest, ASyncOfAStreamFreedMeanwhileDoesNothing) {
  mSystem->PlayMusic("m/a.ogg");
  const bass::HSTREAM a = mBass.LastStream();
  mSystem->PlayMusic("m/b.ogg");
  const fakes::ScriptedBass::SyncRecord slide = mBass.FindSync(a, BASS_SYNC_SLIDE);
  ASSERT_NE(slide.proc, nullptr);
  // The layer had already taken the sync off its queue when the main thread stopped the music.
  mSystem->PlayMusic("");
  mBass.ClearCalls();
  slide.proc(slide.handle, a, 0, slide.user);
  EXPECT_EQ(StreamsCreated(), 0);
  EXPECT_EQ(mSystem->GetCurrentTrack(), "");
}

TEST_F(MusicStateTest, TheVolumesApplyToTheStreamAndAreKept) {
  mSystem->PlayMusic("m/a.ogg");
  const std::string a = std::to_string(mBass.LastStream());
  mBass.ClearCalls();
  mSystem->SetMusicVolume(0.5f);
  mSystem->SetSoundVolume(0.75f);  // no listed sounds: nothing to set
  const std::vector<std::string> expected = {"ChannelSetAttribute " + a + " 2 0.5"};
  EXPECT_EQ(mBass.Calls(), expected);
  EXPECT_EQ(mSystem->GetMusicVolume(), 0.5f);
  EXPECT_EQ(mSystem->GetSoundVolume(), 0.75f);
}

TEST_F(MusicStateTest, PauseAndResumeReachAllOutput) {
  mBass.ClearCalls();
  mSystem->Pause();
  mSystem->Resume();
  const std::vector<std::string> expected = {"Pause", "Start"};
  EXPECT_EQ(mBass.Calls(), expected);
}

TEST_F(MusicStateTest, TheDestructorRemovesTheSyncsBeforeItFreesAnything) {
  mSystem->PlayPlaylist({"m/a.ogg", "m/b.ogg"});
  const std::string a = std::to_string(mBass.LastStream());
  mSystem->PlayMusic("m/c.ogg");  // end sync and slide sync on a
  ASSERT_EQ(mBass.LiveSyncs(), 2);
  mBass.ClearCalls();
  soundtest::DeleteSoundSystem(mSystem);
  mSystem = nullptr;
  const std::vector<std::string> calls = mBass.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].rfind("ChannelRemoveSync " + a + " ", 0), 0u);
  EXPECT_EQ(calls[1].rfind("ChannelRemoveSync " + a + " ", 0), 0u);
  EXPECT_EQ(calls[2], "ChannelStop " + a);
  EXPECT_EQ(calls[3], "StreamFree " + a);
  EXPECT_EQ(calls[4], "Free");
  EXPECT_EQ(mBass.LiveSyncs(), 0);
}

// The stream reads the file through its procedures; seeking answers by the position reached.
TEST_F(MusicStateTest, TheFileProceduresReadAndSeekTheTrack) {
  mSystem->PlayMusic("m/a.ogg");
  const bass::HSTREAM stream = mBass.LastStream();
  const bass::BASS_FILEPROCS procs = mBass.StreamProcs(stream);
  void* user = mBass.StreamUser(stream);
  const std::string body = "OggS music m/a.ogg";
  EXPECT_EQ(procs.length(user), body.size());
  struct Case {
    bass::QWORD offset;
    bass::BOOL result;
  };
  const Case cases[] = {{0, bass::TRUE}, {5, bass::TRUE}, {body.size(), bass::TRUE},
                        {bass::QWORD(1) << 31, bass::FALSE}, {bass::QWORD(1) << 32, bass::FALSE}};
  for (const Case& c : cases) EXPECT_EQ(procs.seek(c.offset, user), c.result) << c.offset;
  ASSERT_EQ(procs.seek(5, user), bass::TRUE);
  char buffer[8] = {};
  EXPECT_EQ(procs.read(buffer, 5, user), 5u);
  EXPECT_EQ(std::string(buffer, 5), "music");
  procs.close(user);  // does nothing: the system deletes the reader
  EXPECT_EQ(procs.read(buffer, 1, user), 1u);
}

}  // namespace
