#pragma once
#include "Game/Screens/HUDModalMessage.h"

// Yes/no questions in the root board's confirm-dialog slot, guarding irreversible actions.

// Confirming deletes the current profile and refreshes the screen below.
class HUDConfirmProfileDeletionDialog : public HUDModalDialog {
 public:
  explicit HUDConfirmProfileDeletionDialog(RuvMap& map);
  void onYes() override;
};

// Asked by the tutorial's skip button: confirming turns the tutorial off for the profile,
// refusing shows it again where it was.
class HUDConfirmTutorialCancelDialog : public HUDModalDialog {
 public:
  explicit HUDConfirmTutorialCancelDialog(RuvMap& map);
  void onYes() override;
  void onNo() override;
};
