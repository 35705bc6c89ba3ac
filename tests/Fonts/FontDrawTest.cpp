// Drawing text on the recording renderer: batches per page, glyph quads, alignment and justify.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Render/DrawParam.h"
#include "Core/Render/TextFormat.h"
#include "tests/Fonts/SyntheticFont.h"
#include "tests/Graphics/DrawFrame.h"

namespace {

using render::SVertex2D;

class FontDrawTest : public testgraphics::DrawFrameTest {
 protected:
  FontDrawTest() {
    mFont.SetMetrics(16.0f, 12.0f);
    mFont.AddPage(MakePage(64, 32));
    mFont.AddPage(MakePage(32, 32));
    // "a" and "A", "V" on page 0, "b" on page 1; blank 5.
    for (char16_t c : {u'a', u'A', u'V'}) {
      render::BMFont::Glyph& glyph = mFont.AddGlyph(c, 10.0f, 0);
      glyph.x = 8, glyph.y = 4, glyph.width = 6, glyph.height = 10, glyph.xoffset = 1, glyph.yoffset = 2;
    }
    render::BMFont::Glyph& b = mFont.AddGlyph(u'b', 10.0f, 1);
    b.width = 4, b.height = 4;
    mFont.AddGlyph(u' ', 5.0f);
    mFont.AddKerning(u'A', u'V', -3.0f);
  }

  // An image the font owns.
  render::Image* MakePage(int width, int height) {
    render::Texture* texture = nullptr;
    mRender.CreateTexture(texture);
    texture->CreateRenderTarget(width, height);
    return new render::Image(texture);
  }

  // Left x of every glyph quad of the last draw, without the half-pixel shift.
  std::vector<float> QuadLefts() const {
    const std::vector<SVertex2D> vertices = LastIndexedVertices<SVertex2D>();
    std::vector<float> lefts;
    for (size_t i = 0; i < vertices.size(); i += 4) lefts.push_back(vertices[i].x + 0.5f);
    return lefts;
  }

  testfonts::SyntheticFont mFont;
};

TEST_F(FontDrawTest, OneIndexedDrawPerPageRun) {
  const std::u16string text = u"aab a";
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.DrawText(&text);
  });
  const auto draws = mRender.Arguments("DrawIndexed");
  ASSERT_EQ(draws.size(), 3u);  // a a | b | a
  EXPECT_EQ(draws[0][3], 4);    // two quads, two triangles each
  EXPECT_EQ(draws[1][3], 2);
  EXPECT_EQ(draws[2][3], 2);
  EXPECT_EQ(draws[0][1], 2);  // 16-bit indices
  int textures = 0;
  for (const std::string& call : mRender.mCalls) textures += call.rfind("SetTexture(TextureSampler, texture", 0) == 0;
  EXPECT_EQ(textures, 3);
}

TEST_F(FontDrawTest, AGlyphQuadHasItsCornersUvsAndColours) {
  const std::u16string text = u"a";
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.SetColorRGBA(1.0f, 0.0f, 0.0f, 0.5f);
    g.mTintAmount = 0.5f;
    g.DrawText(&text).Translate({100, 50});
  });
  const std::vector<SVertex2D> v = LastIndexedVertices<SVertex2D>();
  ASSERT_EQ(v.size(), 4u);
  // Pen (100, 50) plus the offsets (1, 2); 6 x 10; minus the half pixel.
  const float xs[4] = {100.5f, 106.5f, 106.5f, 100.5f};
  const float ys[4] = {51.5f, 51.5f, 61.5f, 61.5f};
  const float us[4] = {8 / 64.0f, 14 / 64.0f, 14 / 64.0f, 8 / 64.0f};
  const float vs[4] = {4 / 32.0f, 4 / 32.0f, 14 / 32.0f, 14 / 32.0f};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(v[i].x, xs[i]);
    EXPECT_FLOAT_EQ(v[i].y, ys[i]);
    EXPECT_FLOAT_EQ(v[i].z, 0.0f);
    EXPECT_FLOAT_EQ(v[i].w, 1.0f);
    EXPECT_FLOAT_EQ(v[i].u, us[i]);
    EXPECT_FLOAT_EQ(v[i].v, vs[i]);
    EXPECT_EQ(v[i].diffuse, math::Color(1.0f, 0.0f, 0.0f, 0.5f).ToARGB());
    EXPECT_EQ(v[i].specular, 127u << 8 | 128u);  // green carries the tint, blue its complement
  }
  const auto draw = mRender.Arguments("DrawIndexed").back();
  const uint16_t* indices = mRender.GetBoundIndices() + draw[2];
  const long base = draw[4];
  const long expected[6] = {base, base + 1, base + 2, base, base + 2, base + 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(indices[i], expected[i]) << i;
}

