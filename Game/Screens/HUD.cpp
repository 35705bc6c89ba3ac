#include "Game/Screens/HUD.h"

#include <algorithm>

#include "Core/Base/FormatSpec.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/Path.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Screens/RuvSplashScreens.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUDModalInput.h"
#include "Game/Screens/HUDModalMessage.h"

#include "Game/Screens/HUDEpisodeSelect.h"
#include "Game/Screens/HUDLevelSelect.h"
#include "Game/Screens/HUDMainMenu.h"
#include "Game/Screens/HUDProfiles.h"
#include "Game/Screens/HUDBoostShop.h"
#include "Game/Screens/HUDBuyGemScreen.h"
#include "Game/Screens/HUDShopWindow.h"
#include "Game/Screens/HUDSpellButton.h"

#include "Game/Screens/HUDUnlockMessage.h"
#include "Game/Screens/RootBoardAccess.h"

namespace {

const char16_t kHudLayout[] = u"ruv/ui";

// Screen states in which a menu covers the battle and the HUD's own content is hidden.
bool hudContentHidden(int state) {
  return state == kStateEpisodeSelect || state == kStateLevelSelect || state == kStateMainMenu ||
         state == kStateSplashScreens;
}

// The menu screens drawn for the 1024-wide design area, with the side pictures beside it.
bool hudShowsSideImages(int state) {
  static constexpr int kStates[] = {
      kStateEpisodeSelect, kStateLevelSelect,  kStateUpgradeShop, kStateProfileList,         kStateNewProfile,
      kStateRenameProfile, kStateModalMessage, kStateGemShop,     kStateUpgradeShopGemOffer, kStateBoostShop,
      kStateReserved,      kStateResetPremiumPoints};
  return std::find(std::begin(kStates), std::end(kStates), state) != std::end(kStates);
}

std::u16string hudDecimal(float value) { return base::FormatSpec().PutFloat(value).GetOutput(); }
std::u16string hudDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

std::vector<std::u16string> hudLayers(file::ImageContainer* container, const std::u16string& folder) {
  std::vector<std::u16string> names;
  container->ListLayers(folder, false, names, false);
  return names;
}

}  // namespace

HUD::HUD(RuvMap& map) : mMap(map) {
  file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(kHudLayout);
  spellCastAnimation = std::make_unique<RuvAnimation>(u"ruv/spell_cast", u"");
  if (!container) {
    base::LogBlock(u"HUD: the layout '%s' cannot be opened; the HUD shows no counters or buttons.\n") %
        std::u16string(kHudLayout);
    return;
  }
  for (const std::u16string& name : hudLayers(container, u"")) {
    if (const base::ImageInfo* info = container->GetLayerInfo(name)) {
      frames.push_back(newLayoutFrame(*info, container, true));
    }
  }
  for (const std::u16string& name : hudLayers(container, u"button")) {
    if (const base::ImageInfo* info = container->GetLayerInfo(name)) {
      RuvButtonFrame* button = newLayoutButton(*info, container);
      button->name = base::GetFileNameNoExt(name);
      buttons.push_back(button);
    }
  }
  for (const std::u16string& name : hudLayers(container, u"spell")) {
    if (const base::ImageInfo* info = container->GetLayerInfo(name)) {
      RuvFrameEntry* slot = newLayoutFrame(*info, container, false);
      slot->name = base::GetFileNameNoExt(name);
      spellSlots.push_back(slot);
    }
  }
  for (const std::u16string& name : hudLayers(container, u"text")) {
    if (const base::ImageInfo* info = container->GetLayerInfo(name)) {
      RuvFrameEntry*& slot = textSlots[name];
      delete slot;
      slot = newLayoutFrame(*info, container, false);
    }
  }
  delete container;
}

HUD::~HUD() {
  spellCastAnimation.reset();
  spellButtons.clear();
  for (RuvFrameEntry* slot : spellSlots) delete slot;
  spellSlots.clear();
  stack.clear();
  pending.clear();
}

void HUD::draw(render::Graphics& graphics) {
  if (!hudContentHidden(mMap.mState)) {
    if (mMap.mArmedSpell) spellCastAnimation->draw(graphics, pointerX, pointerY, 0.0f);
    for (const std::unique_ptr<HUDSpellButton>& button : spellButtons) button->draw(graphics);
    HUDWindow::draw(graphics);
  }
  if (hudShowsSideImages(mMap.mState)) drawGameSideImages(graphics);
  graphics.SetBlendMode(1);
  graphics.SetColorRGBA(1.0f, 1.0f, 1.0f, 1.0f);
}

