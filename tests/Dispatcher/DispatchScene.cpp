#include "DispatchScene.h"

#include "Core/Gui/GameControl.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/FrameManager.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDBoostShop.h"
#include "Game/Screens/HUDBuyGemScreen.h"
#include "Game/Screens/HUDEpisodeSelect.h"
#include "Game/Screens/HUDLevelSelect.h"
#include "Game/Screens/HUDMainMenu.h"
#include "Game/Screens/HUDModalInput.h"
#include "Game/Screens/HUDModalMessage.h"
#include "Game/Screens/HUDProfiles.h"
#include "Game/Screens/HUDShopWindow.h"
#include "Game/Screens/Options/OptionsDialog.h"
#include "Game/Screens/Options/TMessageBox.h"

namespace dispatchtest {

DispatchApplication::DispatchApplication() {
  mFrameManager = new widget::FrameManager;
  ShowFrame(new widget::BaseBoard);
}

void DispatchTest::SetUp() {
  gui::GameControlHelper::SetRender(&mRender);
  BattleMapTest::SetUp();
  mApplication = std::make_unique<DispatchApplication>();
  mMap->mState = kStatePlaying;
}

void DispatchTest::TearDown() {
  mApplication.reset();
  BattleMapTest::TearDown();
  if (purchase::PurchaseSystem::Exists()) delete purchase::PurchaseSystem::Instance();
  if (LocalStrings::Exists()) delete LocalStrings::Instance();
}

FakeTopScreen& DispatchTest::Top(const std::u16string& name, int index) {
  HUD& hud = *mMap->mHud;
  // A message left by the previous case restores its own state when deleted; the case's stays.
  const int state = mMap->mState;
  hud.stack.clear();
  mMap->mState = state;
  auto screen = std::make_unique<FakeTopScreen>();
  screen->name = name;
  screen->index = index;
  FakeTopScreen& top = *screen;
  hud.stack.push_back(std::move(screen));
  return top;
}

void DispatchTest::Release(int x, int y) {
  mMap->onMouseUp(x, y);
  mMap->mHud->update(0.0f);
}

std::string DispatchTest::Stack() const {
  std::string out;
  for (const std::unique_ptr<HUDWindow>& screen : mMap->mHud->stack) {
    if (!out.empty()) out += ",";
    if (dynamic_cast<FakeTopScreen*>(screen.get())) {
      out += "fake";
    } else if (dynamic_cast<HUDShopWindow*>(screen.get())) {
      out += "shop";
    } else if (dynamic_cast<HUDBuyGemScreen*>(screen.get())) {
      out += "gem_shop";
    } else if (dynamic_cast<HUDBoostShop*>(screen.get())) {
      out += "boost_shop";
    } else if (dynamic_cast<HUDMainMenu*>(screen.get())) {
      out += "mmenu";
    } else if (dynamic_cast<HUDEpisodeSelect*>(screen.get())) {
      out += "episodes";
    } else if (dynamic_cast<HUDLevelSelect*>(screen.get())) {
      out += "levels";
    } else if (dynamic_cast<HUDProfiles*>(screen.get())) {
      out += "profiles";
    } else if (dynamic_cast<HUDModalInput*>(screen.get())) {
      out += "input";
    } else if (dynamic_cast<HUDModalDialog*>(screen.get())) {
      out += "dialog";
    } else if (dynamic_cast<HUDModalMessage*>(screen.get())) {
      out += "message";
    } else {
      out += "screen";
    }
  }
  return out;
}

std::vector<std::string> DispatchTest::Dialogs() {
  widget::FrameManager* manager = mApplication->GetFrameManager();
  manager->UpdateTree(0.0f);
  std::vector<std::string> out;
  std::vector<widget::Frame*> shown;
  for (const widget::FrameEntry& entry : manager->GetShown()) {
    if (dynamic_cast<TMessageBox*>(entry.mFrame)) {
      out.push_back("message");
    } else if (dynamic_cast<OptionsDialog*>(entry.mFrame)) {
      out.push_back("options");
    } else {
      continue;
    }
    shown.push_back(entry.mFrame);
  }
  for (widget::Frame* frame : shown) manager->RemoveFrame(frame, true, false);
  return out;
}

}  // namespace dispatchtest
