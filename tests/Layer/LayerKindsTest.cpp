// Image, text and hit-rectangle layers: bounds, the pixel hit mask, drawing through the context.
#include <gtest/gtest.h>

#include "Core/Layer/TextLayer.h"
#include "Core/Render/Graphics.h"
#include "tests/Layer/LayerScene.h"

namespace {

using testlayer::LayerSceneTest;

TEST_F(LayerSceneTest, ImageBoundsFollowTheAnchors) {
  struct Case {
    int horizontal, vertical;
    float minX, minY, maxX, maxY;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 100, 50},     {1, 0, -100, 0, 0, 50},   {2, 0, -50, 0, 50, 50},
      {0, 1, 0, -50, 100, 0},    {2, 2, -50, -25, 50, 25}, {1, 1, -100, -50, 0, 0},
  };
  for (const Case& c : cases) {
    layer::ImageLayer* image = MakeImageLayer(nullptr, 0, 0, 100, 50);
    image->mHorizontalAnchor = c.horizontal;
    image->mVerticalAnchor = c.vertical;
    image->UpdateBoundsTree();
    EXPECT_FLOAT_EQ(image->mLocalBox.min.x, c.minX) << c.horizontal << c.vertical;
    EXPECT_FLOAT_EQ(image->mLocalBox.min.y, c.minY) << c.horizontal << c.vertical;
    EXPECT_FLOAT_EQ(image->mLocalBox.max.x, c.maxX) << c.horizontal << c.vertical;
    EXPECT_FLOAT_EQ(image->mLocalBox.max.y, c.maxY) << c.horizontal << c.vertical;
    EXPECT_FLOAT_EQ(image->mLocalBox.max.z, 0.0f);
  }
  // Without an image the box is empty.
  layer::ImageLayer empty;
  empty.UpdateBoundsTree();
  EXPECT_GT(empty.mLocalBox.min.x, empty.mLocalBox.max.x);
}

TEST_F(LayerSceneTest, ClearPixelsOfTheHitMaskLetTheClickThrough) {
  fakes::RecordingHitTestListener* backListener = MakeListener("back");
  fakes::RecordingHitTestListener* frontListener = MakeListener("front");
  layer::Layer* root = MakeGroup(nullptr, 0, 0);
  MakeImageLayer(root, 0, 0, 8, 8, backListener);
  layer::ImageLayer* front = Keep(new layer::ImageLayer);
  // Solid except a clear 2 x 2 hole at (2, 2).
  front->SetImage(MakeMaskedImage(8, 8, [](int x, int y) { return !(x >= 2 && x < 4 && y >= 2 && y < 4); }), false);
  front->mHitTestListener = frontListener;
  front->mHorizontalAnchor = layer::ImageLayer::kAnchorCentre;  // the test point shifts by w / 2
  front->SetPosition(math::Point3(4, 0, 0));
  root->AddChild(front);
  struct Case {
    float x, y;
    const char* receiver;
  };
  const Case cases[] = {
      {1.2f, 1.2f, "front.Down"},  // pixel (1, 1): solid
      {2.2f, 2.2f, "back.Down"},   // pixel (2, 2): clear, the click goes on behind
      {3.4f, 3.4f, "back.Down"},   // pixel (3, 3), rounded from 3.4 + 0.5
      {3.6f, 2.2f, "front.Down"},  // 3.6 + 0.5 truncates to pixel 4: solid
  };
  for (const Case& c : cases) {
    mJournal.clear();
    EXPECT_EQ(Press(root, c.x, c.y), 0);
    EXPECT_EQ(mJournal, std::vector<std::string>{c.receiver}) << c.x << "," << c.y;
  }
}

