// The profile list over "ruv/data/profiles" (rows 242 .. 782 wide, 50 high, from y 150, 64 apart):
// refresh for 0, 3 and 5 other profiles, row presses, and create, select, rename and delete
// through the progress store on the temporary user folder.
#include <gtest/gtest.h>

#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDConfirmDialogs.h"
#include "Game/Screens/HUDProfiles.h"
#include "MenuScene.h"

namespace menutest {
namespace {

class ProfilesTest : public MenuScene {
 protected:
  // A default profile first, then the named ones; current: the named one given, or the default.
  void Profiles(const std::vector<std::string>& names, const std::string& current) {
    std::string text = "<Profiles currentProfile=\"" + (current.empty() ? std::string("Default") : current) +
                       "\"><Profile name=\"Default\"/>";
    for (const std::string& name : names) text += "<Profile name=\"" + name + "\"/>";
    ReloadProgress(text + "</Profiles>");
  }
  static int RowY(int row) { return 175 + 64 * (row - 1); }
  static std::vector<bool> Highlights(const HUDProfiles& screen) {
    std::vector<bool> shown;
    for (int k = 1; k <= 5; ++k) shown.push_back(screen.findMenuButton(u"p" + std::u16string(1, char16_t(u'0' + k)))->visible != 0);
    return shown;
  }
};

TEST_F(ProfilesTest, RowsHighlightsAndConfirmFollowTheProfiles) {
  struct Case {
    std::vector<std::string> names;
    std::string current;
    std::vector<std::u16string> rows;
    std::vector<bool> highlights;
    bool confirm;
  };
  const std::u16string e = u"- empty -";
  const Case cases[] = {
      {{}, "", {e, e, e, e, e}, {false, false, false, false, false}, false},
      {{"Ann", "Bob", "Cy"}, "Bob", {u"Ann", u"Bob", u"Cy", e, e}, {false, true, false, false, false}, true},
      {{"A1", "A2", "A3", "A4", "A5"}, "A5", {u"A1", u"A2", u"A3", u"A4", u"A5"}, {false, false, false, false, true}, true},
      {{"Twin", "Twin"}, "Twin", {u"Twin", u"Twin", e, e, e}, {true, true, false, false, false}, true},
  };
  for (const Case& c : cases) {
    Profiles(c.names, c.current);
    HUDProfiles screen(*mMap);
    for (int k = 1; k <= 5; ++k) {
      EXPECT_EQ(c.rows[size_t(k - 1)], screen.getText(u"profile" + std::u16string(1, char16_t(u'0' + k)))) << k;
    }
    EXPECT_EQ(c.highlights, Highlights(screen)) << c.current;
    EXPECT_EQ(c.confirm, screen.findMenuButton(u"confirm")->visible != 0);
    EXPECT_EQ(u"Profiles", screen.getText(u"caption"));
    EXPECT_EQ(u"Select", screen.getText(u"select"));
  }
}

TEST_F(ProfilesTest, APressOnRowKSelectsTheKthProfile) {
  struct Case {
    int x, y;
    const char16_t* current;
  };
  const Case cases[] = {
      {512, RowY(1), u"Ann"}, {512, RowY(3), u"Cy"},  {512, RowY(4), u"Bob"},  // empty row: no change
      {242, RowY(1), u"Bob"}, {512, 150, u"Bob"},     {512, 199, u"Ann"},
  };
  for (const Case& c : cases) {
    Profiles({"Ann", "Bob", "Cy"}, "Bob");
    HUDProfiles screen(*mMap);
    screen.onMouseDown(c.x, c.y);
    EXPECT_EQ(c.current, mMap->mProgress->getCurrentProfileName()) << c.x << "," << c.y;
    EXPECT_EQ(std::u16string(c.current) == u"Ann", screen.findMenuButton(u"p1")->visible != 0);  // refreshed
  }
}

TEST_F(ProfilesTest, RowsDoNotDependOnTheOtherTextSlots) {
  // Without the "hint" slot only one slot sorts before the rows; row K still means profile K.
  const std::string path = "ruv/data/profiles/layers.xml";
  std::string layers = ReadTestFile(path);
  const size_t hint = layers.find("<Layer name=\"text/hint\"");
  ASSERT_NE(std::string::npos, hint);
  layers.erase(hint, layers.find('\n', hint) + 1 - hint);
  WriteTestFile(path, layers);
  const std::pair<int, const char16_t*> cases[] = {{1, u"Ann"}, {2, u"Bob"}, {3, u"Cy"}};
  for (const auto& c : cases) {
    Profiles({"Ann", "Bob", "Cy"}, "Cy");
    HUDProfiles screen(*mMap);
    ASSERT_EQ(0u, screen.textSlots.count(u"hint"));
    screen.onMouseDown(512, RowY(c.first));
    EXPECT_EQ(c.second, mMap->mProgress->getCurrentProfileName()) << c.first;
  }
}

TEST_F(ProfilesTest, ButtonNamesAndProfileChangesThroughTheStore) {
  Profiles({}, "");
  HUDProfiles screen(*mMap);
  const std::pair<int, int> points[] = {{222, 630}, {512, 630}, {802, 630}, {130, 720}, {512, 715}};
  const char16_t* names[] = {u"create", u"rename", u"delete", u"back", u""};  // no confirm without profiles
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(names[i], screen.buttonNameAt(points[i].first, points[i].second)) << i;

  mMap->mProgress->createProfile(u"Dee");
  screen.refresh();
  EXPECT_EQ(u"Dee", screen.getText(u"profile1"));
  EXPECT_TRUE(screen.findMenuButton(u"p1")->visible);
  EXPECT_EQ(u"confirm", screen.buttonNameAt(512, 715));
  mMap->mProgress->renameProfile(u"Eve");
  screen.refresh();
  EXPECT_EQ(u"Eve", screen.getText(u"profile1"));
  EXPECT_NE(std::string::npos, SavedProfiles().find("name=\"Eve\""));
  mMap->mProgress->deleteProfile();
  screen.refresh();
  EXPECT_EQ(u"- empty -", screen.getText(u"profile1"));
  EXPECT_EQ(std::string::npos, SavedProfiles().find("Eve"));
}

TEST_F(ProfilesTest, DeleteAsksForConfirmationOnlyForANamedProfile) {
  const struct {
    std::vector<std::string> names;
    std::string current;
    bool asked;
  } cases[] = {{{}, "", false}, {{"Dee"}, "Dee", true}};
  GameWindow& board = mApplication->board();
  for (const auto& c : cases) {
    Profiles(c.names, c.current);
    HUDProfiles screen(*mMap);
    EXPECT_EQ(u"delete", screen.buttonNameAt(802, 630));
    EXPECT_EQ(c.asked, dynamic_cast<HUDConfirmProfileDeletionDialog*>(board.mConfirmDialog) != nullptr);
    EXPECT_NE(std::string::npos, SavedProfiles().find("Default")) << "nothing deleted before the answer";
    board.setConfirmDialog(nullptr);
  }
}

}  // namespace
}  // namespace menutest
