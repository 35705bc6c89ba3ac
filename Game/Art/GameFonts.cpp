#include "Game/Art/GameFonts.h"

#include "Core/Gui/GameControl.h"
#include "Core/Resource/ResourceManager.h"

resource::ResourcePtr<render::BMFont> LoadGameFont(const std::u16string& name) {
  resource::ResourcePtr<render::BMFont> font = resource::ResourceManager::Instance()->Get<render::BMFont>(name);
  if (font && !font->IsLoaded()) {
    // The application hands the layout builders its renderer before any screen exists.
    font->SetRender(gui::GameControlHelper::GetRender());
    if (font->Load() != VN_OK) return {};
  }
  return font;
}
