// The profile name input: its first text by state, the characters it takes, the confirming button
// that follows the name, and its own "ok" and "cancel", which delete it inside the query.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogScene.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDModalInput.h"
#include "Game/Screens/HUD.h"

namespace {

using dialogtest::DialogTest;

class ModalInputTest : public DialogTest {
 protected:
  // A map over a profiles file with these profiles, "A" the current one.
  void UseProfiles(const std::vector<std::string>& names) {
    mMap.reset();
    std::string text = R"(<Profiles currentProfile="A">)";
    for (const std::string& name : names) text += R"(<Profile name=")" + name + R"("/>)";
    LoadProfiles(text + "</Profiles>");
    mMap = std::make_unique<RuvMap>();
  }
  std::unique_ptr<HUDModalInput> Input(int state) {
    mMap->mState = state;
    return std::make_unique<HUDModalInput>(*mMap);
  }
  static bool ConfirmShown(const HUDModalInput& input) { return input.modalButtons.items[1]->visible != 0; }
};

TEST_F(ModalInputTest, FirstTextByStateAndTheConfirmingButtonByTheProfilesNames) {
  const std::u16string player = LocalStrings::Instance()->get(u"default_player");
  const struct {
    std::vector<std::string> profiles;
    int state;
    std::u16string text;
    bool confirm;
  } cases[] = {
      {{"A", "B", "C"}, kStateNewProfile, player + u"3", true},
      {{"A", "B", "Player3"}, kStateNewProfile, player + u"3", false},
      {{"A", "B"}, kStateRenameProfile, u"A", false},
      {{"A", "B"}, 13, u"", false},
  };
  for (const auto& c : cases) {
    UseProfiles(c.profiles);
    const std::unique_ptr<HUDModalInput> input = Input(c.state);
    EXPECT_EQ(c.text, input->text);
    EXPECT_EQ(c.text, mMap->mNameInput);
    EXPECT_EQ(c.confirm, ConfirmShown(*input));
    EXPECT_EQ(1, input->layer);
    EXPECT_EQ(LocalStrings::Instance()->get(u"profile_edit_caption"), input->getText(u"caption"));
    ASSERT_NE(nullptr, input->inputFrame);
    EXPECT_EQ(u"input", input->inputFrame->name);
    EXPECT_NE(0, input->inputFrame->visible);
  }
}

TEST_F(ModalInputTest, TypedCharactersAndBackspace) {
  constexpr int kBack = -HUDModalInput::kBackspace;  // a key, not a character
  const std::u16string sixteen = u"ABCDEFGHIJKLMNOP";
  const struct {
    std::u16string start;
    std::vector<int> typed;
    std::u16string text;
  } cases[] = {
      {u"", {'A', 'z', '5', 0x416, 0x44F}, u"Az5\u0416\u044F"},
      {u"x", {'_', '-', ' ', 0x451, 0x401, 0x40F, 0x450, 0x1F600}, u"x"},
      {sixteen, {'Q'}, sixteen},
      {sixteen, {kBack, 'Q'}, u"ABCDEFGHIJKLMNOQ"},
      {u"", {kBack, kBack}, u""},
      {u"ab", {kBack, 'c'}, u"ac"},
  };
  for (const auto& c : cases) {
    const std::unique_ptr<HUDModalInput> input = Input(0);
    for (char16_t typed : c.start) input->onChar(typed);
    for (int typed : c.typed) {
      if (typed < 0) {
        input->onKey(-typed);
      } else {
        input->onChar(typed);
      }
    }
    EXPECT_EQ(c.text, input->text);
    EXPECT_EQ(c.text, mMap->mNameInput);
    EXPECT_EQ(!c.text.empty(), ConfirmShown(*input));
  }
}

TEST_F(ModalInputTest, ConfirmingButtonFollowsRefusedCharactersButNotBlanksOrMissingGlyphs) {
  const struct {
    int typed;
    bool updates;
  } cases[] = {{'_', true}, {' ', false}, {0x451, false}, {'A', true}};
  for (const auto& c : cases) {
    const std::unique_ptr<HUDModalInput> input = Input(0);
    input->text = u"Name";
    input->modalButtons.items[1]->visible = 0;
    input->onChar(c.typed);
    EXPECT_EQ(c.updates, ConfirmShown(*input)) << c.typed;
  }
  // A name that is a profile's hides the button again.
  const std::unique_ptr<HUDModalInput> input = Input(0);
  input->text = u"";
  input->onChar('A');
  EXPECT_FALSE(ConfirmShown(*input));
  input->onChar('A');
  EXPECT_TRUE(ConfirmShown(*input));
  input->onKey(HUDModalInput::kBackspace);
  EXPECT_FALSE(ConfirmShown(*input));
}

// Counts the refreshes of the screen below the input; the counter outlives the screen.
class RefreshProbe : public HUDWindow {
 public:
  explicit RefreshProbe(int& count) : mCount(count) {}
  void refresh() override { ++mCount; }

