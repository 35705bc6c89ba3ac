// The frame manager: stacking by mode, modal blocking, activation, queues, capture routing and the
// mouse-over chains, with the regressions of frames and widgets deleted under the mouse.
#include <gtest/gtest.h>

#include "tests/Widget/WidgetScene.h"

namespace {

using testwidget::TestBoard;
using testwidget::TestButton;
using testwidget::TestPanel;
using testwidget::WidgetSceneTest;

TEST_F(WidgetSceneTest, FramesStackByMode) {
  struct Show {
    const char* name;
    int mode;  // 0 normal, 1 raised, 2 modal
  };
  struct Case {
    std::vector<Show> shows;
    std::vector<std::string> stack;
  };
  const Case cases[] = {
      {{{"n1", 0}, {"n2", 0}}, {"n1", "n2"}},
      {{{"r1", 1}, {"n1", 0}}, {"n1", "r1"}},
      {{{"n1", 0}, {"r1", 1}, {"m1", 2}, {"n2", 0}, {"r2", 1}}, {"n1", "n2", "r1", "r2", "m1"}},
      {{{"m1", 2}, {"r1", 1}, {"m2", 2}, {"n1", 0}}, {"n1", "r1", "m1", "m2"}},
  };
  for (const Case& c : cases) {
    for (const Show& show : c.shows) {
      TestBoard* board = MakeBoard(show.name, math::Rect(0, 0, 10, 10));
      if (show.mode == 2) {
        ASSERT_EQ(mManager.ShowModal(board, false), VN_OK);
      } else {
        ASSERT_EQ(mManager.AddFrame(board, show.mode == 1, false, false), VN_OK);
      }
      EXPECT_EQ(board->GetManager(), &mManager);
    }
    EXPECT_EQ(Stack(), c.stack);
    ASSERT_EQ(mManager.RemoveAllFrames(false, false), VN_OK);
  }
}

TEST_F(WidgetSceneTest, FramesDrawBottomUpAndAFailureStopsTheDraw) {
  TestBoard* raised = MakeBoard("raised", math::Rect(0, 0, 10, 10));
  TestBoard* normal = MakeBoard("normal", math::Rect(0, 0, 10, 10));
  ASSERT_EQ(mManager.AddFrame(raised, true, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(normal, false, false, false), VN_OK);
  mJournal.clear();
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_OK); });
  EXPECT_EQ(mJournal, (std::vector<std::string>{"normal.OnDrawBefore", "raised.OnDrawBefore"}));
  normal->mFailOn = "OnDrawBefore";
  mJournal.clear();
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_FAIL); });
  EXPECT_EQ(mJournal, (std::vector<std::string>{"normal.OnDrawBefore"}));
}

TEST_F(WidgetSceneTest, CaptureConvertsTheCursorIntoTheGrabbedLayersSpace) {
  layer::Layer root, parent, grabbed;
  root.AddChild(&parent);
  parent.AddChild(&grabbed);
  parent.SetPosition(math::Point3(100, 50, 0));
  grabbed.SetPosition(math::Point3(10, 5, 0));
  struct Case {
    layer::Layer* layer;
    bool inParentSpace;
    float x, y;
  };
  const Case cases[] = {
      {&grabbed, true, 20, 20},    // the parent's space
      {&grabbed, false, 10, 15},   // the layer's own space
      {&root, true, 120, 70},      // no parent: the cursor as it is
      {nullptr, true, 120, 70},
  };
  for (const Case& c : cases) {
    const widget::MouseCapture capture(nullptr, c.layer, math::Point3(), c.inParentSpace);
    const math::Point3 local = capture.ToLocal(120, 70);
    EXPECT_FLOAT_EQ(local.x, c.x);
    EXPECT_FLOAT_EQ(local.y, c.y);
    EXPECT_FLOAT_EQ(local.z, 0.0f);
  }
}

TEST_F(WidgetSceneTest, FrameShownTwiceHasOneEntry) {
  TestBoard* board = MakeBoard("a", math::Rect(0, 0, 10, 10));
  TestBoard* other = MakeBoard("b", math::Rect(0, 0, 10, 10));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(other, false, false, false), VN_OK);
  mJournal.clear();
  ASSERT_EQ(mManager.AddFrame(board, true, false, false), VN_OK);
  EXPECT_EQ(Stack(), (std::vector<std::string>{"b", "a"}));
  EXPECT_TRUE(mJournal.empty());  // no second OnShow
  ASSERT_EQ(mManager.RemoveFrame(board, false, false), VN_OK);
  EXPECT_EQ(Stack(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(mManager.RemoveFrame(board, false, false), VN_FAIL);
}

TEST_F(WidgetSceneTest, ModalFrameBlocksClicksAndKeepsTheActivation) {
  TestBoard* below = MakeBoard("below", math::Rect(0, 0, 500, 500));
  TestBoard* modal = MakeBoard("modal", math::Rect(100, 100, 50, 50));
  ASSERT_EQ(mManager.AddFrame(below, false, false, false), VN_OK);
  ASSERT_EQ(mManager.ShowModal(modal, false), VN_OK);
  EXPECT_EQ(mManager.GetActiveFrame(), modal);
  mJournal.clear();
  Down(10, 10);  // outside the modal frame, inside the one below
  EXPECT_TRUE(mJournal.empty());
  EXPECT_EQ(mManager.GetActiveFrame(), modal);
  EXPECT_TRUE(modal->mActive);
  Down(110, 110);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"modal.OnWidgetMouseDown"}));
}

