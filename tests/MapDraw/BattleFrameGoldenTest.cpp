// A battle frame of the first level at a fixed level time (towers built by the level's script,
// enemies on the road), drawn by the root board through the real renderer on the OpenGL device
// (Mesa's software rasteriser) and compared with the committed picture (QM_UPDATE_GOLDEN=1
// rewrites it).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Core/Gui/GameControl.h"
#include "Core/Render/Graphics.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvWaveManager.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

constexpr unsigned kGoldenFrameWidth = 1024;
constexpr unsigned kGoldenFrameHeight = 768;
constexpr int kGoldenFrameTicks = 12 * 60;  // 12 s of level time

class BattleFrameGoldenTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // The map, its art and the fonts go before the renderer they live on.
    mBattle.reset();
    gui::GameControlHelper::SetRender(nullptr);
  }

  fakes::GlRenderWindow mWindow{kGoldenFrameWidth, kGoldenFrameHeight};
  std::optional<harness::BattleHarness> mBattle;
};

TEST_F(BattleFrameGoldenTest, FirstLevelAtTwelveSeconds) {
  render::RenderDX9* render = mWindow.GetRender();
  ASSERT_NE(render, nullptr);
  gui::GameControlHelper::SetRender(render);  // the HUD's fonts
  mBattle.emplace(std::filesystem::path(), render);
  harness::BattleRun run;
  run.tickLimit = kGoldenFrameTicks;
  run.commands = harness::parseBattleScript(
      harness::readBattleText(harness::battleScriptsFolder() + "normal_level_01_01.txt"));
  const harness::BattleTrace trace = mBattle->run(run);
  ASSERT_EQ(trace.ticks, kGoldenFrameTicks);
  RuvMap& map = mBattle->map();
  ASSERT_EQ(map.mState, kStatePlaying);
  ASSERT_FALSE(map.mWaves->units.empty()) << "enemies on the road";
  {
    harness::HarnessRootBoard board(mBattle->mapOwner());
    ASSERT_TRUE(fakes::DrawScreenFrame(*render, [&](render::Graphics& graphics) {
      graphics.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
      board.OnDrawBefore(&graphics, nullptr);
      board.OnDrawAfter(&graphics, nullptr);
    }));
  }
  const std::vector<d3d9::DWORD> argb = fakes::ReadTarget(*render, nullptr);
  ASSERT_EQ(argb.size(), size_t(kGoldenFrameWidth) * kGoldenFrameHeight);
  const fakes::RgbaImage picture = fakes::OpaqueFromArgb(int(kGoldenFrameWidth), int(kGoldenFrameHeight), argb);
  EXPECT_TRUE(fakes::MatchesGoldenPng(picture, std::string(QM_SOURCE_DIR) + "/tests/data/images/battle_level_01_01.png",
                                      24, 0.005));
}

}  // namespace
