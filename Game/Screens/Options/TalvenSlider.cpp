#include "Game/Screens/Options/TalvenSlider.h"

#include <algorithm>
#include <cmath>

#include "Core/Base/ImageInfo.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Math/Approach.h"
#include "Core/Math/Rect.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Render.h"
#include "Core/Widget/MouseCapture.h"
#include "Game/Screens/Options/SliderLayer.h"
#include "Game/Screens/Options/TalvenAnimation.h"

namespace {

constexpr char kTalvenSliderShine[] = "blik_1";

}  // namespace

TalvenSlider::TalvenSlider() : WidgetHitTestListener(this) { SetStateTable(mStateImages, 1); }

VNResultEnum TalvenSlider::Create(file::ImageContainer* container, const std::u16string& bar,
                                  const std::u16string& knob, const std::u16string&) {
  SetListener(static_cast<widget::WidgetListener*>(this), true);
  SetLayer(this, false, true);
  if (const VNResultEnum result =
          Init(container, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, false)) {
    return result;
  }
  if (!bar.empty()) {
    if (const VNResultEnum result = CreateBar(bar)) return result;
  }
  if (!knob.empty()) {
    if (const VNResultEnum result = CreateKnob(knob)) return result;
  }
  Layout();
  if (mKnobHolder != nullptr) {
    // Layout moved the state images only; the holder follows them.
    mKnobHolder->SetPosition(mKnobHolder->mPosition - mPosition);
    AddLayer(mKnobHolder, kModeNormal);
    AddLayer(mKnob, kModeNormal, mKnobHolder);
  }
  const int knobWidth = mKnob != nullptr && mKnob->GetImage() != nullptr ? mKnob->GetImage()->GetWidth() : 0;
  const float barX = mBar != nullptr ? mBar->mPosition.x : 0.0f;
  const float barWidth = mBar != nullptr ? mBar->mImageWidth : 0.0f;
  mHalfKnob = knobWidth / 2;
  mMinimumPosition = barX + static_cast<float>(mHalfKnob);
  mMaximumPosition = barWidth - static_cast<float>(knobWidth) - 2.0f + mMinimumPosition;
  CreateShine();
  if (const VNResultEnum result = CommitValue(mValue, true)) return result;
  mVisible = true;
  return VN_OK;
}

VNResultEnum TalvenSlider::CreateBar(const std::u16string& name) {
  render::Render* render = GetRender();
  if (render == nullptr) return VN_FAIL;
  render::Image* image = nullptr;
  base::ImageInfo info;
  if (const VNResultEnum result = render->LoadImage(name, GetContainer(), &image, &info)) return result;
  mBar = new SliderLayer(image);
  mBar->SetPosition(math::Point3(info.mX, info.mY, 0.0f));
  mBar->mHitTestListener = static_cast<widget::WidgetHitTestListener*>(this);
  mStateImages[0] = mBar;
  JoinStateRect(math::Rect(info.mX, info.mY, info.mWidth, info.mHeight));
  return VN_OK;
}

VNResultEnum TalvenSlider::CreateKnob(const std::u16string& name) {
  math::Rect rect;
  if (const VNResultEnum result = CreateImageLayer(name, rect, mKnob)) return result;
  mKnob->SetPosition(math::Point3(2.0f - rect.width / 2.0f, -rect.height / 2.0f, 0.0f));
  mKnobHolder = new layer::Layer;
  mKnobHolder->SetPosition(math::Point3(rect.x + rect.width / 2.0f - 2.0f, rect.y + rect.height / 2.0f, 0.0f));
  JoinStateRect(rect);
  return VN_OK;
}

void TalvenSlider::CreateShine() {
  // Without the effect the knob simply does not shine.
  mShineEmitter = render::ParticleSystem::Instance()->CreateEmitter(kTalvenSliderShine);
  if (mShineEmitter == nullptr) return;
  mShineEmitter->SetLoopMode(1);
  mShine = new layer::ParticlesLayer;
  mShine->SetEmitter(mShineEmitter, true);
  AddLayer(mShine, kModeNoMouse);
}

widget::WidgetTypeId& TalvenSlider::GetTypeId() {
  static widget::WidgetTypeId sTalvenSliderId(Slider::GetTypeId());
  return sTalvenSliderId;
}

float TalvenSlider::GetKnobPosition() const { return mKnobHolder != nullptr ? mKnobHolder->mPosition.x : 0.0f; }