TEST_F(WidgetSceneTest, ClicksActivateFramesAndAnUnhandledClickDeactivates) {
  TestBoard* left = MakeBoard("left", math::Rect(0, 0, 100, 100));
  TestBoard* right = MakeBoard("right", math::Rect(200, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(left, false, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(right, false, false, false), VN_OK);
  mJournal.clear();
  Down(10, 10);
  Down(210, 10);
  Down(500, 500);  // nobody
  EXPECT_EQ(mJournal, (std::vector<std::string>{"left.OnActivate", "left.OnWidgetMouseDown", "left.OnDeactivate",
                                                "right.OnActivate", "right.OnWidgetMouseDown", "right.OnDeactivate"}));
  EXPECT_EQ(mManager.GetActiveFrame(), nullptr);
  EXPECT_FALSE(right->mActive);
}

TEST_F(WidgetSceneTest, WheelReachesTheBoardAsASignedDelta) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  mJournal.clear();
  EXPECT_EQ(mManager.OnMouseWheel(math::Point2(5, 5), -120), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"board.OnWidgetMouseWheel(-120)"}));
}

TEST_F(WidgetSceneTest, QueuedShowsAndRemovalsRunInOneUpdate) {
  TestBoard* first = MakeBoard("first", math::Rect(0, 0, 10, 10));
  TestBoard* second = MakeBoard("second", math::Rect(0, 0, 10, 10));
  TestBoard* both = MakeBoard("both", math::Rect(0, 0, 10, 10));
  // A frame shown from another's OnShow during the update is shown in the same update.
  first->mOnShowHook = [&]() { return mManager.AddFrame(second, false, false, true); };
  ASSERT_EQ(mManager.AddFrame(first, false, true, true), VN_OK);
  ASSERT_EQ(mManager.AddFrame(both, false, false, true), VN_OK);
  ASSERT_EQ(mManager.RemoveFrame(both, false, true), VN_OK);
  EXPECT_TRUE(Stack().empty());
  mJournal.clear();
  ASSERT_EQ(mManager.Update(0.01f), VN_OK);
  EXPECT_EQ(Stack(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(mJournal, (std::vector<std::string>{"first.OnShow", "first.OnActivate", "both.OnShow", "second.OnShow",
                                                "both.OnHide"}));
  // Every shown frame is updated once per update.
  mJournal.clear();
  ASSERT_EQ(mManager.Update(0.01f), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"first.OnUpdate", "second.OnUpdate"}));
}

TEST_F(WidgetSceneTest, QueuedRemovalOfAFrameNotShownDoesNotStopTheQueue) {
  TestBoard* shown = MakeBoard("shown", math::Rect(0, 0, 10, 10));
  TestBoard* never = MakeBoard("never", math::Rect(0, 0, 10, 10));
  ASSERT_EQ(mManager.AddFrame(shown, false, false, false), VN_OK);
  ASSERT_EQ(mManager.RemoveFrame(never, false, true), VN_OK);
  ASSERT_EQ(mManager.RemoveFrame(shown, false, true), VN_OK);
  EXPECT_EQ(mManager.Update(0.0f), VN_OK);
  EXPECT_TRUE(Stack().empty());
  // Called directly, the same removal still reports 1.
  EXPECT_EQ(mManager.RemoveFrame(never, false, false), VN_FAIL);
}

TEST_F(WidgetSceneTest, FailingShowDropsTheRestOfItsQueueOnce) {
  TestBoard* failing = MakeBoard("failing", math::Rect(0, 0, 10, 10));
  TestBoard* later = MakeBoard("later", math::Rect(0, 0, 10, 10));
  failing->mFailOn = "OnShow";
  ASSERT_EQ(mManager.AddFrame(failing, false, false, true), VN_OK);
  ASSERT_EQ(mManager.AddFrame(later, false, false, true), VN_OK);
  EXPECT_EQ(mManager.Update(0.0f), VN_FAIL);
  failing->mFailOn.clear();
  mJournal.clear();
  EXPECT_EQ(mManager.Update(0.0f), VN_OK);
  // Nothing is carried out twice.
  EXPECT_EQ(mJournal, (std::vector<std::string>{"failing.OnUpdate"}));
}

