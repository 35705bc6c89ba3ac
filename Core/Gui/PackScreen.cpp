#include "Core/Gui/PackScreen.h"

#include "Core/Gui/PackBuilder.h"

namespace gui {

VNResultEnum PackScreen::Create() {
  return PackBuilder::BuildMountedPacks();
}

VNResultEnum PackScreen::BuildPack(const std::u16string& folder, const std::u16string& packPath) {
  return PackBuilder::BuildPack(folder, packPath);
}

}  // namespace gui
