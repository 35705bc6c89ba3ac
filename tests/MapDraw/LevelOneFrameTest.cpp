// The first level as the player meets it, drawn by the root board through the real renderer on the
// OpenGL device: the early-wave mark with its countdown beside it, a click on it calling the wave at
// once for the bonus, and the scenery's ambient effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "Core/Gui/GameControl.h"
#include "Core/Render/Graphics.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvWaveManager.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"
#include "tests/harness/BattleClicks.h"
#include "tests/harness/BattleHarness.h"

namespace {

constexpr int kHintFrameWidth = 1024;
constexpr int kHintFrameHeight = 768;
// The first wave of level 1 comes 5 s after the start from the spawn point (0, 384).
constexpr float kHintSpawnX = 0.0f;
constexpr float kHintSpawnY = 384.0f;
constexpr float kHintFirstWaveDue = 5.0f;
constexpr int kHintTicks = 60;  // 1 s of level time

struct HintPixel {
  int r, g, b;
};

class LevelOneFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mWindow.GetRender(), nullptr);
    gui::GameControlHelper::SetRender(mWindow.GetRender());  // the fonts
    mBattle.emplace(std::filesystem::path(), mWindow.GetRender());
  }
  void TearDown() override {
    mBattle.reset();
    gui::GameControlHelper::SetRender(nullptr);
  }
  // Level 1 played without moves for that many ticks.
  void Play(int ticks) {
    harness::BattleRun run;
    run.tickLimit = ticks;
    ASSERT_EQ(mBattle->run(run).ticks, ticks);
    ASSERT_EQ(Map().mState, kStatePlaying);
  }
  RuvMap& Map() { return mBattle->map(); }

  // The root board's frame, top row first.
  std::vector<HintPixel> DrawFrame() {
    render::RenderDX9& render = *mWindow.GetRender();
    {
      harness::HarnessRootBoard board(mBattle->mapOwner());
      EXPECT_TRUE(fakes::DrawScreenFrame(render, [&](render::Graphics& graphics) {
        graphics.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
        board.OnDrawBefore(&graphics, nullptr);
        board.OnDrawAfter(&graphics, nullptr);
      }));
    }
    std::vector<HintPixel> pixels;
    for (d3d9::DWORD argb : fakes::ReadTarget(render, nullptr)) {
      pixels.push_back({int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF)});
    }
    return pixels;
  }

  fakes::GlRenderWindow mWindow{kHintFrameWidth, kHintFrameHeight};
  std::optional<harness::BattleHarness> mBattle;
};

