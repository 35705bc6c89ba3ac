// A scene drawn through the drawing context on the OpenGL device, on the back buffer and in a
// render target, compared with pixels this test computes from Direct3D 9's rules: the context's
// half-pixel shift puts pixel centres on integers, edges follow the top-left rule, lines draw
// their first pixel and not their last, textures are sampled bilinearly with clamped edges, and
// colour blends with source alpha while alpha adds up (separate alpha blending, one / one).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"

namespace {

constexpr int kSceneWidth = 128;
constexpr int kSceneHeight = 96;
const std::string kSceneImage = std::string(QM_SOURCE_DIR) + "/tests/data/images/arrow.png";

struct SceneColor {
  float r = 0, g = 0, b = 0, a = 0;
};

// How far a drawn channel may be from the model: exact unless blending rounds or a filter
// weighs texels.
enum SceneTolerance { kSceneExact = 0, kSceneBlended = 1, kSceneFiltered = 2 };

struct ScenePixel {
  SceneColor color;
  int tolerance = kSceneExact;
};

// The rules, applied by hand to a picture of floats.
class SceneModel {
 public:
  SceneModel() : mPixels(size_t(kSceneWidth * kSceneHeight)) {}

  // A rectangle of the drawing context (before its half-pixel shift).
  void FillRect(float x, float y, float width, float height, SceneColor color) {
    ForCovered(x, y, width, height, [&](int px, int py) { Blend(px, py, color, kSceneExact); });
  }

  // An unscaled image with its top-left corner at (x, y), optionally flipped.
  void DrawImage(const fakes::RgbaImage& image, float x, float y, bool flipX, bool flipY) {
    const float left = x - 0.5f, top = y - 0.5f;
    const bool aligned = x == std::floor(x) && y == std::floor(y);
    ForCovered(x, y, float(image.width), float(image.height), [&](int px, int py) {
      float u = (float(px) - left) / float(image.width);
      float v = (float(py) - top) / float(image.height);
      if (flipX) u = 1.0f - u;
      if (flipY) v = 1.0f - v;
      Blend(px, py, Sample(image, u, v), aligned ? kSceneBlended : kSceneFiltered);
    });
  }

  // A line from the first point to the second, along a row or a column: pixels from the first
  // point's up to, not including, the second's.
  void DrawLine(float x0, float y0, float x1, float y1, SceneColor color) {
    const int ax = int(std::lround(x0 - 0.5f)), ay = int(std::lround(y0 - 0.5f));
    const int bx = int(std::lround(x1 - 0.5f)), by = int(std::lround(y1 - 0.5f));
    const int steps = std::max(std::abs(bx - ax), std::abs(by - ay));
    const int dx = (bx > ax) - (bx < ax), dy = (by > ay) - (by < ay);
    for (int i = 0; i < steps; ++i) Blend(ax + i * dx, ay + i * dy, color, kSceneExact);
  }

  const ScenePixel& At(int x, int y) const { return mPixels[size_t(y * kSceneWidth + x)]; }

 private:
  // Pixel centres c with shifted edges a <= c < b in both directions.
  static void ForCovered(float x, float y, float width, float height,
                         const std::function<void(int, int)>& visit) {
    for (int py = 0; py < kSceneHeight; ++py) {
      for (int px = 0; px < kSceneWidth; ++px) {
        const bool inX = float(px) >= x - 0.5f && float(px) < x + width - 0.5f;
        const bool inY = float(py) >= y - 0.5f && float(py) < y + height - 0.5f;
        if (inX && inY) visit(px, py);
      }
    }
  }

  // Bilinear between the four nearest texel centres, edges clamped.
  static SceneColor Sample(const fakes::RgbaImage& image, float u, float v) {
    const float s = u * float(image.width) - 0.5f, t = v * float(image.height) - 0.5f;
    const int s0 = int(std::floor(s)), t0 = int(std::floor(t));
    const float fs = s - float(s0), ft = t - float(t0);
    auto texel = [&](int i, int j, int channel) {
      i = std::clamp(i, 0, image.width - 1);
      j = std::clamp(j, 0, image.height - 1);
      return float(image.pixels[size_t((j * image.width + i) * 4 + channel)]) / 255.0f;
    };
    float out[4];
    for (int c = 0; c < 4; ++c) {
      const float top = texel(s0, t0, c) * (1 - fs) + texel(s0 + 1, t0, c) * fs;
      const float bottom = texel(s0, t0 + 1, c) * (1 - fs) + texel(s0 + 1, t0 + 1, c) * fs;
      out[c] = top * (1 - ft) + bottom * ft;
    }
    return {out[0], out[1], out[2], out[3]};
  }

