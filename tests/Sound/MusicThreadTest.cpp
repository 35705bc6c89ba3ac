// The music state under real threads: the mixer's sync thread switches tracks while the main
// thread starts music and sets volumes. Meant for the ThreadSanitizer build; passes anywhere.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "File/FileTestSupport.h"
#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Mixer.h"
#include "SoundTestSupport.h"

namespace {

class MusicThreadTest : public filetest::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    // Tracks a few milliseconds long, so that end syncs keep coming.
    WriteTestFile("m/a.wav", soundtest::MakeConstantWav(0.1f, 300));
    WriteTestFile("m/b.wav", soundtest::MakeConstantWav(0.2f, 500));
    WriteTestFile("fx/hit.wav", soundtest::MakeConstantWav(0.3f, 200));
    // Without a device: the system's own BASS_Init fails and the test pulls the output itself.
    ASSERT_EQ(bass::BASS_Init(bass::BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), bass::TRUE);
    mSystem = soundtest::NewSoundSystem();
  }
  void TearDown() override {
    StopPulling();
    if (mSystem) soundtest::DeleteSoundSystem(mSystem);
    bass::BASS_Free();
    TempFolderTest::TearDown();
  }
  // Pulls in device-sized blocks on a thread of its own, as fast as it can.
  void StartPulling() {
    mPuller = std::thread([this] {
      std::vector<float> block(2 * 512);
      while (!mStop) bass::MixerPull(block.data(), 512);
    });
  }
  void StopPulling() {
    mStop = true;
    if (mPuller.joinable()) mPuller.join();
  }

  SoundSystem* mSystem = nullptr;
  std::atomic<bool> mStop{false};
  std::thread mPuller;
};

TEST_F(MusicThreadTest, SyncsSwitchTracksWhileTheMainThreadPlaysMusicAndSetsVolumes) {
  std::unique_ptr<Sound> hit(mSystem->CreateSound("fx/hit"));
  StartPulling();
  for (int i = 0; i < 300; ++i) {
    switch (i % 5) {
      case 0: mSystem->PlayPlaylist({"m/a.wav", "m/b.wav"}); break;
      case 1: mSystem->PlayMusic("m/b.wav"); break;
      case 2: mSystem->PlayMusic("m/a.wav"); break;
      case 3: mSystem->PlayPlaylist({"m/b.wav", "m/a.wav"}); break;
      case 4: if (i % 50 == 4) mSystem->PlayMusic(""); break;
    }
    mSystem->SetMusicVolume(float(i % 10) / 10.0f);
    mSystem->SetSoundVolume(float(i % 7) / 7.0f);
    hit->Play();
    if (i % 20 == 0) {
      mSystem->Pause();
      mSystem->Resume();
    }
    // Room for fades to end now and then, so that syncs meet the calls above.
    std::this_thread::sleep_for(std::chrono::microseconds(i % 4 == 0 ? 3000 : 200));
  }
  hit.reset();
  // Destroyed while syncs may still fire.
  soundtest::DeleteSoundSystem(mSystem);
  mSystem = nullptr;
  StopPulling();
  bass::MixerWaitForSyncs();
}

TEST_F(MusicThreadTest, APlaylistAdvancesOnTheSyncThread) {
  mSystem->PlayPlaylist({"m/a.wav", "m/b.wav"});
  ASSERT_EQ(mSystem->GetCurrentTrack(), "m/a.wav");
  std::vector<float> block(2 * 400);
  bass::MixerPull(block.data(), 400);
  bass::MixerWaitForSyncs();
  EXPECT_EQ(mSystem->GetCurrentTrack(), "m/b.wav");
  EXPECT_EQ(mSystem->GetNextTrack(), "m/a.wav");
  bass::MixerPull(block.data(), 1);
  EXPECT_FLOAT_EQ(block[0], 0.2f);
}

TEST_F(MusicThreadTest, ACrossFadeEndsInTheNewTrackAtTheMusicVolume) {
  WriteTestFile("m/long.wav", soundtest::MakeConstantWav(0.5f, 3 * 44100));
  mSystem->SetMusicVolume(0.5f);
  mSystem->PlayMusic("m/long.wav");
  std::vector<float> block(2 * 44100);
  bass::MixerPull(block.data(), 100);
  EXPECT_FLOAT_EQ(block[0], 0.25f);
  mSystem->PlayMusic("m/b.wav");
  bass::MixerPull(block.data(), 44100);  // the fade: 0.5 down to 0 over one second
  EXPECT_NEAR(block[2 * 22050], 0.125f, 1e-4f);
  bass::MixerWaitForSyncs();
  EXPECT_EQ(mSystem->GetCurrentTrack(), "m/b.wav");
  bass::MixerPull(block.data(), 1);
  EXPECT_FLOAT_EQ(block[0], 0.1f);  // 0.2 at the music volume
}

}  // namespace
