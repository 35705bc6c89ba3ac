// Text rows with icon characters: chunking, widths and where each chunk draws.
#include <gtest/gtest.h>

#include "Core/Render/Image.h"
#include "Game/Art/AttributedString.h"
#include "gamesupport/GameArtScene.h"

namespace {

using gameart::GameArtTest;

class AttributedTextTest : public GameArtTest {
 protected:
  void SetUp() override {
    GameArtTest::SetUp();
    mMoney = MakeImage(16, 8);
    mGem = MakeImage(12, 12);
    mRow.font = mFont.Handle();
    mRow.addIcon(u'$', mMoney);
  }

  // "T:<text>" for a text chunk, "I:<width>" for an icon.
  std::vector<std::string> Chunks() const {
    std::vector<std::string> out;
    for (const AttributedChunk* chunk : mRow.chunks) {
      if (auto* text = dynamic_cast<const AttributedStringChunk*>(chunk)) {
        out.push_back("T:" + std::string(text->text.begin(), text->text.end()) + "/" +
                      std::to_string(int(chunk->width)));
      } else {
        out.push_back("I:" + std::to_string(int(chunk->width)));
      }
    }
    return out;
  }

  gameart::ProbeFont mFont;
  render::Image* mMoney = nullptr;
  render::Image* mGem = nullptr;
  AttributedString mRow;
};

TEST_F(AttributedTextTest, ChunkTable) {
  mRow.addIcon(u'#', mGem);
  struct Case {
    std::u16string text;
    std::vector<std::string> chunks;
  };
  const Case cases[] = {
      {u"$12", {"I:16", "T:12/20"}},
      {u"12$", {"T:12/20", "I:16", "T:/0"}},
      {u"$$", {"I:16", "I:16", "T:/0"}},  // none between the icons
      {u"", {"T:/0"}},
      {u"plain", {"T:plain/50"}},
      {u"a#b$", {"T:a/10", "I:12", "T:b/10", "I:16", "T:/0"}},
  };
  for (const Case& c : cases) {
    mRow.text = c.text;
    mRow.buildChunks();
    EXPECT_EQ(Chunks(), c.chunks) << std::string(c.text.begin(), c.text.end());
  }
}

TEST_F(AttributedTextTest, LaterIconReplacesTheFirst) {
  mRow.addIcon(u'$', mGem);
  mRow.text = u"$";
  mRow.buildChunks();
  EXPECT_EQ(Chunks(), (std::vector<std::string>{"I:12", "T:/0"}));
}

TEST_F(AttributedTextTest, ChunkWithoutAFontMeasuresZero) {
  AttributedString bare;
  bare.text = u"123";
  bare.buildChunks();
  ASSERT_EQ(bare.chunks.size(), 1u);
  EXPECT_EQ(bare.chunks[0]->width, 0.0f);
}

TEST_F(AttributedTextTest, RowIsCentredOnTheAnchorAtEveryScale) {
  mRow.text = u"12$";
  mRow.buildChunks();  // widths 20, 16, 0: W = 36
  struct Case {
    float scale;
    float textX, imageLeft;
  };
  const Case cases[] = {{1.0f, 82.0f, 102.0f}, {2.0f, 64.0f, 104.0f}, {0.5f, 91.0f, 101.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    mFont.mDrawn.clear();
    math::Transform2D anchor;
    anchor.Scale(c.scale, c.scale);
    anchor.Translate(100.0f, 50.0f);
    Frame([&](render::Graphics& g) { mRow.draw(g, anchor); });
    ASSERT_EQ(mFont.mDrawn.size(), 2u);  // "12" and the empty remainder
    EXPECT_EQ(mFont.mDrawn[0].text, u"12");
    EXPECT_FLOAT_EQ(mFont.mDrawn[0].x, c.textX);
    EXPECT_FLOAT_EQ(mFont.mDrawn[0].y, 50.0f - 10.0f * c.scale);  // vertically centred
    EXPECT_FLOAT_EQ(mFont.mDrawn[0].scale, c.scale);
    EXPECT_FLOAT_EQ(mFont.mDrawn[1].x, c.imageLeft + 16.0f * c.scale);
    const std::vector<render::SVertex2D> v = FrameImageVertices();
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, c.imageLeft - 0.5f);
    EXPECT_FLOAT_EQ(v[2].x, c.imageLeft + 16.0f * c.scale - 0.5f);
    EXPECT_FLOAT_EQ(v[0].y, 50.0f - 4.0f * c.scale - 0.5f);
  }
}

TEST_F(AttributedTextTest, EmptyRowDrawsNothingVisible) {
  mRow.text = u"";
  mRow.buildChunks();
  Frame([&](render::Graphics& g) { mRow.draw(g, math::Transform2D()); });
  EXPECT_TRUE(FrameImageVertices().empty());
  ASSERT_EQ(mFont.mDrawn.size(), 1u);
  EXPECT_TRUE(mFont.mDrawn[0].text.empty());
}

}  // namespace
