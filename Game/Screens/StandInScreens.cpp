#include "Game/Screens/StandInScreens.h"

#include <algorithm>

#include "Core/Base/FormatSpec.h"
#include "Game/Art/RuvSplashScreens.h"
#include "Game/App/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvWallet.h"

namespace {

// The engine formatter's default styles.
std::u16string standInDecimal(float value) { return base::FormatSpec().PutFloat(value).GetOutput(); }
std::u16string standInDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

}  // namespace

void HUDWindow::setText(const std::u16string& name, const std::u16string& text) {
  for (auto& pair : texts) {
    if (pair.first == name) {
      pair.second = text;
      return;
    }
  }
  texts.emplace_back(name, text);
}

std::u16string HUDWindow::getText(const std::u16string& name) const {
  for (const auto& pair : texts) {
    if (pair.first == name) return pair.second;
  }
  return std::u16string();
}

HUD::~HUD() {
  stack.clear();
  pending.clear();
}

void HUD::update(float dt) {
  HUDWindow::update(dt);
  for (size_t i = 0; i < stack.size(); ++i) stack[i]->update(dt);
  for (size_t i = 0; i < stack.size(); ++i) {
    if (!stack[i]->open) stack[i]->onClose();
  }
  stack.erase(std::remove_if(stack.begin(), stack.end(), [](const auto& screen) { return !screen->open; }),
              stack.end());
  for (std::unique_ptr<HUDWindow>& screen : pending) stack.push_back(std::move(screen));
  pending.clear();
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

void HUD::drawWindows(render::Graphics& graphics, int drawLayer) {
  for (const std::unique_ptr<HUDWindow>& screen : stack) {
    if (screen->layer == drawLayer) screen->draw(graphics);
  }
}

void HUD::pushSplashScreens() {
  pushWindow(new RuvSplashScreens(this));
  mMap.mState = 12;
}

void HUD::pushMainMenu() { mMap.mState = 7; }

void HUD::setButtonVisible(const std::u16string& name, bool visible) {
  RuvButtonFrame* button = findButton(name);
  if (!button) {
    buttons.push_back(std::make_unique<RuvButtonFrame>());
    button = buttons.back().get();
    button->name = name;
  }
  button->visible = visible ? 1 : 0;
}

RuvButtonFrame* HUD::findButton(const std::u16string& name) {
  for (const std::unique_ptr<RuvButtonFrame>& button : buttons) {
    if (button->name == name) return button.get();
  }
  return nullptr;
}

void HUD::updateCoinsText() { setText(u"text/coins", standInDecimal(mMap.mWallet ? mMap.mWallet->shownMoney : 0)); }

void HUD::updateCrystalsText() { setText(u"text/crystals", standInDecimal(mMap.mWallet ? mMap.mWallet->gems : 0)); }

void HUD::updateLivesText() {
  setText(u"text/mana", standInDecimal(mMap.mLives) + u"/" + standInDecimal(mMap.mMaxLives));
}

void HUD::pushEpisodeSelect() {
  mMap.mState = 5;
  pushWindow(new HUDStandInScreen(u"episodes"));
}

void HUD::pushLevelSelect() {
  mMap.mState = 6;
  pushWindow(new HUDStandInScreen(u"levels"));
}

void HUD::pushShopWindow(int) {
  mMap.mState = 8;
  pushWindow(new HUDStandInScreen(u"shop"));
}

void HUD::pushGemShop(const std::u16string& returnName) {
  pushWindow(new HUDStandInScreen(u"gem_shop"));
  mMap.mState = 18;
  gemShopReturnScreen = returnName;
}

void HUD::pushProfiles() {
  pushWindow(new HUDStandInScreen(u"profiles"));
  mMap.mState = 13;
  mMap.mReturnScreen.clear();
}

void HUD::pushBoostShop() {
  mMap.mState = 24;
  pushWindow(new HUDStandInScreen(u"boost_shop"));
}

void HUD::pushModalMessage(const std::u16string&, const std::u16string&, int id) {
  pushWindow(new HUDStandInScreen(u"message"));
  mMap.mState = 16;
  mMap.mStateAfterModal = id;
}

void HUD::pushModalDialog(const std::u16string&, const std::u16string&, int id) {
  pushWindow(new HUDStandInScreen(u"dialog"));
  mMap.mState = 16;
  mMap.mStateAfterModal = id;
}

void HUD::pushModalInput() { pushWindow(new HUDStandInScreen(u"input")); }

void HUD::nextLevel() {
  mMap.mLevel += 1;
  if (mMap.mMode == 3) {
    if (mMap.mLevel < mMap.hardcoreLevelCount(mMap.mEpisode)) {
      mMap.startLevel();
    } else {
      mMap.mMode = mMap.mProgress->getMode();
      pushEpisodeSelect();
    }
  } else if (mMap.mLevel >= mMap.levelCount(mMap.mEpisode)) {
    pushEpisodeSelect();
  } else {
    mMap.startLevel();
  }
}

void HUD::refreshTop() {
  if (!stack.empty()) stack.back()->refresh();
}

void HUD::showMessageBox(const std::u16string& command, const std::u16string&) { dialogs.push_back(command); }

void HUD::showOptionsDialog() { dialogs.push_back(u"options"); }

int HUD::buttonIndexAt(int x, int y) {
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    const int index = (*it)->buttonIndexAt(x, y);
    if (index != -1) return index;
  }
  return -1;
}

std::u16string HUD::buttonNameAt(int x, int y) {
  return stack.empty() ? std::u16string() : stack.back()->buttonNameAt(x, y);
}

void HUD::onMouseDown(int x, int y) {
  if (!stack.empty()) stack.back()->onMouseDown(x, y);
}

void HUD::onMouseUp(int x, int y) {
  if (!stack.empty()) stack.back()->onMouseUp(x, y);
}

void HUD::onMouseMove(int x, int y) {
  if (!stack.empty()) stack.back()->onMouseMove(x, y);
}
