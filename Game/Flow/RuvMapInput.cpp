// Map input: presses, moves and the wheel, the release dispatched by screen state, and the
// battle's own clicks while playing. What the screens' buttons do is in RuvMapButtons.cpp.
#include <cmath>
#include <string>

#include "Core/Base/FormatSpec.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvPopupList.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvSpell.h"
#include "Game/Tables/RuvSpellSheet.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"
#include "Game/Screens/RuvTutorial.h"

namespace {

// The spell that casts as soon as its button is armed (the tower boost).
constexpr int kInstantSpellNumber = 4;
// The spot of the tutorial's third tower.
constexpr float kTutorialTowerSpotX = 896.0f;
constexpr float kTutorialTowerSpotY = 563.0f;

std::u16string inputDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

void inputSound(const char16_t* tag) { k2::SoundTags::Instance()->Play(tag); }

void inputEvent(const char16_t* name) { RuvTutorial::Instance()->onEvent(name); }

// The design pixel (x, y) on the map, through the map's view.
math::Point2 inputMapPoint(const RuvMap& map, int x, int y) {
  return math::Point2((float(x) - map.mViewX) / map.mViewScale, (float(y) - map.mViewY) / map.mViewScale);
}

// The HUD's release handling after the map: the top screen's release, then the hover cleared.
void inputPassOn(RuvMap& map, int x, int y) {
  map.mHud->onMouseUp(x, y);
  map.mHud->onMouseMove(-1, -1);
}

void inputCallWaveEarly(RuvMap& map, int x, int y) {
  inputEvent(u"wave_forced");
  inputSound(u"simple");
  RuvWaveHint& hint = *map.mWaveHint;
  const int bonus = int((hint.dueTime - hint.unused - map.mWaves->clock) * 2.0f);
  map.mWallet->addMoney(bonus);
  map.updateCoinsText();
  map.mWaves->setClock(hint.dueTime);
  map.mPopups->add(float(x), float(y), 4)->text = u"+ " + inputDecimal(bonus);
  hint.clear();
}

void inputOpenSpotMenu(RuvMap& map, RuvFrameEntry& spot) {
  auto menu = std::make_unique<RuvRadialMenu>();
  const auto* definition = static_cast<const RuvSpot*>(spot.owner);
  if (definition && !definition->isFree) {
    menu->openBuySpotMenu(map, &spot);
  } else {
    menu->openBuildMenu(map, &spot);
  }
  menu->centreX = spot.rect[0] + spot.rect[2] / 2.0f;
  menu->centreY = spot.rect[1] + spot.rect[3] / 2.0f;
  map.mRadialMenu = std::move(menu);
}

void inputOpenTowerMenu(RuvMap& map, RuvTower& tower) {
  auto menu = std::make_unique<RuvRadialMenu>();
  menu->openTowerMenu(map, tower);
  const auto* spot = tower.spot ? static_cast<const RuvSpot*>(tower.spot->owner) : nullptr;
  if (spot && spot->x == kTutorialTowerSpotX && spot->y == kTutorialTowerSpotY) inputEvent(u"tower_select_3");
  menu->centreX = tower.position.x;
  menu->centreY = tower.position.y;
  map.mRadialMenu = std::move(menu);
}

// The menu is closed with its animation when it belongs to what was clicked, else dropped at once.
void inputToggleMenu(RuvMap& map, bool belongsToClicked) {
  if (belongsToClicked) {
    map.mRadialMenu->close();
  } else {
    map.mRadialMenu.reset();
  }
}

// The top bar's buttons while playing. Every named button sounds; false for a name that is not
// the bar's.
bool inputBattleButton(RuvMap& map, const std::u16string& name) {
  inputSound(u"simple");
  if (name == u"ok") {
    map.mHud->popWindow();
    return true;
  }
  if (name == u"options_btn") {
    map.pause();
    return true;
  }
  if (name == u"pause_btn_ac" || name == u"play_btn_ac" || name == u"options_btn_ac" || name == u"speed_btn_ac") {
    return true;
  }
  if (name == u"pause_btn") {
    map.mSpeed = 0.0f;
    map.refreshSpeedButtons();
    return true;
  }
  if (name == u"play_btn") {
    if (map.mHud->blockUI < 2) {
      map.mSpeed = 1.0f;
      map.refreshSpeedButtons();
      inputEvent(u"game_play");
    }
    return true;
  }
  if (name == u"speed_btn") {
    if (map.mHud->blockUI == 0) {
      map.mSpeed = 2.0f;
      map.refreshSpeedButtons();
    }
    return true;
  }
  return false;
}

// The spell button under the pointer is armed (the instant spell casts at once), or disarmed when
// it is the armed one. True when the click ends there: disarmed, or a button that cannot be armed.
bool inputSpellButton(RuvMap& map, int x, int y) {
  HUD& hud = *map.mHud;
  // The clicked button itself is compared with the armed one, since a locked spell shifts the
  // buttons' indexes against their spell numbers.
  const int index = hud.buttonIndexAt(x, y);
  const int buttonCount = int(hud.spellButtons.size());
  HUDSpellButton* button = index >= 0 && index < buttonCount ? hud.spellButtons[size_t(index)].get() : nullptr;
  if (map.mArmedSpell && button == map.mArmedSpell) {
    map.mArmedSpell = nullptr;
    return true;
  }
  if (index == -1) return false;
  if (hud.blockUI != 0 || !button) return true;
  map.mArmedSpell = button;
  inputSound(u"simple");
  if (map.mActiveEmitter) map.mActiveEmitter->SetPosition(math::Point2(button->centreX, button->centreY), 1);
  if (button->spellNumber == kInstantSpellNumber) {
    map.castSpell(*button, float(x), float(y));
    map.mArmedSpell = nullptr;
  }
  return false;
}

// The spot or tower at the map pixel opens its radial menu, or the open menu closes. Answers
// whether the release goes on to the top screen.
bool inputBattleMap(RuvMap& map, float px, float py) {
  if (RuvFrameEntry* spot = map.mSpots ? map.mSpots->findSpotAt(px, py) : nullptr) {
    if (map.mRadialMenu) {
      inputToggleMenu(map, map.mRadialMenu->spot == spot);
    } else if (map.mTutorialSpot == -1 || spot->name == u"#" + inputDecimal(map.mTutorialSpot)) {
      inputOpenSpotMenu(map, *spot);
    }
    return false;
  }
  if (RuvTower* tower = map.findTowerAt(px, py)) {
    if (map.mRadialMenu) {
      inputToggleMenu(map, map.mRadialMenu->tower.get() == tower);
      return false;
    }
    inputOpenTowerMenu(map, *tower);
  }
  return true;
}

}  // namespace

