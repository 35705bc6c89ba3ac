// The whole road to a real device: SDL's disk driver writes the device's float frames to a file.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/fakes/FileTestSupport.h"
#include "SoundTestSupport.h"

namespace {

using DiskAudioTest = filetest::TempFolderTest;

TEST_F(DiskAudioTest, AToneThroughTheSoundSystemReachesTheDeviceAsItWasScaled) {
  const std::string capture = (mRoot / "capture.raw").string();
  soundtest::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
  soundtest::ScopedEnv output("SDL_DISKAUDIOFILE", capture);

  // 0.1 s of a 441 Hz tone, the left channel inverted on the right.
  const std::size_t frames = 4410;
  std::vector<float> tone(2 * frames);
  for (std::size_t i = 0; i < frames; ++i) {
    tone[2 * i] = 0.8f * float(std::sin(2.0 * M_PI * 441.0 * double(i) / 44100.0));
    tone[2 * i + 1] = -tone[2 * i];
  }
  WriteTestFile("fx/tone.wav", soundtest::MakeFloatWav(tone, 2, 44100));

  SoundSystem* system = soundtest::NewSoundSystem();
  std::unique_ptr<Sound> sound(system->CreateSound("fx/tone"));
  ASSERT_NE(sound->GetChannel(), 0u);
  sound->SetVolume(0.5f, 0.0f);
  sound->Play();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (sound->IsPlaying() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(sound->IsPlaying());
  sound.reset();
  soundtest::DeleteSoundSystem(system);  // closes the device and its file

  std::ifstream in(capture, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<float> out(bytes.size() / sizeof(float));
  std::memcpy(out.data(), bytes.data(), out.size() * sizeof(float));
  // Silence until the sound started; then every frame of the tone at half volume.
  std::size_t start = 0;
  while (start < out.size() && out[start] == 0.0f) ++start;
  start -= start % 2;
  ASSERT_GE(out.size(), start + 2 * frames) << "captured " << out.size() / 2 << " frames";
  // Its first sample is 0: the sound began one frame before the first non-zero one.
  ASSERT_GE(start, 2u);
  start -= 2;
  for (std::size_t i = 0; i < 2 * frames; ++i) ASSERT_EQ(out[start + i], 0.5f * tone[i]) << i;
  for (std::size_t i = start + 2 * frames; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f) << i;
}

}  // namespace
