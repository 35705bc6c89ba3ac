// The mix never exceeds full scale: many effects at once are limited, a lone sound passes unchanged,
// and the gain comes back to unity after a loud passage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Decode.h"
#include "Platform/Bass/Limiter.h"
#include "Platform/Bass/Mixer.h"
#include "tests/Sound/SoundBytes.h"

namespace mixleveltest {

using namespace bass;

std::string MixLevelDataFile(const std::string& path) {
  std::ifstream in(std::filesystem::path(QM_SOURCE_DIR) / "data/ruv/data" / path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

float MixLevelPeak(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (float value : samples) peak = std::max(peak, std::fabs(value));
  return peak;
}

class MixLevelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(BASS_Init(BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), TRUE); }
  void TearDown() override { BASS_Free(); }

  static HSAMPLE Load(const std::string& bytes) { return BASS_SampleLoad(TRUE, bytes.data(), 0, DWORD(bytes.size()), 64, 0); }
  // Pulls frames more frames onto the end of out.
  static void PullInto(std::vector<float>& out, std::size_t frames) {
    if (frames == 0) return;
    const std::size_t start = out.size();
    out.resize(start + 2 * frames);
    MixerPull(out.data() + start, unsigned(frames));
  }
};

// A battle's worst moment: the music, several towers firing, hits and a spell, all at full volume.
// The test adds the decoded files itself to know the unlimited mix.
TEST_F(MixLevelTest, ManyEffectsAtOnceStayUnderFullScale) {
  const char* const kFiles[] = {"music/ingame2.ogg", "sound/shot.ogg", "sound/hit.wav", "sound/win.ogg",
                                "sound/build.ogg",   "sound/coin.wav", "sound/lose.ogg", "sound/click.wav"};
  struct Effect {
    HSAMPLE sample;
    std::vector<float> frames;
  };
  std::vector<Effect> effects;
  for (const char* file : kFiles) {
    const std::string bytes = MixLevelDataFile(file);
    Effect effect{Load(bytes), {}};
    ASSERT_NE(effect.sample, 0u) << file;
    ASSERT_TRUE(DecodeToMixFormat(bytes.data(), bytes.size(), effect.frames)) << file;
    effects.push_back(std::move(effect));
  }
  // Sounds started in one game frame (735 output frames at 60 frames a second) start together:
  // the music, six towers' shots and two hits, then more shots, a spell and the rest.
  struct Play {
    std::size_t frame;
    std::size_t effect;
  };
  const Play kPlays[] = {{0, 0},    {0, 1},    {0, 1},    {0, 1},    {0, 1},    {0, 1},    {0, 1},    {0, 2},
                         {0, 2},    {735, 1},  {735, 1},  {735, 1},  {735, 3},  {1470, 4}, {1470, 5}, {1470, 5},
                         {2205, 6}, {2205, 7}, {2940, 1}, {2940, 1}, {2940, 2}, {2940, 1}};
  const std::size_t total = 44100;
  std::vector<float> raw(2 * total, 0.0f);
  std::vector<float> mixed;
  for (const Play& play : kPlays) {
    const Effect& effect = effects[play.effect];
    const std::size_t count = std::min(effect.frames.size(), raw.size() - 2 * play.frame);
    for (std::size_t k = 0; k < count; ++k) raw[2 * play.frame + k] += effect.frames[k];
    PullInto(mixed, play.frame - mixed.size() / 2);
    const HCHANNEL channel = BASS_SampleGetChannel(effect.sample, TRUE);
    ASSERT_EQ(BASS_ChannelPlay(channel, TRUE), TRUE);
  }
  PullInto(mixed, total - mixed.size() / 2);

  // The fixture does pile up far over full scale.
  ASSERT_GT(MixLevelPeak(raw), 1.5f);
  EXPECT_LE(MixLevelPeak(mixed), 1.0f);
  // Limited, not squashed: the loudest moment reaches the ceiling.
  EXPECT_GE(MixLevelPeak(mixed), 0.99f * Limiter::kCeiling);
  std::size_t firstOver = 0;
  while (firstOver < raw.size() && std::fabs(raw[firstOver]) <= Limiter::kCeiling) ++firstOver;
  firstOver -= firstOver % 2;  // both sides of a frame share one gain
  for (std::size_t k = 0; k < raw.size(); ++k) {
    // Until the first peak the mix is the plain sum; afterwards each sample is the sum scaled down.
    if (k < firstOver) {
      ASSERT_EQ(mixed[k], raw[k]) << "frame " << k / 2;
    } else {
      ASSERT_LE(std::fabs(mixed[k]), std::fabs(raw[k])) << "frame " << k / 2;
      ASSERT_GE(mixed[k] * raw[k], 0.0f) << "frame " << k / 2;
    }
  }
}

TEST_F(MixLevelTest, ALoneSoundPassesUnchanged) {
  for (const char* file : {"sound/shot.ogg", "sound/hit.wav", "music/main_menu.ogg"}) {
    const std::string bytes = MixLevelDataFile(file);
    std::vector<float> frames;
    ASSERT_TRUE(DecodeToMixFormat(bytes.data(), bytes.size(), frames)) << file;
    const HCHANNEL channel = BASS_SampleGetChannel(Load(bytes), TRUE);
    ASSERT_EQ(BASS_ChannelPlay(channel, TRUE), TRUE);
    std::vector<float> mixed;
    PullInto(mixed, frames.size() / 2);
    ASSERT_EQ(mixed, frames) << file;
  }
}

// Two channels of 0.8 (1.6 together) over a quiet 0.1 for 1000 frames: held at the ceiling while
// loud, then the quiet part rises without a jump until it passes unchanged again.
TEST_F(MixLevelTest, AfterALoudPassageTheGainComesBackSmoothlyToUnity) {
  const HSAMPLE loud = Load(soundtest::MakeConstantWav(0.8f, 1000));
  const HSAMPLE quiet = Load(soundtest::MakeConstantWav(0.1f, 44100 * 5));
  for (HCHANNEL channel : {BASS_SampleGetChannel(loud, TRUE), BASS_SampleGetChannel(loud, TRUE), BASS_SampleGetChannel(quiet, TRUE)})
    ASSERT_EQ(BASS_ChannelPlay(channel, TRUE), TRUE);
  std::vector<float> mixed;
  PullInto(mixed, 44100 * 5);

  for (std::size_t k = 0; k < 2 * 1000; ++k) ASSERT_NEAR(mixed[k], Limiter::kCeiling, 1e-6f) << "frame " << k / 2;
  EXPECT_LT(mixed[2 * 1000], 0.1f * 0.6f);
  for (std::size_t k = 2 * 1000; k + 2 < mixed.size(); ++k) {
    ASSERT_LE(mixed[k], mixed[k + 2]) << "frame " << k / 2;
    ASSERT_LE(mixed[k + 2] - mixed[k], 0.1f / 1000.0f) << "frame " << k / 2;
  }
  // Twenty release times later: exactly the quiet sound.
  EXPECT_EQ(mixed.back(), 0.1f);
  const std::size_t unchanged = std::size_t(20 * Limiter::kReleaseSeconds * 44100);
  for (std::size_t k = 2 * unchanged; k < mixed.size(); ++k) ASSERT_EQ(mixed[k], 0.1f) << "frame " << k / 2;
}

}  // namespace mixleveltest
