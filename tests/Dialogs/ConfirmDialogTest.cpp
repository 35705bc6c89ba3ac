// The two yes/no questions: deleting the current profile and skipping the tutorial, each refused
// and confirmed with the dialog's own buttons.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DialogScene.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDConfirmDialogs.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RuvTutorial.h"
#include "gamesupport/RootBoardGame.h"

namespace {

using dialogtest::DialogTest;

class ConfirmRefreshProbe : public HUDWindow {
 public:
  void refresh() override { ++refreshes; }
  int refreshes = 0;
};

class ConfirmDialogTest : public DialogTest {
 protected:
  static std::u16string Text(const char16_t* key) { return LocalStrings::Instance()->get(key); }
  static void Answer(HUDModalDialog& dialog, bool yes) {
    const HUDButtonOver& button = *dialog.modalButtons.items[yes ? 1 : 0];
    dialog.onMouseDown(CentreX(button), CentreY(button));
    dialog.onMouseUp(CentreX(button), CentreY(button));
  }
};

TEST_F(ConfirmDialogTest, ProfileDeletionOnlyWhenConfirmed) {
  for (bool yes : {false, true}) {
    mMap.reset();
    LoadProfiles(R"(<Profiles currentProfile="B"><Profile name="A"/><Profile name="B"/><Profile name="C"/></Profiles>)");
    mMap = std::make_unique<RuvMap>();
    mMap->mProgress->refreshProfileNames();
    auto* below = new ConfirmRefreshProbe;
    mMap->mHud->pushWindow(below);
    mMap->mHud->update(0.0f);
    const std::string before = SavedProfiles();
    HUDConfirmProfileDeletionDialog dialog(*mMap);
    EXPECT_EQ(Text(u"profile_delete_caption"), dialog.getText(u"caption"));
    EXPECT_EQ(Text(u"profile_delete_message"), dialog.getText(u"message"));
    Answer(dialog, yes);
    EXPECT_EQ(0, dialog.open);
    EXPECT_EQ(yes ? 1 : 0, below->refreshes);
    if (yes) {
      EXPECT_EQ(std::string::npos, SavedProfiles().find(R"(name="B")"));
      EXPECT_NE(std::string::npos, SavedProfiles().find(R"(name="A")"));
      EXPECT_NE(std::string::npos, SavedProfiles().find(R"(name="C")"));
    } else {
      EXPECT_EQ(before, SavedProfiles());
    }
  }
}

TEST_F(ConfirmDialogTest, TutorialSkipEndsTheQuestionAndShowsTheTutorialOnlyWhenRefused) {
  for (bool yes : {false, true}) {
    RuvTutorial* tutorial = RuvTutorial::Instance();
    tutorial->mShown = 0;
    tutorial->mSkipAsked = 1;
    HUDConfirmTutorialCancelDialog dialog(*mMap);
    EXPECT_EQ(Text(u"tutorial_skip_caption"), dialog.getText(u"caption"));
    EXPECT_EQ(Text(u"tutorial_skip_message"), dialog.getText(u"message"));
    Answer(dialog, yes);
    EXPECT_EQ(0, dialog.open);
    EXPECT_EQ(0, tutorial->mSkipAsked);
    EXPECT_EQ(yes ? 0 : 1, tutorial->mShown);
  }
}

TEST_F(ConfirmDialogTest, OpenersFillTheRootBoardsConfirmSlotNotTheStack) {
  using Opener = void (HUD::*)();
  using IsDialog = bool (*)(HUDWindow*);
  const struct {
    Opener open;
    IsDialog expected;
  } cases[] = {
      {&HUD::showProfileDeletionDialog,
       [](HUDWindow* w) { return dynamic_cast<HUDConfirmProfileDeletionDialog*>(w) != nullptr; }},
      {&HUD::showTutorialCancelDialog,
       [](HUDWindow* w) { return dynamic_cast<HUDConfirmTutorialCancelDialog*>(w) != nullptr; }},
  };
  HUD& hud = *mMap->mHud;
  for (const auto& c : cases) {
    (hud.*c.open)();  // without a root board nothing is built
    gametest::RootBoardGame game;
    (hud.*c.open)();
    HUDWindow* first = game.board().mConfirmDialog;
    EXPECT_TRUE(c.expected(first));
    EXPECT_TRUE(hud.pending.empty() && hud.stack.empty());
    // A second opening replaces the dialog; the first one is deleted, not left behind.
    (hud.*c.open)();
    EXPECT_TRUE(c.expected(game.board().mConfirmDialog));
  }
}

}  // namespace
