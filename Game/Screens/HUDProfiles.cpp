#include "Game/Screens/HUDProfiles.h"

#include <algorithm>

#include "Core/Base/FormatSpec.h"
#include "Core/File/ImageContainer.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDMainMenu.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

std::u16string profileRowName(const char16_t* prefix, int row) {
  return prefix + base::FormatSpec().PutInt(row).GetOutput();
}

}  // namespace

HUDProfiles::HUDProfiles(RuvMap& map) : mMap(map) {
  HUDMainMenu::loadMenuLayout(*this, kLayout, menuButtons);
  LocalStrings* strings = LocalStrings::Instance();
  setText(u"caption", strings->get(u"profiles_caption"));
  refresh();
  setFont(LoadGameFont(kFontMain32x2));
  setText(u"select", strings->get(u"profiles_select"));
}

HUDProfiles::~HUDProfiles() {
  for (HUDButtonOver* button : menuButtons) delete button;
  delete layout;
}

HUDButtonOver* HUDProfiles::findMenuButton(const std::u16string& name) const {
  for (HUDButtonOver* button : menuButtons) {
    if (button->name == name) return button;
  }
  return nullptr;
}

void HUDProfiles::refresh() {
  RuvProgress* progress = mMap.mProgress.get();
  if (!progress) return;
  const std::vector<std::u16string> names = progress->getOtherProfileNames();
  const std::u16string empty = LocalStrings::Instance()->get(u"empty_profile");
  const int count = static_cast<int>(names.size());
  for (int k = 1; k <= std::max(count, kRows); ++k) {
    const std::u16string& text = k <= count ? names[static_cast<size_t>(k - 1)] : empty;
    setText(profileRowName(u"profile", k), text);
    if (HUDButtonOver* button = findMenuButton(profileRowName(u"p", k))) {
      button->caption = text;
      button->font = LoadGameFont(kFontMain42x3);
    }
  }
  const std::u16string& current = progress->getCurrentProfileName();
  for (int k = 1; k <= kRows; ++k) {
    if (HUDButtonOver* button = findMenuButton(profileRowName(u"p", k))) button->visible = button->caption == current;
  }
  if (HUDButtonOver* confirm = findMenuButton(u"confirm")) confirm->visible = count != 0;
}

void HUDProfiles::draw(render::Graphics& graphics) {
  HUDWindow::draw(graphics);
  for (HUDButtonOver* button : menuButtons) button->draw(graphics);
}

void HUDProfiles::update(float dt) {
  HUDWindow::update(dt);
  readRootBoardPointer(pointerX, pointerY);
  for (HUDButtonOver* button : menuButtons) button->update(dt);
}

void HUDProfiles::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  for (HUDButtonOver* button : menuButtons) button->hover(x, y);
}

void HUDProfiles::onMouseUp(int x, int y) {
  for (HUDButtonOver* button : menuButtons) button->release(x, y);
}

void HUDProfiles::onMouseDown(int x, int y) {
  for (HUDButtonOver* button : menuButtons) button->press(x, y);
  RuvProgress* progress = mMap.mProgress.get();
  if (!progress) return;
  // Row K is the slot "profileK": it stands for the K-th other profile, whatever other slots the
  // layout holds.
  const float px = static_cast<float>(x);
  const float py = static_cast<float>(y);
  for (int k = 1; k <= kRows; ++k) {
    const auto slot = textSlots.find(profileRowName(u"profile", k));
    if (slot == textSlots.end()) continue;
    const float* r = slot->second->rect;
    if (!(r[0] < px && px < r[0] + r[2] && r[1] < py && py < r[1] + r[3])) continue;
    const std::vector<std::u16string>& names = progress->getOtherProfileNames();
    if (k - 1 < static_cast<int>(names.size())) {
      const std::u16string name = names[static_cast<size_t>(k - 1)];
      progress->selectProfile(name);
      refresh();
    }
    return;
  }
}

std::u16string HUDProfiles::buttonNameAt(int x, int y) {
  std::u16string answer;
  for (HUDButtonOver* button : menuButtons) {
    if (button->hitTest(x, y)) {
      k2::SoundTags::Instance()->Play(u"simple");
      answer = button->name;
      break;
    }
  }
  // Only a named profile can be deleted: the default one always stays.
  if (answer == u"delete" && mMap.mProgress && !mMap.mProgress->getCurrentProfileName().empty()) {
    mMap.mHud->showProfileDeletionDialog();
  }
  return answer;
}
