// What the screens' buttons do: one handler per screen state (or pair of states) for the name of
// the clicked button, called by the release dispatcher (RuvMapInput.cpp); and the commands a
// message box confirms.
#include <string>

#include "Core/App/Application.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDLevelName.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/RootBoardAccess.h"
#include "Game/Screens/RuvTutorial.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvFeatures.h"
#include "Game/Tables/RuvProgress.h"

namespace {

constexpr int kButtonsMaxExtraProfiles = 5;

std::u16string buttonsText(const char16_t* key) { return LocalStrings::Instance()->get(key); }

void buttonsTutorialEvent(const char16_t* name) { RuvTutorial::Instance()->onEvent(name); }

// The store's current name stays empty while only the engine's default profile exists.
bool buttonsProfileHasName(RuvMap& map) { return !map.mProgress->getCurrentProfileName().empty(); }

// A dialog over the battle closes.
void buttonsPopToBattle(RuvMap& map, int state) {
  map.mHud->popWindow();
  map.mHud->phase = 0;
  map.mState = state;
}

// The engine's modal dialogs over the screens: a message box whose ok runs command, the options.
void buttonsShowMessageBox(RuvMap& map, const std::u16string& command, const char16_t* textKey) {
  TalvenDialog::ShowModal(appFrameManager(), new TMessageBox(map, textKey, command));
}

void buttonsShowOptions(RuvMap& map) { TalvenDialog::ShowModal(appFrameManager(), new OptionsDialog(map)); }

// A purchase the map waits for: false, with nothing started, when it cannot start at all.
bool buttonsStartPurchase(const std::u16string& productName) {
  purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
  purchase::Product* product = store->FindProduct(productName);
  purchase::StoreBackend* backend = store->GetBackend();
  if (!product || product->pending || !backend || !backend->IsAvailable()) return false;
  store->Buy(product);
  return true;
}

// Starts it, or reports it failed at once so that the map does not wait for a result that never
// comes.
void buttonsBuyOrFail(RuvMap& map, const std::u16string& productName) {
  if (buttonsStartPurchase(productName)) return;
  purchase::Product missing;
  missing.name = productName;
  purchase::Product* known = purchase::PurchaseSystem::Instance()->FindProduct(productName);
  TPurchaseResult failed;
  failed.product = known ? known : &missing;
  failed.code = TPurchaseResult::kPurchaseFailed;
  map.onPurchaseResult(failed);
}

void buttonsOpenNameInput(RuvMap& map, int state) {
  map.mState = state;
  map.mHud->pushModalInput();
}

void buttonsOpenShop(RuvMap& map, int openedFromLevel, const char16_t* returnName) {
  map.mHud->popWindow();
  map.mHud->pushShopWindow(openedFromLevel);
  map.mHud->shopReturnScreen = returnName;
}

}  // namespace

bool RuvMap::clickLevelResult(const std::u16string& name) {
  if (name == u"done" || name == u"close") {
    buttonsOpenShop(*this, 1, u"game");
  } else if (name == u"restart") {
    loadLevel();
    mHud->phase = 0;
  } else if (name == u"menu") {
    mHud->popWindow();
    mHud->pushLevelSelect();
  }
  return true;
}

bool RuvMap::clickPauseMenu(const std::u16string& name) {
  if (name == u"resume" || name == u"close") {
    RuvTutorial::Instance()->resume();
    buttonsPopToBattle(*this, kStatePlaying);
  } else if (name == u"restart" || name == u"mmenu") {
    buttonsShowMessageBox(*this, name, u"progress_confirm_text");
    return false;
  } else if (name == u"options") {
    buttonsShowOptions(*this);
    return false;
  } else if (name == u"levels") {
    buttonsShowMessageBox(*this, name, u"progress_confirm_text");
  }
  return true;
}

bool RuvMap::clickEpisodeSelect(const std::u16string& name, int x, int y) {
  if (name == u"back") {
    mHud->popWindow();
    mHud->pushMainMenu();
  } else if (name == u"shop") {
    buttonsOpenShop(*this, 0, u"episodes");
  } else {
    const int index = mHud->buttonIndexAt(x, y);
    if (index != -1 && isEpisodeAvailable(index)) {
      mEpisode = index;
      mHud->popWindow();
      mHud->pushLevelSelect();
    }
  }
  return true;
}

bool RuvMap::clickLevelSelect(const std::u16string& name, int x, int y) {
  if (name.empty()) {
    const int index = mHud->buttonIndexAt(x, y);
    if (index != -1 && mProgress->isLevelOpen(mEpisode, index, mMode)) {
      mLevel = index;
      mHud->popWindow();
      startLevel();
      return false;
    }
  }
  if (name == u"back") {
    mHud->popWindow();
    if (mMode == 3) {
      mMode = mProgress->getMode();
      mHud->pushLevelSelect();
    } else {
      mHud->pushEpisodeSelect();
    }
  } else if (name == u"upgrade") {
    buttonsOpenShop(*this, 0, u"levels");
    return false;
  } else if (name == u"unlocked_d") {
    mHud->popWindow();
    mMode = 3;
    mHud->pushLevelSelect();
    return false;
  } else if (name == u"locked_d") {
    mHud->pushModalMessage(buttonsText(u"HardcoreTitle"), buttonsText(u"HardcoreUnlockMessage"), kStateLevelSelect);
    mProgress->setEpisodeVisits(mEpisode, 3, hardcoreLevelCount(mEpisode));
    return false;
  }
  return true;
}

