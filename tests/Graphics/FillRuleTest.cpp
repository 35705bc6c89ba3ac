// Rectangles drawn through the screen context and into a render target on the OpenGL device:
// both follow Direct3D 9's rules (pixel centres at integers after the context's half-pixel shift,
// top-left fill), so the covered pixels are computed here from the rectangle alone.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "Core/Render/Graphics.h"
#include "Core/Render/RenderTarget.h"
#include "tests/fakes/GlRenderWindow.h"

namespace {

constexpr int kFillWidth = 64;
constexpr int kFillHeight = 48;
constexpr d3d9::DWORD kFillRed = 0xFFFF0000u;
constexpr d3d9::DWORD kFillBlack = 0xFF000000u;

// Integer, half and quarter positions; the first is the one that landed a row low on screen.
const math::Rect kFillRects[] = {
    {20.5f, 4.5f, 10, 6}, {3, 2, 5, 4}, {6.25f, 30.75f, 4, 3}, {40.5f, 20.5f, 1, 1},
    {50.75f, 36.25f, 6.5f, 5.5f},
};

// Pixel centre c is inside [a, b) of the shifted edges: a half-open span, so an edge on a centre
// belongs to the left or top side only.
bool FillCovers(float from, float size, int centre) {
  const float a = from - 0.5f, b = from + size - 0.5f;
  return float(centre) >= a && float(centre) < b;
}

std::vector<d3d9::DWORD> ExpectedFill() {
  std::vector<d3d9::DWORD> pixels(size_t(kFillWidth * kFillHeight), kFillBlack);
  for (const math::Rect& r : kFillRects) {
    for (int y = 0; y < kFillHeight; ++y) {
      for (int x = 0; x < kFillWidth; ++x) {
        if (FillCovers(r.x, r.width, x) && FillCovers(r.y, r.height, y)) {
          pixels[size_t(y * kFillWidth + x)] = kFillRed;
        }
      }
    }
  }
  return pixels;
}

void DrawFillRects(render::Graphics& g) {
  g.Clear(render::Render::kClearTarget, math::Color(0, 0, 0, 1), 1.0f, 0);
  g.SetColorRGBA(1, 0, 0, 1);
  for (const math::Rect& r : kFillRects) g.FillRect(r);
}

// The first differing pixel, or "same".
std::string FirstFillDifference(const std::vector<d3d9::DWORD>& actual,
                                const std::vector<d3d9::DWORD>& expected) {
  if (actual.size() != expected.size()) return "different sizes";
  for (size_t i = 0; i < actual.size(); ++i) {
    if (actual[i] != expected[i]) {
      return "pixel " + std::to_string(i % kFillWidth) + ", " + std::to_string(i / kFillWidth) +
             (expected[i] == kFillRed ? " is not covered" : " is covered");
    }
  }
  return "same";
}

class FillRuleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mWindow.GetRender(), nullptr); }

  fakes::GlRenderWindow mWindow{kFillWidth, kFillHeight};
};

TEST_F(FillRuleTest, BackBufferCoversTheTopLeftRulePixels) {
  render::RenderDX9& render = *mWindow.GetRender();
  ASSERT_TRUE(fakes::DrawScreenFrame(render, DrawFillRects));
  EXPECT_EQ(FirstFillDifference(fakes::ReadTarget(render, nullptr), ExpectedFill()), "same");
}

// The back buffer above is drawn in the window of its size; in a larger window it is drawn in a
// framebuffer of its own, which Present stretches over the window.
TEST_F(FillRuleTest, BackBufferOfALargerWindowCoversTheSamePixels) {
  fakes::GlRenderWindow larger(kFillWidth, kFillHeight, kFillWidth * 2, kFillHeight + 8);
  ASSERT_NE(larger.GetRender(), nullptr);
  render::RenderDX9& render = *larger.GetRender();
  ASSERT_TRUE(fakes::DrawScreenFrame(render, DrawFillRects));
  EXPECT_EQ(FirstFillDifference(fakes::ReadTarget(render, nullptr), ExpectedFill()), "same");
}

TEST_F(FillRuleTest, RenderTargetCoversTheSamePixels) {
  render::RenderDX9& render = *mWindow.GetRender();
  render::RenderTarget* target = nullptr;
  ASSERT_EQ(render.CreateRenderTarget(kFillWidth, kFillHeight, &target, true), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  {
    render::Graphics g(target);
    DrawFillRects(g);
  }
  EXPECT_EQ(FirstFillDifference(fakes::ReadTarget(render, target), ExpectedFill()), "same");
}

}  // namespace
