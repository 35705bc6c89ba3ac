#include "Game/Screens/HUDUnlockMessage.h"

#include <algorithm>

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"

namespace {

std::u16string unlockMessageDecimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string unlockMessageIconName(int id) { return u"icons/id" + unlockMessageDecimal(id); }

}  // namespace

HUDUnlockMessage::HUDUnlockMessage(const std::vector<int>& unlockIds) {
  loadLayout(kLayout);
  if (layout) {
    std::vector<std::u16string> names;
    layout->ListLayers(u"icons", false, names, false);
    for (int id : unlockIds) {
      const std::u16string key = unlockMessageIconName(id);
      for (const std::u16string& name : names) {
        if (name != key) continue;
        const base::ImageInfo* info = layout->GetLayerInfo(name);
        if (!info) continue;
        RuvFrameEntry* icon = newLayoutFrame(*info, layout, true);
        icon->name = info->mName;
        icon->index = info->mIndex;
        icon->visible = 0;
        icons.push_back(icon);
        frames.push_back(icon);
        ids.push_back(id);
      }
    }
  }
  std::stable_sort(frames.begin(), frames.end(), frameIndexLess);
  LocalStrings* strings = LocalStrings::Instance();
  setFont(LoadGameFont(kMessageFont));
  setText(u"caption", strings->get(u"unlock_caption"));
  setText(u"button", strings->get(u"unlock_button"));
  current = 0;
  phase = 0;
  time = 0.0f;
  // Without any picture there is nothing to show; the first "ok" closes the screen.
  if (!ids.empty()) showUnlock(ids[0]);
}

HUDUnlockMessage::~HUDUnlockMessage() { delete layout; }

void HUDUnlockMessage::showUnlock(int id) {
  const std::u16string key = unlockMessageIconName(id);
  for (RuvFrameEntry* icon : icons) {
    if (icon->name == key) {
      icon->visible = 1;
      setText(u"message", LocalStrings::Instance()->get(u"unlock_" + unlockMessageDecimal(id)));
    } else {
      icon->visible = 0;
    }
  }
}

std::u16string HUDUnlockMessage::buttonNameAt(int x, int y) {
  if (HUDWindow::buttonNameAt(x, y) != u"ok") return std::u16string();
  current += 1;
  if (current >= int(ids.size())) return u"ok";
  showUnlock(ids[current]);
  return std::u16string();
}

void HUDUnlockMessage::draw(render::Graphics& graphics) {
  drawFrames(graphics);
  // The buttons leave the drawing colour white, so the texts are not tinted by the last button.
  drawButtons(graphics);
  for (const auto& pair : texts) {
    setFont(LoadGameFont(pair.first == u"button" ? kFontMain80 : kMessageFont));
    drawText(graphics, pair.first, pair.second);
  }
}
