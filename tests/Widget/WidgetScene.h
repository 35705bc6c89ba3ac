#pragma once
// Frames, panels, buttons and a slider on one frame manager, with every notification in a journal:
// the scene of the widget and frame-manager tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Core/Layer/RectHitLayer.h"
#include "Core/Math/Rect.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/Button.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/MouseCapture.h"
#include "Core/Widget/Slider.h"
#include "fakes/RecordingWidgetListener.h"
#include "tests/Layer/LayerScene.h"

namespace testwidget {

// A board that records its notifications as "name.Operation".
class TestBoard : public widget::BaseBoard {
 public:
  TestBoard(const std::string& name, std::vector<std::string>* journal) : mName(name), mJournal(journal) {}

  VNResultEnum OnActivate() override { return Note("OnActivate"); }
  VNResultEnum OnDeactivate() override { return Note("OnDeactivate"); }
  VNResultEnum OnShow() override { return Note("OnShow"); }
  VNResultEnum OnHide() override { return Note("OnHide"); }
  VNResultEnum OnUpdate(float) override { return Note("OnUpdate"); }
  VNResultEnum OnDrawBefore(render::Graphics*, layer::Layer*) override { return Note("OnDrawBefore"); }
  VNResultEnum OnMouseOver(bool over) override { return Note(over ? "OnMouseOver(1)" : "OnMouseOver(0)"); }
  VNResultEnum OnMouseInside(bool inside) override { return Note(inside ? "OnMouseInside(1)" : "OnMouseInside(0)"); }
  VNResultEnum OnWidgetMouseDown(math::Point3&, int) override { return Note("OnWidgetMouseDown"); }
  VNResultEnum OnWidgetMouseUp(math::Point3&, int) override { return Note("OnWidgetMouseUp"); }
  VNResultEnum OnWidgetMouseWheel(math::Point3&, int delta) override {
    return Note("OnWidgetMouseWheel(" + std::to_string(delta) + ")");
  }

  VNResultEnum Note(const std::string& operation) {
    if (mJournal) mJournal->push_back(mName + "." + operation);
    if (operation == mFailOn) return VN_FAIL;
    if (mOnShowHook && operation == "OnShow") return mOnShowHook();
    return VN_OK;
  }

  std::string mName;
  std::vector<std::string>* mJournal;
  std::string mFailOn;
  std::function<VNResultEnum()> mOnShowHook;
};

// A button showing its states in a record; its own mediator; a hit rectangle as its layer.
class TestButton : public widget::Button, public widget::ButtonMediator, public widget::ButtonListener {
 public:
  TestButton(const std::string& name, std::vector<std::string>* journal, const math::Rect& rect)
      : mName(name), mJournal(journal) {
    auto* hit = new layer::RectHitLayer;
    hit->mRect = math::Rect(0, 0, rect.width, rect.height);
    hit->SetPosition(math::Point3(rect.x, rect.y, 0));
    SetLayer(hit, true, false);
    hit->mHitTestListener = static_cast<widget::WidgetHitTestListener*>(this);
    Attach(this, true);
    mButtonListener = this;
  }

  VNResultEnum SetState(int32_t state) override {
    mStates.push_back(state);
    return state == mFailState ? VN_FAIL : VN_OK;
  }
  VNResultEnum OnMouseOver(bool over) override {
    if (mJournal) mJournal->push_back(mName + (over ? ".OnMouseOver(1)" : ".OnMouseOver(0)"));
    return ButtonMediator::OnMouseOver(over);
  }
  VNResultEnum OnClick(widget::Button*) override {
    ++mClicks;
    if (mJournal) mJournal->push_back(mName + ".OnClick");
    return mOnClick ? mOnClick() : VN_OK;
  }

  std::string mName;
  std::vector<std::string>* mJournal;
  std::vector<int> mStates;
  int mFailState = -1;
  int mClicks = 0;
  std::function<VNResultEnum()> mOnClick;
};

// A horizontal slider 100 pixels long: tracks while dragged, commits on release, places its knob.
class TestSlider : public widget::Slider, public widget::WidgetListener, public widget::WidgetHitTestListener {
 public:
  explicit TestSlider(const math::Rect& rect) : WidgetHitTestListener(this) {
    auto* hit = new layer::RectHitLayer;
    hit->mRect = math::Rect(0, 0, rect.width, rect.height);
    hit->SetPosition(math::Point3(rect.x, rect.y, 0));
    SetLayer(hit, true, false);
    hit->mHitTestListener = static_cast<widget::WidgetHitTestListener*>(this);
    SetListener(static_cast<widget::WidgetListener*>(this), false);
    mLength = rect.width;
  }