TEST_F(LayerSceneTest, HalfAPixelLeftOfTheImageIsRejectedByTheBox) {
  fakes::RecordingHitTestListener* listener = MakeListener("image");
  layer::ImageLayer* image = MakeImageLayer(nullptr, 0, 0, 4, 4, listener);
  // The mask alone would take it: pixel (-0.5 + 0.5) truncates to 0.
  EXPECT_TRUE(image->HitTestPoint(math::Point3(-0.5f, 1.0f, 0.0f)));
  EXPECT_EQ(Press(image, -0.5f, 1.0f), 1);
  EXPECT_TRUE(mJournal.empty());
  // Far outside, the fine test answers false without converting out of range.
  EXPECT_FALSE(image->HitTestPoint(math::Point3(3e9f, -3e9f, 0.0f)));
}

TEST_F(LayerSceneTest, SetImageDeletesOnlyAReplacedOwnedImage) {
  layer::ImageLayer layer;
  auto* first = new render::Image(new testlayer::MaskTexture(&mRender, 2, 2, [](int, int) { return true; }));
  layer.SetImage(first, true);
  layer.SetImage(first, true);  // the same owned image: kept, not deleted
  EXPECT_EQ(layer.GetImage(), first);
  EXPECT_EQ(first->GetWidth(), 2);
  auto* second = new render::Image(new testlayer::MaskTexture(&mRender, 3, 3, [](int, int) { return true; }));
  layer.SetImage(second, true);  // first is deleted here (the leak checker sees it otherwise)
  EXPECT_EQ(layer.GetImage(), second);
  // second is deleted with the layer.
}

TEST_F(LayerSceneTest, ContentDrawPutsTheContextBackButTheBlendMode) {
  layer::ImageLayer* image = MakeImageLayer(nullptr, 5, 5, 4, 4);
  image->mAdditive = true;
  image->mTintMode = true;
  image->mTintAmount = 0.75f;
  image->mColor = math::Color(0.5f, 0.25f, 1.0f, 0.1f);
  Frame([&](render::Graphics& g) {
    g.mTintAmount = 0.2f;
    g.SetColorRGBA(1, 1, 1, 1);
    EXPECT_EQ(image->Draw(&g), VN_OK);
    EXPECT_EQ(g.GetState().mBlendMode, 2);  // not restored
    EXPECT_EQ(g.GetShaderMode(), render::Graphics::kShaderMultiply);
    EXPECT_FLOAT_EQ(g.mTintAmount, 0.2f);
    EXPECT_FLOAT_EQ(g.GetColor().r, 1.0f);
    EXPECT_EQ(g.mTransform, nullptr);
  });
  // The quad's colour: layer rgb with the world alpha (1), truncated to bytes.
  const std::vector<render::SVertex2D> quad = LastIndexedVertices<render::SVertex2D>();
  ASSERT_FALSE(quad.empty());
  EXPECT_EQ(quad[0].diffuse, 0xFF7F3FFFu);
}

TEST_F(LayerSceneTest, TextLayerIsMeasuredThroughItsFont) {
  testlayer::TinyFont font;
  resource::ResourcePtr<render::Font> handle(&font, nullptr);
  struct Case {
    std::u16string text;
    int horizontal, vertical;
    bool fit;
    float wrap;
    float minX, minY, maxX, maxY;
  };
  const Case cases[] = {
      {u"abc", 0, 0, false, 0, 0, 0, 30, 20},
      {u"abcd", 2, 2, false, 0, -20, -10, 20, 10},
      {u"abc", 1, 3, false, 0, -30, -16, 0, 4},
      {u"ab", 0, 0, false, 100, 0, 0, 100, 20},  // no fit: the wrap width
      {u"ab", 0, 0, true, 100, 0, 0, 20, 20},
  };
  for (const Case& c : cases) {
    layer::TextLayer text(handle, c.text, c.wrap, 0.0f, 0, c.fit);
    text.mHorizontalAnchor = c.horizontal;
    text.mVerticalAnchor = c.vertical;
    text.UpdateBoundsTree();
    EXPECT_FLOAT_EQ(text.mLocalBox.min.x, c.minX);
    EXPECT_FLOAT_EQ(text.mLocalBox.min.y, c.minY);
    EXPECT_FLOAT_EQ(text.mLocalBox.max.x, c.maxX);
    EXPECT_FLOAT_EQ(text.mLocalBox.max.y, c.maxY);
    ASSERT_FALSE(font.mRequests.empty());
    EXPECT_FALSE(font.mRequests.back().mDrawn);
    EXPECT_EQ(font.mRequests.back().mFitToText, c.fit);
  }
}

