#include "Game/Screens/Options/TalvenDialog.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/FrameManager.h"
#include "Game/Tables/LocalStrings.h"

TalvenDialog::TalvenDialog() { SetDisabled(true); }

VNResultEnum TalvenDialog::ShowModal(widget::FrameManager* manager, TalvenDialog* dialog) {
  const VNResultEnum result = manager != nullptr ? dialog->Create() : VN_FAIL;
  if (result == VN_OK) return manager->ShowModal(dialog, true);
  base::LogBlock(manager != nullptr ? u"Dialog '%s' is not shown: its build failed.\n"
                                    : u"Dialog '%s' is not shown: no frame manager.\n") %
      base::ToWide(dialog->mName, base::kEncodingUtf8);
  delete dialog;
  return result;
}

VNResultEnum TalvenDialog::OnShown() {
  SetDisabled(false);
  return GetManager() != nullptr ? GetManager()->RefreshMouseOver() : VN_OK;
}

VNResultEnum TalvenDialog::Hide(bool deleteAfterClose) {
  SetDisabled(true);
  return Dialog::Hide(deleteAfterClose);
}

VNResultEnum TalvenDialog::AddText(const std::u16string& layerName, const std::u16string& key,
                                   const resource::ResourcePtr<render::Font>& font, layer::TextLayer** out) {
  const base::ImageInfo* info = GetContainer() != nullptr ? GetContainer()->GetLayerInfo(layerName) : nullptr;
  if (info == nullptr) return VN_FAIL;
  auto* text = new layer::TextLayer(font, LocalStrings::Instance()->get(key), 0.0f, 0.0f, 2, false);
  text->mHorizontalAnchor = 2;
  text->mVerticalAnchor = 2;
  math::Point3 centre(info->mX + info->mWidth / 2.0f, info->mY + info->mHeight / 2.0f, 0.0f);
  if (GetParentLayer() != nullptr) centre = centre - GetParentLayer()->mPosition;
  text->SetPosition(centre);
  AddLayer(text, kModeNoMouse);
  if (out != nullptr) *out = text;
  return VN_OK;
}
