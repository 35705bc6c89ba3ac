#include "Game/Tables/RuvWallet.h"

#include <cstdlib>

#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvMapState.h"

void RuvWallet::reset() {
  money = 0;
  killScore = 0;
  comboCount = 0;
  levelGems = 0;
  comboTotal = 0;
  shownMoney = 0;
}

void RuvWallet::coinsChanged() {
  if (mMap) mMap->updateCoinsText();
}

void RuvWallet::gemsChanged() {
  if (!mMap) return;
  mMap->updateCrystalsText();
  if (RuvProgress* progress = mMap->getProgress()) progress->setGems(gems);
}

void RuvWallet::addMoney(int n) {
  money += n;
  coinsChanged();
}

void RuvWallet::spendMoney(int n) {
  money -= n;
  coinsChanged();
}

void RuvWallet::addGems(int n) {
  gems += n;
  levelGems += n;
  gemsChanged();
}

void RuvWallet::spendGems(int n) {
  if (n <= gems) gems -= n;
  gemsChanged();
}

void RuvWallet::closeCombo() {
  if (comboCount > 1) {
    const int bonus = static_cast<int>(static_cast<float>(comboCount) * 1.3f + 0.5f);
    comboTotal += bonus;
    money += bonus;
  }
  comboCount = 0;
}

void RuvWallet::onKill(int reward, float, float) {
  if (comboTimer > comboWindow) {
    closeCombo();
  } else {
    comboCount += 1;
  }
  killScore += reward;
  money += reward;
  comboTimer = 0.0f;
  coinsChanged();
}

void RuvWallet::update(float dt) {
  if (shownMoney != money) {
    const int difference = money - shownMoney;
    const int step = std::abs(difference) >= 4 ? 4 : 1;
    shownMoney += difference > 0 ? step : -step;
    coinsChanged();
  }
  comboTimer += dt;
  if (comboTimer > comboWindow) {
    comboTimer = 0.0f;
    closeCombo();
  }
}

void RuvWallet::makeLevelRecord(RuvLevelRecord& record) const {
  record.kills = killScore;
  record.combo = comboTotal;
  record.healthBonus = static_cast<int>((mMap ? mMap->getLives() : 0.0f) * 100.0);
  record.stars = 0;
  record.gems = 0;
  record.mode = mMap ? mMap->getMode() : 0;
}
