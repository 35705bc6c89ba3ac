// Layout buttons: keys, pictures and caption, the hit rectangle with its offset, press, hover and
// the hover scale.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Game/Screens/HUDButtons.h"
#include "gamesupport/GameArtScene.h"

namespace {

class HudButtonsTest : public gameart::GameArtTest {
 protected:
  void SetUp() override {
    gameart::GameArtTest::SetUp();
    WriteLayout("ruv/buttons", {
                                   {"button/b2_normal", 0, 0, 40, 20},
                                   {"button/b2_over", 0, 0, 30, 10},
                                   {"button/b2_play/pos", 100, 50, 40, 20},
                                   {"button/b2_play/label", 100, 80, 40, 10},
                                   {"button/b1 _ ok/pos", 0, 0, 10, 10},
                                   {"button/b3__close/pos", 0, 0, 10, 10},
                                   {"button/b4/pos", 0, 0, 10, 10},
                                   {"button/b5_nopos/label", 0, 0, 10, 10},
                               });
    mLayout.reset(file::FileManager::Instance()->OpenImageContainer(u"ruv/buttons"));
    ASSERT_NE(mLayout, nullptr);
  }
  void TearDown() override {
    mLayout.reset();
    gameart::GameArtTest::TearDown();
  }
  std::unique_ptr<HUDButtonOver> Make(const std::u16string& key) {
    return std::unique_ptr<HUDButtonOver>(HUDButtonOver::create(mLayout.get(), key));
  }
  std::unique_ptr<file::ImageContainer> mLayout;
};

TEST_F(HudButtonsTest, KeysNamePicturesAndClickName) {
  struct Case {
    std::u16string key, name, picture;
    unsigned char hasCaption;
  };
  const Case cases[] = {
      {u"b2_play", u"play", u"b2_normal", 1},
      {u"b1 _ ok", u"ok", u"b1_normal", 0},
      {u"b3__close", u"close", u"b3_normal", 0},
      {u"b4", u"", u"b4_normal", 0},
  };
  for (const Case& c : cases) {
    std::unique_ptr<HUDButtonOver> button = Make(c.key);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->name, c.name);
    EXPECT_EQ(button->normalFrame->name, c.picture);
    EXPECT_EQ(button->hasCaption, c.hasCaption);
    EXPECT_EQ(button->visible, 1);
  }
  std::unique_ptr<HUDButtonOver> play = Make(u"b2_play");
  EXPECT_NE(play->normalFrame->image, nullptr);
  EXPECT_NE(play->pressedFrame->image, nullptr);
  EXPECT_EQ(std::vector<float>(play->pressedFrame->rect, play->pressedFrame->rect + 4),
            (std::vector<float>{100, 50, 40, 20}))
      << "both pictures take the position rectangle";
  EXPECT_EQ(std::vector<float>(play->captionRect, play->captionRect + 4), (std::vector<float>{100, 80, 40, 10}));
  EXPECT_EQ(Make(u"b5_nopos"), nullptr) << "no position: no button";
}

TEST_F(HudButtonsTest, HitRectangleFollowsTheOffsetAndVisibility) {
  std::unique_ptr<HUDButtonOver> button = Make(u"b2_play");
  struct Case {
    float xOffset;
    int x, y;
    bool hit;
  };
  const Case cases[] = {
      {0, 100, 50, true},  {0, 140, 70, true},  {0, 141, 60, false}, {0, 120, 71, false},
      {120, 220, 50, true}, {120, 260, 70, true}, {120, 140, 60, false},
  };
  for (const Case& c : cases) {
    button->xOffset = c.xOffset;
    EXPECT_EQ(button->hitTest(c.x, c.y), c.hit) << c.xOffset << ": " << c.x << "," << c.y;
    button->hover(c.x, c.y);
    EXPECT_EQ(button->hovered, c.hit ? 1 : 0);
  }
  button->xOffset = 0.0f;
  button->press(120, 60);
  EXPECT_EQ(button->pressed, 1);
  EXPECT_TRUE(button->hitTest(140, 70)) << "the pressed picture takes the same rectangle";
  button->release(0, 0);
  EXPECT_EQ(button->pressed, 0);
  button->press(0, 0);
  EXPECT_EQ(button->pressed, 0);
  button->visible = 0;
  button->hover(120, 60);
  EXPECT_EQ(button->hovered, 0);
  EXPECT_FALSE(button->hitTest(120, 60));
}

