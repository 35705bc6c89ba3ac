// The drawing context: defaults, shader modes, vertex transforms and render-target frames.
#include "Core/Render/Graphics.h"

#include <gtest/gtest.h>

#include "Core/Math/Transform3D.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/ShaderTextured.h"
#include "tests/Graphics/DrawFrame.h"

namespace {

using render::Graphics;
using render::SVertex2D;

class GraphicsTest : public testgraphics::DrawFrameTest {
 protected:
  render::ShaderTextured* Multiply() {
    resource::ResourcePtr<render::ShaderTextured> shader;
    mRender.GetTexturedShader(shader);
    return shader.Get();
  }
  render::ShaderTextured* Tint() {
    resource::ResourcePtr<render::ShaderTextured> shader;
    mRender.GetTintShader(shader);
    return shader.Get();
  }
};

TEST_F(GraphicsTest, ScreenContextStartsWithAlphaWhiteMultiply) {
  Graphics g(&mRender);
  EXPECT_EQ(g.GetState().mBlendMode, render::DrawState::kBlendAlpha);
  EXPECT_FALSE(g.GetState().mScissorEnable);
  EXPECT_EQ(g.GetState().mTarget, nullptr);
  EXPECT_EQ(g.GetColor().ToARGB(), 0xFFFFFFFFu);
  EXPECT_EQ(g.GetShaderMode(), Graphics::kShaderMultiply);
  EXPECT_NE(g.GetTexturedShader(), nullptr);
  EXPECT_EQ(g.GetTexturedShader(), Multiply());
  EXPECT_NE(g.GetGeomShader(), nullptr);
  EXPECT_EQ(g.mTintAmount, 0.0f);
  EXPECT_EQ(g.mTransform, nullptr);
  EXPECT_EQ(&g.GetProjection(), &mRender.GetProjection());
}

TEST_F(GraphicsTest, ShaderModes) {
  Graphics g(&mRender);
  EXPECT_EQ(g.SetShaderMode(Graphics::kShaderMultiply), VN_OK);
  EXPECT_EQ(g.GetTexturedShader(), Multiply());
  EXPECT_EQ(g.SetShaderMode(3), VN_OK);  // unknown: nothing changes
  EXPECT_EQ(g.GetShaderMode(), Graphics::kShaderMultiply);
  EXPECT_EQ(g.SetShaderMode(Graphics::kShaderTint), VN_OK);
  EXPECT_EQ(g.GetTexturedShader(), Tint());
  EXPECT_EQ(g.SetShader(nullptr), VN_OK);  // mode 0 with the multiply shader
  EXPECT_EQ(g.GetShaderMode(), Graphics::kShaderCustom);
  EXPECT_EQ(g.GetTexturedShader(), Multiply());
  EXPECT_EQ(g.SetShader(Tint()), VN_OK);
  EXPECT_EQ(g.GetTexturedShader(), Tint());
  EXPECT_EQ(g.SetShaderMode(Graphics::kShaderMultiply), VN_OK);  // looked up again
  EXPECT_EQ(g.GetShaderMode(), Graphics::kShaderMultiply);
  EXPECT_EQ(g.GetTexturedShader(), Multiply());
}

struct TransformCase {
  const char* name;
  std::function<void(math::Transform3D&)> build;
  bool none;                // no transform set at all
  float x, y, z;            // where (2, 3, 4) goes
};

void PrintTo(const TransformCase& c, std::ostream* os) { *os << c.name; }

class TransformVerticesTest : public GraphicsTest, public ::testing::WithParamInterface<TransformCase> {};

TEST_P(TransformVerticesTest, MovesPositions) {
  const TransformCase& c = GetParam();
  math::Transform3D transform;
  c.build(transform);
  Graphics g(&mRender);
  if (!c.none) g.mTransform = &transform;
  SVertex2D vertex = {};
  vertex.x = 2, vertex.y = 3, vertex.z = 4, vertex.w = 1;
  ASSERT_EQ(g.TransformVertices(&vertex, SVertex2D::GetFormat(), 1), VN_OK);
  EXPECT_NEAR(vertex.x, c.x, 1e-4);
  EXPECT_NEAR(vertex.y, c.y, 1e-4);
  EXPECT_NEAR(vertex.z, c.z, 1e-4);
  EXPECT_EQ(vertex.w, 1.0f);
}

const TransformCase kTransformCases[] = {
    {"NoTransform", [](math::Transform3D&) {}, true, 2, 3, 4},
    {"Identity", [](math::Transform3D&) {}, false, 2, 3, 4},
    {"TinyTranslationIgnored", [](math::Transform3D& t) { t.Translate({0.0001f, -0.0002f, 0.0001f}); }, false, 2, 3, 4},
    {"Translate", [](math::Transform3D& t) { t.Translate({10, 20, 0}); }, false, 12, 23, 4},
    {"TranslateThenScale",
     [](math::Transform3D& t) {
       t.Translate({1, 1, 0});
       t.Scale({2, 3, 1});
     },
     false, 6, 12, 4},
    {"Rotated", [](math::Transform3D& t) { t.Rotate({0, 0, 1.5707964f}); }, false, -3, 2, 4},
};

INSTANTIATE_TEST_SUITE_P(Cases, TransformVerticesTest, ::testing::ValuesIn(kTransformCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GraphicsTest, HalfPixelOffsetFlattensZ) {
  Graphics g(&mRender);
  SVertex2D vertices[2] = {};
  vertices[0].x = 1, vertices[0].y = 2, vertices[0].z = 5;
  vertices[1].z = -3;
  g.ApplyHalfPixelOffset(vertices, SVertex2D::GetFormat(), 2);
  EXPECT_EQ(vertices[0].x, 0.5f);
  EXPECT_EQ(vertices[0].y, 1.5f);
  EXPECT_EQ(vertices[0].z, 0.0f);
  EXPECT_EQ(vertices[1].x, -0.5f);
  EXPECT_EQ(vertices[1].z, 0.0f);
}

TEST_F(GraphicsTest, ClipAndBlendReachTheFrame) {
  render::Image* image = MakeImage(4, 4);
  Frame([&](Graphics& g) {
    g.SetBlendMode(render::DrawState::kBlendAdditive);
    g.SetClipRect({10, 20, 30, 40});
    g.DrawImage(image);
    g.ResetClipRect();
    g.DrawImage(image);
  });
  const auto scissors = mRender.Arguments("SetScissorEnable");
  ASSERT_EQ(scissors.size(), 2u);
  EXPECT_EQ(scissors[0], std::vector<long>{1});
  EXPECT_EQ(scissors[1], std::vector<long>{0});
  const auto rects = mRender.Arguments("SetScissorRect");
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0], (std::vector<long>{10, 20, 30, 40}));
  const auto blends = mRender.Arguments("SetBlendMode");
  ASSERT_FALSE(blends.empty());
  EXPECT_EQ(blends.back(), std::vector<long>{2});
  EXPECT_EQ(mRender.Arguments("DrawIndexed").size(), 2u);
}

