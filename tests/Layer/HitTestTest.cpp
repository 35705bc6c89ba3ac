// Mouse searches of the layer tree: overlaps and result codes, listener-less layers, shields, tilt,
// bubbling and the process-wide handlers.
#include <gtest/gtest.h>

#include "tests/Layer/LayerScene.h"

namespace {

using testlayer::HandlerRestore;
using testlayer::LayerSceneTest;

// root (listener "root") holds two overlapping 100 x 100 images a (0, 0) and b (50, 50) in front,
// and a listener-less group at (300, 0) holding the listener-less image c at (10, 10).
class HitTestSceneTest : public LayerSceneTest {
 protected:
  HitTestSceneTest() {
    rootListener = MakeListener("root");
    aListener = MakeListener("a");
    bListener = MakeListener("b");
    root = MakeGroup(nullptr, 0, 0, rootListener);
    a = MakeImageLayer(root, 0, 0, 100, 100, aListener);
    b = MakeImageLayer(root, 50, 50, 100, 100, bListener);
    group = MakeGroup(root, 300, 0);
    c = MakeImageLayer(group, 10, 10, 50, 50);
  }

  fakes::RecordingHitTestListener* rootListener;
  fakes::RecordingHitTestListener* aListener;
  fakes::RecordingHitTestListener* bListener;
  layer::Layer* root;
  layer::ImageLayer* a;
  layer::ImageLayer* b;
  layer::Layer* group;
  layer::ImageLayer* c;
};

struct HitTestOverlapCase {
  const char* name;
  float x, y;
  int bAnswer, aAnswer;
  bool bHidden, bMouseDisabled;
  int expectedResult;
  std::vector<std::string> expectedJournal;
};

TEST_F(HitTestSceneTest, OverlapsAndResultCodes) {
  const HitTestOverlapCase cases[] = {
      {"front sibling takes the overlap", 75, 75, -1, -1, false, false, 0, {"b.Down"}},
      {"pass on reaches the sibling behind", 75, 75, 1, -1, false, false, 0, {"b.Down", "a.Down"}},
      {"passed on by both: nobody handles", 75, 75, 1, 1, false, false, 1, {"b.Down", "a.Down"}},
      {"taken by the hit layer itself ends the search", 75, 75, 2, -1, false, false, 2, {"b.Down"}},
      {"hidden layer is skipped", 75, 75, -1, -1, true, false, 0, {"a.Down"}},
      {"mouse-disabled layer is skipped", 75, 75, -1, -1, false, true, 0, {"a.Down"}},
      {"outside every layer", 900, 900, -1, -1, false, false, 1, {}},
      {"minimum edge hits", 0, 0, -1, -1, false, false, 0, {"a.Down"}},
      {"maximum edge misses", 100, 10, -1, -1, false, false, 1, {}},
  };
  for (const HitTestOverlapCase& c : cases) {
    mJournal.clear();
    bListener->mAnswer = c.bAnswer;
    aListener->mAnswer = c.aAnswer;
    b->mVisible = !c.bHidden;
    b->mMouseEnabled = !c.bMouseDisabled;
    EXPECT_EQ(Press(root, c.x, c.y), c.expectedResult) << c.name;
    EXPECT_EQ(mJournal, c.expectedJournal) << c.name;
  }
}

TEST_F(HitTestSceneTest, ListenerlessLayerReachesItsNearestListeningAncestor) {
  EXPECT_EQ(Press(root, 320, 20, 3), 0);
  ASSERT_EQ(mJournal, (std::vector<std::string>{"root.Down"}));
  const auto& call = rootListener->mCalls.back();
  EXPECT_EQ(call.mHitLayer, c);
  EXPECT_EQ(call.mLayer, root);
  EXPECT_FLOAT_EQ(call.mPoint.x, 320.0f);  // the ancestor's own point
  EXPECT_FLOAT_EQ(call.mPoint.y, 20.0f);
  EXPECT_EQ(call.mData, 3);
  EXPECT_FALSE(call.mHandledBelow);
}

TEST_F(HitTestSceneTest, LayerWithoutAnyListeningAncestorIsNeverHit) {
  root->mHitTestListener = nullptr;
  EXPECT_EQ(Press(root, 320, 20), 1);
  EXPECT_TRUE(mJournal.empty());
}

TEST_F(HitTestSceneTest, HiddenOrMouseDisabledGroupShieldsItsSubtree) {
  group->mVisible = false;
  EXPECT_EQ(Press(root, 320, 20), 1);
  group->mVisible = true;
  group->mMouseEnabled = false;
  EXPECT_EQ(Press(root, 320, 20), 1);
  // Children take mouse lets the search in although the group itself is not mouse enabled.
  group->mChildrenTakeMouse = true;
  EXPECT_EQ(Press(root, 320, 20), 0);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"root.Down"}));
}

