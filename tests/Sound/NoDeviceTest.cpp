// A machine without a sound device (a server, a container): one line says the sound is off, valid
// files are not blamed, and a file that does not decode is still named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Platform/Bass/Bass.h"
#include "SoundTestSupport.h"
#include "fakes/MainLogRecorder.h"
#include "tests/fakes/FileTestSupport.h"

namespace {

std::size_t NoDeviceCount(const std::u16string& text, const std::u16string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string NoDeviceDataFile(const char* path) {
  std::ifstream in(std::filesystem::path(QM_SOURCE_DIR) / "data" / path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

using NoDeviceTest = filetest::TempFolderTest;

TEST_F(NoDeviceTest, OneLineSaysSoundIsOffAndOnlyABrokenFileIsNamed) {
  struct Case {
    const char* driver;      // SDL's audio driver; a name SDL does not know opens no device
    bool layerAlreadyReady;  // someone else initialised the audio layer first
    std::size_t offLines;
  };
  const Case cases[] = {
      {"dummy", false, 0},
      {"qm-no-such-driver", false, 1},
      {"qm-no-such-driver", true, 0},
  };
  WriteTestFile("fx/shot.ogg", NoDeviceDataFile("ruv/data/sound/shot.ogg"));
  WriteTestFile("fx/hit.wav", NoDeviceDataFile("ruv/data/sound/hit.wav"));
  WriteTestFile("fx/tone.wav", soundtest::MakeConstantWav(0.25f, 100));
  WriteTestFile("fx/bad.wav", "RIFF, but nothing after it");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.driver) + (c.layerAlreadyReady ? " after another init" : ""));
    soundtest::ScopedEnv driver("SDL_AUDIODRIVER", c.driver);
    if (c.layerAlreadyReady) {
      ASSERT_EQ(bass::BASS_Init(bass::BASS_DEVICE_NOSOUND, 44100, 0, nullptr, nullptr), bass::TRUE);
    }
    fakes::MainLogRecorder log;
    SoundSystem* system = soundtest::NewSoundSystem();
    std::vector<std::unique_ptr<Sound>> sounds;
    for (int round = 0; round < 3; ++round)
      for (const char* name : {"fx/shot", "fx/hit", "fx/tone"}) {
        sounds.emplace_back(system->CreateSound(name));
        EXPECT_NE(sounds.back()->GetChannel(), 0u) << name;
        sounds.back()->Play();
      }
    sounds.emplace_back(system->CreateSound("fx/bad"));
    EXPECT_EQ(sounds.back()->GetChannel(), 0u);
    sounds.clear();
    soundtest::DeleteSoundSystem(system);
    if (c.layerAlreadyReady) bass::BASS_Free();

    const std::u16string text = log.Text();
    const std::string shown(text.begin(), text.end());
    EXPECT_EQ(NoDeviceCount(text, u"no audio device; sound is off"), c.offLines) << shown;
    EXPECT_EQ(NoDeviceCount(text, u"Can't decode sound"), 1u) << shown;
    EXPECT_EQ(NoDeviceCount(text, u"Can't decode sound 'fx/bad.wav'."), 1u) << shown;
  }
}

}  // namespace