TEST_F(WidgetSceneTest, CapturedButtonGetsTheEventsOverOtherFrames) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  TestBoard* other = MakeBoard("other", math::Rect(200, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(other, false, false, false), VN_OK);
  TestButton* button = MakeButton(board, "button", math::Rect(10, 10, 20, 20));
  Move(15, 15);
  Down(15, 15);
  ASSERT_EQ(mManager.GetCapture().mWidget, button);
  EXPECT_TRUE(button->mHoldsCapture);
  mJournal.clear();
  Move(250, 50);  // over the other frame
  EXPECT_EQ(mJournal, std::vector<std::string>{});  // a captured move that reaches no layer of the button
  EXPECT_EQ(mManager.GetMouseOverFrame(), board);
  Up(250, 50);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  EXPECT_FALSE(button->mHoldsCapture);
  // After the release the mouse-over follows the cursor.
  EXPECT_EQ(mManager.GetMouseOverFrame(), other);
  EXPECT_EQ(button->mClicks, 0);
}

TEST_F(WidgetSceneTest, MouseOverChainsNotifyOnlyTheDifferingAncestors) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 300, 300));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 100, 100));
  MakeButton(panel, "one", math::Rect(0, 0, 20, 20));
  MakeButton(panel, "two", math::Rect(50, 0, 20, 20));
  MakeButton(board, "three", math::Rect(200, 0, 20, 20));
  struct Step {
    float x, y;
    std::vector<std::string> journal;
  };
  const Step steps[] = {
      {5, 5, {"one.OnMouseOver(1)", "panel.OnMouseInside(1)", "board.OnMouseInside(1)"}},
      {55, 5, {"one.OnMouseOver(0)", "two.OnMouseOver(1)"}},  // siblings: nothing for panel or board
      {205, 5, {"two.OnMouseOver(0)", "panel.OnMouseInside(0)", "three.OnMouseOver(1)"}},
      {250, 250, {"three.OnMouseOver(0)", "board.OnMouseInside(0)", "board.OnMouseOver(1)"}},
      {900, 900, {"board.OnMouseOver(0)"}},  // nobody: the mouse-over frame lets go
  };
  for (const Step& step : steps) {
    mJournal.clear();
    Move(step.x, step.y);
    EXPECT_EQ(mJournal, step.journal) << step.x << "," << step.y;
  }
  EXPECT_EQ(mManager.GetMouseOverFrame(), nullptr);
}

TEST_F(WidgetSceneTest, MouseOverMovesBetweenFrames) {
  TestBoard* left = MakeBoard("left", math::Rect(0, 0, 100, 100));
  TestBoard* right = MakeBoard("right", math::Rect(200, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(left, false, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(right, false, false, false), VN_OK);
  Move(10, 10);
  mJournal.clear();
  Move(210, 10);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"left.OnMouseOver(0)", "right.OnMouseOver(1)"}));
  EXPECT_EQ(mManager.GetMouseOverFrame(), right);
  EXPECT_EQ(left->GetMouseOverWidget(), nullptr);
}

// A frame that moves away under a still cursor keeps the mouse-over until the dispatch runs again
// at the last cursor position.
TEST_F(WidgetSceneTest, RefreshMouseOverDispatchesAgainAtTheLastCursor) {
  TestBoard* left = MakeBoard("left", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(left, false, false, false), VN_OK);
  Move(10, 10);
  ASSERT_EQ(mManager.GetMouseOverFrame(), left);
  left->SetHitRect(math::Rect(200, 0, 100, 100));
  EXPECT_EQ(mManager.GetMouseOverFrame(), left);
  mJournal.clear();
  EXPECT_EQ(mManager.RefreshMouseOver(), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"left.OnMouseOver(0)"}));
  EXPECT_EQ(mManager.GetMouseOverFrame(), nullptr);
  left->SetHitRect(math::Rect(0, 0, 100, 100));
  EXPECT_EQ(mManager.RefreshMouseOver(), VN_OK);
  EXPECT_EQ(mManager.GetMouseOverFrame(), left);
}

TEST_F(WidgetSceneTest, MouseOverChainIsBounded) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 10, 10));
  widget::Widget* parent = board;
  // 255 ancestors fit; the 256th does not.
  for (int depth = 0; depth < 256; ++depth) parent = MakePanel(parent, "", math::Rect(0, 0, 10, 10));
  widget::Widget* deepest = parent;
  widget::Widget* fitting = deepest->GetParent();
  EXPECT_EQ(board->SetMouseOver(fitting), VN_OK);
  EXPECT_EQ(board->GetMouseOverWidget(), fitting);
  EXPECT_EQ(board->SetMouseOver(deepest), VN_FAIL);
  EXPECT_EQ(board->GetMouseOverWidget(), fitting);  // unchanged
  EXPECT_EQ(board->SetMouseOver(nullptr), VN_OK);
}

