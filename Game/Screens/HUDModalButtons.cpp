#include "Game/Screens/HUDModalButtons.h"

#include <algorithm>

#include "Core/File/ImageContainer.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Screens/HUDButtons.h"

void HUDModalButtons::clear() {
  for (HUDButtonOver* button : items) delete button;
  items.clear();
}

void HUDModalButtons::build(file::ImageContainer* layout, FontForKey fontFor) {
  if (!layout) return;
  std::vector<std::u16string> keys;
  layout->ListFolders(u"button", keys, true);
  std::sort(keys.begin(), keys.end());
  for (const std::u16string& key : keys) {
    HUDButtonOver* button = HUDButtonOver::create(layout, key);
    if (!button) continue;
    button->caption = LocalStrings::Instance()->get(key);
    button->font = fontFor(key);
    items.push_back(button);
  }
}

void HUDModalButtons::draw(render::Graphics& graphics) {
  for (HUDButtonOver* button : items) button->draw(graphics);
}

void HUDModalButtons::update(float dt) {
  for (HUDButtonOver* button : items) button->update(dt);
}

void HUDModalButtons::hover(int x, int y) {
  for (HUDButtonOver* button : items) button->hover(x, y);
}

void HUDModalButtons::press(int x, int y) {
  for (HUDButtonOver* button : items) button->press(x, y);
}

void HUDModalButtons::release(int x, int y) {
  for (HUDButtonOver* button : items) button->release(x, y);
}

int HUDModalButtons::hitIndex(int x, int y) const {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i]->hitTest(x, y)) return static_cast<int>(i);
  }
  return -1;
}

std::u16string HUDModalButtons::clickName(int x, int y) const {
  const int index = hitIndex(x, y);
  if (index < 0) return std::u16string();
  k2::SoundTags::Instance()->Play(u"simple");
  return items[index]->name;
}