void HUD::update(float dt) {
  mSpellAnswer.asked = false;
  HUDWindow::update(dt);
  spellCastAnimation->update(dt);
  if (phase == 1) {
    time += dt;
    if (time > 0.1f) phase = 2;
    if (time > 1.0f) time = 1.0f;
  }
  for (const std::unique_ptr<HUDSpellButton>& button : spellButtons) button->update(dt);
  for (size_t i = 0; i < stack.size(); ++i) stack[i]->update(dt);
  for (size_t i = 0; i < stack.size(); ++i) {
    if (!stack[i]->open) stack[i]->onClose();
  }
  stack.erase(std::remove_if(stack.begin(), stack.end(), [](const auto& screen) { return !screen->open; }),
              stack.end());
  for (std::unique_ptr<HUDWindow>& screen : pending) stack.push_back(std::move(screen));
  pending.clear();
}

void HUD::onMouseMove(int x, int y) {
  HUDWindow::onMouseMove(x, y);
  if (!stack.empty()) stack.back()->onMouseMove(x, y);
  for (const std::unique_ptr<HUDSpellButton>& button : spellButtons) button->hover(x, y);
}

void HUD::onMouseUp(int x, int y) {
  if (!stack.empty()) stack.back()->onMouseUp(x, y);
}

void HUD::onMouseDown(int x, int y) {
  mSpellAnswer.asked = false;
  if (!stack.empty()) stack.back()->onMouseDown(x, y);
}

void HUD::onWheel(int delta) {
  for (size_t i = 0; i < stack.size(); ++i) stack[i]->onWheel(delta);
}

int HUD::spellButtonAt(int x, int y) {
  if (mSpellAnswer.asked && mSpellAnswer.x == x && mSpellAnswer.y == y &&
      mSpellAnswer.result < int(spellButtons.size())) {
    return mSpellAnswer.result;
  }
  int result = -1;
  for (size_t i = 0; i < spellButtons.size() && result == -1; ++i) {
    if (spellButtons[i]->click(x, y)) {
      result = int(i);
    } else if (spellButtons[i]->hitTest(x, y)) {
      result = -2;
    }
  }
  mSpellAnswer = SpellAnswer{true, x, y, result};
  return result;
}

int HUD::buttonIndexAt(int x, int y) {
  if (!stack.empty()) {
    for (size_t i = stack.size(); i-- > 0;) {
      const int answer = stack[i]->buttonIndexAt(x, y);
      if (answer != -1) return answer;
    }
    return -1;
  }
  const int own = HUDWindow::buttonIndexAt(x, y);
  if (own != -1) return own;
  return spellButtonAt(x, y);
}

std::u16string HUD::buttonNameAt(int x, int y) {
  if (!stack.empty()) return stack.back()->buttonNameAt(x, y);
  const int spell = spellButtonAt(x, y);
  if (spell >= 0) return spellButtons[size_t(spell)]->name;
  return HUDWindow::buttonNameAt(x, y);
}

void HUD::addSpellButton(int spellNumber) {
  const RuvSpellRow* row = mMap.mSpells ? mMap.mSpells->findSpell(spellNumber) : nullptr;
  if (!row || !mMap.mUnlocks || !mMap.mUnlocks->isUnlocked(row->protoId)) return;
  if (spellButtons.size() >= spellSlots.size()) {
    base::LogBlock(u"HUD: no free spell slot for spell %d; it gets no button.\n") % spellNumber;
    return;
  }
  if (!row->icon) base::LogBlock(u"HUD: spell %d has no icon; its button is neither drawn nor hit.\n") % spellNumber;
  const RuvFrameEntry& slot = *spellSlots[spellButtons.size()];
  auto button = std::make_unique<HUDSpellButton>(mMap, spellNumber);
  button->centreX = slot.rect[0] + slot.rect[2] * 0.5f;
  button->centreY = slot.rect[1] + slot.rect[3] * 0.5f;
  button->index = int(spellButtons.size());
  button->name = slot.name;
  spellButtons.push_back(std::move(button));
}

void HUD::resetSpellButtons() {
  for (const std::unique_ptr<HUDSpellButton>& button : spellButtons) {
    button->pressed = 0;
    button->time = 0.0f;
  }
}

void HUD::pushWindow(HUDWindow* screen) {
  if (stack.empty()) {
    phase = 1;
    time = 0.0f;
  }
  pending.emplace_back(screen);
}

