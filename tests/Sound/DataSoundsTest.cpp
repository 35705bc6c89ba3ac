// Every sound file of the sample data decodes through the audio layer, as a sample and as a stream,
// at levels that leave the mix room.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"
#include "Platform/Bass/Decode.h"
#include "Platform/Bass/Limiter.h"
#include "Platform/Bass/Mixer.h"
#include "tests/Sound/SoundBytes.h"

namespace {

std::vector<std::filesystem::path> DataSoundFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(QM_SOURCE_DIR) / "data")) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && (extension == ".ogg" || extension == ".wav")) files.push_back(entry.path());
  }
  return files;
}

TEST(DataSoundsTest, EverySoundFileDecodes) {
  ASSERT_EQ(bass::BASS_Init(bass::BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), bass::TRUE);
  const std::vector<std::filesystem::path> files = DataSoundFiles();
  EXPECT_GE(files.size(), 8u + 2u);  // the music and a few effects
  for (const auto& path : files) {
    std::ifstream in(path, std::ios::binary);
    soundtest::MemorySoundFile file;
    file.bytes.assign(std::istreambuf_iterator<char>(in), {});
    const bass::HSAMPLE sample = bass::BASS_SampleLoad(bass::TRUE, file.bytes.data(), 0, bass::DWORD(file.bytes.size()), 1, 0);
    EXPECT_NE(sample, 0u) << path;
    bass::BASS_SampleFree(sample);

    // Streamed to its end: some sound, then the end.
    const bass::HSTREAM stream = bass::BASS_StreamCreateFileUser(bass::STREAMFILE_BUFFER, 0, &soundtest::MemorySoundFile::kProcs, &file);
    ASSERT_NE(stream, 0u) << path;
    bass::BASS_ChannelPlay(stream, bass::TRUE);
    std::vector<float> block(2 * 44100);
    float peak = 0.0f;
    for (int second = 0; second < 120 && bass::BASS_ChannelIsActive(stream) == bass::BASS_ACTIVE_PLAYING; ++second) {
      bass::MixerPull(block.data(), 44100);
      for (float value : block) peak = std::max(peak, std::abs(value));
    }
    EXPECT_EQ(bass::BASS_ChannelIsActive(stream), bass::BASS_ACTIVE_STOPPED) << path;
    EXPECT_GT(peak, 0.01f) << path;
    EXPECT_LE(peak, 1.0f) << path;
    bass::BASS_StreamFree(stream);
  }
  bass::BASS_Free();
}

// The music and any two effects together stay under the mixer's limiter even where their peaks
// meet, so the usual mix of a battle passes unchanged; only a crowd of effects is limited.
TEST(DataSoundsTest, TheLoudestMusicAndTwoLoudestEffectsPeakUnderTheCeiling) {
  float musicPeak = 0.0f;
  std::vector<float> effectPeaks;
  for (const auto& path : DataSoundFiles()) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::vector<float> frames;
    ASSERT_TRUE(bass::DecodeToMixFormat(bytes.data(), bytes.size(), frames)) << path;
    float peak = 0.0f;
    for (float value : frames) peak = std::max(peak, std::abs(value));
    if (path.parent_path().filename() == "music")
      musicPeak = std::max(musicPeak, peak);
    else
      effectPeaks.push_back(peak);
  }
  ASSERT_GE(effectPeaks.size(), 2u);
  std::sort(effectPeaks.begin(), effectPeaks.end(), std::greater<float>());
  EXPECT_GT(musicPeak, 0.0f);
  EXPECT_LE(musicPeak + effectPeaks[0] + effectPeaks[1], bass::Limiter::kCeiling)
      << "music " << musicPeak << ", effects " << effectPeaks[0] << " and " << effectPeaks[1];
}

}  // namespace