  VNResultEnum UpdateView() override {
    mKnobX = 0.0f + mLength * GetFraction();
    return VN_OK;
  }
  VNResultEnum OnCapturedMouseDrag(widget::MouseCapture& capture, const math::Point3& point) override {
    if (const VNResultEnum result = WidgetListener::OnCapturedMouseDrag(capture, point)) return result;
    return TrackValue(ValueAt(point), true);
  }
  VNResultEnum OnCapturedMouseUp(widget::MouseCapture& capture, const math::Point3& point, int button) override {
    WidgetListener::OnCapturedMouseUp(capture, point, button);
    return CommitValue(ValueAt(point), true);
  }
  // point in the slider layer's parent space.
  float ValueAt(const math::Point3& point) const {
    const float t = std::min(1.0f, std::max(0.0f, (point.x - GetLayer()->mPosition.x) / mLength));
    return mMinimum + (mMaximum - mMinimum) * t;
  }

  float mLength;
  float mKnobX = -1.0f;
};

// A panel: a widget with a hit rectangle, a recording listener and the widget hit-test listener.
class TestPanel : public widget::Widget {
 public:
  TestPanel(const std::string& name, std::vector<std::string>* journal, const math::Rect& rect)
      : mRecorder(name, journal), mHitListener(this) {
    auto* hit = new layer::RectHitLayer;
    hit->mRect = math::Rect(0, 0, rect.width, rect.height);
    hit->SetPosition(math::Point3(rect.x, rect.y, 0));
    SetLayer(hit, true, false);
    hit->mHitTestListener = &mHitListener;
    SetListener(&mRecorder, false);
  }

  fakes::RecordingWidgetListener mRecorder;
  widget::WidgetHitTestListener mHitListener;
};

class WidgetSceneTest : public testlayer::LayerSceneTest {
 protected:
  ~WidgetSceneTest() override {
    mManager.RemoveAllFrames(false, false);
    for (widget::Frame* frame : mOwned) delete frame;
  }

  TestBoard* MakeBoard(const std::string& name, const math::Rect& rect) {
    auto* board = new TestBoard(name, &mJournal);
    board->SetHitRect(rect);
    mOwned.push_back(board);
    return board;
  }
  // The frame is deleted by the code under test from now on.
  void Disown(widget::Frame* frame) { mOwned.erase(std::remove(mOwned.begin(), mOwned.end(), frame), mOwned.end()); }

  TestButton* MakeButton(widget::Widget* parent, const std::string& name, const math::Rect& rect) {
    auto* button = new TestButton(name, &mJournal, rect);
    EXPECT_EQ(parent->AddChild(button, nullptr), VN_OK);
    return button;
  }
  TestPanel* MakePanel(widget::Widget* parent, const std::string& name, const math::Rect& rect) {
    auto* panel = new TestPanel(name, &mJournal, rect);
    EXPECT_EQ(parent->AddChild(panel, nullptr), VN_OK);
    return panel;
  }

  void Move(float x, float y) { EXPECT_EQ(mManager.OnMouseMove(math::Point2(x, y)), VN_OK); }
  void Drag(float x, float y) { EXPECT_EQ(mManager.OnMouseDrag(math::Point2(x, y)), VN_OK); }
  void Down(float x, float y) { EXPECT_EQ(mManager.OnMouseDown(math::Point2(x, y), 1), VN_OK); }
  void Up(float x, float y) { EXPECT_EQ(mManager.OnMouseUp(math::Point2(x, y), 1), VN_OK); }

  // Names of the shown frames, bottom first.
  std::vector<std::string> Stack() const {
    std::vector<std::string> names;
    for (const widget::FrameEntry& entry : mManager.GetShown()) names.push_back(static_cast<TestBoard*>(entry.mFrame)->mName);
    return names;
  }

  widget::FrameManager mManager;
  std::vector<widget::Frame*> mOwned;
};

}  // namespace testwidget