void HUD::popWindow() {
  if (!stack.empty()) stack.pop_back();
}

void HUD::refreshTop() {
  if (!stack.empty()) stack.back()->refresh();
}

void HUD::drawWindows(render::Graphics& graphics, int drawLayer) {
  for (const std::unique_ptr<HUDWindow>& screen : stack) {
    if (screen->layer == drawLayer) screen->draw(graphics);
  }
}

void HUD::broadcastChar(int character) {
  for (size_t i = 0; i < stack.size(); ++i) stack[i]->onChar(character);
}

void HUD::broadcastKey(int keyCode) {
  for (size_t i = 0; i < stack.size(); ++i) stack[i]->onKey(keyCode);
}

void HUD::resetFade() {
  phase = 0;
  time = 0.0f;
}

void HUD::pushMainMenu() {
  mMap.mState = kStateMainMenu;
  pushWindow(new HUDMainMenu(mMap));
}

void HUD::pushEpisodeSelect() {
  mMap.mState = kStateEpisodeSelect;
  pushWindow(new HUDEpisodeSelect(mMap));
}

void HUD::pushLevelSelect() {
  mMap.mState = kStateLevelSelect;
  pushWindow(new HUDLevelSelect(mMap));
}

void HUD::pushProfiles() {
  pushWindow(new HUDProfiles(mMap));
  mMap.mState = kStateProfileList;
  mMap.mReturnScreen.clear();
}

void HUD::pushModalDialog(const std::u16string& caption, const std::u16string& message, int id) {
  pushWindow(new HUDModalDialog(mMap, caption, message));
  mMap.mState = kStateModalMessage;
  mMap.mStateAfterModal = id;
}

void HUD::pushModalMessage(const std::u16string& caption, const std::u16string& message, int id) {
  pushWindow(new HUDModalMessage(mMap, caption, message, id));
  mMap.mState = kStateModalMessage;
  mMap.mStateAfterModal = id;
}

void HUD::pushModalInput() { pushWindow(new HUDModalInput(mMap)); }

void HUD::pushSplashScreens() {
  pushWindow(new RuvSplashScreens(this));
  mMap.mState = kStateSplashScreens;
}

void HUD::pushShopWindow(int openedFromLevel) {
  mMap.mState = kStateUpgradeShop;
  pushWindow(new HUDShopWindow(mMap, openedFromLevel));
}

void HUD::nextLevel() {
  mMap.mLevel += 1;
  if (mMap.mMode == 3) {
    if (mMap.mLevel < mMap.hardcoreLevelCount(mMap.mEpisode)) {
      mMap.startLevel();
      return;
    }
    mMap.mMode = mMap.mProgress->getMode();
    pushEpisodeSelect();
    return;
  }
  if (mMap.mLevel >= mMap.levelCount(mMap.mEpisode)) {
    pushEpisodeSelect();
  } else {
    mMap.startLevel();
  }
}

void HUD::updateCrystalsText() { setText(u"text/crystals", hudDecimal(mMap.mWallet ? mMap.mWallet->gems : 0)); }

void HUD::updateLivesText() {
  setText(u"text/mana", hudDecimal(mMap.mLives) + u"/" + hudDecimal(mMap.mMaxLives));
}

void HUD::updateCoinsText() { setText(u"text/coins", hudDecimal(mMap.mWallet ? mMap.mWallet->shownMoney : 0)); }

void HUD::updateWaveText() {
  if (!mMap.mWaves) return;
  const int count = mMap.mWaves->waveCount();
  const float shown = std::min(float(count), float(mMap.mWaves->currentIndex) + 1.0f);
  setText(u"text/waves",
          LocalStrings::Instance()->get(u"game_wave") + u" " + hudDecimal(shown) + u"/" + hudDecimal(count));
}

void HUD::pushUnlockMessage(const std::vector<int>& unlockIds) {
  pushWindow(new HUDUnlockMessage(unlockIds));
  mMap.mState = kStateUnlockMessage;
  mMap.mSpeed = 0.0f;
  resetFade();
}

void HUD::pushGemShop(const std::u16string& returnScreen) {
  pushWindow(new HUDBuyGemScreen(mMap));
  mMap.mState = kStateGemShop;
  gemShopReturnScreen = returnScreen;
}

void HUD::pushBoostShop(const std::u16string& returnScreen) {
  mMap.mState = kStateBoostShop;
  boostShopReturnScreen = returnScreen;
  pushWindow(new HUDBoostShop(mMap));
}