bool HintClose(const HintPixel& a, const HintPixel& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

TEST_F(LevelOneFrameTest, WaveMarkAtTheSpawnPointWithItsCountdownBeside) {
  Play(kHintTicks);
  const fakes::RgbaImage art =
      fakes::ReadPng(std::string(QM_SOURCE_DIR) + "/data/ruv/data/ui_parts/ui/wave_hint.png");
  ASSERT_GT(art.width, 0);
  ASSERT_EQ(Map().mWaveHint->marks.size(), 1u);
  const std::vector<HintPixel> frame = DrawFrame();
  ASSERT_EQ(frame.size(), size_t(kHintFrameWidth) * kHintFrameHeight);
  const auto at = [&frame](int x, int y) { return frame[size_t(y) * kHintFrameWidth + size_t(x)]; };

  // The mark's left and top edge lie on the spawn point; its middle shows the picture's middle.
  const int left = int(kHintSpawnX);
  const int top = int(kHintSpawnY);
  const size_t middle = (size_t(art.height / 2) * size_t(art.width) + size_t(art.width / 2)) * 4;
  ASSERT_EQ(art.pixels[middle + 3], 255) << "an opaque middle to compare with";
  const HintPixel expected{art.pixels[middle], art.pixels[middle + 1], art.pixels[middle + 2]};
  EXPECT_TRUE(HintClose(at(left + art.width / 2, top + art.height / 2), expected, 8))
      << "the mark's middle is not the picture's colour";

  // The mark lies left of the middle of the map: the text starts 32 px right of the mark's half
  // width, white, around the line half a mark below its top.
  const int textLeft = left + art.width / 2 + 32;
  const int textLine = top + art.height / 2;
  int white = 0;
  int firstWhiteX = kHintFrameWidth;
  for (int y = textLine - 16; y <= textLine + 16; ++y) {
    for (int x = left + art.width; x < left + art.width + 400; ++x) {
      const HintPixel p = at(x, y);
      if (p.r < 230 || p.g < 230 || p.b < 230) continue;
      ++white;
      firstWhiteX = std::min(firstWhiteX, x);
    }
  }
  EXPECT_GT(white, 60) << "no countdown text beside the mark";
  EXPECT_GE(firstWhiteX, textLeft - 1);
  EXPECT_LE(firstWhiteX, textLeft + 8);
}

TEST_F(LevelOneFrameTest, ClickOnTheWaveMarkCallsTheWaveForTheBonus) {
  Play(kHintTicks);
  RuvMap& map = Map();
  ASSERT_EQ(map.mWaveHint->marks.size(), 1u);
  ASSERT_TRUE(map.mWaves->units.empty()) << "the first wave is not due yet";
  const float clock = map.mWaves->clock;
  const int money = map.mWallet->money;
  const RuvFrameEntry& mark = *map.mWaveHint->marks.front();
  const int clickX = int(mark.rect[0] + mark.rect[2] * 0.5f);
  const int clickY = int(mark.rect[1] + mark.rect[3] * 0.5f);
  {
    harness::HarnessRootBoard board(mBattle->mapOwner());
    board.click(float(clickX), float(clickY));
  }
  // Twice the seconds still to wait, truncated.
  EXPECT_EQ(map.mWallet->money, money + int((kHintFirstWaveDue - clock) * 2.0f));
  EXPECT_TRUE(map.mWaveHint->marks.empty());
  EXPECT_FLOAT_EQ(map.mWaves->clock, kHintFirstWaveDue);
  map.update(harness::BattleHarness::kStep);
  EXPECT_FALSE(map.mWaves->units.empty()) << "the wave starts at once";
  // The bonus rises from the click as a white "+ " text 14 px right of it, the countdown gone.
  const std::vector<HintPixel> frame = DrawFrame();
  int white = 0;
  for (int y = clickY - 20; y <= clickY + 10; ++y) {
    for (int x = clickX + 12; x < clickX + 120; ++x) {
      const HintPixel p = frame[size_t(y) * kHintFrameWidth + size_t(x)];
      if (p.r >= 230 && p.g >= 230 && p.b >= 230) ++white;
    }
  }
  EXPECT_GT(white, 20) << "no bonus text at the click";
}

// The layout's "fx" points of the first episode start the additive, warm "tr1" effect within 3 to
// 8 s: drawn at the point, over the HUD's bar, it lights the pixels around it up in red.
TEST_F(LevelOneFrameTest, AmbientEffectAtTheSceneryFxPoint) {
  Play(1);
  ASSERT_EQ(Map().mFxTriggers->spots.size(), 2u);
  const RuvAmbientSpot& point = *Map().mFxTriggers->spots[0];
  const std::vector<HintPixel> before = DrawFrame();
  for (int tick = 0; tick < 9 * 60 && !point.started; ++tick) Map().update(harness::BattleHarness::kStep);
  ASSERT_TRUE(point.started);
  for (int tick = 0; tick < 12; ++tick) Map().update(harness::BattleHarness::kStep);
  const std::vector<HintPixel> after = DrawFrame();
  int lit = 0;
  for (int y = std::max(0, int(point.y) - 20); y <= int(point.y) + 20; ++y) {
    for (int x = std::max(0, int(point.x) - 20); x <= int(point.x) + 20; ++x) {
      const size_t i = size_t(y) * kHintFrameWidth + size_t(x);
      if (after[i].r - before[i].r > 60) ++lit;
    }
  }
  EXPECT_GT(lit, 10) << "no effect at the fx point";
}

}  // namespace