void RuvMap::onMouseDown(int x, int y) {
  mHud->onMouseMove(x, y);
  RuvTutorial::Instance()->onMouseMove(x, y);
  if (mState == kStatePlaying) {
    // The wave mark and the units are hit at the whole map pixel.
    const math::Point2 at = inputMapPoint(*this, x, y);
    const float mx = std::trunc(at.x);
    const float my = std::trunc(at.y);
    if (mWaveHint->hitTest(mx, my)) {
      if (mHud->blockUI != 0 && mHud->blockUI != 3) return;
      inputCallWaveEarly(*this, x, y);
    }
    if (RuvUnit* unit = mWaves->unitAt(mx, my)) mSelectedUnit = unit;
    if (mRadialMenu && mRadialMenu->active) {
      mRadialMenu->runAction(mRadialMenu->itemAt(float(x), float(y)));
      return;
    }
  } else if (mState == kStateSplashScreens && mHud->buttonNameAt(x, y) == u"done") {
    mHud->popWindow();
    mHud->pushMainMenu();
    return;
  }
  mHud->onMouseDown(x, y);
}

void RuvMap::onMouseMove(int x, int y) {
  if (mRadialMenu) mRadialMenu->hoveredId = mRadialMenu->itemAt(float(x), float(y));
  mHud->onMouseMove(x, y);
  RuvTutorial::Instance()->onMouseMove(x, y);
}

void RuvMap::onMouseWheel(int delta) { mHud->onWheel(delta); }

bool RuvMap::castSpell(HUDSpellButton& button, float x, float y) {
  const RuvSpellRow* row = mSpells->findSpell(button.spellNumber);
  if (!row) return false;
  k2::SoundTags::Instance()->Play(u"spell" + inputDecimal(button.spellNumber));
  auto spell = std::make_unique<RuvSpell>(*this, row->protoId);
  spell->position = math::Point2(x, y);
  RuvSpell* cast = spell.get();
  mBullets->add(std::move(spell));
  cast->cast();
  button.markUsed();
  return true;
}

void RuvMap::onMouseUp(int x, int y) {
  RuvTutorial::Instance()->onClick(x, y);
  const auto name = [&] { return mHud->buttonNameAt(x, y); };
  bool passOn = true;
  switch (mState) {
    case kStatePlaying: passOn = releaseInBattle(x, y); break;
    case kStateLevelWon:
    case kStateLevelLost: passOn = clickLevelResult(name()); break;
    case kStatePauseMenu: passOn = clickPauseMenu(name()); break;
    case kStateEpisodeSelect: passOn = clickEpisodeSelect(name(), x, y); break;
    case kStateLevelSelect: passOn = clickLevelSelect(name(), x, y); break;
    case kStateMainMenu: passOn = clickMainMenu(name()); break;
    case kStateUpgradeShop: passOn = clickUpgradeShop(name()); break;
    case kStateUnlockMessage: passOn = clickUnlockMessage(name()); break;
    case kStateProfileList: passOn = clickProfileList(name()); break;
    case kStateNewProfile: passOn = clickNewProfileName(name()); break;
    case kStateRenameProfile:
      name();  // the rename input acts on its own "ok" and "cancel" when asked for the name
      break;
    case kStateModalMessage: passOn = clickMessage(name()); break;
    case kStateGemShop: passOn = clickGemShop(name()); break;
    case kStateBattleGemOffer: passOn = clickBattleGemOffer(name()); break;
    case kStateUpgradeShopGemOffer: passOn = clickUpgradeShopGemOffer(name()); break;
    case kStateBuyHealthOffer: passOn = clickBuyHealthOffer(name()); break;
    case kStateResetPremiumPoints: passOn = clickResetPremiumPoints(name()); break;
    default:  // loading, logos, health purchase pending, boost shop: the top screen's own
      break;
  }
  if (passOn) inputPassOn(*this, x, y);
}

bool RuvMap::releaseInBattle(int x, int y) {
  const math::Point2 at = inputMapPoint(*this, x, y);
  if (mArmedSpell && mHud->buttonIndexAt(x, y) == -1) {
    if (castSpell(*mArmedSpell, at.x, at.y)) mArmedSpell = nullptr;
    return false;
  }
  const std::u16string name = mHud->buttonNameAt(x, y);
  if (!name.empty() && inputBattleButton(*this, name)) return false;
  if (inputSpellButton(*this, x, y)) return false;
  // Spots and towers are hit at the whole map pixel; spells land on the exact point.
  return inputBattleMap(*this, std::trunc(at.x), std::trunc(at.y));
}