TEST_F(FontDrawTest, KerningIsNotAppliedWhileDrawing) {
  const std::u16string text = u"AV";
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.DrawText(&text);
  });
  EXPECT_EQ(QuadLefts(), (std::vector<float>{1, 11}));
}

struct AlignCase {
  const char* name;
  unsigned alignment;
  bool justifyCharacters;
  std::u16string text;
  std::vector<float> lefts;  // quad left edges
  std::vector<float> tops;
};

void PrintTo(const AlignCase& c, std::ostream* os) { *os << c.name; }

class FontAlignTest : public FontDrawTest, public ::testing::WithParamInterface<AlignCase> {};

// Boxes without fit-to-text. 30 wide: "a a a" wraps into "a a" (25, one blank inside) and "a" (10).
// 25 wide: "aaaa" breaks into "aa" and "aa" (20 each, no blanks).
const AlignCase kAlignCases[] = {
    {"Left", 0, true, u"a a a", {1, 16, 1}, {2, 2, 18}},
    {"Right", 1, true, u"a a a", {6, 21, 21}, {2, 2, 18}},
    {"Centre", 2, true, u"a a a", {4, 19, 11}, {2, 2, 18}},
    {"JustifySpreadsOverBlanks", 3, true, u"a a a", {1, 21, 1}, {2, 2, 18}},
    {"JustifySpreadsOverCharacters", 3, true, u"aaaa", {1, 16, 1, 11}, {2, 2, 18, 18}},
    {"JustifyWithoutCharacterSpread", 3, false, u"aaaa", {1, 11, 1, 11}, {2, 2, 18, 18}},
    {"UnknownAlignmentIsLeft", 7, true, u"a a a", {1, 16, 1}, {2, 2, 18}},
};

TEST_P(FontAlignTest, PlacesEveryLine) {
  const AlignCase& c = GetParam();
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    auto request = g.DrawTextBox(&c.text, c.text == u"aaaa" ? 25.0f : 30.0f, 0.0f, c.alignment, c.justifyCharacters);
    request->mFormat.mFitToText = false;
  });
  EXPECT_EQ(QuadLefts(), c.lefts);
  const std::vector<SVertex2D> vertices = LastIndexedVertices<SVertex2D>();
  std::vector<float> tops;
  for (size_t i = 0; i < vertices.size(); i += 4) tops.push_back(vertices[i].y + 0.5f);
  EXPECT_EQ(tops, c.tops);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontAlignTest, ::testing::ValuesIn(kAlignCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FontDrawTest, ALongPageRunIsDrawnWhole) {
  // More glyphs than one reservation of the index cache's overflow buffers holds.
  const std::u16string text(400, u'a');
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    for (int frameText = 0; frameText < 8; ++frameText) g.DrawText(&text).Translate({0, 20.0f * frameText});
  });
  long primitives = 0;
  for (const auto& draw : mRender.Arguments("DrawIndexed")) primitives += draw[3];
  EXPECT_EQ(primitives, 8 * 400 * 2);
  const std::vector<SVertex2D> last = LastIndexedVertices<SVertex2D>();
  ASSERT_FALSE(last.empty());
  EXPECT_FLOAT_EQ(last.back().x, 399 * 10 + 1 - 0.5f);  // the text's last glyph, its bottom-left corner
  EXPECT_FLOAT_EQ(last.back().y, 7 * 20 + 12 - 0.5f);
}

TEST_F(FontDrawTest, NothingIsDrawnForAnEmptyText) {
  const std::u16string text;
  Frame([&](render::Graphics& g) {
    g.mFont = &mFont;
    g.DrawText(&text);
  });
  EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
}

TEST_F(FontDrawTest, AGlyphWithoutAPageImageFailsTheDrawAndDrawsNothing) {
  // An unloaded font keeps its glyphs but not its pages.
  mFont.AddGlyph(u'z', 10.0f, 5);
  const std::u16string text = u"z";
  VNResultEnum result = VN_OK;
  Frame([&](render::Graphics& g) { result = mFont.DrawText(&g, nullptr, text, render::TextFormat(), nullptr); });
  EXPECT_EQ(result, VN_FAIL);
  EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
}

}  // namespace
