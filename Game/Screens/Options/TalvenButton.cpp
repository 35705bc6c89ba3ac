#include "Game/Screens/Options/TalvenButton.h"


#include "Core/Layer/ImageLayer.h"
#include "Core/Math/Approach.h"
#include "Game/Screens/Options/TalvenAnimation.h"

TalvenButton::TalvenButton() { SetStateTable(mStateImages, kStateImageCount); }

VNResultEnum TalvenButton::Create(file::ImageContainer* container, const std::u16string& normal,
                                  const std::u16string& hover, const std::u16string& shadow) {
  Attach(this, false);
  SetLayer(this, false, true);
  if (const VNResultEnum result =
          Init(container, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, false)) {
    return result;
  }
  if (const VNResultEnum result = SetStateImage(kNormalImage, normal, nullptr)) return result;
  if (const VNResultEnum result = SetStateImage(kHoverImage, hover, nullptr)) return result;
  Layout();
  if (const VNResultEnum result = AddImageBack(shadow, kModeNoMouse)) return result;
  return SetState(kStateNormal);
}

widget::WidgetTypeId& TalvenButton::GetTypeId() {
  static widget::WidgetTypeId sTalvenButtonId(Button::GetTypeId());
  return sTalvenButtonId;
}

VNResultEnum TalvenButton::SetState(int32_t state) {
  const bool hover = state != kStateNormal;
  if (mStateImages[kNormalImage]) mStateImages[kNormalImage]->mMouseEnabled = !hover;
  if (mStateImages[kHoverImage]) mStateImages[kHoverImage]->mMouseEnabled = hover;
  return VN_OK;
}

VNResultEnum TalvenButton::OnUpdate(float dt) {
  const int32_t state = GetState();
  math::Approach(mOver, 3.0f * dt, state != kStateNormal ? 1.0f : 0.0f);
  math::Approach(mPress, 5.0f * dt, state == kStatePressed ? 1.0f : 0.0f);
  if (mStateImages[kHoverImage]) mStateImages[kHoverImage]->mAlpha = mOver;
  if (mStateImages[kNormalImage]) mStateImages[kNormalImage]->mAlpha = talven::fadeOutLate(mOver);
  const float scale = 1.0f - talven::easeInOut(mPress) * 0.05f;
  talven::setScale(*this, scale);
  return VN_OK;
}
