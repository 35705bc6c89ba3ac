// Pop-ups: rise, fade and removal, icons by kind, text placement, standing still while paused.
#include <gtest/gtest.h>

#include "Core/Render/Image.h"
#include "Game/Art/RuvPopupList.h"
#include "gamesupport/GameArtScene.h"

namespace {

using gameart::GameArtTest;

class PopupTest : public GameArtTest {
 protected:
  void SetUp() override {
    GameArtTest::SetUp();
    // "ruv/ui" with the two icons, loaded before the list is built.
    RuvArtSet* ui = MakeEmptySet(u"ruv/ui");
    mImmune = AddIcon(ui, u"ui/immune", 20);
    mMoney = AddIcon(ui, u"ui/money", 10);
  }

  render::Image* AddIcon(RuvArtSet* set, const std::u16string& name, int size) {
    auto* frame = new RuvFrameEntry;
    frame->name = name;
    render::Texture* texture = nullptr;
    mRender.CreateTexture(texture);
    texture->CreateRenderTarget(size, size);
    frame->image = new render::Image(texture);
    set->groups[""].push_back(frame);
    return frame->image;
  }

  render::Image* mImmune = nullptr;
  render::Image* mMoney = nullptr;
  gameart::ProbeFont mFont;
};

TEST_F(PopupTest, IconsByKind) {
  RuvPopupList list;
  struct Case {
    int kind;
    render::Image* icon;
  };
  const Case cases[] = {{0, nullptr}, {1, nullptr}, {2, mImmune}, {3, nullptr},
                        {4, mMoney},  {5, nullptr}, {-1, nullptr}};
  for (const Case& c : cases) {
    RuvPopup* popup = list.add(10.0f, 20.0f, c.kind);
    EXPECT_EQ(popup->icon, c.icon) << c.kind;
    EXPECT_EQ(popup->kind, c.kind);
    EXPECT_EQ(popup->alive, 1);
    EXPECT_FLOAT_EQ(popup->life, 0.75f);
    EXPECT_TRUE(popup->text.empty());
  }
  EXPECT_EQ(list.popups.size(), 7u);
}

TEST_F(PopupTest, RisesFadesAndIsRemoved) {
  RuvPopupList list;
  list.font = mFont.Handle();
  RuvPopup* popup = list.add(100.0f, 200.0f, 4);
  popup->text = u"+15";
  struct Step {
    float dt;
    bool present;
    float y, alpha;
  };
  // 15 px/s up; opaque until 0.5 s, alpha (0.75 - t) * 4 after; gone once 0.75 s is reached.
  const Step steps[] = {{0.0f, true, 200.0f, 1.0f},
                        {0.4f, true, 194.0f, 1.0f},
                        {0.2f, true, 191.0f, 0.6f},
                        {0.1f, true, 189.5f, 0.2f},
                        {0.05f, false, 0.0f, 0.0f}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.dt);
    list.update(s.dt);
    ASSERT_EQ(list.popups.size(), s.present ? 1u : 0u);
    mFont.mDrawn.clear();
    Frame([&](render::Graphics& g) { list.draw(g); });
    if (!s.present) {
      EXPECT_TRUE(FrameImageVertices().empty());
      EXPECT_TRUE(mFont.mDrawn.empty());
      continue;
    }
    EXPECT_NEAR(popup->y, s.y, 1e-4);
    EXPECT_FLOAT_EQ(popup->x, 100.0f);
    const std::vector<render::SVertex2D> v = FrameImageVertices();
    ASSERT_EQ(v.size(), 4u);
    // The 10 px icon centred on the pop-up.
    EXPECT_NEAR(v[0].x, 95.0f - 0.5f, 1e-3);
    EXPECT_NEAR(v[0].y, s.y - 5.0f - 0.5f, 1e-3);
    EXPECT_NEAR(gameart::VertexAlpha(v[0].diffuse), s.alpha, 0.01f);
    // The text 14 px to the right, at 0.75 scale, centred vertically.
    ASSERT_EQ(mFont.mDrawn.size(), 1u);
    EXPECT_EQ(mFont.mDrawn[0].text, u"+15");
    EXPECT_NEAR(mFont.mDrawn[0].x, 114.0f, 1e-3);
    EXPECT_NEAR(mFont.mDrawn[0].y, s.y - 7.5f, 1e-3);
    EXPECT_FLOAT_EQ(mFont.mDrawn[0].scale, 0.75f);
    EXPECT_NEAR(gameart::VertexAlpha(mFont.mDrawn[0].colour), s.alpha, 0.01f);
  }
}

TEST_F(PopupTest, StandsStillAtSpeedZero) {
  RuvPopupList list;
  RuvPopup* popup = list.add(5.0f, 6.0f, 0);
  for (int i = 0; i < 100; ++i) list.update(0.0f);
  ASSERT_EQ(list.popups.size(), 1u);
  EXPECT_EQ(popup->time, 0.0f);
  EXPECT_EQ(popup->y, 6.0f);
}

TEST_F(PopupTest, RemovalKeepsTheOthersInOrder) {
  RuvPopupList list;
  RuvPopup* first = list.add(0, 0, 0);
  list.update(0.5f);
  RuvPopup* second = list.add(0, 0, 0);
  list.update(0.3f);  // the first reaches 0.8 s
  ASSERT_EQ(list.popups.size(), 1u);
  EXPECT_EQ(list.popups.front(), second);
  EXPECT_NE(list.popups.front(), first);
  RuvPopup* third = list.add(0, 0, 0);
  EXPECT_EQ(list.popups.back(), third);
}

TEST_F(PopupTest, EmptyTextDrawsOnlyTheIconAndTextOnlyKindsNoImage) {
  RuvPopupList list;
  list.font = mFont.Handle();
  list.add(50.0f, 60.0f, 2);
  Frame([&](render::Graphics& g) { list.draw(g); });
  const std::vector<render::SVertex2D> v = FrameImageVertices();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NEAR(v[0].x, 40.0f - 0.5f, 1e-3);  // the 20 px immune icon
  EXPECT_TRUE(mFont.mDrawn.empty());

  RuvPopupList textOnly;
  textOnly.font = mFont.Handle();
  textOnly.add(50.0f, 60.0f, 3)->text = u"immune";
  Frame([&](render::Graphics& g) { textOnly.draw(g); });
  EXPECT_TRUE(FrameImageVertices().empty());
  ASSERT_EQ(mFont.mDrawn.size(), 1u);
  EXPECT_NEAR(gameart::VertexAlpha(mFont.mDrawn[0].colour), 1.0f, 0.01f);
}

}  // namespace