TEST_F(HitTestSceneTest, TiltedLayerTestsItselfAtItsOriginAndSkipsItsChildren) {
  fakes::RecordingHitTestListener* inner = MakeListener("inner");
  MakeImageLayer(b, 0, 0, 10, 10, inner);
  b->mRotationX = 0.5f;
  b->mOuterBoxValid = false;
  EXPECT_EQ(Press(root, 120, 120), 0);
  ASSERT_EQ(mJournal, (std::vector<std::string>{"b.Down"}));
  EXPECT_FLOAT_EQ(bListener->mCalls.back().mPoint.x, 0.0f);
  EXPECT_FLOAT_EQ(bListener->mCalls.back().mPoint.y, 0.0f);
}

TEST_F(HitTestSceneTest, MirroredLayerIsNeverHit) {
  b->mScaleX = -1.0f;
  b->SetPosition(math::Point3(150, 50, 0));
  EXPECT_EQ(Press(root, 120, 120), 1);
  EXPECT_TRUE(mJournal.empty());
}

TEST_F(HitTestSceneTest, TakingAChildDeliveryMakesTheAncestorsOwnTestRunNext) {
  // A hit-rectangle group with a listener; its two listener-less children overlap.
  fakes::RecordingHitTestListener* panelListener = MakeListener("panel");
  layer::RectHitLayer* panel = MakeRectLayer(root, math::Rect(0, 0, 200, 200), panelListener);
  panel->SetPosition(math::Point3(500, 0, 0));
  layer::ImageLayer* behind = MakeImageLayer(panel, 0, 0, 50, 50);
  layer::ImageLayer* front = MakeImageLayer(panel, 10, 10, 50, 50);
  panelListener->mAnswer = 2;
  panelListener->mAnswerOnce = true;
  EXPECT_EQ(Press(root, 520, 20), 0);
  ASSERT_EQ(mJournal, (std::vector<std::string>{"panel.Down", "panel.Down"}));
  EXPECT_EQ(panelListener->mCalls[0].mHitLayer, front);
  EXPECT_EQ(panelListener->mCalls[1].mHitLayer, panel);  // its own test, behind is not searched
  (void)behind;
}

TEST_F(HitTestSceneTest, BubbledCopiesReachAncestorsWithTheirBit) {
  struct Case {
    const char* name;
    uint32_t rootBits;
    int aAnswer;
    std::vector<std::string> journal;
    bool handledBelow;
  };
  const Case cases[] = {
      {"no bit, no copy", 0, -1, {"a.Down"}, false},
      {"handled below", layer::HitTestListener::kBubbleMouseDown, -1, {"a.Down", "root.ChildDown"}, true},
      {"passed on below", layer::HitTestListener::kBubbleMouseDown, 1, {"a.Down", "root.ChildDown"}, false},
      {"other kind's bit", layer::HitTestListener::kBubbleMouseMove, -1, {"a.Down"}, false},
  };
  for (const Case& c : cases) {
    mJournal.clear();
    rootListener->mCalls.clear();
    rootListener->mBubbleFlags = c.rootBits;
    aListener->mAnswer = c.aAnswer;
    Press(root, 10, 10);
    EXPECT_EQ(mJournal, c.journal) << c.name;
    if (!rootListener->mCalls.empty()) {
      EXPECT_EQ(rootListener->mCalls[0].mHandledBelow, c.handledBelow) << c.name;
      EXPECT_EQ(rootListener->mCalls[0].mHitLayer, a) << c.name;
    }
  }
}

