#pragma once
#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"
#include "Core/Widget/Widget.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

class Button;
class ButtonMediator;

class ButtonListener {
 public:
  virtual ~ButtonListener() = default;
  virtual VNResultEnum OnClick(Button* button);
};

// A widget with a visual state (0 normal, 1 mouse over, 2 pressed) that clicks when the mouse is
// released over it after a press. The state logic is its ButtonMediator's. Takes the capture.
class Button : public Widget {
 public:
  using ClickDelegate = base::Delegate1<Button*, VNResultEnum>;
  enum State { kStateNormal = 0, kStateOver = 1, kStatePressed = 2 };

  Button();
  // Deletes the mediator when owned (a mediator that is a part of the button unbinds first).
  ~Button() override;

  WidgetTypeId& GetTypeId() override;
  // The click delegate, then the listener's OnClick; the first failure is returned.
  virtual VNResultEnum Click();

  int32_t GetState() const { return mState; }

  ButtonMediator* mMediatorObject = nullptr;
  bool mOwnsMediator = false;
  ButtonListener* mButtonListener = nullptr;  // not owned
  base::DelegatePtr<ClickDelegate> mClickDelegate;

 private:
  friend class ButtonMediator;
  int32_t mState = kStateNormal;
};

// Holds the widget a mediator works for.
class WidgetMediator {
 public:
  Widget* mMediatedWidget = nullptr;
};

// Runs a button's state: its widget listener and the hit-test listener of its layers. A concrete
// button derives from Button and this, binds it with Attach and shows the state in SetState.
class ButtonMediator : public WidgetMediator, public WidgetListener, public WidgetHitTestListener {
 public:
  ButtonMediator() = default;
  // Unbinds from its button, so that a button that is its own mediator never deletes itself.
  ~ButtonMediator() override;

  VNResultEnum OnMouseOver(bool over) override;
  VNResultEnum OnDisabled(bool disabled) override;
  // Releases the capture, refreshes the mouse-over, and clicks when the mouse is over the button.
  VNResultEnum OnCapturedMouseUp(MouseCapture& capture, const math::Point3& point, int button) override;
  // Becomes the button's listener (draw callbacks on its layer) and its mediator.
  virtual VNResultEnum Attach(Button* button, bool deleteWithButton);
  // Shows a state; 0 by default. A failure leaves the stored state unchanged.
  virtual VNResultEnum SetState(int32_t state);

  VNResultEnum OnWidgetMouseDown(math::Point3& point, int button) override;
  // The button's own layer, not the receiving one.
  VNResultEnum GetCaptureInfo(const math::Point3& point, MouseCapture& record) override;

  Button* GetButton() const { return mButton; }

 private:
  // SetState only for a new state; stored only when SetState succeeded.
  VNResultEnum ChangeState(int32_t state);

  Button* mButton = nullptr;
};

}  // namespace widget
