// Buttons driven by gesture scripts, and sliders tracking and committing values.
#include <gtest/gtest.h>

#include "tests/Widget/WidgetScene.h"

namespace {

using testwidget::TestBoard;
using testwidget::TestButton;
using testwidget::TestPanel;
using testwidget::TestSlider;
using testwidget::WidgetSceneTest;

// Steps of a gesture: 'm' move, 'd' press, 'g' drag, 'u' release, 'c' double click.
struct ButtonGestureStep {
  char kind;
  float x, y;
};

struct ButtonGestureCase {
  const char* name;
  std::vector<ButtonGestureStep> steps;
  std::vector<int> states;
  int clicks;
};

class ButtonGestureTest : public WidgetSceneTest {
 protected:
  void Run(const std::vector<ButtonGestureStep>& steps) {
    for (const ButtonGestureStep& step : steps) {
      const math::Point2 point(step.x, step.y);
      switch (step.kind) {
        case 'm': EXPECT_EQ(mManager.OnMouseMove(point), VN_OK); break;
        case 'd': EXPECT_EQ(mManager.OnMouseDown(point, 1), VN_OK); break;
        case 'g': EXPECT_EQ(mManager.OnMouseDrag(point), VN_OK); break;
        case 'u': EXPECT_EQ(mManager.OnMouseUp(point, 1), VN_OK); break;
        case 'c': EXPECT_EQ(mManager.OnMouseDoubleClick(point, 1), VN_OK); break;
        default: ADD_FAILURE() << step.kind;
      }
    }
  }
};

TEST_F(ButtonGestureTest, GestureScriptsGiveStatesAndClicks) {
  const ButtonGestureCase cases[] = {
      {"press and release", {{'m', 15, 15}, {'d', 15, 15}, {'u', 15, 15}}, {1, 2, 1}, 1},
      {"drag off and release elsewhere", {{'m', 15, 15}, {'d', 15, 15}, {'g', 80, 80}, {'u', 80, 80}}, {1, 2, 0}, 0},
      {"off and back on",
       {{'m', 15, 15}, {'d', 15, 15}, {'g', 80, 80}, {'g', 20, 20}, {'u', 20, 20}},
       {1, 2, 0, 2, 1},
       1},
      {"moves inside while held", {{'m', 15, 15}, {'d', 15, 15}, {'g', 16, 16}, {'g', 25, 25}, {'u', 25, 25}}, {1, 2, 1}, 1},
      {"press without hover first", {{'d', 15, 15}, {'u', 15, 15}}, {2, 1}, 1},
      {"double click is a second press",
       {{'m', 15, 15}, {'d', 15, 15}, {'u', 15, 15}, {'c', 15, 15}, {'u', 15, 15}},
       {1, 2, 1, 2, 1},
       2},
      {"release outside without any press", {{'m', 15, 15}, {'u', 80, 80}, {'m', 80, 80}}, {1, 0}, 0},
  };
  for (const ButtonGestureCase& c : cases) {
    TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
    ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
    TestButton* button = MakeButton(board, "button", math::Rect(10, 10, 20, 20));
    Run(c.steps);
    EXPECT_EQ(button->mStates, c.states) << c.name;
    EXPECT_EQ(button->mClicks, c.clicks) << c.name;
    EXPECT_FALSE(button->mHoldsCapture) << c.name;
    ASSERT_EQ(mManager.RemoveFrame(board, false, false), VN_OK);
  }
}

TEST_F(ButtonGestureTest, FailedSetStateKeepsTheStoredState) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestButton* button = MakeButton(board, "button", math::Rect(10, 10, 20, 20));
  button->mFailState = 1;
  EXPECT_EQ(mManager.OnMouseMove(math::Point2(15, 15)), VN_FAIL);
  EXPECT_EQ(button->GetState(), 0);
  button->mFailState = -1;
  Move(16, 16);  // already the mouse-over widget: nothing new
  EXPECT_EQ(button->GetState(), 0);
}

