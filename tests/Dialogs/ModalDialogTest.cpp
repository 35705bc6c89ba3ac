// The one- and two-button modal screens: their buttons, texts and draw layer, the release that
// answers a dialog, the state a message restores, and layouts with fewer button groups.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DialogScene.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDModalMessage.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDIngameMenu.h"
#include "Game/Screens/HUDModalInput.h"
#include "gamesupport/RootBoardGame.h"

namespace {

using dialogtest::DialogTest;

// Counts the answers instead of closing.
class AnswerProbe : public HUDModalDialog {
 public:
  explicit AnswerProbe(RuvMap& map) : HUDModalDialog(map, u"caption", u"message") {}
  void onYes() override { answers.push_back("yes"); }
  void onNo() override { answers.push_back("no"); }
  std::vector<std::string> answers;
};

class ModalDialogTest : public DialogTest {};

TEST_F(ModalDialogTest, MessageShowsOnlyTheShiftedSecondButtonAndDialogBothInPlace) {
  struct Case {
    bool dialog;
    bool firstVisible;
    float secondOffset;
  };
  const Case cases[] = {{false, false, HUDModalMessage::kSingleButtonShift}, {true, true, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog ? "dialog" : "message");
    std::unique_ptr<HUDModalMessage> screen(c.dialog ? new HUDModalDialog(*mMap, u"Title", u"Text")
                                                     : new HUDModalMessage(*mMap, u"Title", u"Text", -1));
    EXPECT_EQ(1, screen->layer);
    EXPECT_TRUE(screen->buttons.empty());
    ASSERT_EQ(2u, screen->modalButtons.items.size());
    const HUDButtonOver& first = *screen->modalButtons.items[0];
    const HUDButtonOver& second = *screen->modalButtons.items[1];
    // Name order of the groups: the refusing one first.
    EXPECT_EQ(u"cancel", first.name);
    EXPECT_EQ(u"ok", second.name);
    EXPECT_EQ(LocalStrings::Instance()->get(u"b1_cancel"), first.caption);
    EXPECT_EQ(LocalStrings::Instance()->get(u"b1_ok"), second.caption);
    EXPECT_EQ(c.firstVisible, first.visible != 0);
    EXPECT_EQ(0.0f, first.xOffset);
    EXPECT_EQ(c.secondOffset, second.xOffset);
    EXPECT_EQ(u"Title", screen->getText(u"caption"));
    EXPECT_EQ(u"Text", screen->getText(u"message"));
    for (const RuvFrameEntry* frame : screen->frames) {
      EXPECT_EQ(frame->name != u"input", frame->visible != 0) << std::string(frame->name.begin(), frame->name.end());
    }
  }
}

TEST_F(ModalDialogTest, ButtonNamesAnsweredWithTheSoundAndNothingBesideThem) {
  HUDModalDialog dialog(*mMap, u"Title", u"Text");
  HUDModalMessage message(*mMap, u"Title", u"Text", -1);
  SoundsPlayed();
  EXPECT_EQ(u"cancel", Click(dialog, *dialog.modalButtons.items[0]));
  EXPECT_EQ(1, SoundsPlayed());
  EXPECT_EQ(u"ok", Click(dialog, *dialog.modalButtons.items[1]));
  EXPECT_EQ(u"ok", Click(message, *message.modalButtons.items[1]));
  EXPECT_EQ(2, SoundsPlayed());
  // The message's hidden first button answers nothing; neither does the panel.
  EXPECT_EQ(u"", Click(message, *message.modalButtons.items[0]));
  EXPECT_EQ(u"", message.buttonNameAt(0, 0));
  EXPECT_EQ(0, SoundsPlayed());
}

TEST_F(ModalDialogTest, ReleaseOnTheFirstButtonRefusesOnTheSecondConfirmsElsewhereNothing) {
  AnswerProbe dialog(*mMap);
  const HUDButtonOver& first = *dialog.modalButtons.items[0];
  const HUDButtonOver& second = *dialog.modalButtons.items[1];
  const struct {
    int x, y;
    std::vector<std::string> answers;
  } cases[] = {{CentreX(first), CentreY(first), {"no"}},
               {CentreX(second), CentreY(second), {"yes"}},
               {0, 0, {}}};
  for (const auto& c : cases) {
    dialog.answers.clear();
    dialog.onMouseDown(c.x, c.y);
    dialog.onMouseUp(c.x, c.y);
    EXPECT_EQ(c.answers, dialog.answers);
  }
}

TEST_F(ModalDialogTest, DefaultAnswersCloseTheDialog) {
  for (bool yes : {false, true}) {
    HUDModalDialog dialog(*mMap, u"Title", u"Text");
    const HUDButtonOver& button = *dialog.modalButtons.items[yes ? 1 : 0];
    Click(dialog, button);
    EXPECT_EQ(0, dialog.open);
  }
}

TEST_F(ModalDialogTest, MessageRestoresItsStateWhenDeletedWhoeverDeletesIt) {
  const struct {
    int stateAfterClose;
    int expected;
  } cases[] = {{13, 13}, {-1, 0}};
  for (const auto& c : cases) {
    mMap->mState = 0;
    mMap->mHud->pushWindow(new HUDModalMessage(*mMap, u"Title", u"Text", c.stateAfterClose));
    mMap->mHud->update(0.0f);
    ASSERT_EQ(1u, mMap->mHud->stack.size());
    mMap->mHud->popWindow();
    EXPECT_EQ(c.expected, mMap->mState);
  }
}

TEST_F(ModalDialogTest, TypedPushesSetTheStateAfterTheScreenIsBuilt) {
  HUD& hud = *mMap->mHud;
  const struct {
    const char* push;
    int stateAfter;
    int afterModal;
    bool dialog;
    int afterPop;  // the message restores its id
  } cases[] = {{"message", 16, 13, false, 13}, {"dialog", 16, -1, true, 16}, {"input", 15, 0, false, 15}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.push);
    mMap->mState = 15;
    mMap->mStateAfterModal = 0;
    if (std::string(c.push) == "message") hud.pushModalMessage(u"Title", u"Text", 13);
    if (std::string(c.push) == "dialog") hud.pushModalDialog(u"Title", u"Text", -1);
    if (std::string(c.push) == "input") hud.pushModalInput();
    EXPECT_EQ(c.stateAfter, mMap->mState);
    EXPECT_EQ(c.afterModal, mMap->mStateAfterModal);
    hud.update(0.0f);
    ASSERT_EQ(1u, hud.stack.size());
    EXPECT_EQ(1, hud.stack.back()->layer);
    EXPECT_EQ(c.dialog, dynamic_cast<HUDModalDialog*>(hud.stack.back().get()) != nullptr);
    hud.popWindow();
    EXPECT_EQ(c.afterPop, mMap->mState);
  }
}