  void Blend(int x, int y, SceneColor source, int tolerance) {
    ScenePixel& pixel = mPixels[size_t(y * kSceneWidth + x)];
    SceneColor& dest = pixel.color;
    const float a = source.a;
    dest.r = source.r * a + dest.r * (1 - a);
    dest.g = source.g * a + dest.g * (1 - a);
    dest.b = source.b * a + dest.b * (1 - a);
    dest.a = std::min(1.0f, a + dest.a);
    const bool opaque = a == 1.0f;
    pixel.tolerance = opaque ? tolerance == kSceneFiltered ? kSceneFiltered : kSceneExact
                             : std::max(pixel.tolerance, std::max(tolerance, int(kSceneBlended)));
  }

  std::vector<ScenePixel> mPixels;
};

const SceneColor kSceneRed{1, 0, 0, 1};
const SceneColor kSceneGreen{0, 1, 0, 1};
const SceneColor kSceneBlue{0, 0, 1, 1};
const SceneColor kSceneYellow{1, 1, 0, 1};
const SceneColor kSceneCyan{0, 1, 1, 1};
const SceneColor kSceneHalfWhite{1, 1, 1, 0.5f};
const SceneColor kSceneHalfBlue{0, 0, 1, 0.5f};
const SceneColor kSceneHalfRed{1, 0, 0, 0.5f};
const SceneColor kSceneWhite{1, 1, 1, 1};

struct SceneRect {
  math::Rect rect;
  SceneColor color;
};

// Integer, half and quarter positions; two half-transparent rectangles sharing an edge that lies on
// pixel centres (an overlap would be brighter, a gap dark); half-transparent over opaque and over
// the cleared (transparent) background.
const SceneRect kSceneRects[] = {
    {{4, 4, 10, 6}, kSceneRed},          {{20.5f, 4.5f, 10, 6}, kSceneGreen},
    {{36.25f, 4.75f, 7.5f, 5.5f}, kSceneBlue}, {{52.5f, 4, 6, 6}, kSceneHalfWhite},
    {{58.5f, 4, 6, 6}, kSceneHalfWhite}, {{8, 6, 4, 2}, kSceneHalfBlue},
    {{70, 4, 8, 8}, kSceneHalfRed},
};

struct SceneImage {
  float x, y;
  bool flipX, flipY;
};

// Unscaled on whole pixels, flipped both ways, and on half pixels (every sample between texels).
const SceneImage kSceneImages[] = {
    {4, 20, false, false}, {40, 20, false, true}, {76, 20, true, false}, {88.5f, 56.5f, false, false},
};

struct SceneLine {
  math::Point2 from, to;
  SceneColor color;
};

const SceneLine kSceneLines[] = {
    {{4.5f, 60.5f}, {40.5f, 60.5f}, kSceneYellow},
    {{60.5f, 56.5f}, {60.5f, 80.5f}, kSceneCyan},
};

math::Color ToMath(const SceneColor& c) { return math::Color(c.r, c.g, c.b, c.a); }

class RuleSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mRender = mWindow.GetRender();
    ASSERT_NE(mRender, nullptr);
    mPicture = fakes::ReadPng(kSceneImage);
    ASSERT_EQ(mPicture.width, 32);
    render::Image* image = nullptr;
    ASSERT_EQ(mRender->LoadImage(std::u16string(kSceneImage.begin(), kSceneImage.end()), nullptr,
                                 &image, nullptr),
              VN_OK);
    mImage.reset(image);
    for (const SceneRect& r : kSceneRects) {
      mModel.FillRect(r.rect.x, r.rect.y, r.rect.width, r.rect.height, r.color);
    }
    for (const SceneImage& i : kSceneImages) mModel.DrawImage(mPicture, i.x, i.y, i.flipX, i.flipY);
    for (const SceneLine& l : kSceneLines) {
      mModel.DrawLine(l.from.x, l.from.y, l.to.x, l.to.y, l.color);
    }
  }
  void TearDown() override { mImage.reset(); }

  void Draw(render::Graphics& g) {
    g.Clear(render::Render::kClearTarget, math::Color(0, 0, 0, 0), 1.0f, 0);
    g.SetBlendMode(render::DrawState::kBlendAlpha);
    for (const SceneRect& r : kSceneRects) {
      g.SetColor(ToMath(r.color));
      g.FillRect(r.rect);
    }
    g.SetColor(ToMath(kSceneWhite));
    for (const SceneImage& i : kSceneImages) {
      auto request = g.DrawImage(mImage.get()).Translate({i.x, i.y});
      request->mFlipX = i.flipX;
      request->mFlipY = i.flipY;
    }
    for (const SceneLine& l : kSceneLines) {
      g.SetColor(ToMath(l.color));
      g.DrawLine(l.from, l.to);
    }
  }

  // Every pixel against the model; alpha only where the target keeps it.
  ::testing::AssertionResult MatchesModel(const std::vector<d3d9::DWORD>& argb, bool checkAlpha) {
    if (argb.size() != size_t(kSceneWidth * kSceneHeight)) {
      return ::testing::AssertionFailure() << "read " << argb.size() << " pixels";
    }
    int wrong = 0;
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (int y = 0; y < kSceneHeight; ++y) {
      for (int x = 0; x < kSceneWidth; ++x) {
        const ScenePixel& expected = mModel.At(x, y);
        const d3d9::DWORD actual = argb[size_t(y * kSceneWidth + x)];
        const float model[4] = {expected.color.r, expected.color.g, expected.color.b, expected.color.a};
        const int drawn[4] = {int(actual >> 16 & 0xFF), int(actual >> 8 & 0xFF), int(actual & 0xFF),
                              int(actual >> 24)};
        for (int c = 0; c < (checkAlpha ? 4 : 3); ++c) {
          const int want = int(std::lround(model[c] * 255.0f));
          if (std::abs(drawn[c] - want) <= expected.tolerance) continue;
          if (++wrong <= 8) {
            result = ::testing::AssertionFailure()
                     << result.message() << "\npixel " << x << ", " << y << " channel " << "RGBA"[c]
                     << ": " << drawn[c] << " instead of " << want;
          }
          break;
        }
      }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return result << "\n" << wrong << " pixels differ";
  }

  fakes::GlRenderWindow mWindow{kSceneWidth, kSceneHeight};
  render::RenderDX9* mRender = nullptr;
  fakes::RgbaImage mPicture;
  std::unique_ptr<render::Image> mImage;
  SceneModel mModel;
};

