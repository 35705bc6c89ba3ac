// The mixer pulled without a device.
#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Mixer.h"
#include "tests/Sound/SoundBytes.h"

// A named namespace keeps the directive out of other files of a unity build.
namespace mixertest {

using namespace bass;

struct MixerSyncCounter {
  std::atomic<int> count{0};
  std::atomic<DWORD> lastChannel{0};
  static void Proc(HSYNC, DWORD channel, DWORD, void* user) {
    MixerSyncCounter* self = static_cast<MixerSyncCounter*>(user);
    self->lastChannel = channel;
    ++self->count;
  }
};

using MixerMemoryFile = soundtest::MemorySoundFile;
constexpr const BASS_FILEPROCS& kMixerMemoryProcs = soundtest::MemorySoundFile::kProcs;

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(BASS_Init(BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), TRUE); }
  void TearDown() override { BASS_Free(); }

  static HSAMPLE LoadConstant(float value, std::size_t frames) {
    const std::string wav = soundtest::MakeConstantWav(value, frames);
    return BASS_SampleLoad(TRUE, wav.data(), 0, DWORD(wav.size()), 8, 0);
  }
  static std::vector<float> Pull(unsigned frames) {
    std::vector<float> out(std::size_t(frames) * 2, -9.0f);
    MixerPull(out.data(), frames);
    return out;
  }
};

TEST_F(MixerTest, ASlideReachesItsValueAfterItsFramesAndFiresOnce) {
  const HCHANNEL channel = BASS_SampleGetChannel(LoadConstant(0.5f, 3 * 44100), TRUE);
  ASSERT_NE(channel, 0u);
  MixerSyncCounter slides;
  ASSERT_NE(BASS_ChannelSetSync(channel, BASS_SYNC_MIXTIME | BASS_SYNC_SLIDE, 0, MixerSyncCounter::Proc, &slides), 0u);
  ASSERT_EQ(BASS_ChannelPlay(channel, TRUE), TRUE);
  ASSERT_EQ(BASS_ChannelSlideAttribute(channel, BASS_ATTRIB_VOL, 0.0f, 1000), TRUE);

  const std::vector<float> ramp = Pull(44099);
  for (unsigned frame : {0u, 1u, 22050u, 44098u}) {
    const float expected = 0.5f * (1.0f - float(frame) / 44100.0f);
    EXPECT_NEAR(ramp[2 * frame], expected, 1e-5f) << frame;
    EXPECT_EQ(ramp[2 * frame], ramp[2 * frame + 1]);
  }
  MixerWaitForSyncs();
  EXPECT_EQ(slides.count, 0);
  float volume = -1.0f;
  ASSERT_EQ(BASS_ChannelGetAttribute(channel, BASS_ATTRIB_VOL, &volume), TRUE);
  EXPECT_GT(volume, 0.0f);

  Pull(1);
  ASSERT_EQ(BASS_ChannelGetAttribute(channel, BASS_ATTRIB_VOL, &volume), TRUE);
  EXPECT_EQ(volume, 0.0f);
  Pull(44100);
  MixerWaitForSyncs();
  EXPECT_EQ(slides.count, 1);
  EXPECT_EQ(slides.lastChannel, channel);
  EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PLAYING);  // silent, still playing
}

TEST_F(MixerTest, SettingTheVolumeEndsASlideAndFiresItsSync) {
  const HCHANNEL channel = BASS_SampleGetChannel(LoadConstant(0.5f, 44100), TRUE);
  MixerSyncCounter slides;
  BASS_ChannelSetSync(channel, BASS_SYNC_SLIDE, 0, MixerSyncCounter::Proc, &slides);
  BASS_ChannelPlay(channel, TRUE);
  BASS_ChannelSlideAttribute(channel, BASS_ATTRIB_VOL, 0.0f, 1000);
  Pull(100);
  BASS_ChannelSetAttribute(channel, BASS_ATTRIB_VOL, 0.25f);
  EXPECT_NEAR(Pull(1)[0], 0.125f, 1e-6f);
  MixerWaitForSyncs();
  EXPECT_EQ(slides.count, 1);
}

TEST_F(MixerTest, TheEndOfAStreamFiresOnceAndStopsIt) {
  MixerMemoryFile file;
  file.bytes = soundtest::MakeConstantWav(0.25f, 1000);
  const HSTREAM stream = BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &kMixerMemoryProcs, &file);
  ASSERT_NE(stream, 0u);
  MixerSyncCounter ends;
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, MixerSyncCounter::Proc, &ends);
  BASS_ChannelPlay(stream, TRUE);
  const std::vector<float> out = Pull(1500);
  EXPECT_EQ(out[2 * 999], 0.25f);
  EXPECT_EQ(out[2 * 1000], 0.0f);
  Pull(1000);
  MixerWaitForSyncs();
  EXPECT_EQ(ends.count, 1);
  EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);

  // Played again from the start, it ends again.
  BASS_ChannelPlay(stream, TRUE);
  EXPECT_EQ(Pull(10)[0], 0.25f);
  Pull(1000);
  MixerWaitForSyncs();
  EXPECT_EQ(ends.count, 2);

  EXPECT_EQ(file.closes, 0);
  EXPECT_EQ(BASS_StreamFree(stream), TRUE);
  EXPECT_EQ(file.closes, 1);
  EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
}

