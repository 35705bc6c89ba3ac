// Widgets on their own and in frames: notifications, the disabled state, kind ids, ownership.
#include <gtest/gtest.h>

#include "tests/Widget/WidgetScene.h"

namespace {

using testwidget::TestBoard;
using testwidget::TestPanel;
using testwidget::WidgetSceneTest;

TEST_F(WidgetSceneTest, ChildAddedUnderAShownFrameIsAttachedThenShown) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  mJournal.clear();
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 10, 10));
  MakePanel(panel, "inner", math::Rect(0, 0, 5, 5));
  EXPECT_EQ(mJournal, (std::vector<std::string>{"panel.OnAttach", "panel.OnShow", "inner.OnAttach", "inner.OnShow"}));
  EXPECT_EQ(panel->GetLayer()->GetParent(), board->GetLayer());
  mJournal.clear();
  ASSERT_EQ(board->RemoveChild(panel, true), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"panel.OnHide", "inner.OnHide", "panel.OnDetach", "inner.OnDetach"}));
  EXPECT_EQ(panel->GetFrame(), nullptr);
  EXPECT_EQ(panel->GetLayer()->GetParent(), nullptr);
  delete panel;
}

TEST_F(WidgetSceneTest, DisabledStateIsInheritedAndNotifiedOnce) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  TestPanel* outer = MakePanel(board, "outer", math::Rect(0, 0, 50, 50));
  auto* child = new TestPanel("child", &mJournal, math::Rect(0, 0, 10, 10));
  MakePanel(child, "grandchild", math::Rect(0, 0, 5, 5));
  mJournal.clear();
  ASSERT_EQ(outer->SetDisabled(true), VN_OK);
  EXPECT_TRUE(mJournal.empty());  // the widget itself is not told, and it has no children yet
  ASSERT_EQ(outer->AddChild(child, nullptr), VN_OK);
  EXPECT_EQ(mJournal,
            (std::vector<std::string>{"child.OnAttach", "grandchild.OnAttach", "child.OnDisabled(1)", "grandchild.OnDisabled(1)"}));
  EXPECT_TRUE(child->IsDisabled());
  EXPECT_TRUE(child->GetWidgets()[0]->mInheritedDisabled);
  mJournal.clear();
  ASSERT_EQ(outer->RemoveChild(child, false), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"child.OnDisabled(0)", "grandchild.OnDisabled(0)", "child.OnDetach",
                                                "grandchild.OnDetach"}));
  EXPECT_FALSE(child->IsDisabled());
  // SetDisabled notifies the children, not the widget; an alternate-notice child hears it the other way.
  ASSERT_EQ(outer->AddChild(child, nullptr), VN_OK);
  child->mAlternateDisabledNotice = true;
  mJournal.clear();
  ASSERT_EQ(outer->SetDisabled(false), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"child.OnDisabledAlternate(0)", "grandchild.OnDisabled(0)"}));
}

TEST_F(WidgetSceneTest, RemovingAWidgetThatIsNotAChildFailsAfterItsNotifications) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 10, 10));
  TestPanel* stranger = MakePanel(panel, "stranger", math::Rect(0, 0, 5, 5));
  mJournal.clear();
  EXPECT_EQ(board->RemoveChild(stranger, false), VN_FAIL);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"stranger.OnHide", "stranger.OnDetach"}));
}

TEST_F(WidgetSceneTest, ClearWidgetsWithoutFlagsOnlyEmptiesTheList) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 10, 10));
  ASSERT_EQ(board->ClearWidgets(false, false, false), VN_OK);
  EXPECT_TRUE(board->GetWidgets().empty());
  EXPECT_EQ(panel->GetParent(), board);
  EXPECT_EQ(panel->GetLayer()->GetParent(), board->GetLayer());
  // Put back so that the board deletes it.
  ASSERT_EQ(board->AddWidget(panel), VN_OK);
}

