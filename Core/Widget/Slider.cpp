#include "Core/Widget/Slider.h"

namespace widget {

VNResultEnum SliderListener::OnValueCommitted(Slider*, float) { return VN_OK; }
VNResultEnum SliderListener::OnValueTracking(Slider*, float) { return VN_OK; }

Slider::Slider() : mSliderListener(this) { mTakesCapture = 1; }

WidgetTypeId& Slider::GetTypeId() {
  static WidgetTypeId sId(Widget::GetTypeId());
  return sId;
}

VNResultEnum Slider::UpdateView() { return VN_OK; }

VNResultEnum Slider::SetValue(float value, bool updateView) {
  mValue = value;
  return updateView ? UpdateView() : VN_OK;
}

VNResultEnum Slider::CommitValue(float value, bool updateView) {
  if (mSliderListener) {
    if (const VNResultEnum result = mSliderListener->OnValueCommitted(this, value)) return result;
  }
  return SetValue(value, updateView);
}

VNResultEnum Slider::TrackValue(float value, bool updateView) {
  if (mSliderListener) {
    if (const VNResultEnum result = mSliderListener->OnValueTracking(this, value)) return result;
  }
  return SetValue(value, updateView);
}

float Slider::GetFraction() const {
  if (mMaximum == mMinimum) return 0.0f;
  return (mValue - mMinimum) / (mMaximum - mMinimum);
}

VNResultEnum Slider::OnValueCommitted(Slider* slider, float value) {
  return mCommittedDelegate ? mCommittedDelegate->Invoke(slider, value) : VN_OK;
}

VNResultEnum Slider::OnValueTracking(Slider* slider, float value) {
  return mTrackingDelegate ? mTrackingDelegate->Invoke(slider, value) : VN_OK;
}

}  // namespace widget
