#include "Core/Widget/Button.h"

#include "Core/Widget/MouseCapture.h"

namespace widget {

VNResultEnum ButtonListener::OnClick(Button*) { return VN_OK; }

Button::Button() { mTakesCapture = 1; }

Button::~Button() {
  // A mediator that is a part of this object is gone by now and has cleared the link itself.
  if (mOwnsMediator && mMediatorObject) delete mMediatorObject;
}

ButtonMediator::~ButtonMediator() {
  if (mButton && mButton->mMediatorObject == this) mButton->mMediatorObject = nullptr;
}

WidgetTypeId& Button::GetTypeId() {
  static WidgetTypeId sId(Widget::GetTypeId());
  return sId;
}

VNResultEnum Button::Click() {
  if (mClickDelegate) {
    if (const VNResultEnum result = mClickDelegate->Invoke(this)) return result;
  }
  if (mButtonListener) return mButtonListener->OnClick(this);
  return VN_OK;
}

VNResultEnum ButtonMediator::Attach(Button* button, bool deleteWithButton) {
  mButton = button;
  button->SetListener(this, true);
  button->mMediatorObject = this;
  button->mOwnsMediator = deleteWithButton;
  mWidget = button;
  mMediatedWidget = button;
  return VN_OK;
}

VNResultEnum ButtonMediator::SetState(int32_t) { return VN_OK; }

VNResultEnum ButtonMediator::ChangeState(int32_t state) {
  if (!mButton || mButton->mState == state) return VN_OK;
  if (const VNResultEnum result = SetState(state)) return result;
  mButton->mState = state;
  return VN_OK;
}

VNResultEnum ButtonMediator::OnMouseOver(bool over) {
  if (!mButton) return VN_OK;
  if (over && !mButton->IsDisabled()) {
    return ChangeState(mButton->mHoldsCapture ? Button::kStatePressed : Button::kStateOver);
  }
  return ChangeState(Button::kStateNormal);
}

VNResultEnum ButtonMediator::OnDisabled(bool disabled) {
  if (!mButton) return VN_OK;
  if (disabled) return ChangeState(Button::kStateNormal);
  return ChangeState(mButton->mMouseOver ? Button::kStateOver : Button::kStateNormal);
}

VNResultEnum ButtonMediator::OnCapturedMouseUp(MouseCapture& capture, const math::Point3& point, int button) {
  WidgetListener::OnCapturedMouseUp(capture, point, button);
  if (!mButton) return VN_OK;
  if (mButton->mMouseOver) {
    if (const VNResultEnum result = ChangeState(Button::kStateOver)) return result;
    return mButton->Click();
  }
  return ChangeState(Button::kStateNormal);
}

VNResultEnum ButtonMediator::OnWidgetMouseDown(math::Point3&, int) { return ChangeState(Button::kStatePressed); }

VNResultEnum ButtonMediator::GetCaptureInfo(const math::Point3& point, MouseCapture& record) {
  record = MouseCapture(mButton, mButton ? mButton->GetLayer() : nullptr, point, true);
  return VN_OK;
}

}  // namespace widget