 private:
  int& mCount;
};

TEST_F(ModalInputTest, OkAndCancelByStateAndReturnScreenDeleteTheInputInsideTheQuery) {
  const struct {
    int state;
    std::u16string returnScreen;
    size_t button;  // 0 cancel, 1 ok
    int stateAfter;
    size_t stackAfter;
    std::string savedName;  // "" when the profiles stay as they were
    int refreshes;
  } cases[] = {
      {kStateNewProfile, u"", 1, 13, 1, "Player2Z", 1},
      {kStateRenameProfile, u"", 1, 13, 1, "AZ", 1},
      {kStateNewProfile, u"mmenu", 1, 5, 0, "Player2Z", 0},
      {kStateRenameProfile, u"", 0, 13, 1, "", 0},
      {kStateRenameProfile, u"mmenu", 0, 7, 2, "", 0},
      {kStateNewProfile, u"", 0, kStateNewProfile, 2, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state * 10 + static_cast<int>(c.button));
    UseProfiles({"A", "B"});
    const std::string before = SavedProfiles();
    int refreshes = 0;
    HUD& hud = *mMap->mHud;
    hud.pushWindow(new RefreshProbe(refreshes));
    mMap->mState = c.state;
    mMap->mReturnScreen = c.returnScreen;
    hud.pushWindow(new HUDModalInput(*mMap));
    hud.update(0.0f);
    ASSERT_EQ(2u, hud.stack.size());
    auto* input = static_cast<HUDModalInput*>(hud.stack.back().get());
    input->onChar('Z');
    const HUDButtonOver& button = *input->modalButtons.items[c.button];
    const int x = CentreX(button);
    const int y = CentreY(button);
    EXPECT_EQ(c.button == 1 ? u"ok" : u"cancel", input->buttonNameAt(x, y));
    EXPECT_EQ(c.stateAfter, mMap->mState);
    EXPECT_EQ(c.stackAfter, hud.stack.size());
    EXPECT_EQ(c.refreshes, refreshes);
    if (c.savedName.empty()) {
      EXPECT_EQ(before, SavedProfiles());
    } else {
      EXPECT_NE(std::string::npos, SavedProfiles().find("name=\"" + c.savedName + "\""));
    }
    if (c.stateAfter != kStateNewProfile) {
      EXPECT_EQ(u"", mMap->mNameInput);
    }
  }
}

// The map's release in the rename state asks the input for its answer, so "ok" renames and both
// buttons close it.
TEST_F(ModalInputTest, TheMapsReleaseInTheRenameStateRunsTheInputsAnswer) {
  for (const size_t button : {size_t{0}, size_t{1}}) {
    SCOPED_TRACE(button);
    UseProfiles({"A", "B"});
    const std::string before = SavedProfiles();
    int refreshes = 0;
    HUD& hud = *mMap->mHud;
    hud.pushWindow(new RefreshProbe(refreshes));
    mMap->mState = kStateRenameProfile;
    hud.pushWindow(new HUDModalInput(*mMap));
    hud.update(0.0f);
    auto* input = static_cast<HUDModalInput*>(hud.stack.back().get());
    input->onChar('Z');
    const HUDButtonOver& pressed = *input->modalButtons.items[button];
    mMap->onMouseUp(CentreX(pressed), CentreY(pressed));
    EXPECT_EQ(1u, hud.stack.size());
    EXPECT_EQ(13, mMap->mState);
    if (button == 1) {
      EXPECT_NE(std::string::npos, SavedProfiles().find("name=\"AZ\""));
    } else {
      EXPECT_EQ(before, SavedProfiles());
    }
  }
}

}  // namespace
