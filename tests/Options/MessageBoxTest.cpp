// The message box: one ok button or ok and cancel, their labels, and the command that only ok runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Tables/LocalStrings.h"
#include "Game/Screens/Options/TMessageBox.h"
#include "Game/Screens/Options/TalvenButton.h"
#include "OptionsScene.h"

namespace {

using optionstest::OptionsScene;

class MessageBoxTest : public OptionsScene {
 protected:
  TMessageBox* Open(const std::u16string& command) {
    auto* box = new TMessageBox(mMap, u"progress_confirm_text", command);
    if (TalvenDialog::ShowModal(mManager.get(), box) != VN_OK) return nullptr;
    Update(0.0f);
    return box;
  }
  // The text of the dialog's text layer standing at (x, y); "" when there is none.
  static std::u16string TextAt(const TMessageBox& box, float x, float y) {
    for (const optionstest::PlacedText& text : Texts(box)) {
      if (text.position.x == x && text.position.y == y) return text.text;
    }
    return u"";
  }
};

TEST_F(MessageBoxTest, OneButtonInTheMiddleOrOkLeftAndCancelRight) {
  struct Case {
    std::u16string command;
    float button1X;
    std::u16string button1Label;
    float button2X;  // < 0: no second button
  };
  const Case cases[] = {{u"", 512.0f, u"b1_ok", -1.0f}, {u"restart", 636.0f, u"b1_cancel", 396.0f}};
  LocalStrings* strings = LocalStrings::Instance();
  for (const Case& c : cases) {
    TMessageBox* box = Open(c.command);
    ASSERT_NE(nullptr, box);
    EXPECT_FALSE(box->IsDisabled());
    EXPECT_EQ(strings->get(u"progress_confirm_text"), TextAt(*box, 512.0f, 400.0f));
    ASSERT_NE(nullptr, box->GetButton1());
    EXPECT_EQ(c.button1X, box->GetButton1()->mPosition.x);
    EXPECT_EQ(520.0f, box->GetButton1()->mPosition.y);
    EXPECT_EQ(strings->get(c.button1Label), TextAt(*box, c.button1X, 520.0f));
    if (c.button2X < 0.0f) {
      EXPECT_EQ(nullptr, box->GetButton2());
    } else {
      ASSERT_NE(nullptr, box->GetButton2());
      EXPECT_EQ(c.button2X, box->GetButton2()->mPosition.x);
      EXPECT_EQ(strings->get(u"b1_ok"), TextAt(*box, c.button2X, 520.0f));
    }
    CloseAll();
  }
}

TEST_F(MessageBoxTest, OnlyOkRunsTheCommandAndEveryButtonCloses) {
  struct Case {
    std::u16string command;
    bool clickButton2;
    std::vector<std::u16string> commandsRun;
  };
  const Case cases[] = {
      {u"", false, {}},
      {u"mmenu", false, {}},
      {u"mmenu", true, {u"mmenu"}},
  };
  for (const Case& c : cases) {
    mMap.confirmedCommands.clear();
    TMessageBox* box = Open(c.command);
    ASSERT_NE(nullptr, box);
    Click(c.clickButton2 ? *box->GetButton2() : *box->GetButton1());
    EXPECT_EQ(c.commandsRun, mMap.confirmedCommands);
    Update(0.0f);
    EXPECT_TRUE(Shown().empty());
  }
}

TEST_F(MessageBoxTest, ABoxWithoutItsLayoutIsNotShown) {
  std::filesystem::remove_all("ruv/data/mm");
  EXPECT_NE(VN_OK, TalvenDialog::ShowModal(mManager.get(), new TMessageBox(mMap, u"x", u"restart")));
  Update(0.0f);
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
