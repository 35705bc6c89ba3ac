// Untransformed and translated image draws under a context without a transform write their quads
// in one pass: the vertex and index bytes they draw and the commands they record must equal the
// general path's (taken here under an identity context transform) byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/DrawState.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Texture.h"
#include "Core/Render/Vertices.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "tests/fakes/RecordingRender.h"

namespace {

// Keeps the bytes of every indexed draw played back: its vertex range, then its index range.
class FastPathDrawnBytesRender : public fakes::RecordingRender {
 public:
  VNResultEnum DoDrawIndexedPrimitive(uint32_t type, uint32_t indexSize, uint32_t start, uint32_t count,
                                      uint32_t minVertex, uint32_t vertexCount) override {
    const VNResultEnum result =
        RecordingRender::DoDrawIndexedPrimitive(type, indexSize, start, count, minVertex, vertexCount);
    const auto* vertices = static_cast<const unsigned char*>(GetBoundVertices());
    const auto* indices = reinterpret_cast<const unsigned char*>(GetBoundIndices());
    if (vertices && indices) {
      const size_t stride = sizeof(render::SVertex2D);
      mDrawn.insert(mDrawn.end(), vertices + minVertex * stride, vertices + (minVertex + vertexCount) * stride);
      mDrawn.insert(mDrawn.end(), indices + start * 2, indices + (start + count * 3) * 2);
    }
    return result;
  }

  std::vector<unsigned char> mDrawn;
};

struct FastPathFrame {
  std::vector<unsigned char> commands;
  std::vector<unsigned char> drawn;
  std::vector<std::string> calls;
};

struct FastPathImages {
  render::Image* whole;  // 32 x 16 own texture
  render::Image* atlas;  // a layer in an atlas region
};

struct FastPathCase {
  const char* name;
  std::function<void(render::Graphics&, const FastPathImages&)> draw;
};

void PrintTo(const FastPathCase& c, std::ostream* out) { *out << c.name; }

class ImageFastPathTest : public ::testing::TestWithParam<FastPathCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(mRender.Init(), VN_OK);
    render::Texture* texture = nullptr;
    ASSERT_EQ(mRender.CreateTexture(texture), VN_OK);
    texture->CreateRenderTarget(32, 16);
    mWhole.reset(new render::Image(texture));

    mAtlasResource =
        resource::ResourceManager::Instance()->Get<resource::ResourceTexture>(u"fast path/atlas layer");
    mAtlasResource->mInAtlas = true;
    mAtlasResource->mTextureU = 0.3f;
    mAtlasResource->mTextureV = 0.1f;
    mAtlasResource->mTextureWidth = 0.37f;
    mAtlasResource->mTextureHeight = 0.21f;
    mAtlasResource->mWidth = 24.0f;
    mAtlasResource->mHeight = 20.0f;
    mAtlas.SetResource(mAtlasResource);
  }

  void TearDown() override {
    mAtlas.SetResource({});
    mAtlasResource = {};
  }

  // One frame of the case; general = under an identity context transform, which rules the
  // one-pass fill out without changing a bit of the general path's arithmetic.
  FastPathFrame Record(const FastPathCase& c, bool general) {
    FastPathFrame frame;
    mRender.mDrawn.clear();
    mRender.mCalls.clear();
    EXPECT_EQ(mRender.BeginFrame(), VN_OK);
    {
      render::Graphics g(&mRender);
      math::Transform3D identity;
      if (general) g.mTransform = &identity;
      c.draw(g, {mWhole.get(), &mAtlas});
    }
    EXPECT_EQ(mRender.EndFrame(), VN_OK);
    EXPECT_EQ(mRender.Present(), VN_OK);
    render::CommandBuffer& commands = mRender.GetCommandBuffer();
    frame.commands.assign(commands.GetBuffer(), commands.GetBuffer() + commands.GetPosition());
    EXPECT_EQ(mRender.PlayCommands(), VN_OK);
    frame.drawn = mRender.mDrawn;
    frame.calls = mRender.mCalls;
    return frame;
  }

  FastPathDrawnBytesRender mRender;
  std::unique_ptr<render::Image> mWhole;
  resource::ResourcePtr<resource::ResourceTexture> mAtlasResource;
  render::Image mAtlas;
};

TEST_P(ImageFastPathTest, RecordsTheGeneralPathsBytes) {
  const FastPathCase& c = GetParam();
  // A first frame makes the overflow buffers and leaves the device state of the case's end, so
  // the two frames compared start alike and use the same buffers.
  Record(c, true);
  const FastPathFrame fast = Record(c, false);
  const FastPathFrame general = Record(c, true);
  ASSERT_FALSE(general.drawn.empty());
  EXPECT_EQ(fast.calls, general.calls);
  EXPECT_TRUE(fast.commands == general.commands) << "command streams differ";
  ASSERT_EQ(fast.drawn.size(), general.drawn.size());
  EXPECT_EQ(std::memcmp(fast.drawn.data(), general.drawn.data(), fast.drawn.size()), 0) << "drawn bytes differ";
}

void FastPathAnchors(render::Graphics& g, const FastPathImages& images) {
  const int anchors[] = {render::DrawImageParam::kAnchorStart, render::DrawImageParam::kAnchorEnd,
                         render::DrawImageParam::kAnchorCentre};
  float x = 3.25f;
  for (int h : anchors) {
    for (int v : anchors) {
      {
        auto request = g.DrawImage(images.whole);
        request->mHorizontalAnchor = h;
        request->mVerticalAnchor = v;
      }
      auto moved = g.DrawImagePart(images.whole, {1.5f, 2.0f, 7.0f, 5.0f}).Translate({x, -x * 0.37f});
      moved->mHorizontalAnchor = h;
      moved->mVerticalAnchor = v;
      x += 17.1f;
    }
  }
}

