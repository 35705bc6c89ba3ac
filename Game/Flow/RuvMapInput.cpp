// Map input: the battle's own clicks while playing, and the screen-state dispatcher that acts on
// the name of the clicked button.
#include <cmath>
#include <string>

#include "Core/App/Application.h"
#include "Core/Base/FormatSpec.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"
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
#include "Game/Screens/HUDLevelName.h"
#include "Game/Screens/HUDSpellButton.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/RootBoardAccess.h"
#include "Game/Screens/RuvTutorial.h"

namespace {

// The spell that casts as soon as its button is armed (the tower boost).
constexpr int kInstantSpellNumber = 4;
constexpr int kMaxExtraProfiles = 5;
// The spot of the tutorial's third tower.
constexpr float kTutorialTowerSpotX = 896.0f;
constexpr float kTutorialTowerSpotY = 563.0f;

std::u16string inputDecimal(int value) { return base::FormatSpec().PutInt(value).GetOutput(); }

void inputSound(const char16_t* tag) { k2::SoundTags::Instance()->Play(tag); }

void inputEvent(const char16_t* name) { RuvTutorial::Instance()->onEvent(name); }

std::u16string inputText(const char16_t* key) { return LocalStrings::Instance()->get(key); }

// The store's current name stays empty while only the engine's default profile exists.
bool inputProfileHasName(RuvMap& map) { return !map.mProgress->getCurrentProfileName().empty(); }

// The HUD's release handling after the map: the top screen's release, then the hover cleared.
void inputPassOn(RuvMap& map, int x, int y) {
  map.mHud->onMouseUp(x, y);
  map.mHud->onMouseMove(-1, -1);
}

// A dialog over the battle closes.
void inputPopToBattle(RuvMap& map, int state) {
  map.mHud->popWindow();
  map.mHud->phase = 0;
  map.mState = state;
}

// The engine's modal dialogs over the screens: a message box whose ok runs command, the options.
void inputShowMessageBox(RuvMap& map, const std::u16string& command, const char16_t* textKey) {
  TalvenDialog::ShowModal(appFrameManager(), new TMessageBox(map, textKey, command));
}

void inputShowOptions(RuvMap& map) { TalvenDialog::ShowModal(appFrameManager(), new OptionsDialog(map)); }

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

// A purchase the map waits for: false, with nothing started, when it cannot start at all.
bool inputStartPurchase(const std::u16string& productName) {
  purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
  purchase::Product* product = store->FindProduct(productName);
  purchase::StoreBackend* backend = store->GetBackend();
  if (!product || product->pending || !backend || !backend->IsAvailable()) return false;
  store->Buy(product);
  return true;
}

// Starts it, or reports it failed at once so that the map does not wait for a result that never
// comes.
void inputBuyOrFail(RuvMap& map, const std::u16string& productName) {
  if (inputStartPurchase(productName)) return;
  purchase::Product missing;
  missing.name = productName;
  purchase::Product* known = purchase::PurchaseSystem::Instance()->FindProduct(productName);
  TPurchaseResult failed;
  failed.product = known ? known : &missing;
  failed.code = TPurchaseResult::kPurchaseFailed;
  map.onPurchaseResult(failed);
}

void inputOpenNameInput(RuvMap& map, int state) {
  map.mState = state;
  map.mHud->pushModalInput();
}

void inputOpenShop(RuvMap& map, int openedFromLevel, const char16_t* returnName) {
  map.mHud->popWindow();
  map.mHud->pushShopWindow(openedFromLevel);
  map.mHud->shopReturnScreen = returnName;
}

}  // namespace