TEST_F(WidgetSceneTest, ClearWidgetsWithDeleteForgetsTheChildrenInTheFrame) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 200, 200));
  ASSERT_EQ(mManager.AddFrame(board, false, true, false), VN_OK);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 100, 100));
  testwidget::TestButton* button = MakeButton(panel, "button", math::Rect(10, 10, 20, 20));
  Move(15, 15);
  ASSERT_EQ(board->GetMouseOverWidget(), button);
  board->SetFocusWidget(button);
  mJournal.clear();
  ASSERT_EQ(board->ClearWidgets(true, true, false), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"button.OnMouseOver(0)", "panel.OnMouseInside(0)", "board.OnMouseInside(0)"}));
  EXPECT_EQ(board->GetMouseOverWidget(), nullptr);
  EXPECT_EQ(board->GetFocusWidget(), nullptr);
  EXPECT_TRUE(board->GetLayer()->GetChildren().empty());
  Move(15, 15);  // nothing left to point at
  EXPECT_EQ(board->GetMouseOverWidget(), board);
}

TEST_F(WidgetSceneTest, DeletingAFrameDeletesItsWidgetSubtree) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 200, 200));
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 100, 100));
  MakeButton(panel, "a", math::Rect(0, 0, 10, 10));
  MakeButton(panel, "b", math::Rect(20, 0, 10, 10));
  auto* slider = new testwidget::TestSlider(math::Rect(0, 50, 100, 10));
  ASSERT_EQ(board->AddChild(slider, nullptr), VN_OK);
  // A layer of the game's own under the board survives, unlinked.
  layer::Layer own;
  board->GetLayer()->AddChild(&own);
  Disown(board);
  delete board;  // the leak checker sees any widget left behind
  EXPECT_EQ(own.GetParent(), nullptr);
}

TEST_F(WidgetSceneTest, DeletedChildLeavesItsParentsList) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 200, 200));
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 100, 100));
  TestPanel* inner = MakePanel(panel, "inner", math::Rect(0, 0, 10, 10));
  delete inner;
  EXPECT_TRUE(panel->GetWidgets().empty());
  EXPECT_TRUE(panel->GetLayer()->GetChildren().empty());
}

TEST_F(WidgetSceneTest, KindIdsAreBuiltFromTheParentKind) {
  struct Case {
    int level;
    uint32_t parentId;
    uint8_t parentCount;
    uint32_t expectedId;
  };
  const Case cases[] = {
      {1, 0, 0, 1},
      {1, 0, 1, 2},
      {2, 0x03, 0, 0x103},
      {3, 0x0203, 4, 0x050203},
      {4, 0x010203, 0, 0x01010203},
      {5, 0x01010203, 0, 0},
  };
  for (const Case& c : cases) {
    widget::WidgetTypeId parent;
    parent.mLevel = c.level - 1;
    parent.mId = c.parentId;
    parent.mDerivedCount = c.parentCount;
    widget::WidgetTypeId child(parent);
    EXPECT_EQ(child.mLevel, c.level);
    EXPECT_EQ(child.mId, c.expectedId) << c.level;
    EXPECT_EQ(parent.mDerivedCount, c.parentCount + 1);
  }
  // The engine's kinds sit one level below the root, each with a code of its own.
  testwidget::TestButton button("b", nullptr, math::Rect(0, 0, 1, 1));
  widget::Slider slider;
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 1, 1));
  const uint32_t ids[3] = {button.GetTypeId().mId, slider.GetTypeId().mId, board->GetTypeId().mId};
  for (uint32_t id : ids) {
    EXPECT_GE(id, 1u);
    EXPECT_LE(id, widget::Widget().GetTypeId().mDerivedCount);
  }
  EXPECT_NE(ids[0], ids[1]);
  EXPECT_NE(ids[1], ids[2]);
  EXPECT_NE(ids[0], ids[2]);
  EXPECT_EQ(button.GetTypeId().mLevel, 1);
}

TEST_F(WidgetSceneTest, WidgetLayerDrawsBetweenItsListenersCallbacks) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  fakes::RecordingWidgetListener listener("panel", &mJournal);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 10, 10));
  panel->SetListener(&listener, true);
  mJournal.clear();
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_OK); });
  // The panel's layer is drawn inside the board's, after the board's draw-before.
  EXPECT_EQ(mJournal, (std::vector<std::string>{"board.OnDrawBefore", "panel.OnDrawBefore", "panel.OnDrawAfter"}));
  panel->SetListener(&listener, false);
  mJournal.clear();
  Frame([&](render::Graphics& g) { EXPECT_EQ(mManager.Draw(&g), VN_OK); });
  EXPECT_EQ(mJournal, std::vector<std::string>{"board.OnDrawBefore"});
}

}  // namespace
