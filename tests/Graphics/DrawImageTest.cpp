// Image draw requests: conversions, anchors, flips, colours, tint and atlas mapping.
#include <gtest/gtest.h>

#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "tests/Graphics/DrawFrame.h"

namespace {

using render::SVertex2D;

class DrawImageTest : public testgraphics::DrawFrameTest {};

TEST_F(DrawImageTest, EveryChainDrawsExactlyOnce) {
  const std::vector<std::pair<const char*, std::function<void(render::Graphics&, render::Image*)>>> chains = {
      {"plain", [](render::Graphics& g, render::Image* i) { g.DrawImage(i); }},
      {"scale", [](render::Graphics& g, render::Image* i) { g.DrawImage(i).Scale(2, 3); }},
      {"uniform", [](render::Graphics& g, render::Image* i) { g.DrawImage(i).ScaleUniform(2); }},
      {"translate", [](render::Graphics& g, render::Image* i) { g.DrawImage(i).Translate({4, 5}); }},
      {"transform", [](render::Graphics& g, render::Image* i) { g.DrawImage(i).Transform(math::Transform2D()); }},
      {"to rect", [](render::Graphics& g, render::Image* i) { g.DrawImageToRect(i, {1, 2, 30, 40}); }},
      {"part to rect",
       [](render::Graphics& g, render::Image* i) { g.DrawImagePartToRect(i, {0, 0, 2, 2}, {1, 2, 30, 40}); }},
      {"kept request",
       [](render::Graphics& g, render::Image* i) {
         auto scaled = g.DrawImage(i).Scale(2, 2);
         scaled.GetTransform().RotateDegrees(90);
       }},
  };
  render::Image* image = MakeImage(8, 8);
  for (const auto& chain : chains) {
    SCOPED_TRACE(chain.first);
    Frame([&](render::Graphics& g) { chain.second(g, image); });
    const auto draws = mRender.Arguments("DrawIndexed");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0][0], 3u);  // triangle list
    EXPECT_EQ(draws[0][3], 2u);  // two triangles
    EXPECT_EQ(draws[0][5], 4u);  // four vertices
  }
}

TEST_F(DrawImageTest, DrawsOfOneStateMergeIntoOneDeviceDraw) {
  render::Image* image = MakeImage(8, 8);
  Frame([&](render::Graphics& g) {
    for (int i = 0; i < 3; ++i) g.DrawImage(image).Translate({float(i * 10), 0});
  });
  const auto draws = mRender.Arguments("DrawIndexed");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0][3], 6u);
  EXPECT_EQ(draws[0][5], 12u);
}

struct QuadCase {
  const char* name;
  int horizontalAnchor, verticalAnchor;
  bool flipX, flipY;
  float x0, y0, x1, y1;  // top-left and bottom-right positions, half-pixel shift included
  float u0, v0, u1, v1;  // texture coordinates of the top-left and bottom-right vertices
};

void PrintTo(const QuadCase& c, std::ostream* os) { *os << c.name; }

class ImageQuadTest : public DrawImageTest, public ::testing::WithParamInterface<QuadCase> {};

// A 5 x 5 image, whole.
TEST_P(ImageQuadTest, PlacesTheQuad) {
  const QuadCase& c = GetParam();
  render::Image* image = MakeImage(5, 5);
  Frame([&](render::Graphics& g) {
    auto request = g.DrawImage(image);
    request->mHorizontalAnchor = c.horizontalAnchor;
    request->mVerticalAnchor = c.verticalAnchor;
    request->mFlipX = c.flipX;
    request->mFlipY = c.flipY;
  });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, c.x0);
  EXPECT_FLOAT_EQ(v[0].y, c.y0);
  EXPECT_FLOAT_EQ(v[2].x, c.x1);
  EXPECT_FLOAT_EQ(v[2].y, c.y1);
  EXPECT_FLOAT_EQ(v[1].x, c.x1);  // clockwise from the top-left
  EXPECT_FLOAT_EQ(v[3].y, c.y1);
  EXPECT_FLOAT_EQ(v[0].u, c.u0);
  EXPECT_FLOAT_EQ(v[0].v, c.v0);
  EXPECT_FLOAT_EQ(v[2].u, c.u1);
  EXPECT_FLOAT_EQ(v[2].v, c.v1);
  for (const SVertex2D& vertex : v) {
    EXPECT_EQ(vertex.z, 0.0f);
    EXPECT_EQ(vertex.w, 1.0f);
  }
}