void RuvMap::onMouseDown(int x, int y) {
  mHud->onMouseMove(x, y);
  RuvTutorial::Instance()->onMouseMove(x, y);
  if (mState == kStatePlaying) {
    const int mx = int((float(x) - mViewX) / mViewScale);
    const int my = int((float(y) - mViewY) / mViewScale);
    if (mWaveHint->hitTest(float(mx), float(my))) {
      if (mHud->blockUI != 0 && mHud->blockUI != 3) return;
      inputCallWaveEarly(*this, x, y);
    }
    if (RuvUnit* unit = mWaves->unitAt(float(mx), float(my))) mSelectedUnit = unit;
    if (mRadialMenu && mRadialMenu->active) {
      mRadialMenu->runAction(mRadialMenu->itemAt(float(x), float(y)));
      return;
    }
  } else if (mState == 12 && mHud->buttonNameAt(x, y) == u"done") {
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
  const float mx = (float(x) - mViewX) / mViewScale;
  const float my = (float(y) - mViewY) / mViewScale;
  HUD& hud = *mHud;
  const auto name = [&] { return hud.buttonNameAt(x, y); };
  switch (mState) {
    case kStatePlaying: {
      if (mArmedSpell && hud.buttonIndexAt(x, y) == -1) {
        if (castSpell(*mArmedSpell, mx, my)) mArmedSpell = nullptr;
        return;
      }
      const std::u16string clicked = name();
      if (!clicked.empty()) {
        inputSound(u"simple");
        if (clicked == u"ok") {
          hud.popWindow();
          return;
        }
        if (clicked == u"options_btn") {
          pause();
          return;
        }
        if (clicked == u"pause_btn_ac" || clicked == u"play_btn_ac" || clicked == u"options_btn_ac" ||
            clicked == u"speed_btn_ac") {
          return;
        }
        if (clicked == u"pause_btn") {
          mSpeed = 0.0f;
          refreshSpeedButtons();
          return;
        }
        if (clicked == u"play_btn") {
          if (hud.blockUI < 2) {
            mSpeed = 1.0f;
            refreshSpeedButtons();
            inputEvent(u"game_play");
          }
          return;
        }
        if (clicked == u"speed_btn") {
          if (hud.blockUI == 0) {
            mSpeed = 2.0f;
            refreshSpeedButtons();
          }
          return;
        }
      }
      // Spell buttons: the clicked button itself is compared with the armed one, since a locked
      // spell shifts the buttons' indexes against their spell numbers.
      const int index = hud.buttonIndexAt(x, y);
      const int buttonCount = int(hud.spellButtons.size());
      HUDSpellButton* button = index >= 0 && index < buttonCount ? hud.spellButtons[size_t(index)].get() : nullptr;
      if (mArmedSpell && button == mArmedSpell) {
        mArmedSpell = nullptr;
        return;
      }
      if (index != -1) {
        if (hud.blockUI != 0 || !button) return;
        mArmedSpell = button;
        inputSound(u"simple");
        if (mActiveEmitter) mActiveEmitter->SetPosition(math::Point2(button->centreX, button->centreY), 1);
        if (button->spellNumber == kInstantSpellNumber) {
          castSpell(*button, float(x), float(y));
          mArmedSpell = nullptr;
        }
      }
      // Spots and towers are hit at the whole map pixel; spells land on the exact point.
      const float px = std::trunc(mx);
      const float py = std::trunc(my);
      if (RuvFrameEntry* spot = mSpots ? mSpots->findSpotAt(px, py) : nullptr) {
        if (mRadialMenu) {
          inputToggleMenu(*this, mRadialMenu->spot == spot);
        } else if (mTutorialSpot == -1 || spot->name == u"#" + inputDecimal(mTutorialSpot)) {
          inputOpenSpotMenu(*this, *spot);
        }
        return;
      }
      if (RuvTower* tower = findTowerAt(px, py)) {
        if (mRadialMenu) {
          inputToggleMenu(*this, mRadialMenu->tower.get() == tower);
          return;
        }
        inputOpenTowerMenu(*this, *tower);
      }
      break;
    }
    case 1:
    case 2: {
      const std::u16string clicked = name();
      if (clicked == u"done" || clicked == u"close") {
        inputOpenShop(*this, 1, u"game");
      } else if (clicked == u"restart") {
        loadLevel();
        hud.phase = 0;
      } else if (clicked == u"menu") {
        hud.popWindow();
        hud.pushLevelSelect();
      }
      break;
    }
    case kStatePauseMenu: {
      const std::u16string clicked = name();
      if (clicked == u"resume" || clicked == u"close") {
        RuvTutorial::Instance()->resume();
        inputPopToBattle(*this, kStatePlaying);
      } else if (clicked == u"restart" || clicked == u"mmenu") {
        inputShowMessageBox(*this, clicked, u"progress_confirm_text");
        return;
      } else if (clicked == u"options") {
        inputShowOptions(*this);
        return;
      } else if (clicked == u"levels") {
        inputShowMessageBox(*this, clicked, u"progress_confirm_text");
      }
      break;
    }
    case 5: {
      const std::u16string clicked = name();
      if (clicked == u"back") {
        hud.popWindow();
        hud.pushMainMenu();
      } else if (clicked == u"shop") {
        inputOpenShop(*this, 0, u"episodes");
      } else {
        const int index = hud.buttonIndexAt(x, y);
        if (index != -1 && isEpisodeAvailable(index)) {
          mEpisode = index;
          hud.popWindow();
          hud.pushLevelSelect();
        }
      }
      break;
    }
    case 6: {
      const std::u16string clicked = name();
      if (clicked.empty()) {
        const int index = hud.buttonIndexAt(x, y);
        if (index != -1 && mProgress->isLevelOpen(mEpisode, index, mMode)) {
          mLevel = index;
          hud.popWindow();
          startLevel();
          return;
        }
      }
      if (clicked == u"back") {
        hud.popWindow();
        if (mMode == 3) {
          mMode = mProgress->getMode();
          hud.pushLevelSelect();
        } else {
          hud.pushEpisodeSelect();
        }
      } else if (clicked == u"upgrade") {
        inputOpenShop(*this, 0, u"levels");
        return;
      } else if (clicked == u"unlocked_d") {
        hud.popWindow();
        mMode = 3;
        hud.pushLevelSelect();
        return;
      } else if (clicked == u"locked_d") {
        hud.pushModalMessage(inputText(u"HardcoreTitle"), inputText(u"HardcoreUnlockMessage"), 6);
        mProgress->setEpisodeVisits(mEpisode, 3, hardcoreLevelCount(mEpisode));
        return;
      }
      break;
    }
    case 7: {
      const std::u16string clicked = name();
      if (clicked == u"play") {
        if (inputProfileHasName(*this)) {
          hud.popWindow();
          hud.pushEpisodeSelect();
        } else {
          mReturnScreen = u"mmenu";
          inputOpenNameInput(*this, 14);
        }
      } else if (clicked == u"shop") {
        if (inputProfileHasName(*this)) {
          inputOpenShop(*this, 0, u"mmenu");
        } else {
          mReturnScreen = u"shop";
          inputOpenNameInput(*this, 14);
        }
      } else if (clicked == u"cloze") {
        app::Application::Instance()->StopTree();
      } else if (clicked == u"options") {
        inputShowOptions(*this);
      } else if (clicked == u"profile") {
        hud.popWindow();
        hud.pushProfiles();
      }
      break;
    }
    case 8: {
      const std::u16string clicked = name();
      if (clicked == u"back_ac") {
        inputEvent(u"shop_state_changed");
        const std::u16string& back = hud.shopReturnScreen;
        if (back == u"mmenu") {
          hud.popWindow();
          hud.pushMainMenu();
        } else if (back == u"levels") {
          hud.popWindow();
          hud.pushLevelSelect();
        } else if (back == u"episodes") {
          hud.popWindow();
          hud.pushEpisodeSelect();
        }
        return;
      }
      if (clicked == u"gem_shop0" || clicked == u"gem_shop1") {
        hud.popWindow();
        hud.pushGemShop(clicked == u"gem_shop0" ? u"shop0" : u"shop1");
      } else if (clicked == u"return_ac") {
        inputEvent(u"shop_state_changed");
        hud.popWindow();
        if (mLevelResult == 1) {
          loadLevel();
        } else if (mLevelResult == 2) {
          hud.nextLevel();
        }
        mLevelResult = -1;
      }
      break;
    }
    case 11:
      if (name() == u"ok") {
        inputPopToBattle(*this, kStatePlaying);
        if (GameWindow* board = gameRootBoard()) board->setBanner(new HUDLevelName(*this));
        mSpeed = 1.0f;
        inputEvent(mProgress->getTutorialStepState(5) == 2 ? u"buildspot_bought" : u"unlock_window_close");
      }
      break;
    case 13: {
      const std::u16string clicked = name();
      if (clicked == u"create") {
        if (int(mProgress->getOtherProfileNames().size()) < kMaxExtraProfiles) {
          inputOpenNameInput(*this, 14);
        } else {
          hud.pushModalMessage(inputText(u"profiles_error"), inputText(u"profiles_maxcount"), 13);
        }
      }
      if (clicked == u"back" || clicked == u"confirm") {
        hud.popWindow();
        hud.pushMainMenu();
      }
      if (clicked == u"rename" && inputProfileHasName(*this)) inputOpenNameInput(*this, 15);
      break;
    }
    case 14:
      if (name() == u"cancel") {
        hud.popWindow();
        mState = mReturnScreen == u"mmenu" || mReturnScreen == u"shop" ? 7 : 13;
      }
      break;
    case 15:
      // The name input acts on its own "ok" and "cancel" when asked for the name.
      name();
      break;
    case 16:
      if (name() == u"ok") {
        hud.popWindow();
        mState = mStateAfterModal;
      }
      break;
    case 18: {
      const std::u16string clicked = name();
      if (clicked == u"back_in") {
        const std::u16string& back = hud.gemShopReturnScreen;
        if (back == u"game") {
          inputPopToBattle(*this, kStatePlaying);
        } else if (back == u"boost_shop") {
          hud.popWindow();
          hud.pushBoostShop(hud.boostShopReturnScreen);
        } else if (back == u"shop0" || back == u"shop1") {
          hud.popWindow();
          hud.pushShopWindow(back == u"shop0" ? 0 : 1);
        } else if (back == u"episodes") {
          hud.popWindow();
          hud.pushEpisodeSelect();
        } else if (back == u"levels") {
          hud.popWindow();
          hud.pushLevelSelect();
        }
      } else if (!clicked.empty()) {
        purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
        if (purchase::Product* product = store->FindProduct(clicked)) store->Buy(product);
      }
      break;
    }
    case 19: {
      const std::u16string clicked = name();
      if (clicked == u"ok") {
        hud.popWindow();
        hud.phase = 0;
        hud.pushGemShop(u"game");
      } else if (clicked == u"cancel") {
        inputPopToBattle(*this, kStatePlaying);
      }
      break;
    }
    case 20: {
      const std::u16string clicked = name();
      if (clicked == u"ok") {
        hud.popWindow();
        hud.popWindow();
        hud.pushGemShop(mReturnScreen);
      } else if (clicked == u"cancel") {
        inputPopToBattle(*this, 8);
      }
      break;
    }
    case 22: {
      const std::u16string clicked = name();
      if (clicked == u"ok") {
        inputPopToBattle(*this, 23);
        inputBuyOrFail(*this, u"buy_health");
      } else if (clicked == u"cancel") {
        hud.popWindow();
        hud.phase = 0;
        loseLevel();
      }
      break;
    }
    case 26: {
      const std::u16string clicked = name();
      if (clicked == u"ok") {
        inputPopToBattle(*this, 8);
        if (RuvFeatures::instance().getFlag(RuvFeatures::kResetPremiumPoints, RuvFeatures::kIsFree)) {
          refundPremiumPoints();
          hud.refreshTop();
        } else {
          inputBuyOrFail(*this, u"reset_premium_points");
        }
      } else if (clicked == u"cancel") {
        inputPopToBattle(*this, 8);
      }
      break;
    }
    default:
      break;
  }
  inputPassOn(*this, x, y);
}

void RuvMap::runConfirmedCommand(const std::u16string& command) {
  if (command == u"restart") {
    mHud->popWindow();
    loadLevel();
    mHud->phase = 0;
  } else if (command == u"mmenu") {
    mHud->popWindow();
    mHud->pushMainMenu();
  } else if (command == u"levels") {
    mHud->popWindow();
    mHud->pushLevelSelect();
  }
}