TEST_F(WidgetSceneTest, TrapLayerSwallowsMovesAndClearsTheMouseOver) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 300, 300));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestButton* button = MakeButton(board, "button", math::Rect(0, 0, 50, 50));
  widget::TrapHitTestListener trap(board);
  MakeRectLayer(board->GetLayer(), math::Rect(0, 0, 20, 20), &trap);
  Move(30, 30);
  ASSERT_EQ(board->GetMouseOverWidget(), button);
  mJournal.clear();
  Move(10, 10);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"button.OnMouseOver(0)", "board.OnMouseInside(0)"}));
  EXPECT_EQ(board->GetMouseOverWidget(), nullptr);
  Down(10, 10);
  EXPECT_EQ(mManager.GetActiveFrame(), board);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  mLayers.clear();  // the trap layer goes before the board
}

TEST_F(WidgetSceneTest, PressOnADisabledWidgetActivatesItsFrameOnly) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestButton* button = MakeButton(board, "button", math::Rect(0, 0, 50, 50));
  button->SetDisabled(true);
  mJournal.clear();
  Move(10, 10);  // a disabled widget still becomes the mouse-over widget
  Down(10, 10);
  Up(10, 10);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"button.OnMouseOver(1)", "board.OnMouseInside(1)", "board.OnActivate"}));
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  EXPECT_TRUE(button->mStates.empty());
}

TEST_F(WidgetSceneTest, DialogDeletedWhileItsButtonHoldsTheCapture) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 500, 500));
  TestBoard* dialog = MakeBoard("dialog", math::Rect(100, 100, 200, 200));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  ASSERT_EQ(mManager.ShowModal(dialog, false), VN_OK);
  TestPanel* panel = MakePanel(dialog, "panel", math::Rect(100, 100, 200, 200));
  MakeButton(panel, "ok", math::Rect(10, 10, 50, 20));
  MakeButton(panel, "cancel", math::Rect(70, 10, 50, 20));
  auto* slider = new testwidget::TestSlider(math::Rect(10, 50, 100, 10));
  ASSERT_EQ(panel->AddChild(slider, nullptr), VN_OK);
  Move(115, 115);
  Down(115, 115);
  ASSERT_NE(mManager.GetCapture().mWidget, nullptr);
  Disown(dialog);
  ASSERT_EQ(mManager.RemoveFrame(dialog, true, false), VN_OK);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  EXPECT_EQ(mManager.GetActiveFrame(), nullptr);
  // More mouse events reach the board below.
  mJournal.clear();
  Drag(120, 120);
  Up(120, 120);
  Move(130, 130);
  Down(130, 130);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"board.OnMouseOver(1)", "board.OnWidgetMouseUp", "board.OnActivate",
                                                "board.OnWidgetMouseDown"}));
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_OK); });
}

TEST_F(WidgetSceneTest, ShownFrameDeletedDirectlyLeavesTheManager) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, true, false), VN_OK);
  MakeButton(board, "button", math::Rect(0, 0, 50, 50));
  Down(10, 10);
  ASSERT_EQ(mManager.RemoveFrame(board, false, true), VN_OK);  // queued
  Disown(board);
  delete board;
  EXPECT_TRUE(mManager.GetShown().empty());
  EXPECT_EQ(mManager.GetActiveFrame(), nullptr);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  EXPECT_EQ(mManager.Update(0.0f), VN_OK);  // the queued removal is gone with it
  Move(10, 10);
}

TEST_F(WidgetSceneTest, RemoveAllFramesWithDeleteLeavesNothingBehind) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  TestBoard* raised = MakeBoard("raised", math::Rect(50, 50, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  ASSERT_EQ(mManager.AddFrame(raised, true, true, false), VN_OK);
  MakeButton(raised, "button", math::Rect(50, 50, 20, 20));
  Move(60, 60);
  Down(60, 60);
  ASSERT_EQ(mManager.GetMouseOverFrame(), raised);
  Disown(board);
  Disown(raised);
  mJournal.clear();
  ASSERT_EQ(mManager.RemoveAllFrames(true, false), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"board.OnHide", "raised.OnHide"}));
  EXPECT_EQ(mManager.GetActiveFrame(), nullptr);
  EXPECT_EQ(mManager.GetMouseOverFrame(), nullptr);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_OK); });
  Move(60, 60);
  Down(60, 60);
}

}  // namespace
