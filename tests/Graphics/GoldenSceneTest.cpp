// A scene of PNG and DDS images drawn through the drawing context into a render target on the
// OpenGL device (Mesa's software rasteriser), compared with the expected picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Core/Math/Transform2D.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Platform/D3D9/GlReadback.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"

namespace {

const int kWidth = 256;
const int kHeight = 192;
const std::string kData = std::string(QM_SOURCE_DIR) + "/tests/data/images/";
const std::string kExpected = kData + "golden_scene.png";

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class GoldenSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mRender = mWindow.GetRender();
    ASSERT_NE(mRender, nullptr);
  }
  void TearDown() override { mImages.clear(); }

  render::Image* Load(const char* name) {
    render::Image* image = nullptr;
    EXPECT_EQ(mRender->LoadImage(Wide(kData + name), nullptr, &image, nullptr), VN_OK) << name;
    mImages.emplace_back(image);
    return image;
  }

  // The scene: anchors, flips, scaling, rotation, tint, colour and blend modes.
  void DrawScene(render::Graphics& g) {
    render::Image* arrow = Load("arrow.png");
    render::Image* ramp = Load("ramp.png");
    render::Image* checker = Load("checker_dxt1.dds");
    render::Image* fade = Load("fade_dxt5.dds");
    render::Image* quads = Load("quads_argb.dds");
    render::Image* levels = Load("levels_dxt1.dds");
    ASSERT_TRUE(arrow && ramp && checker && fade && quads && levels);

    g.Clear(render::Render::kClearTarget, math::Color(0.2f, 0.2f, 0.25f, 1.0f), 1.0f, 0);
    g.SetColorRGBA(0.9f, 0.3f, 0.1f, 0.5f);
    g.FillRect({0, 150, 256, 42});
    g.SetColorRGBA(1, 1, 1, 1);
    g.DrawImage(arrow).Translate({8, 8});
    {
      auto flipped = g.DrawImage(arrow).Translate({48, 8});
      flipped->mFlipY = true;
    }
    {
      auto centred = g.DrawImage(arrow).Transform(math::Transform2D());
      centred->mHorizontalAnchor = 2;
      centred->mVerticalAnchor = 2;
      centred.GetTransform().RotateDegrees(45);
      centred.GetTransform().Translate(112, 24);
    }
    g.DrawImage(arrow).Scale(2, 1.5f).GetTransform().Translate(136, 0);
    {
      auto rightBottom = g.DrawImage(arrow).Translate({250, 80});
      rightBottom->mHorizontalAnchor = 1;
      rightBottom->mVerticalAnchor = 1;
      rightBottom->mFlipX = true;
    }
    g.DrawImage(checker).Translate({8, 56});
    g.DrawImageToRect(checker, {48, 56, 64, 32});
    g.DrawImagePartToRect(checker, {8, 8, 16, 16}, {120, 56, 32, 32});
    g.SetBlendMode(render::DrawState::kBlendAdditive);
    g.DrawImage(fade).ScaleUniform(2).GetTransform().Translate(160, 56);
    g.SetBlendMode(render::DrawState::kBlendAlpha);
    g.SetShaderMode(render::Graphics::kShaderTint);
    g.SetColorRGBA(1, 0, 0, 1);
    g.mTintAmount = 0.5f;
    g.DrawImage(quads).ScaleUniform(4).GetTransform().Translate(200, 100);
    g.SetShaderMode(render::Graphics::kShaderMultiply);
    g.mTintAmount = 0;
    g.SetColorRGBA(0.2f, 1, 0.4f, 1);
    g.DrawImage(ramp).Scale(8, 4).GetTransform().Translate(8, 100);
    g.SetColorRGBA(1, 1, 1, 0.5f);
    g.DrawImage(quads).ScaleUniform(3).GetTransform().Translate(150, 110);
    g.SetColorRGBA(1, 1, 1, 1);
    // Level 0 at full size (red), level 2 at a quarter (blue): every stored level was uploaded.
    g.DrawImage(levels).Translate({236, 100});
    g.DrawImage(levels).ScaleUniform(0.25f).GetTransform().Translate(240, 124);
    g.SetColorRGBA(1, 1, 0, 1);
    g.DrawLine({0, 96}, {255, 96});
  }

  fakes::GlRenderWindow mWindow{kWidth, kHeight};
  render::RenderDX9* mRender = nullptr;
  std::vector<std::unique_ptr<render::Image>> mImages;
};

TEST_F(GoldenSceneTest, MatchesTheExpectedPicture) {
  render::RenderTarget* target = nullptr;
  ASSERT_EQ(mRender->CreateRenderTarget(kWidth, kHeight, &target, true), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  {
    render::Graphics g(target);  // outside a frame: rendered when the context goes
    DrawScene(g);
  }
  std::vector<d3d9::DWORD> argb;
  auto* texture = static_cast<render::TextureDX9*>(target->GetTexture());
  ASSERT_EQ(d3d9::ReadSurfacePixels(texture->GetSurface(), argb), d3d9::D3D_OK);
  ASSERT_EQ(argb.size(), size_t(kWidth * kHeight));
  const fakes::RgbaImage picture = fakes::OpaqueFromArgb(kWidth, kHeight, argb);
  EXPECT_TRUE(fakes::MatchesGoldenPng(picture, kExpected, 24, 0.005));
}

}  // namespace