TEST_F(LayerSceneTest, TextLayerWithoutTextIsNeverHitAndWithTextEverywhereInItsBox) {
  testlayer::TinyFont font;
  resource::ResourcePtr<render::Font> handle(&font, nullptr);
  fakes::RecordingHitTestListener* listener = MakeListener("text");
  layer::TextLayer* text = Keep(new layer::TextLayer(handle, u"", 0.0f, 0.0f, 0, false));
  text->mHitTestListener = listener;
  EXPECT_EQ(Press(text, 1, 1), 1);
  text->mText = u"hello";
  text->mLocalBoxValid = false;
  EXPECT_EQ(Press(text, 49, 19), 0);
  EXPECT_EQ(Press(text, 50, 19), 1);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"text.Down"}));
}

TEST_F(LayerSceneTest, TextLayerSetsItsFontOnAContextWithout) {
  testlayer::TinyFont font, other;
  resource::ResourcePtr<render::Font> handle(&font, nullptr);
  layer::TextLayer text(handle, u"hi", 0.0f, 0.0f, 0, true);
  text.mVerticalAnchor = 3;
  Frame([&](render::Graphics& g) {
    EXPECT_EQ(text.Draw(&g), VN_OK);
    EXPECT_EQ(g.mFont, &font);  // a context without a font keeps the layer's
    g.mFont = &other;
    EXPECT_EQ(text.Draw(&g), VN_OK);
    EXPECT_EQ(g.mFont, &other);
  });
  ASSERT_EQ(font.mRequests.size(), 2u);
  EXPECT_TRUE(font.mRequests[0].mDrawn);
  EXPECT_EQ(font.mRequests[0].mVerticalAnchor, 3);
  EXPECT_TRUE(font.mRequests[0].mFitToText);
}

TEST_F(LayerSceneTest, SnapToPixelsPutsTheBoxCornerOnWholePixels) {
  testlayer::TinyFont font;
  resource::ResourcePtr<render::Font> handle(&font, nullptr);
  layer::TextLayer text(handle, u"abc", 0.0f, 0.0f, 0, false);
  text.mHorizontalAnchor = 2;  // box x from -15 to 15
  text.mPosition = math::Point3(10.3f, 5.7f, 0.0f);
  text.SnapToPixels();
  EXPECT_FLOAT_EQ(text.mPosition.x, 10.0f);  // floor(10.3 - 15) + 15
  EXPECT_FLOAT_EQ(text.mPosition.y, 5.0f);
  EXPECT_TRUE(text.mTransformChanged);
  text.mTransformChanged = false;
  text.SnapToPixels();  // already on pixels: nothing changes
  EXPECT_FALSE(text.mTransformChanged);
}

TEST_F(LayerSceneTest, RectHitLayerBoundsAreItsRectangle) {
  fakes::RecordingHitTestListener* listener = MakeListener("rect");
  layer::RectHitLayer* rect = MakeRectLayer(nullptr, math::Rect(10, 20, 30, 40), listener);
  rect->UpdateBoundsTree();
  EXPECT_FLOAT_EQ(rect->mLocalBox.min.x, 10.0f);
  EXPECT_FLOAT_EQ(rect->mLocalBox.max.y, 60.0f);
  EXPECT_EQ(Press(rect, 39.9f, 59.9f), 0);
  EXPECT_EQ(Press(rect, 40.0f, 30.0f), 1);
}

}  // namespace
