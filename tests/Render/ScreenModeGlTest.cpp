// Switching the application window between windowed and full screen as the frame loop answers
// Alt+Enter, with the OpenGL device under the runner's video driver, read back after each switch.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Core/App/Window.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Graphics.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Utf.h"
#include "tests/fakes/DriverLeaks.h"
#include "tests/fakes/GlRenderWindow.h"

namespace {

constexpr d3d9::DWORD kModeRed = 0xFFFF0000u;
constexpr d3d9::DWORD kModeBlue = 0xFF0000FFu;

void DrawModeScene(render::Graphics& g) {
  g.Clear(render::Render::kClearTarget, math::Color(0, 0, 1, 1), 1.0f, 0);
  g.SetColorRGBA(1, 0, 0, 1);
  g.FillRect({20.5f, 4.5f, 10, 6});  // pixels 20-29 x 4-9
}

// Blue everywhere but the rectangle's 10 x 6 pixels.
::testing::AssertionResult ShowsModeScene(const std::vector<d3d9::DWORD>& pixels, unsigned width) {
  size_t red = 0, other = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const unsigned x = unsigned(i % width), y = unsigned(i / width);
    const bool inside = x >= 20 && x < 30 && y >= 4 && y < 10;
    if (pixels[i] == (inside ? kModeRed : kModeBlue)) continue;
    if (pixels[i] == kModeRed) ++red; else ++other;
  }
  if (red == 0 && other == 0 && !pixels.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << red << " red and " << other
                                       << " other pixels out of place among " << pixels.size();
}

class ScreenModeGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string title = "Screen mode test " + std::to_string(getpid());
    ASSERT_EQ(mWindow.Create(0, 0, 320, 240, 320, 240, true, win32::Utf8ToUtf16(title)), VN_OK);
    ASSERT_NE(mWindow.GetHandle(), nullptr);
    fakes::KeepDriverLoaded();
    ASSERT_EQ(mRender.InitRender(&mWindow, Param(320, 240, true)), VN_OK);
  }

  static render::RenderInitParam Param(unsigned width, unsigned height, bool windowed) {
    render::RenderInitParam param;
    param.mWidth = width;
    param.mHeight = height;
    param.mWindowed = windowed;
    return param;
  }

  // The frame loop's answer to Alt+Enter.
  void Switch(unsigned width, unsigned height, bool windowed) {
    ASSERT_EQ(mRender.PrepareSwitchScreenMode(), VN_OK);
    ASSERT_EQ(mWindow.SwitchWindowMode(int(width), int(height), windowed), VN_OK);
    ASSERT_EQ(mRender.SwitchScreenMode(Param(width, height, windowed)), VN_OK);
  }

  // Frames as the loop runs them: the window handles its messages, a frame that the device is not
  // ready for is skipped. The number of frames drawn.
  int RunFrames(int count) {
    int drawn = 0;
    for (int i = 0; i < count; ++i) {
      for (int message = 0; message < 4; ++message) mWindow.Update(0.0f);
      if (!mRender.CheckDevice()) continue;
      EXPECT_TRUE(fakes::DrawScreenFrame(mRender, DrawModeScene));
      ++drawn;
    }
    return drawn;
  }

  std::vector<d3d9::DWORD> BackBuffer() { return fakes::ReadTarget(mRender, nullptr); }

  app::Window mWindow{nullptr, false, false, true};
  render::RenderDX9 mRender;
};

TEST_F(ScreenModeGlTest, FirstSwitchToFullScreenDraws) {
  ASSERT_GT(RunFrames(3), 0);
  ASSERT_TRUE(ShowsModeScene(BackBuffer(), 320));
  Switch(1366, 768, false);
  // Restyling hides and shows the window: it loses the activation for a moment, as on a desktop.
  win32::PostMessageW(mWindow.GetHandle(), win32::WM_ACTIVATEAPP, win32::FALSE, 0);
  RunFrames(1);
  win32::PostMessageW(mWindow.GetHandle(), win32::WM_ACTIVATEAPP, win32::TRUE, 0);
  EXPECT_GT(RunFrames(25), 0);
  EXPECT_TRUE(ShowsModeScene(BackBuffer(), 1366));
}

TEST_F(ScreenModeGlTest, EverySwitchDraws) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Switch(1366, 768, false);
    EXPECT_GT(RunFrames(25), 0);
    EXPECT_TRUE(ShowsModeScene(BackBuffer(), 1366));
    Switch(320, 240, true);
    EXPECT_GT(RunFrames(25), 0);
    EXPECT_TRUE(ShowsModeScene(BackBuffer(), 320));
  }
}

}  // namespace