TEST_F(RuleSceneTest, BackBufferFollowsTheRules) {
  ASSERT_TRUE(fakes::DrawScreenFrame(*mRender, [this](render::Graphics& g) { Draw(g); }));
  // The back buffer's alpha is not part of the picture.
  EXPECT_TRUE(MatchesModel(fakes::ReadTarget(*mRender, nullptr), false));
}

TEST_F(RuleSceneTest, RenderTargetFollowsTheRulesWithAlpha) {
  render::RenderTarget* target = nullptr;
  ASSERT_EQ(mRender->CreateRenderTarget(kSceneWidth, kSceneHeight, &target, true), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  {
    render::Graphics g(target);
    Draw(g);
  }
  EXPECT_TRUE(MatchesModel(fakes::ReadTarget(*mRender, target), true));
}

// More triangles than the device submits in one batch: overlapping opaque rectangles still end in
// draw order, the last one on top.
TEST_F(RuleSceneTest, ManyBatchesKeepDrawOrder) {
  const SceneColor palette[] = {kSceneRed, kSceneGreen, kSceneBlue, kSceneYellow, kSceneCyan};
  constexpr int kRects = 6000;  // 12,000 triangles
  auto rectOf = [](int i) { return math::Rect(float(i * 7 % 113), float(i * 5 % 81), 15, 15); };
  mModel = SceneModel();
  for (int i = 0; i < kRects; ++i) {
    const math::Rect r = rectOf(i);
    mModel.FillRect(r.x, r.y, r.width, r.height, palette[i % 5]);
  }
  ASSERT_TRUE(fakes::DrawScreenFrame(*mRender, [&](render::Graphics& g) {
    g.Clear(render::Render::kClearTarget, math::Color(0, 0, 0, 0), 1.0f, 0);
    for (int i = 0; i < kRects; ++i) {
      g.SetColor(ToMath(palette[i % 5]));
      g.FillRect(rectOf(i));
    }
  }));
  EXPECT_TRUE(MatchesModel(fakes::ReadTarget(*mRender, nullptr), false));
}

}  // namespace