TEST_F(HudButtonsTest, HoverScaleGrowsInTwoTenthsAndShrinksInOne) {
  std::unique_ptr<HUDButtonOver> button = Make(u"b2_play");
  button->hover(120, 60);
  button->update(0.1f);
  EXPECT_FLOAT_EQ(button->scale, 1.05f);
  button->update(0.1f);
  EXPECT_FLOAT_EQ(button->scale, 1.1f);
  button->update(1.0f);
  EXPECT_FLOAT_EQ(button->scale, 1.1f) << "capped";
  button->hover(0, 0);
  button->update(0.05f);
  EXPECT_FLOAT_EQ(button->scale, 1.05f);
  button->update(0.05f);
  EXPECT_FLOAT_EQ(button->scale, 1.0f);
  EXPECT_FLOAT_EQ(button->time, 1.3f);
}

TEST_F(HudButtonsTest, DrawsTheShownPictureAndCaptionInLayoutCoordinates) {
  std::unique_ptr<HUDButtonOver> button = Make(u"b2_play");
  gameart::ProbeFont font;
  button->font = font.Handle();
  button->caption = u"Go";
  for (float xOffset : {0.0f, 120.0f}) {
    for (int pressed : {0, 1}) {
      button->xOffset = xOffset;
      button->pressed = pressed;
      font.mDrawn.clear();
      Frame([&](render::Graphics& g) { button->draw(g); });
      // Centred on (120, 60): the normal picture is 40 x 20, the pressed one 30 x 10.
      const std::vector<render::SVertex2D> quad = FrameImageVertices();
      ASSERT_EQ(quad.size(), 4u);
      EXPECT_NEAR(quad[0].x, 120.0f + xOffset - (pressed ? 15.0f : 20.0f) - 0.5f, 1e-3);
      EXPECT_NEAR(quad[0].y, 60.0f - (pressed ? 5.0f : 10.0f) - 0.5f, 1e-3);
      ASSERT_EQ(font.mDrawn.size(), 1u);
      EXPECT_NEAR(font.mDrawn[0].x, 120.0f + xOffset - 10.0f, 1e-3) << "centred on the label";
      EXPECT_NEAR(font.mDrawn[0].y, 85.0f - 10.0f, 1e-3);
    }
  }
  button->visible = 0;
  Frame([&](render::Graphics& g) { button->draw(g); });
  EXPECT_TRUE(FrameImageVertices().empty());
}

}  // namespace

namespace {

class HudLayerButtonTest : public gameart::GameArtTest {
 protected:
  // Frames of a 40 x 20 normal and a 44 x 24 over picture; the images stay the test's.
  HudLayerButtonTest() {
    mNormal.image = MakeImage(40, 20);
    mNormal.rect[2] = 40.0f;
    mNormal.rect[3] = 20.0f;
    mOver.image = MakeImage(44, 24);
    mOver.rect[2] = 44.0f;
    mOver.rect[3] = 24.0f;
  }
  RuvFrameEntry mNormal;
  RuvFrameEntry mOver;
};

TEST_F(HudLayerButtonTest, PicturesCentredAndStrictHitTest) {
  HUDLayerButton button(mNormal, mOver, u"Skip");
  ASSERT_EQ(button.GetChildren().size(), 3u);
  EXPECT_EQ(button.GetChildren()[0], static_cast<layer::Layer*>(button.normalLayer));
  EXPECT_EQ(button.GetChildren()[2], static_cast<layer::Layer*>(button.captionLayer));
  EXPECT_EQ(button.normalLayer->mPosition.x, -20.0f);
  EXPECT_EQ(button.overLayer->mPosition.y, -12.0f);
  EXPECT_EQ(button.captionLayer->mText, u"Skip");
  button.SetPosition(math::Point3(100.0f, 50.0f, 0.0f));
  struct Case {
    int x, y;
    bool hit;
  };
  for (const Case& c : {Case{80, 50, false}, Case{81, 50, true}, Case{119, 59, true}, Case{120, 50, false},
                        Case{100, 40, false}, Case{100, 60, false}}) {
    EXPECT_EQ(button.hitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
  }
  button.mVisible = false;
  button.hover(100, 50);
  EXPECT_EQ(button.hovered, 0);
}

TEST_F(HudLayerButtonTest, GrowsInOneTenthAndShrinksInTwo) {
  HUDLayerButton button(mNormal, mOver, u"");
  button.hover(0, 0);
  button.update(0.05f);
  EXPECT_FLOAT_EQ(button.scale, 1.05f);
  EXPECT_FLOAT_EQ(button.mScaleX, 1.05f);
  EXPECT_TRUE(button.mTransformChanged);
  button.update(0.05f);
  EXPECT_FLOAT_EQ(button.scale, 1.1f);
  button.hover(500, 500);
  button.update(0.1f);
  EXPECT_FLOAT_EQ(button.scale, 1.05f);
  button.update(0.1f);
  EXPECT_FLOAT_EQ(button.scale, 1.0f);
  button.mTransformChanged = false;
  button.update(0.1f);
  EXPECT_FALSE(button.mTransformChanged) << "an unchanged scale is not written";
}

}  // namespace