TEST_F(MixerTest, PauseSilencesTheOutputAndKeepsTheChannelsWhereTheyAre) {
  std::vector<float> ramp(2 * 100);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = float(i / 2) / 100.0f;
  const std::string wav = soundtest::MakeFloatWav(ramp, 2, 44100);
  const HCHANNEL channel = BASS_SampleGetChannel(BASS_SampleLoad(TRUE, wav.data(), 0, DWORD(wav.size()), 1, 0), TRUE);
  BASS_ChannelPlay(channel, TRUE);
  EXPECT_EQ(Pull(10)[2 * 9], 0.09f);
  ASSERT_EQ(BASS_Pause(), TRUE);
  const std::vector<float> paused = Pull(50);
  EXPECT_EQ(std::count(paused.begin(), paused.end(), 0.0f), 100);
  EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PLAYING);
  ASSERT_EQ(BASS_Start(), TRUE);
  EXPECT_EQ(Pull(1)[0], 0.10f);
}

TEST_F(MixerTest, ChannelsAddAtTheirVolumes) {
  const HSAMPLE sample = LoadConstant(0.5f, 100);
  const HCHANNEL a = BASS_SampleGetChannel(sample, TRUE);
  const HCHANNEL b = BASS_SampleGetChannel(sample, TRUE);
  BASS_ChannelSetAttribute(a, BASS_ATTRIB_VOL, 0.5f);
  BASS_ChannelSetAttribute(b, BASS_ATTRIB_VOL, 2.0f);  // clamped to 1
  BASS_ChannelPlay(a, TRUE);
  BASS_ChannelPlay(b, TRUE);
  EXPECT_EQ(Pull(1)[0], 0.75f);
  BASS_ChannelStop(b);
  EXPECT_EQ(Pull(1)[0], 0.25f);
}

TEST_F(MixerTest, FreeingASampleFreesItsChannels) {
  const HSAMPLE sample = LoadConstant(0.5f, 100);
  const HCHANNEL channel = BASS_SampleGetChannel(sample, TRUE);
  BASS_ChannelPlay(channel, TRUE);
  EXPECT_EQ(BASS_SampleFree(sample), TRUE);
  EXPECT_EQ(BASS_ChannelPlay(channel, TRUE), FALSE);
  EXPECT_EQ(Pull(1)[0], 0.0f);
  EXPECT_EQ(BASS_SampleGetChannel(sample, TRUE), 0u);
  EXPECT_EQ(BASS_SampleFree(sample), FALSE);
}

TEST_F(MixerTest, ASampleGivesAtMostMaxChannels) {
  const std::string wav = soundtest::MakeConstantWav(0.5f, 10);
  const HSAMPLE sample = BASS_SampleLoad(TRUE, wav.data(), 0, DWORD(wav.size()), 2, 0);
  EXPECT_NE(BASS_SampleGetChannel(sample, TRUE), 0u);
  EXPECT_NE(BASS_SampleGetChannel(sample, TRUE), 0u);
  EXPECT_EQ(BASS_SampleGetChannel(sample, TRUE), 0u);
}

TEST_F(MixerTest, DataThatDoesNotDecodeGivesNoSample) {
  const std::string cases[] = {"", "RIFF", "OggS but not really", "plain text", soundtest::MakeConstantWav(0.5f, 0)};
  for (const std::string& bytes : cases)
    EXPECT_EQ(BASS_SampleLoad(TRUE, bytes.data(), 0, DWORD(bytes.size()), 1, 0), 0u) << bytes.size();
  MixerMemoryFile file;
  file.bytes = "plain text";
  EXPECT_EQ(BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &kMixerMemoryProcs, &file), 0u);
  EXPECT_EQ(file.closes, 1);
}

TEST_F(MixerTest, ASyncMayFreeItsOwnStream) {
  MixerMemoryFile file;
  file.bytes = soundtest::MakeConstantWav(0.25f, 10);
  struct Freeing {
    static void Proc(HSYNC, DWORD channel, DWORD, void* user) {
      *static_cast<BOOL*>(user) = BASS_StreamFree(channel);
    }
  };
  BOOL freed = FALSE;
  const HSTREAM stream = BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &kMixerMemoryProcs, &file);
  BASS_ChannelSetSync(stream, BASS_SYNC_END, 0, Freeing::Proc, &freed);
  BASS_ChannelPlay(stream, TRUE);
  Pull(100);
  MixerWaitForSyncs();
  EXPECT_EQ(freed, TRUE);
  EXPECT_EQ(file.closes, 1);
}

TEST_F(MixerTest, ARemovedSyncNeverRuns) {
  const HCHANNEL channel = BASS_SampleGetChannel(LoadConstant(0.5f, 10), TRUE);
  MixerSyncCounter ends;
  const HSYNC sync = BASS_ChannelSetSync(channel, BASS_SYNC_END, 0, MixerSyncCounter::Proc, &ends);
  BASS_ChannelPlay(channel, TRUE);
  EXPECT_EQ(BASS_ChannelRemoveSync(channel, sync), TRUE);
  Pull(100);
  MixerWaitForSyncs();
  EXPECT_EQ(ends.count, 0);
  EXPECT_EQ(BASS_ChannelRemoveSync(channel, sync), FALSE);
}

TEST_F(MixerTest, NothingWorksBeforeInit) {
  BASS_Free();
  EXPECT_EQ(BASS_Free(), FALSE);
  EXPECT_EQ(LoadConstant(0.5f, 10), 0u);
  EXPECT_EQ(BASS_Pause(), FALSE);
  EXPECT_EQ(Pull(1)[0], 0.0f);
  ASSERT_EQ(BASS_Init(BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), TRUE);
  EXPECT_EQ(BASS_Init(BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), FALSE);
}

}  // namespace mixertest