TEST_F(ButtonGestureTest, ClickRunsTheDelegateBeforeTheListener) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  TestButton* button = MakeButton(board, "button", math::Rect(10, 10, 20, 20));
  struct Counter {
    std::vector<std::string>* journal;
    VNResultEnum result = VN_OK;
    VNResultEnum OnClick(widget::Button*) {
      journal->push_back("delegate");
      return result;
    }
  } counter{&mJournal};
  button->mClickDelegate.Reset(new base::MemberDelegate1<Counter, widget::Button*, VNResultEnum>(&counter, &Counter::OnClick));
  EXPECT_EQ(button->Click(), VN_OK);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"delegate", "button.OnClick"}));
  counter.result = VN_FAIL;
  mJournal.clear();
  EXPECT_EQ(button->Click(), VN_FAIL);
  EXPECT_EQ(mJournal, (std::vector<std::string>{"delegate"}));
}

TEST_F(ButtonGestureTest, DisablingThePanelUnderTheMouseShowsNormalThenOver) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 100, 100));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(0, 0, 100, 100));
  TestButton* button = MakeButton(panel, "button", math::Rect(10, 10, 20, 20));
  Move(15, 15);
  ASSERT_EQ(panel->SetDisabled(true), VN_OK);
  ASSERT_EQ(panel->SetDisabled(false), VN_OK);
  EXPECT_EQ(button->mStates, (std::vector<int>{1, 0, 1}));
  // Disabling the button itself tells only its children.
  ASSERT_EQ(button->SetDisabled(true), VN_OK);
  EXPECT_EQ(button->mStates, (std::vector<int>{1, 0, 1}));
  Down(15, 15);  // disabled: no press state, no capture
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
}

TEST_F(ButtonGestureTest, ButtonOwningASeparateMediatorDeletesIt) {
  struct Plain : widget::Button {};
  auto* button = new Plain;
  auto* mediator = new widget::ButtonMediator;
  button->SetLayer(new layer::RectHitLayer, true, false);
  ASSERT_EQ(mediator->Attach(button, true), VN_OK);
  EXPECT_EQ(button->GetListener(), mediator);
  EXPECT_EQ(button->mMediatorObject, mediator);
  delete button;  // the leak checker sees a mediator left behind
}

struct SliderValueCase {
  const char* name;
  float minimum, maximum, value;
  float knob;
};

TEST_F(WidgetSceneTest, SliderPlacesItsKnobByTheValue) {
  const SliderValueCase cases[] = {
      {"start", 0, 1, 0, 0},
      {"middle", 0, 1, 0.5f, 50},
      {"end of another range", 10, 20, 20, 100},
      {"empty range: left end", 5, 5, 5, 0},
  };
  for (const SliderValueCase& c : cases) {
    TestSlider slider(math::Rect(0, 0, 100, 10));
    slider.mMinimum = c.minimum;
    slider.mMaximum = c.maximum;
    ASSERT_EQ(slider.SetValue(c.value, true), VN_OK);
    EXPECT_FLOAT_EQ(slider.mKnobX, c.knob) << c.name;
  }
}