TEST_F(GraphicsTest, ClearRecordsTheTargetFirst) {
  Frame([&](Graphics& g) { g.Clear(render::Render::kClearTarget, math::Color(1, 0, 0, 1), 1.0f, 0); });
  const auto clears = mRender.Arguments("Clear");
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0], (std::vector<long>{1, 1, 0, 0, 1, 1, 0}));  // flags, colour, depth, stencil
}

TEST_F(GraphicsTest, TargetContextOutsideAFrameRendersAtOnce) {
  render::Texture* texture = nullptr;
  ASSERT_EQ(mRender.CreateTexture(texture), VN_OK);
  texture->CreateRenderTarget(64, 32);
  render::RenderTarget target(texture, true);
  render::Image* image = MakeImage(4, 4);

  mRender.mCalls.clear();
  {
    Graphics g(&target);
    EXPECT_EQ(&g.GetProjection(), &target.GetProjection());
    EXPECT_EQ(g.GetState().mTarget, texture);
    g.DrawImage(image);
    EXPECT_TRUE(mRender.mCalls.empty());
  }
  EXPECT_FALSE(mRender.IsInFrame());
  EXPECT_EQ(mRender.Arguments("BeginScene").size(), 1u);
  EXPECT_EQ(mRender.Arguments("EndScene").size(), 1u);
  EXPECT_EQ(mRender.Arguments("DrawIndexed").size(), 1u);
  ASSERT_FALSE(mRender.Arguments("SetRenderTarget").empty());
  EXPECT_EQ(mRender.Arguments("SetRenderTarget")[0], (std::vector<long>{64}));  // "64x32"

  // Inside a frame the context leaves the frame to its owner.
  mRender.mCalls.clear();
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  {
    Graphics g(&target);
    g.DrawImage(image);
    EXPECT_EQ(g.Flush(), VN_OK);
  }
  EXPECT_TRUE(mRender.IsInFrame());
  EXPECT_TRUE(mRender.mCalls.empty());
  {
    Graphics screen(&mRender);
    EXPECT_EQ(screen.Flush(), VN_OK);
  }
  EXPECT_TRUE(mRender.mCalls.empty());
  mRender.EndFrame();
  mRender.PlayCommands();
  EXPECT_EQ(mRender.Arguments("DrawIndexed").size(), 1u);
}

}  // namespace
