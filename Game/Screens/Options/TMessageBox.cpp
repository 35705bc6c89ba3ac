#include "Game/Screens/Options/TMessageBox.h"

#include "Core/Layer/TextLayer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Tables/RuvMapState.h"
#include "Game/Screens/Options/TalvenButton.h"

namespace {

constexpr float kMessageBoxButtonY = 520.0f;

}  // namespace

TMessageBox::TMessageBox(RuvMapState& map, const std::u16string& messageKey, const std::u16string& command,
                         const std::u16string& detail)
    : mMap(map), mMessageKey(messageKey), mCommand(command), mDetail(detail) {}

VNResultEnum TMessageBox::Create() {
  mFontMain80 = LoadGameFont(kFontMain80);
  if (const VNResultEnum result =
          InitFromPath(kLayout, this, static_cast<widget::WidgetHitTestListener*>(this), nullptr, true)) {
    return result;
  }
  if (const VNResultEnum result = AddImage(u"back", kModeNoMouse)) return result;
  layer::TextLayer* message = nullptr;
  if (const VNResultEnum result = AddText(u"text/message", mMessageKey, LoadGameFont(kFontMain42x3), &message)) {
    return result;
  }
  message->SetPosition(math::Point3(512.0f, 400.0f, 0.0f));
  if (!mDetail.empty()) {
    message->mText += u"\n" + mDetail;
    message->mLocalBoxValid = false;
  }
  if (mCommand.empty()) return CreateButton(mButton1, 512.0f, u"button/b1_cancel/label", u"b1_ok");
  if (const VNResultEnum result = CreateButton(mButton1, 636.0f, u"button/b1_cancel/label", u"b1_cancel")) {
    return result;
  }
  return CreateButton(mButton2, 396.0f, u"button/b1_ok/label", u"b1_ok");
}

VNResultEnum TMessageBox::CreateButton(TalvenButton*& out, float x, const char16_t* labelLayer,
                                       const char16_t* labelKey) {
  auto* button = new TalvenButton;
  if (const VNResultEnum result =
          button->Create(GetContainer(), u"button/b1_normal", u"button/b1_over", u"button/b1_ok/label")) {
    delete button;
    return result;
  }
  button->mButtonListener = this;
  out = button;
  if (const VNResultEnum result = AddChild(button, nullptr)) return result;
  const math::Point3 position(x, kMessageBoxButtonY, 0.0f);
  button->SetPosition(position);
  layer::TextLayer* label = nullptr;
  if (const VNResultEnum result = AddText(labelLayer, labelKey, mFontMain80, &label)) return result;
  label->SetPosition(position);
  return VN_OK;
}

VNResultEnum TMessageBox::OnClick(widget::Button* button) {
  k2::SoundTags::Instance()->Play(u"simple");
  // Hiding may delete the box: keep what is needed afterwards.
  const std::u16string command = mCommand;
  RuvMapState& map = mMap;
  if (button == mButton1) return Hide(true);
  if (button != mButton2) return VN_OK;
  const VNResultEnum result = Hide(true);
  map.runConfirmedCommand(command);
  return result;
}