TEST_F(HitTestSceneTest, WheelMoveDragAndReleaseUseTheirOwnOperations) {
  int32_t result = -1;
  layer::OnMouseWheel wheel;
  wheel.mDelta = -120;
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(10, 10, 0), wheel, result), VN_OK);
  EXPECT_EQ(aListener->mCalls.back().mData, -120);
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(10, 10, 0), layer::OnMouseMove(), result), VN_OK);
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(10, 10, 0), layer::OnMouseDrag(), result), VN_OK);
  layer::OnMouseUp up;
  up.mButton = 2;
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(10, 10, 0), up, result), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"a.Wheel", "a.Move", "a.Drag", "a.Up"}));
}

TEST_F(HitTestSceneTest, FailingReceiverStopsTheSearchWithItsCode) {
  bListener->mReturn = VN_FAIL;
  int32_t result = -1;
  layer::OnMouseDown down;
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(75, 75, 0), down, result), VN_FAIL);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"b.Down"}));
  // Inside the bubbling walk a failure is dropped.
  mJournal.clear();
  bListener->mReturn = VN_OK;
  rootListener->mBubbleFlags = layer::HitTestListener::kBubbleMouseDown;
  rootListener->mReturn = VN_FAIL;
  EXPECT_EQ(layer::SearchMouseEvent(root, math::Point3(75, 75, 0), down, result), VN_OK);
  EXPECT_EQ(result, 0);
}

int sHitTestObserved = 0;
VNResultEnum HitTestObservingHandler(layer::HitTestParam& param, const layer::OnMouseDown& event) {
  ++sHitTestObserved;
  param.mResult = 1;  // filter: every delivery passes on, the listeners never see it
  (void)event;
  return VN_OK;
}

TEST_F(HitTestSceneTest, ReplacedOrEmptyHandlerChangesEveryDelivery) {
  {
    HandlerRestore<layer::OnMouseDown> restore;
    sHitTestObserved = 0;
    layer::OnMouseDown::Handler().Reset(
        new base::StaticDelegate2<layer::HitTestParam&, const layer::OnMouseDown&, VNResultEnum>(
            &HitTestObservingHandler));
    EXPECT_EQ(Press(root, 75, 75), 1);
    EXPECT_EQ(sHitTestObserved, 2);  // b, then a
    EXPECT_TRUE(mJournal.empty());

    layer::OnMouseDown::Handler().Reset();
    EXPECT_EQ(Press(root, 75, 75), 1);
    EXPECT_TRUE(mJournal.empty());
    bool handled = true;
    EXPECT_EQ(root->RouteMouseMove(math::Point3(75, 75, 0), layer::OnMouseMove(), handled), VN_OK);
    EXPECT_TRUE(handled);  // the move handler is still the default
  }
  // Restored: the default delivers again.
  mJournal.clear();
  EXPECT_EQ(Press(root, 75, 75), 0);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"b.Down"}));
}

TEST_F(HitTestSceneTest, RouteReportsWhetherALayerHandledTheEvent) {
  bool handled = true;
  EXPECT_EQ(root->RouteMouseDrag(math::Point3(900, 900, 0), layer::OnMouseDrag(), handled), VN_OK);
  EXPECT_FALSE(handled);
  EXPECT_EQ(root->RouteMouseDrag(math::Point3(10, 10, 0), layer::OnMouseDrag(), handled), VN_OK);
  EXPECT_TRUE(handled);
  HandlerRestore<layer::OnMouseDrag> restore;
  layer::OnMouseDrag::Handler().Reset();
  handled = false;
  EXPECT_EQ(root->RouteMouseDrag(math::Point3(10, 10, 0), layer::OnMouseDrag(), handled), VN_OK);
  EXPECT_FALSE(handled);  // untouched
}

}  // namespace
