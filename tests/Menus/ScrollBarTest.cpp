// The scroll bar over the upgrade shop's template pictures: the drag along the fixed track, strict
// press edges, the hidden bar and the owner's position writes.
#include <gtest/gtest.h>

#include "Core/Layer/ImageLayer.h"
#include "Game/Screens/HUDScrollBar.h"
#include "WidgetLayouts.h"

namespace menutest {
namespace {

// "scroll/slider_in" of "ruv/shop": x 866, 28 x 50; the bar at (870, 221).
constexpr int kSliderX = 866;
constexpr int kSliderWidth = 28;
constexpr int kSliderHeight = 50;

class ScrollBarTest : public WidgetLayoutTest {
 protected:
  void SetUp() override {
    WidgetLayoutTest::SetUp();
    mLayout = Open(u"ruv/shop");
    mBar = std::make_unique<HUDScrollBar>(mLayout.get(), &mBoard);
  }
  void TearDown() override {
    mBar.reset();
    mLayout.reset();
    WidgetLayoutTest::TearDown();
  }
  // The slider's top for a position, from the track's ends.
  static float SliderTop(float position) { return 221.0f + position * (464.0f - 221.0f); }

  std::unique_ptr<file::ImageContainer> mLayout;
  std::unique_ptr<HUDScrollBar> mBar;
};

TEST_F(ScrollBarTest, StartsAtTheTopOverItsBar) {
  EXPECT_EQ(&mBoard, mBar->root->GetParent());
  ASSERT_EQ(2u, mBar->root->GetChildren().size());
  EXPECT_EQ(mBar->bar.get(), mBar->root->GetChildren()[0]);
  EXPECT_EQ(math::Point3(870.0f, 221.0f, 0.0f), mBar->bar->mPosition);
  EXPECT_EQ(math::Point3(866.0f, 221.0f, 0.0f), mBar->slider->mPosition);
  EXPECT_EQ(-1, mBar->dragState);
  EXPECT_EQ(0.0f, mBar->position);
}

TEST_F(ScrollBarTest, PressesStartADragOnlyStrictlyInsideTheSlider) {
  struct Case {
    int x, y;
    bool drags;
  };
  const Case cases[] = {
      {kSliderX + 1, 222, true},
      {kSliderX, 240, false},
      {kSliderX + kSliderWidth, 240, false},
      {kSliderX + kSliderWidth - 1, 240, true},
      {880, 221, false},
      {880, 221 + kSliderHeight, false},
      {880, 221 + kSliderHeight - 1, true},
  };
  for (const Case& c : cases) {
    mBar->onMouseUp();
    mBar->onMouseDown(c.x, c.y);
    EXPECT_EQ(c.drags ? 0 : -1, mBar->dragState) << c.x << "," << c.y;
  }
}

TEST_F(ScrollBarTest, TheSliderFollowsThePointerAlongTheTrack) {
  struct Case {
    int y;
    float position;
  };
  const Case cases[] = {{100, 0.0f}, {251, 0.0f}, {300, 49.0f / 243.0f}, {494, 1.0f}, {700, 1.0f}, {372, 121.0f / 243.0f}};
  mBar->root->mVisible = false;  // a hidden bar still drags
  mBar->onMouseDown(880, 240);
  for (const Case& c : cases) {
    mBar->onMouseMove(123, c.y);
    EXPECT_FLOAT_EQ(c.position, mBar->position) << c.y;
    EXPECT_FLOAT_EQ(SliderTop(c.position), mBar->slider->mPosition.y) << c.y;
    EXPECT_EQ(866.0f, mBar->slider->mPosition.x);
  }
  mBar->onMouseUp();
  mBar->onMouseMove(880, 300);
  EXPECT_FLOAT_EQ(121.0f / 243.0f, mBar->position);
}

TEST_F(ScrollBarTest, OwnerWritesMoveTheSlider) {
  mBar->position = 0.5f;
  mBar->syncSlider();
  EXPECT_FLOAT_EQ(342.5f, mBar->slider->mPosition.y);
  mBar->reset();
  EXPECT_EQ(0.0f, mBar->position);
  EXPECT_FLOAT_EQ(221.0f, mBar->slider->mPosition.y);
}

}  // namespace
}  // namespace menutest