void TalvenSlider::SetKnobPosition(float position) {
  if (mKnobHolder != nullptr) {
    mKnobHolder->SetPosition(math::Point3(position, mKnobHolder->mPosition.y, mKnobHolder->mPosition.z));
  }
  if (mBar != nullptr) mBar->SetFillWidth(position - mBar->mPosition.x);
  if (mShineEmitter != nullptr) mShineEmitter->SetPosition(math::Point2(position, 0.0f), 0);
}

float TalvenSlider::ClampPosition(float position) const {
  return std::max(mMinimumPosition, std::min(mMaximumPosition, position));
}

float TalvenSlider::ValueAt(float position) const {
  if (mMaximumPosition == mMinimumPosition) return mMinimum;
  return mMinimum + (mMaximum - mMinimum) * (position - mMinimumPosition) / (mMaximumPosition - mMinimumPosition);
}

float TalvenSlider::ToControlX(const layer::Layer* from, float x) const {
  for (const layer::Layer* step = from; step != nullptr && step != this; step = step->GetParent()) {
    x = step->mPosition.x + step->mScaleX * x;
  }
  return x;
}

VNResultEnum TalvenSlider::UpdateView() {
  SetKnobPosition(mMinimumPosition + (mMaximumPosition - mMinimumPosition) * GetFraction());
  return VN_OK;
}

VNResultEnum TalvenSlider::GetCaptureInfo(const math::Point3& point, widget::MouseCapture& record) {
  const layer::Layer* pressed = layer::HitTestListener::mLayer;
  const bool onBar = pressed != nullptr && pressed == mBar;
  const bool onKnob = pressed != nullptr && pressed == mKnob;
  if (!onBar && !onKnob) return WidgetHitTestListener::GetCaptureInfo(point, record);
  const float pressX = ToControlX(pressed, point.x);
  mCaptured = true;
  mSlideElapsed = 0.0f;
  if (onBar) {
    mSlideFrom = GetKnobPosition();
    mSlideTo = ClampPosition(pressX);
    mSlideDuration = std::fabs(mSlideTo - mSlideFrom) / kSlideSpeed;
    mCaptureOffset = 0.0f;
  } else {
    mSlideDuration = 0.0f;
    mCaptureOffset = pressX - GetKnobPosition();
  }
  // Drags arrive in the control's space.
  record = widget::MouseCapture(this, this, math::Point3(pressX, point.y, 0.0f), false);
  return VN_OK;
}

VNResultEnum TalvenSlider::OnCapturedMouseDrag(widget::MouseCapture& capture, const math::Point3& point) {
  if (const VNResultEnum result = WidgetListener::OnCapturedMouseDrag(capture, point)) return result;
  if (!mCaptured) return VN_OK;
  const float position = ClampPosition(point.x - mCaptureOffset);
  if (IsSliding()) {
    mSlideTo = position;
    return VN_OK;
  }
  SetKnobPosition(position);
  return TrackValue(ValueAt(position), false);
}

VNResultEnum TalvenSlider::OnCapturedMouseUp(widget::MouseCapture& capture, const math::Point3& point, int button) {
  WidgetListener::OnCapturedMouseUp(capture, point, button);
  const bool commit = mCaptured && !IsSliding();
  mCaptured = false;
  if (!commit) return VN_OK;
  const float position = ClampPosition(point.x - mCaptureOffset);
  SetKnobPosition(position);
  return CommitValue(ValueAt(position), false);
}

VNResultEnum TalvenSlider::OnUpdate(float dt) {
  const bool sliding = IsSliding();
  if (mShineEmitter != nullptr) mShineEmitter->Update(dt);
  const bool shine = mMouseOver || mHoldsCapture || sliding;
  if (shine != mShinePlaying) {
    mShinePlaying = shine;
    if (mShineEmitter != nullptr) {
      mShineEmitter->SetState(shine ? render::ParticleEmitter::kPlaying : render::ParticleEmitter::kInterrupted);
    }
  }
  math::Approach(mPress, 10.0f * dt, mCaptured && !sliding ? 1.0f : 0.0f);
  if (mKnobHolder != nullptr) talven::setScale(*mKnobHolder, 1.0f - mPress * 0.05f);
  if (!sliding) return VN_OK;
  math::Approach(mSlideElapsed, dt, mSlideDuration);
  if (mSlideElapsed >= mSlideDuration) {
    const float target = mSlideTo;
    SetKnobPosition(target);
    mSlideDuration = 0.0f;
    mSlideElapsed = 0.0f;
    return mCaptured ? TrackValue(ValueAt(target), false) : CommitValue(ValueAt(target), false);
  }
  const float position =
      mSlideFrom + (mSlideTo - mSlideFrom) * talven::easeInOut(mSlideElapsed / mSlideDuration);
  SetKnobPosition(position);
  return TrackValue(ValueAt(position), false);
}