TEST_F(WidgetSceneTest, SliderCommitsThroughItsListenerFirst) {
  TestSlider slider(math::Rect(0, 0, 100, 10));
  struct Listener : widget::SliderListener {
    std::vector<std::string> calls;
    VNResultEnum result = VN_OK;
    VNResultEnum OnValueCommitted(widget::Slider* s, float v) override {
      calls.push_back("commit " + std::to_string(int(v * 10)) + " old " + std::to_string(int(s->mValue * 10)));
      return result;
    }
    VNResultEnum OnValueTracking(widget::Slider*, float v) override {
      calls.push_back("track " + std::to_string(int(v * 10)));
      return result;
    }
  } listener;
  slider.mSliderListener = &listener;
  ASSERT_EQ(slider.SetValue(0.2f, false), VN_OK);  // no notification
  ASSERT_EQ(slider.TrackValue(0.4f, false), VN_OK);
  ASSERT_EQ(slider.CommitValue(0.5f, true), VN_OK);
  EXPECT_EQ(listener.calls, (std::vector<std::string>{"track 4", "commit 5 old 4"}));
  EXPECT_FLOAT_EQ(slider.mKnobX, 50.0f);
  listener.result = VN_FAIL;
  EXPECT_EQ(slider.CommitValue(0.9f, true), VN_FAIL);
  EXPECT_FLOAT_EQ(slider.mValue, 0.5f);  // the old value stays
  EXPECT_EQ(slider.TrackValue(0.9f, true), VN_FAIL);
  EXPECT_FLOAT_EQ(slider.mValue, 0.5f);
}

TEST_F(WidgetSceneTest, SliderOwnListenerPartCallsTheDelegates) {
  TestSlider slider(math::Rect(0, 0, 100, 10));
  EXPECT_EQ(slider.CommitValue(0.3f, false), VN_OK);  // empty delegates: 0
  struct Sink {
    std::vector<float> committed, tracked;
    VNResultEnum Commit(widget::Slider*, float v) {
      committed.push_back(v);
      return VN_OK;
    }
    VNResultEnum Track(widget::Slider*, float v) {
      tracked.push_back(v);
      return VN_OK;
    }
  } sink;
  using Delegate = base::MemberDelegate2<Sink, widget::Slider*, float, VNResultEnum>;
  slider.mCommittedDelegate.Reset(new Delegate(&sink, &Sink::Commit));
  slider.mTrackingDelegate.Reset(new Delegate(&sink, &Sink::Track));
  EXPECT_EQ(slider.TrackValue(0.25f, false), VN_OK);
  EXPECT_EQ(slider.CommitValue(0.75f, false), VN_OK);
  EXPECT_EQ(sink.tracked, std::vector<float>{0.25f});
  EXPECT_EQ(sink.committed, std::vector<float>{0.75f});
}

TEST_F(WidgetSceneTest, DraggedSliderTracksAndCommitsOnRelease) {
  TestBoard* board = MakeBoard("board", math::Rect(0, 0, 300, 300));
  ASSERT_EQ(mManager.AddFrame(board, false, false, false), VN_OK);
  TestPanel* panel = MakePanel(board, "panel", math::Rect(50, 50, 200, 100));
  auto* slider = new TestSlider(math::Rect(20, 10, 100, 10));  // at (70, 60) on screen
  ASSERT_EQ(panel->AddChild(slider, nullptr), VN_OK);
  std::vector<float> tracked, committed;
  struct Sink {
    std::vector<float>* tracked;
    std::vector<float>* committed;
    VNResultEnum Commit(widget::Slider*, float v) {
      committed->push_back(v);
      return VN_OK;
    }
    VNResultEnum Track(widget::Slider*, float v) {
      tracked->push_back(v);
      return VN_OK;
    }
  } sink{&tracked, &committed};
  using Delegate = base::MemberDelegate2<Sink, widget::Slider*, float, VNResultEnum>;
  slider->mCommittedDelegate.Reset(new Delegate(&sink, &Sink::Commit));
  slider->mTrackingDelegate.Reset(new Delegate(&sink, &Sink::Track));
  Down(80, 65);
  ASSERT_EQ(mManager.GetCapture().mWidget, slider);
  Drag(120, 65);
  Drag(400, 0);  // beyond the end, off the slider
  Up(400, 0);
  EXPECT_EQ(tracked, (std::vector<float>{0.5f, 1.0f}));
  EXPECT_EQ(committed, std::vector<float>{1.0f});
  EXPECT_FLOAT_EQ(slider->mKnobX, 100.0f);
  EXPECT_EQ(mManager.GetCapture().mWidget, nullptr);
}

}  // namespace
