#include "Game/Screens/StandInScreens.h"

#include <algorithm>

#include "Core/Base/FormatSpec.h"
#include "Game/Art/RuvSplashScreens.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvWallet.h"

namespace {

// The engine formatter's default styles.
std::u16string standInDecimal(float value) { return base::FormatSpec().PutFloat(value).GetOutput(); }
std::u16string standInDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

}  // namespace

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
    button = new RuvButtonFrame;
    buttons.push_back(button);
    button->name = name;
  }
  button->visible = visible ? 1 : 0;
}

void HUD::updateCoinsText() { setText(u"text/coins", standInDecimal(mMap.mWallet ? mMap.mWallet->shownMoney : 0)); }

void HUD::updateCrystalsText() { setText(u"text/crystals", standInDecimal(mMap.mWallet ? mMap.mWallet->gems : 0)); }

void HUD::updateLivesText() {
  setText(u"text/mana", standInDecimal(mMap.mLives) + u"/" + standInDecimal(mMap.mMaxLives));
}