const QuadCase kQuadCases[] = {
    {"TopLeft", 0, 0, false, false, -0.5f, -0.5f, 4.5f, 4.5f, 0, 0, 1, 1},
    {"BottomRight", 1, 1, false, false, -5.5f, -5.5f, -0.5f, -0.5f, 0, 0, 1, 1},
    {"Centred", 2, 2, false, false, -3.0f, -3.0f, 2.0f, 2.0f, 0, 0, 1, 1},
    {"FlipX", 0, 0, true, false, -0.5f, -0.5f, 4.5f, 4.5f, 1, 0, 0, 1},
    {"FlipY", 0, 0, false, true, -0.5f, -0.5f, 4.5f, 4.5f, 0, 1, 1, 0},
    {"FlipBoth", 0, 0, true, true, -0.5f, -0.5f, 4.5f, 4.5f, 1, 1, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ImageQuadTest, ::testing::ValuesIn(kQuadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawImageTest, PartSourceSetsSizeAndCoordinates) {
  render::Image* image = MakeImage(10, 20);
  Frame([&](render::Graphics& g) { g.DrawImagePart(image, {2, 5, 4, 10}).Translate({100, 200}); });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 99.5f);
  EXPECT_FLOAT_EQ(v[2].x, 103.5f);
  EXPECT_FLOAT_EQ(v[2].y, 209.5f);
  EXPECT_FLOAT_EQ(v[0].u, 0.2f);
  EXPECT_FLOAT_EQ(v[0].v, 0.25f);
  EXPECT_FLOAT_EQ(v[2].u, 0.6f);
  EXPECT_FLOAT_EQ(v[2].v, 0.75f);
}

TEST_F(DrawImageTest, ToRectScalesThenTranslates) {
  render::Image* image = MakeImage(4, 2);
  Frame([&](render::Graphics& g) { g.DrawImageToRect(image, {10, 20, 40, 10}); });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 9.5f);
  EXPECT_FLOAT_EQ(v[0].y, 19.5f);
  EXPECT_FLOAT_EQ(v[2].x, 49.5f);
  EXPECT_FLOAT_EQ(v[2].y, 29.5f);
}

struct ColourCase {
  const char* name;
  math::Color colour;
  float tint;
  uint32_t diffuse;
  uint32_t specular;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

class ImageColourTest : public DrawImageTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(ImageColourTest, PacksColourAndTint) {
  const ColourCase& c = GetParam();
  render::Image* image = MakeImage(4, 4);
  Frame([&](render::Graphics& g) {
    g.SetColor(c.colour);
    g.mTintAmount = c.tint;
    g.DrawImage(image);
  });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  for (const SVertex2D& vertex : v) {
    EXPECT_EQ(vertex.diffuse, c.diffuse);
    EXPECT_EQ(vertex.specular, c.specular);
  }
}

const ColourCase kColourCases[] = {
    {"WhiteNoTint", {1, 1, 1, 1}, 0.0f, 0xFFFFFFFF, 0x000000FF},
    {"FullTint", {1, 0, 0, 0.5f}, 1.0f, 0x7FFF0000, 0x0000FF00},
    {"HalfTint", {0, 0, 1, 1}, 0.5f, 0xFF0000FF, 0x00007F80},
    {"OverOneWraps", {1.5f, 0, 0, 1}, 0.0f, 0xFF7E0000, 0x000000FF},
};

INSTANTIATE_TEST_SUITE_P(Cases, ImageColourTest, ::testing::ValuesIn(kColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawImageTest, AtlasLayerMapsCoordinatesIntoItsRegion) {
  auto resource = resource::ResourceManager::Instance()->Get<resource::ResourceTexture>(u"draw/atlas layer");
  resource->mInAtlas = true;
  resource->mTextureU = 0.5f;
  resource->mTextureV = 0.25f;
  resource->mTextureWidth = 0.25f;
  resource->mTextureHeight = 0.5f;
  resource->mWidth = 8.0f;
  resource->mHeight = 8.0f;
  render::Image image;
  image.SetResource(resource);
  Frame([&](render::Graphics& g) { g.DrawImagePart(&image, {0, 4, 4, 4}).Transform(math::Transform2D()); });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].u, 0.5f);    // 0 -> 0.5
  EXPECT_FLOAT_EQ(v[0].v, 0.5f);    // 0.5 -> 0.25 + 0.5 * 0.5
  EXPECT_FLOAT_EQ(v[2].u, 0.625f);  // 0.5 -> 0.5 + 0.5 * 0.25
  EXPECT_FLOAT_EQ(v[2].v, 0.75f);
}

TEST_F(DrawImageTest, ContextTransformAppliesAfterTheRequest) {
  render::Image* image = MakeImage(2, 2);
  math::Transform3D transform;
  transform.Translate(math::Point3(100, 0, 0));
  Frame([&](render::Graphics& g) {
    g.mTransform = &transform;
    g.DrawImage(image).ScaleUniform(3);
  });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[2].x, 105.5f);  // 2 * 3 + 100 - 0.5
  EXPECT_FLOAT_EQ(v[2].y, 5.5f);
}


// A translated request moves positions of 3 or 4 components only.
TEST(TranslateVerticesTest, TwoComponentPositionsStay) {
  render::VertexFormat format(0, 0);
  format.AddElement("pos", 0, 8, render::VertexFormat::kPosition, 2);
  float positions[2] = {1.0f, 2.0f};
  EXPECT_EQ(render::TranslateVertices(positions, format, 1, 10.0f, 20.0f), VN_OK);
  EXPECT_EQ(positions[0], 1.0f);
  EXPECT_EQ(positions[1], 2.0f);
}

}  // namespace
