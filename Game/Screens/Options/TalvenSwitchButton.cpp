#include "Game/Screens/Options/TalvenSwitchButton.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Math/Approach.h"
#include "Core/Widget/WidgetHitTestListener.h"
#include "Game/Screens/Options/TalvenAnimation.h"

TalvenSwitchButton::TalvenSwitchButton() { SetStateTable(mStateImages, kStateImageCount); }

VNResultEnum TalvenSwitchButton::Create(file::ImageContainer* container, const std::u16string& normal,
                                        const std::u16string& hover, const std::u16string& selected,
                                        const std::u16string& shadow) {
  Attach(this, false);
  SetLayer(this, false, true);
  if (const VNResultEnum result =
          Init(container, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, false)) {
    return result;
  }
  if (const VNResultEnum result = SetStateImage(kSelectedImage, selected, nullptr)) return result;
  if (const VNResultEnum result = SetStateImage(kNormalImage, normal, nullptr)) return result;
  if (const VNResultEnum result = SetStateImage(kHoverImage, hover, nullptr)) return result;
  Layout();
  if (const VNResultEnum result = AddImageBack(shadow, kModeNoMouse)) return result;
  if (mStateImages[kSelectedImage]) mStateImages[kSelectedImage]->mHitTestListener = GetTrapListener();
  if (const VNResultEnum result = SetState(kStateNormal)) return result;
  return OnUpdate(0.0f);
}

void TalvenSwitchButton::SetSelected(bool selected) {
  mSelected = selected;
  layer::HitTestListener* listener = selected ? nullptr : static_cast<widget::WidgetHitTestListener*>(this);
  for (int index : {kNormalImage, kHoverImage}) {
    if (mStateImages[index]) mStateImages[index]->mHitTestListener = listener;
  }
}

widget::WidgetTypeId& TalvenSwitchButton::GetTypeId() {
  static widget::WidgetTypeId sTalvenSwitchButtonId(Button::GetTypeId());
  return sTalvenSwitchButtonId;
}

VNResultEnum TalvenSwitchButton::SetState(int32_t state) {
  const bool hover = state != kStateNormal;
  if (mStateImages[kNormalImage]) mStateImages[kNormalImage]->mMouseEnabled = !hover;
  if (mStateImages[kHoverImage]) mStateImages[kHoverImage]->mMouseEnabled = hover;
  return VN_OK;
}

VNResultEnum TalvenSwitchButton::OnUpdate(float dt) {
  const int32_t state = GetState();
  math::Approach(mOver, 3.0f * dt, state != kStateNormal ? 1.0f : 0.0f);
  math::Approach(mPress, 5.0f * dt, state == kStatePressed ? 1.0f : 0.0f);
  math::Approach(mSelect, 5.0f * dt, mSelected ? 1.0f : 0.0f);
  const float unselected = 1.0f - mSelect;
  if (mStateImages[kHoverImage]) mStateImages[kHoverImage]->mAlpha = unselected * mOver;
  if (mStateImages[kNormalImage]) mStateImages[kNormalImage]->mAlpha = unselected * talven::fadeOutLate(mOver);
  if (mStateImages[kSelectedImage]) mStateImages[kSelectedImage]->mAlpha = mSelect < 0.1f ? mSelect * 10.0f : 1.0f;
  talven::setScale(*this, 1.0f + talven::easeInOut(mOver) * 0.1f);
  return VN_OK;
}
