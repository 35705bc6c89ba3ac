#pragma once
#include <string>

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Slider.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "Core/Widget/WidgetListener.h"

class SliderLayer;
namespace file {
class ImageContainer;
}
namespace layer {
class ParticlesLayer;
}
namespace render {
class ParticleEmitter;
}

// A horizontal slider of layout images: a bar filled up to the knob, a knob that can be dragged
// (the value is tracked while dragging and committed on release) or slides to a pressed point of
// the bar (committed when the slide ends after the release), and a looping shine on the knob.
// Positions are in the control's space.
class TalvenSlider : public gui::GameControl,
                     public widget::Slider,
                     public widget::WidgetListener,
                     public widget::WidgetHitTestListener {
 public:
  // Bar presses slide the knob at this speed, in pixels per second.
  static constexpr float kSlideSpeed = 200.0f;

  TalvenSlider();

  // Builds the bar and the knob from the container's layers (an empty name builds nothing), then
  // commits the current value once to place the knob: set mSliderListener after this. frame is
  // not used. The first failing step's result is returned.
  VNResultEnum Create(file::ImageContainer* container, const std::u16string& bar, const std::u16string& knob,
                      const std::u16string& frame);

  widget::WidgetTypeId& GetTypeId() override;
  // Puts the knob at the current value.
  VNResultEnum UpdateView() override;
  // Shine, press and slide animations.
  VNResultEnum OnUpdate(float dt) override;
  VNResultEnum OnCapturedMouseDrag(widget::MouseCapture& capture, const math::Point3& point) override;
  VNResultEnum OnCapturedMouseUp(widget::MouseCapture& capture, const math::Point3& point, int button) override;
  // A press on the bar starts a slide to the press point; a press on the knob grips it there.
  VNResultEnum GetCaptureInfo(const math::Point3& point, widget::MouseCapture& record) override;

  float GetKnobPosition() const;
  float GetMinimumPosition() const { return mMinimumPosition; }
  float GetMaximumPosition() const { return mMaximumPosition; }
  bool IsSliding() const { return mSlideDuration > 0.0f; }
  SliderLayer* GetBar() const { return mBar; }
  layer::ImageLayer* GetKnob() const { return mKnob; }
  layer::Layer* GetKnobHolder() const { return mKnobHolder; }
  render::ParticleEmitter* GetShineEmitter() const { return mShineEmitter; }

 private:
  VNResultEnum CreateBar(const std::u16string& name);
  VNResultEnum CreateKnob(const std::u16string& name);
  void CreateShine();
  void SetKnobPosition(float position);
  float ClampPosition(float position) const;
  float ValueAt(float position) const;
  // x of a point in a layer below the control, in the control's space.
  float ToControlX(const layer::Layer* from, float x) const;

  SliderLayer* mBar = nullptr;  // the control's state layer, deleted with it
  layer::ImageLayer* mStateImages[1] = {nullptr};
  layer::Layer* mKnobHolder = nullptr;  // x is the knob position
  layer::ImageLayer* mKnob = nullptr;
  layer::ParticlesLayer* mShine = nullptr;
  render::ParticleEmitter* mShineEmitter = nullptr;  // owned by mShine
  float mMinimumPosition = 0.0f;
  float mMaximumPosition = 0.0f;
  int mHalfKnob = 0;
  float mPress = 0.0f;
  bool mShinePlaying = false;
  bool mCaptured = false;
  float mCaptureOffset = 0.0f;
  float mSlideFrom = 0.0f;
  float mSlideTo = 0.0f;
  float mSlideDuration = 0.0f;
  float mSlideElapsed = 0.0f;
};
