#include "Game/Screens/HUDConfirmDialogs.h"

#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RootBoardAccess.h"
#include "Game/Screens/RuvTutorial.h"

namespace {

std::u16string confirmText(const char16_t* key) { return LocalStrings::Instance()->get(key); }

}  // namespace

HUDConfirmProfileDeletionDialog::HUDConfirmProfileDeletionDialog(RuvMap& map)
    : HUDModalDialog(map, confirmText(u"profile_delete_caption"), confirmText(u"profile_delete_message")) {}

void HUDConfirmProfileDeletionDialog::onYes() {
  open = 0;
  mMap.mProgress->deleteProfile();
  mMap.mHud->refreshTop();
}

HUDConfirmTutorialCancelDialog::HUDConfirmTutorialCancelDialog(RuvMap& map)
    : HUDModalDialog(map, confirmText(u"tutorial_skip_caption"), confirmText(u"tutorial_skip_message")) {}

void HUDConfirmTutorialCancelDialog::onYes() {
  open = 0;
  RuvTutorial* tutorial = RuvTutorial::Instance();
  tutorial->mSkipAsked = 0;
  tutorial->disable();
  tutorial->hide();
}

void HUDConfirmTutorialCancelDialog::onNo() {
  open = 0;
  RuvTutorial* tutorial = RuvTutorial::Instance();
  tutorial->mSkipAsked = 0;
  tutorial->mShown = 1;
}

void HUD::showProfileDeletionDialog() {
  if (GameWindow* board = gameRootBoard()) board->setConfirmDialog(new HUDConfirmProfileDeletionDialog(mMap));
}

void HUD::showTutorialCancelDialog() {
  if (GameWindow* board = gameRootBoard()) board->setConfirmDialog(new HUDConfirmTutorialCancelDialog(mMap));
}