void FastPathFlips(render::Graphics& g, const FastPathImages& images) {
  for (int i = 0; i < 4; ++i) {
    auto request = g.DrawImagePart(images.whole, {3, 1, 9.5f, 6}).Translate({float(i) * 0.1f + 0.05f, 1e7f});
    request->mFlipX = (i & 1) != 0;
    request->mFlipY = (i & 2) != 0;
    request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  }
}

void FastPathAtlasParts(render::Graphics& g, const FastPathImages& images) {
  g.DrawImage(images.atlas);
  g.DrawImagePart(images.atlas, {0.5f, 3, 11, 13.25f}).Translate({-0.3f, 700.7f});
  auto flipped = g.DrawImagePart(images.atlas, {7, 0, 17, 20}).Translate({1e-3f, -1e-3f});
  flipped->mFlipX = true;
  flipped->mHorizontalAnchor = render::DrawImageParam::kAnchorEnd;
  g.DrawImage(images.whole).Translate({1, 1});  // a texture change between atlas draws
  g.DrawImage(images.atlas).Translate({5, 5});
}

void FastPathTintAndColours(render::Graphics& g, const FastPathImages& images) {
  const math::Color colours[] = {{1, 0, 0, 1}, {1, 0, 0, 1}, {0.2f, 0.4f, 0.6f, 0.5f}, {-0.0f, 2.0f, 0.999f, 0.0f}};
  float tint = 0.0f;
  for (const math::Color& colour : colours) {
    g.SetColor(colour);
    g.mTintAmount = tint;
    g.DrawImage(images.whole).Translate({tint * 100.0f, 2});
    g.SetColorRGBA(colour.g, colour.b, colour.r, 1.0f);
    g.DrawImage(images.atlas);
    tint += 0.33f;
  }
  g.SetShaderMode(render::Graphics::kShaderTint);
  g.DrawImage(images.whole).Translate({9, 9});
  g.SetShaderMode(render::Graphics::kShaderMultiply);
  g.DrawImage(images.whole).Translate({9, 9});
}

void FastPathStateChanges(render::Graphics& g, const FastPathImages& images) {
  g.DrawImage(images.whole);
  g.SetBlendMode(render::DrawState::kBlendAdditive);
  g.DrawImage(images.whole).Translate({2, 2});
  g.SetBlendMode(render::DrawState::kBlendAdditive);  // the same value again
  g.DrawImage(images.whole).Translate({4, 4});
  g.SetClipRect({10, 10, 100, 50});
  g.DrawImage(images.atlas);
  g.SetClipRect({10, 10, 100, 50});
  g.DrawImage(images.atlas).Translate({1, 0});
  g.SetClipRect({10, 12, 100, 50});
  g.DrawImage(images.atlas).Translate({2, 0});
  g.ResetClipRect();
  g.ResetClipRect();
  g.SetBlendMode(render::DrawState::kBlendAlpha);
  g.DrawImage(images.whole).Translate({6, 6});
  g.FillRect({0, 0, 5, 5});  // another vertex format in between
  g.DrawImage(images.whole).Translate({8, 8});
}

void FastPathUnderContextTransform(render::Graphics& g, const FastPathImages& images) {
  math::Transform3D* saved = g.mTransform;
  g.DrawImage(images.whole).Translate({1, 1});
  math::Transform3D scale;
  scale.Scale(math::Point3(1.5f, 0.75f, 1.0f));
  scale.Translate(math::Point3(10.1f, 3.3f, 0.0f));
  g.mTransform = &scale;
  g.DrawImage(images.whole).Translate({1, 1});
  g.DrawImage(images.atlas);
  g.mTransform = saved;
  g.DrawImage(images.whole).Translate({1, 1});
  // Requests with their own 2-D transform take the general path either way.
  g.DrawImage(images.whole).ScaleUniform(2.0f);
  g.DrawImagePartToRect(images.atlas, {1, 1, 8, 8}, {20, 20, 16, 12});
}

// More quads than the main vertex buffer (10240) and far more than the main index buffer holds,
// so both caches run through their overflow buffers; sizes vary so buffers are left with gaps.
void FastPathManySprites(render::Graphics& g, const FastPathImages& images) {
  uint32_t seed = 7;
  for (int i = 0; i < 12000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    g.SetColor(math::Color(0xFF000000u | seed));
    const float x = float(seed % 1300) + 0.25f;
    const float y = float((seed >> 11) % 700);
    if (i % 97 == 0) {
      g.FillRect({x, y, 3, 3});
    } else if (i % 2) {
      g.DrawImage(images.whole).Translate({x, y});
    } else {
      g.DrawImagePart(images.atlas, {float(i % 8), 0, 8, 8}).Translate({x, y});
    }
  }
}

const FastPathCase kFastPathCases[] = {
    {"Anchors", FastPathAnchors},
    {"Flips", FastPathFlips},
    {"AtlasParts", FastPathAtlasParts},
    {"TintAndColours", FastPathTintAndColours},
    {"StateChanges", FastPathStateChanges},
    {"UnderContextTransform", FastPathUnderContextTransform},
    {"ManySprites", FastPathManySprites},
};

INSTANTIATE_TEST_SUITE_P(Cases, ImageFastPathTest, ::testing::ValuesIn(kFastPathCases),
                         [](const ::testing::TestParamInfo<FastPathCase>& info) { return info.param.name; });

}  // namespace