bool RuvMap::clickMainMenu(const std::u16string& name) {
  if (name == u"play") {
    if (buttonsProfileHasName(*this)) {
      mHud->popWindow();
      mHud->pushEpisodeSelect();
    } else {
      mReturnScreen = u"mmenu";
      buttonsOpenNameInput(*this, kStateNewProfile);
    }
  } else if (name == u"shop") {
    if (buttonsProfileHasName(*this)) {
      buttonsOpenShop(*this, 0, u"mmenu");
    } else {
      mReturnScreen = u"shop";
      buttonsOpenNameInput(*this, kStateNewProfile);
    }
  } else if (name == u"cloze") {
    app::Application::Instance()->StopTree();
  } else if (name == u"options") {
    buttonsShowOptions(*this);
  } else if (name == u"profile") {
    mHud->popWindow();
    mHud->pushProfiles();
  }
  return true;
}

bool RuvMap::clickUpgradeShop(const std::u16string& name) {
  HUD& hud = *mHud;
  if (name == u"back_ac") {
    buttonsTutorialEvent(u"shop_state_changed");
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
    return false;
  }
  if (name == u"gem_shop0" || name == u"gem_shop1") {
    hud.popWindow();
    hud.pushGemShop(name == u"gem_shop0" ? u"shop0" : u"shop1");
  } else if (name == u"return_ac") {
    buttonsTutorialEvent(u"shop_state_changed");
    hud.popWindow();
    if (mLevelResult == 1) {
      loadLevel();
    } else if (mLevelResult == 2) {
      hud.nextLevel();
    }
    mLevelResult = -1;
  }
  return true;
}

bool RuvMap::clickUnlockMessage(const std::u16string& name) {
  if (name == u"ok") {
    buttonsPopToBattle(*this, kStatePlaying);
    if (GameWindow* board = gameRootBoard()) board->setBanner(new HUDLevelName(*this));
    mSpeed = 1.0f;
    buttonsTutorialEvent(mProgress->getTutorialStepState(5) == 2 ? u"buildspot_bought" : u"unlock_window_close");
  }
  return true;
}

bool RuvMap::clickProfileList(const std::u16string& name) {
  if (name == u"create") {
    if (int(mProgress->getOtherProfileNames().size()) < kButtonsMaxExtraProfiles) {
      buttonsOpenNameInput(*this, kStateNewProfile);
    } else {
      mHud->pushModalMessage(buttonsText(u"profiles_error"), buttonsText(u"profiles_maxcount"), kStateProfileList);
    }
  }
  if (name == u"back" || name == u"confirm") {
    mHud->popWindow();
    mHud->pushMainMenu();
  }
  if (name == u"rename" && buttonsProfileHasName(*this)) buttonsOpenNameInput(*this, kStateRenameProfile);
  return true;
}

bool RuvMap::clickNewProfileName(const std::u16string& name) {
  // The input acts on its own "ok" when asked for the name.
  if (name == u"cancel") {
    mHud->popWindow();
    mState = mReturnScreen == u"mmenu" || mReturnScreen == u"shop" ? kStateMainMenu : kStateProfileList;
  }
  return true;
}

bool RuvMap::clickMessage(const std::u16string& name) {
  if (name == u"ok") {
    mHud->popWindow();
    mState = mStateAfterModal;
  }
  return true;
}

bool RuvMap::clickGemShop(const std::u16string& name) {
  HUD& hud = *mHud;
  if (name == u"back_in") {
    const std::u16string& back = hud.gemShopReturnScreen;
    if (back == u"game") {
      buttonsPopToBattle(*this, kStatePlaying);
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
  } else if (!name.empty()) {
    purchase::PurchaseSystem* store = purchase::PurchaseSystem::Instance();
    if (purchase::Product* product = store->FindProduct(name)) store->Buy(product);
  }
  return true;
}

bool RuvMap::clickBattleGemOffer(const std::u16string& name) {
  if (name == u"ok") {
    mHud->popWindow();
    mHud->phase = 0;
    mHud->pushGemShop(u"game");
  } else if (name == u"cancel") {
    buttonsPopToBattle(*this, kStatePlaying);
  }
  return true;
}

bool RuvMap::clickUpgradeShopGemOffer(const std::u16string& name) {
  if (name == u"ok") {
    mHud->popWindow();
    mHud->popWindow();
    mHud->pushGemShop(mReturnScreen);
  } else if (name == u"cancel") {
    buttonsPopToBattle(*this, kStateUpgradeShop);
  }
  return true;
}

bool RuvMap::clickBuyHealthOffer(const std::u16string& name) {
  if (name == u"ok") {
    buttonsPopToBattle(*this, kStateHealthPurchasePending);
    buttonsBuyOrFail(*this, u"buy_health");
  } else if (name == u"cancel") {
    mHud->popWindow();
    mHud->phase = 0;
    loseLevel();
  }
  return true;
}

bool RuvMap::clickResetPremiumPoints(const std::u16string& name) {
  if (name == u"ok") {
    buttonsPopToBattle(*this, kStateUpgradeShop);
    if (RuvFeatures::instance().getFlag(RuvFeatures::kResetPremiumPoints, RuvFeatures::kIsFree)) {
      refundPremiumPoints();
      mHud->refreshTop();
    } else {
      buttonsBuyOrFail(*this, u"reset_premium_points");
    }
  } else if (name == u"cancel") {
    buttonsPopToBattle(*this, kStateUpgradeShop);
  }
  return true;
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
