#include "Core/Widget/DialogEffects.h"

#include <tinyxml2.h>

#include "Core/Animation/LayerAnim.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Layer/RectHitLayer.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/Dialog.h"

namespace widget {

namespace {

std::u16string DialogXmlName(const tinyxml2::XMLElement* element) {
  return base::ToWide(element->Name(), base::kEncodingUtf8);
}

VNResultEnum DialogConfigFailed(const tinyxml2::XMLElement* element, const char16_t* cause) {
  base::LogBlock(u"data/game.xml line %d, element '%s': %s\n") % element->GetLineNum() % DialogXmlName(element) %
      std::u16string(cause);
  return VN_FAIL;
}

VNResultEnum FetchDialogAnim(const std::u16string& path, resource::ResourcePtr<animation::AnimData>& out) {
  out = resource::ResourceManager::Instance()->Get<animation::AnimData>(path);
  if (!out) return VN_FAIL;
  out->SetRender(DialogEffectsManager::Instance()->GetRender());
  if (!out->IsLoaded()) return out->Load();
  return VN_OK;
}

}  // namespace

DialogEffects::DialogEffects() : base::Task(true, false, true, false) {}

DialogEffects::~DialogEffects() {
  if (mDialog != nullptr && mDialog->GetEffects() == this) mDialog->ForgetEffects();
}

VNResultEnum DialogEffects::SetDialog(Dialog* dialog) {
  mDialog = dialog;
  return VN_OK;
}

VNResultEnum DialogEffects::Detach() {
  StopTree();
  mDialog = nullptr;
  return VN_OK;
}

DialogAnimEffects::~DialogAnimEffects() = default;

VNResultEnum DialogAnimEffects::SetDialog(Dialog*) { return VN_FAIL; }

VNResultEnum DialogAnimEffects::Init(Dialog* dialog, DialogAnimEffectsData& data) {
  mDialog = dialog;
  VNResultEnum result = VN_OK;
  if (data.mPreload) {
    mShowAnim = data.mShowAnim;
    mHideAnim = data.mHideAnim;
  } else {
    result = data.GetShowAnim(mShowAnim);
    if (result == VN_OK) result = data.GetHideAnim(mHideAnim);
    if (result != VN_OK) return result;
  }
  if (!mShowAnim || !mHideAnim || mShowAnim->GetTracks().size() != 1 || mHideAnim->GetTracks().size() != 1) {
    return VN_FAIL;
  }
  return VN_OK;
}

VNResultEnum DialogAnimEffects::Start(const resource::ResourcePtr<animation::AnimData>& anim, int state) {
  if (!anim || anim->GetTracks().empty() || mDialog == nullptr) return VN_FAIL;
  mRunning = std::make_unique<animation::LayerAnim>(mDialog->GetHitLayer(), anim->GetTracks()[0].get());
  mTime = anim->GetStartTime();
  mEndTime = anim->GetEndTime();
  mRunning->Apply(mTime);
  mState = state;
  return VN_OK;
}

VNResultEnum DialogAnimEffects::Show() { return Start(mShowAnim, kShowing); }

VNResultEnum DialogAnimEffects::Hide() {
  if (mState == kShowing) {
    mHidePending = true;
    return VN_OK;
  }
  return Start(mHideAnim, kHiding);
}

VNResultEnum DialogAnimEffects::Update(float dt) {
  if ((mState != kShowing && mState != kHiding) || !mRunning) return VN_OK;
  mTime += dt;
  const bool finished = mTime >= mEndTime;
  if (finished) mTime = mEndTime;
  mRunning->Apply(mTime);
  if (!finished) return VN_OK;
  mRunning.reset();
  if (mDialog == nullptr) return VN_OK;
  if (mState == kShowing) {
    const VNResultEnum result = mDialog->OnShown();
    if (result != VN_OK) return result;
    mState = kShown;
    if (mHidePending) {
      mHidePending = false;
      return Hide();
    }
    return VN_OK;
  }
  const VNResultEnum result = mDialog->Close();
  if (result != VN_OK) return result;
  mState = kHidden;
  StopTree();
  return VN_OK;
}

VNResultEnum DialogAnimEffectsData::Load(const tinyxml2::XMLElement* element) {
  const char* show = element->Attribute("show_anim_data");
  if (show == nullptr) return DialogConfigFailed(element, u"no show_anim_data");
  mShowPath = base::ToWide(show, base::kEncodingUtf8);
  const char* hide = element->Attribute("hide_anim_data");
  if (hide == nullptr) return DialogConfigFailed(element, u"no hide_anim_data");
  mHidePath = base::ToWide(hide, base::kEncodingUtf8);
  mPreload = element->Attribute("preload") != nullptr;
  if (!mPreload) return VN_OK;
  if (GetShowAnim(mShowAnim) != VN_OK) return DialogConfigFailed(element, u"show animation not loaded");
  if (GetHideAnim(mHideAnim) != VN_OK) return DialogConfigFailed(element, u"hide animation not loaded");
  return VN_OK;
}

VNResultEnum DialogAnimEffectsData::GetShowAnim(resource::ResourcePtr<animation::AnimData>& out) {
  return FetchDialogAnim(mShowPath, out);
}

VNResultEnum DialogAnimEffectsData::GetHideAnim(resource::ResourcePtr<animation::AnimData>& out) {
  return FetchDialogAnim(mHidePath, out);
}

VNResultEnum DialogAnimEffectsData::CreateEffects(Dialog* dialog, DialogEffects*& out) {
  auto effects = std::make_unique<DialogAnimEffects>();
  const VNResultEnum result = effects->Init(dialog, *this);
  if (result != VN_OK) return result;
  out = effects.release();
  return VN_OK;
}

DialogEffectsManager::DialogEffectsManager() {
  RegisterCreator("Anim", std::make_unique<DialogEffectsDataCreator<DialogAnimEffectsData>>());
}

DialogEffectsManager::~DialogEffectsManager() { Clear(); }

std::vector<base::SingletoneBase*> DialogEffectsManager::GetDependencies() {
  return {resource::ResourceManager::Instance()};
}

void DialogEffectsManager::Clear() {
  for (auto& [name, data] : mData) delete data;
  mData.clear();
  mDialogs.clear();
}

VNResultEnum DialogEffectsManager::RegisterCreator(const std::string& elementName,
                                                   std::unique_ptr<DialogEffectsDataCreatorBase> creator) {
  return mCreators.emplace(elementName, std::move(creator)).second ? VN_OK : VN_FAIL;
}

VNResultEnum DialogEffectsManager::Load(const tinyxml2::XMLElement* section) {
  if (const tinyxml2::XMLElement* list = section->FirstChildElement("Data")) {
    for (const tinyxml2::XMLElement* e = list->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) {
      const auto creator = mCreators.find(e->Name());
      if (creator == mCreators.end()) return DialogConfigFailed(e, u"no effects of this kind");
      const char* name = e->Attribute("name");
      if (name == nullptr) return DialogConfigFailed(e, u"no name");
      if (mData.count(name) != 0) return DialogConfigFailed(e, u"effects name used twice");
      std::unique_ptr<DialogEffectsData> data(creator->second->Create());
      const VNResultEnum result = data->Load(e);
      if (result != VN_OK) return result;
      mData.emplace(name, data.release());
    }
  }
  if (const tinyxml2::XMLElement* table = section->FirstChildElement("Dialogs")) {
    for (const tinyxml2::XMLElement* e = table->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) {
      const char* effects = e->Attribute("effects");
      if (effects == nullptr) return DialogConfigFailed(e, u"no effects");
      if (!mDialogs.emplace(e->Name(), effects).second) return DialogConfigFailed(e, u"dialog listed twice");
    }
  }
  return VN_OK;
}

VNResultEnum DialogEffectsManager::GetEffects(Dialog* dialog, DialogEffects*& out) {
  out = nullptr;
  const auto entry = mDialogs.find(dialog->mName);
  if (entry == mDialogs.end()) return VN_OK;
  const auto data = mData.find(entry->second);
  if (data == mData.end()) return VN_FAIL;
  return data->second->CreateEffects(dialog, out);
}

}  // namespace widget
