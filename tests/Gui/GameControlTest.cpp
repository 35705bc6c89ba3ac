#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Core/File/FileManager.h"
#include "Core/Gui/GameControl.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Math/Rect.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "fakes/GoldenImage.h"
#include "fakes/RecordingRender.h"
#include "fakes/ScratchFolder.h"

namespace {

// A layout folder "lay" with four layers, each with its image, in a scratch data root.
class GameControlTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::filesystem::create_directories("lay");
    std::ofstream("lay/layers.xml") << R"(<Layers>
  <Layer name="a" x="300" y="200" width="20" height="20"/>
  <Layer name="s1" x="10" y="10" width="20" height="20"/>
  <Layer name="s2" x="15" y="5" width="20" height="20"/>
  <Layer name="back" x="0" y="0" width="20" height="20"/>
</Layers>)";
    fakes::RgbaImage image;
    image.width = 20;
    image.height = 20;
    image.pixels.assign(20 * 20 * 4, 0xFF);
    for (const char* name : {"lay/a.png", "lay/s1.png", "lay/s2.png", "lay/back.png"}) {
      ASSERT_TRUE(fakes::WritePng(name, image));
    }
    ASSERT_EQ(VN_OK, mRender.Init());
    gui::GameControlHelper::SetRender(&mRender);
  }
  void TearDown() override {
    gui::GameControlHelper::SetRender(nullptr);
    ScratchFolderTest::TearDown();
  }

  fakes::RecordingRender mRender;
};

TEST_F(GameControlTest, ImagesArePlacedRelativeToTheParentAndOrdered) {
  layer::Layer parent;
  parent.SetPosition(math::Point3(100, 50, 0));
  gui::GameControlHelper helper;
  ASSERT_EQ(VN_OK, helper.InitFromPath(u"lay", nullptr, nullptr, &parent, true));
  layer::ImageLayer* a = nullptr;
  ASSERT_EQ(VN_OK, helper.AddImage(u"a", gui::GameControlHelper::kModeNormal, nullptr, &a));
  EXPECT_FLOAT_EQ(200.0f, a->mPosition.x);
  EXPECT_FLOAT_EQ(150.0f, a->mPosition.y);
  layer::ImageLayer* back = nullptr;
  ASSERT_EQ(VN_OK, helper.AddImageBack(u"back", gui::GameControlHelper::kModeNoMouse, nullptr, &back));
  layer::ImageLayer* front = nullptr;
  ASSERT_EQ(VN_OK, helper.AddImage(u"s1", gui::GameControlHelper::kModeTrap, nullptr, &front));
  ASSERT_EQ(3u, parent.GetChildren().size());
  EXPECT_EQ(back, parent.GetChildren()[0]);
  EXPECT_EQ(a, parent.GetChildren()[1]);
  EXPECT_EQ(front, parent.GetChildren()[2]);
  EXPECT_FALSE(back->mMouseEnabled);
  EXPECT_EQ(helper.GetTrapListener(), front->mHitTestListener);
  EXPECT_EQ(3u, helper.GetCreatedLayers().size());
}

TEST_F(GameControlTest, FailuresCreateNothing) {
  gui::GameControlHelper helper;
  EXPECT_EQ(VN_FAIL, helper.InitFromPath(u"no_layout", nullptr, nullptr, nullptr, true));
  layer::Layer parent;
  ASSERT_EQ(VN_OK, helper.InitFromPath(u"lay", nullptr, nullptr, &parent, true));
  layer::ImageLayer* out = nullptr;
  EXPECT_NE(VN_OK, helper.AddImage(u"missing", 0, nullptr, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_TRUE(parent.GetChildren().empty());
  EXPECT_TRUE(helper.GetCreatedLayers().empty());
}

// The concrete control's state table.
class TwoStateTestControl : public gui::GameControl {
 public:
  TwoStateTestControl() { SetStateTable(mTable, 2); }
  layer::ImageLayer* mTable[2] = {nullptr, nullptr};
};

TEST_F(GameControlTest, StateRectangleAndLayout) {
  layer::Layer parent;
  auto control = std::make_unique<TwoStateTestControl>();
  ASSERT_EQ(VN_OK, control->InitFromPath(u"lay", nullptr, nullptr, &parent, true));
  layer::ImageLayer* first = nullptr;
  ASSERT_EQ(VN_OK, control->SetStateImage(0, u"s1", &first));
  EXPECT_EQ(VN_OK, control->SetStateImage(1, u"", nullptr));
  EXPECT_EQ(nullptr, control->mTable[1]);
  EXPECT_EQ(20, control->mStateWidth);
  ASSERT_EQ(VN_OK, control->SetStateImage(1, u"s2", nullptr));
  EXPECT_EQ(VN_FAIL, control->SetStateImage(2, u"s2", nullptr));
  EXPECT_EQ(10, control->mStateX);
  EXPECT_EQ(5, control->mStateY);
  EXPECT_EQ(25, control->mStateWidth);
  EXPECT_EQ(25, control->mStateHeight);
  control->Layout();
  EXPECT_FLOAT_EQ(22.0f, control->mPosition.x);
  EXPECT_FLOAT_EQ(17.0f, control->mPosition.y);
  EXPECT_FLOAT_EQ(-12.0f, first->mPosition.x);
  EXPECT_FLOAT_EQ(-7.0f, first->mPosition.y);
  ASSERT_EQ(2u, control->GetChildren().size());
  // The control's builder part also made a layer under the parent; both go with the control.
  ASSERT_EQ(VN_OK, control->AddImage(u"a", 0));
  EXPECT_EQ(1u, parent.GetChildren().size());
  control.reset();
  EXPECT_TRUE(parent.GetChildren().empty());
}

}  // namespace
