#include "Core/Widget/Dialog.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"

namespace widget {

Dialog::Dialog() : WidgetHitTestListener(this) {
  SetListener(static_cast<WidgetListener*>(this), true);
  GetHitLayer()->mHitTestListener = static_cast<WidgetHitTestListener*>(this);
}

Dialog::~Dialog() { DetachEffects(); }

void Dialog::DetachEffects() {
  if (mEffects == nullptr) return;
  DialogEffects* effects = mEffects;
  mEffects = nullptr;
  effects->Detach();
}

VNResultEnum Dialog::Close() {
  if (GetManager() == nullptr) return VN_OK;
  return GetManager()->RemoveFrame(this, mDeleteAfterClose, true);
}

VNResultEnum Dialog::Hide(bool deleteAfterClose) {
  mDeleteAfterClose = deleteAfterClose;
  if (mEffects != nullptr) return mEffects->Hide();
  return Close();
}

VNResultEnum Dialog::SetEffects(DialogEffects* effects) {
  DetachEffects();
  mEffects = effects;
  if (effects == nullptr) return OnShown();
  if (GetManager() == nullptr) {
    // Nothing would own or run them.
    mEffects = nullptr;
    delete effects;
    return OnShown();
  }
  GetManager()->AddTask(effects);
  return effects->Show();
}

VNResultEnum Dialog::OnShow() {
  if (mName.empty()) return SetEffects(nullptr);
  DialogEffects* effects = nullptr;
  VNResultEnum result = DialogEffectsManager::Instance()->GetEffects(this, effects);
  if (result == VN_OK) {
    result = SetEffects(effects);
    if (result == VN_OK || effects == nullptr) return result;
  }
  // Without OnShown a modal dialog would block all input: show it plainly.
  base::LogBlock(u"Dialog '%s': effects failed, shown without them\n") % base::ToWide(mName, base::kEncodingUtf8);
  return SetEffects(nullptr);
}

VNResultEnum Dialog::OnDetach() {
  DetachEffects();
  return VN_OK;
}

}  // namespace widget