TEST_F(ModalDialogTest, LayoutWithFewerButtonGroupsUsesWhatExists) {
  const std::string back = R"(<Layer name="back" x="0" y="0" width="100" height="100" opacity="255" ind="0"/>
)";
  const std::string okGroup = R"(<Layer name="button/b1_ok/pos" x="10" y="10" width="20" height="20" opacity="255" ind="1"/>
)";
  // A group without its position layer is left out.
  const std::string noPos = R"(<Layer name="button/b1_cancel/label" x="40" y="10" width="20" height="20" opacity="255" ind="2"/>
)";
  const struct {
    std::string layers;
    size_t buttons;
  } cases[] = {{back, 0}, {back + okGroup, 1}, {back + okGroup + noPos, 1}};
  for (const auto& c : cases) {
    WriteLayout("ruv/data/mm", c.layers);
    HUDModalMessage message(*mMap, u"Title", u"Text", -1);
    HUDModalDialog dialog(*mMap, u"Title", u"Text");
    EXPECT_EQ(c.buttons, message.modalButtons.items.size());
    EXPECT_EQ(c.buttons, dialog.modalButtons.items.size());
    Frame([&](render::Graphics& graphics) {
      message.draw(graphics);
      dialog.draw(graphics);
    });
  }
}

TEST_F(ModalDialogTest, ScreensWithoutTheirLayoutAreEmptyAndAnswerNothing) {
  std::filesystem::remove_all("ruv/data/mm");
  std::filesystem::remove_all("ruv/data/ingame");
  mMap->mState = kStateNewProfile;
  std::unique_ptr<HUDWindow> screens[] = {std::make_unique<HUDModalMessage>(*mMap, u"Title", u"Text", -1),
                                          std::make_unique<HUDModalDialog>(*mMap, u"Title", u"Text"),
                                          std::make_unique<HUDModalInput>(*mMap), std::make_unique<HUDIngameMenu>()};
  for (const std::unique_ptr<HUDWindow>& screen : screens) {
    EXPECT_TRUE(screen->frames.empty());
    screen->onMouseMove(512, 500);
    screen->onMouseDown(512, 500);
    EXPECT_EQ(u"", screen->buttonNameAt(512, 500));
    screen->onMouseUp(512, 500);
    screen->onChar('A');
    screen->onKey(HUDModalInput::kBackspace);
    screen->update(0.1f);
    Frame([&](render::Graphics& graphics) { screen->draw(graphics); });
    EXPECT_EQ(1, screen->open);
  }
}

TEST_F(ModalDialogTest, UpdatesTakeTheRootBoardsPointer) {
  gametest::RootBoardGame game;
  game.board().mPointerX = 300;
  game.board().mPointerY = -4;
  HUDModalMessage message(*mMap, u"c", u"m", -1);
  HUDModalDialog dialog(*mMap, u"c", u"m");
  HUDModalInput input(*mMap);
  for (HUDWindow* screen : {static_cast<HUDWindow*>(&message), static_cast<HUDWindow*>(&dialog),
                            static_cast<HUDWindow*>(&input)}) {
    screen->update(0.01f);
    EXPECT_FLOAT_EQ(300.0f, screen->pointerX);
    EXPECT_FLOAT_EQ(-4.0f, screen->pointerY);
  }
}

}  // namespace
