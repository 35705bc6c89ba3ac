#pragma once
#include "Core/Base/Delegate.h"
#include "Core/Base/DelegatePtr.h"
#include "Core/Widget/Widget.h"

namespace widget {

class Slider;

class SliderListener {
 public:
  virtual ~SliderListener() = default;
  virtual VNResultEnum OnValueCommitted(Slider* slider, float value);
  virtual VNResultEnum OnValueTracking(Slider* slider, float value);
};

// A value within a range, reported while dragged (TrackValue) and on release (CommitValue). The
// concrete slider maps value and knob in UpdateView and its drag handling. Takes the capture.
class Slider : public Widget, public SliderListener {
 public:
  using ValueDelegate = base::Delegate2<Slider*, float, VNResultEnum>;

  Slider();

  WidgetTypeId& GetTypeId() override;
  // Moves the visuals to the current value; 0 by default.
  virtual VNResultEnum UpdateView();

  // Stores without notification; UpdateView when asked.
  VNResultEnum SetValue(float value, bool updateView);
  // The listener first: its failure is returned and the value is not stored.
  VNResultEnum CommitValue(float value, bool updateView);
  VNResultEnum TrackValue(float value, bool updateView);
  // Where the value lies in the range, 0..1 (0 for an empty range): the knob's place.
  float GetFraction() const;

  // The slider's own listener part: passes the values to the delegates (0 when empty).
  VNResultEnum OnValueCommitted(Slider* slider, float value) override;
  VNResultEnum OnValueTracking(Slider* slider, float value) override;

  SliderListener* mSliderListener;  // the slider's own part by default; not owned
  base::DelegatePtr<ValueDelegate> mCommittedDelegate;
  base::DelegatePtr<ValueDelegate> mTrackingDelegate;
  float mMinimum = 0.0f;
  float mMaximum = 1.0f;
  float mValue = 0.0f;
};

}  // namespace widget
