// Text draw requests over a font that lays any text out as one box.
#include <gtest/gtest.h>

#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/TextFormat.h"
#include "tests/Graphics/DrawFrame.h"

namespace {

using render::SVertex2D;

// Every text is one box of mBoxWidth x mBoxHeight; with a context its corners are emitted through
// the request and kept in mEmitted.
class BoxFont : public render::Font {
 public:
  BoxFont() { mBase = 4.0f; }
  VNResultEnum Release() override { return VN_OK; }
  VNResultEnum DoLoad() override { return VN_OK; }
  VNResultEnum DoUnLoad() override { return VN_OK; }
  bool HasGlyph(char16_t) const override { return true; }
  VNResultEnum DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::u16string&,
                        const render::TextFormat& format, float* size) override {
    mFormat = format;
    if (size) size[0] = mBoxWidth, size[1] = mBoxHeight;
    ++mDraws;
    if (!graphics) return VN_OK;
    SVertex2D corners[4] = {};
    const float xs[4] = {0, mBoxWidth, mBoxWidth, 0};
    const float ys[4] = {0, 0, mBoxHeight, mBoxHeight};
    for (int i = 0; i < 4; ++i) corners[i].x = xs[i], corners[i].y = ys[i], corners[i].w = 1.0f;
    const VNResultEnum result = param->TransformVertices(corners, SVertex2D::GetFormat(), 4);
    mEmitted.assign(corners, corners + 4);
    return result;
  }

  float mBoxWidth = 5.0f;
  float mBoxHeight = 5.0f;
  int mDraws = 0;
  render::TextFormat mFormat;
  std::vector<SVertex2D> mEmitted;
};

class DrawTextTest : public testgraphics::DrawFrameTest {
 protected:
  BoxFont mFont;
  const std::u16string mText = u"text";
};

struct AnchorCase {
  const char* name;
  int horizontal, vertical;
  float x, y;  // where the box's top-left lands
};

void PrintTo(const AnchorCase& c, std::ostream* os) { *os << c.name; }

class TextAnchorTest : public DrawTextTest, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(TextAnchorTest, MovesTheLaidOutBox) {
  const AnchorCase& c = GetParam();
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    auto request = g.DrawText(&mText);
    request->mHorizontalAnchor = c.horizontal;
    request->mVerticalAnchor = c.vertical;
  });
  ASSERT_EQ(mFont.mEmitted.size(), 4u);
  EXPECT_FLOAT_EQ(mFont.mEmitted[0].x, c.x);
  EXPECT_FLOAT_EQ(mFont.mEmitted[0].y, c.y);
}

// A 5 x 5 box; the font's base is 4.
const AnchorCase kAnchorCases[] = {
    {"TopLeft", 0, 0, 0, 0},
    {"BottomRight", 1, 1, -5, -5},
    {"CentredRoundsXDownAndYUp", 2, 2, -3, -2},
    {"BaseLine", 0, 3, 0, -4},
};

INSTANTIATE_TEST_SUITE_P(Cases, TextAnchorTest, ::testing::ValuesIn(kAnchorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DrawTextTest, TranslatedAndScaledRequestsDrawOnceAfterTheAnchor) {
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    auto request = g.DrawText(&mText);
    request->mHorizontalAnchor = 1;
    request.Translate({100, 50});
  });
  EXPECT_EQ(mFont.mDraws, 1);
  ASSERT_EQ(mFont.mEmitted.size(), 4u);
  EXPECT_FLOAT_EQ(mFont.mEmitted[0].x, 95.0f);
  EXPECT_FLOAT_EQ(mFont.mEmitted[0].y, 50.0f);

  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.DrawText(&mText).ScaleUniform(2);
  });
  EXPECT_EQ(mFont.mDraws, 2);
  EXPECT_FLOAT_EQ(mFont.mEmitted[2].x, 10.0f);
}

TEST_F(DrawTextTest, BoxSetsTheFormat) {
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.DrawTextBox(&mText, 120.0f, 8.0f, 2, false);
  });
  EXPECT_FLOAT_EQ(mFont.mFormat.mWrapWidth, 120.0f);
  EXPECT_FLOAT_EQ(mFont.mFormat.mIndent, 8.0f);
  EXPECT_EQ(mFont.mFormat.mAlignment, 2u);
  EXPECT_FALSE(mFont.mFormat.mJustifyCharacters);
}

TEST_F(DrawTextTest, MeasuringReportsSizeAndBoxWithoutDrawing) {
  mFont.mBoxWidth = 30;
  mFont.mBoxHeight = 10;
  float width = 0;
  float height = 0;
  math::Box3 box;
  {
    auto request = mFont.MeasureText(&mText);
    request->mOutWidth = &width;
    request->mOutHeight = &height;
    request->mOutBox = &box;
    request->mHorizontalAnchor = 2;
  }
  EXPECT_EQ(mFont.mDraws, 1);
  EXPECT_TRUE(mFont.mEmitted.empty());
  EXPECT_EQ(width, 30.0f);
  EXPECT_EQ(height, 10.0f);
  EXPECT_FLOAT_EQ(box.min.x, -15.0f);
  EXPECT_FLOAT_EQ(box.max.x, 15.0f);
  EXPECT_FLOAT_EQ(box.min.y, 0.0f);
  EXPECT_FLOAT_EQ(box.max.y, 10.0f);
}

}  // namespace
