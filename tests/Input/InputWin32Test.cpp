#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Keyboard.h"
#include "Platform/Win32/Messages.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/RecordingInputListener.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

using fakes::KeyLParam;

// A handle that only carries key messages through the queue; no window is needed for that.
const win32::HWND kKeys = reinterpret_cast<win32::HWND>(std::uintptr_t{0x7000});

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::ResetKeyboardState();
    fakes::DrainMessages();
  }

  // The key message as the window procedure passes it on: taken from the queue (the layer's key
  // state follows it), then handed to the input object.
  void KeyDown(int virtualKey, std::u16string_view text = {}, bool repeat = false, int scan = 0x1E) {
    Take(win32::WM_KEYDOWN, virtualKey, KeyLParam(scan, false, repeat), text);
    input.OnKeyDown(virtualKey, KeyLParam(scan, false, repeat));
  }
  void KeyUp(int virtualKey, int scan = 0x1E) {
    Take(win32::WM_KEYUP, virtualKey, KeyLParam(scan, false, false, true), {});
    input.OnKeyUp(virtualKey, KeyLParam(scan, false, false, true));
  }
  // Only the layer sees the key (between two frames).
  void Take(win32::UINT message, int virtualKey, win32::LPARAM lParam, std::u16string_view text) {
    win32::PostKeyMessage(kKeys, message, static_cast<win32::WPARAM>(virtualKey), lParam, text);
    win32::MSG taken{};
    ASSERT_TRUE(win32::PeekMessageW(&taken, kKeys, 0, 0, win32::PM_REMOVE));
  }

  fakes::RecordingInputListener listener;
  fakes::ScaleConverter converter{0.5f};
  input::InputWin32 input{&listener, &converter};
};

TEST_F(InputTest, KeyStatesMoveOnlyInUpdate) {
  struct Step {
    bool down;       // the key's byte at this update (changed before it)
    bool pressAndRelease;  // pressed and released again between the updates
    int state;
  };
  const Step steps[] = {{false, false, 0}, {true, false, 1}, {true, false, 2}, {true, false, 2},
                        {false, false, 3}, {false, false, 0}, {true, false, 1}, {false, false, 0},
                        {false, true, 0}};
  bool down = false;
  for (const Step& step : steps) {
    if (step.pressAndRelease) {
      Take(win32::WM_KEYDOWN, 'Q', KeyLParam(0x10), {});
      Take(win32::WM_KEYUP, 'Q', KeyLParam(0x10, false, false, true), {});
    } else if (step.down != down) {
      Take(step.down ? win32::WM_KEYDOWN : win32::WM_KEYUP, 'Q', KeyLParam(0x10, false, false, !step.down), {});
    }
    down = step.down;
    EXPECT_EQ(input.Update(), VN_OK);
    EXPECT_EQ(input.GetKeyState('Q'), step.state);
  }
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(InputTest, HeldRightButtonWritesNothingToTheLog) {
  fakes::MainLogRecorder log;
  Take(win32::WM_RBUTTONDOWN, 0, 0, {});
  ASSERT_LT(win32::GetKeyState(win32::VK_RBUTTON), 0);
  for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(input.Update(), VN_OK);
  EXPECT_EQ(input.GetKeyState(win32::VK_RBUTTON), input::InputWin32::kKeyHeld);
  EXPECT_EQ(log.Text(), u"");
}

TEST_F(InputTest, KeyTablesNameTheEngineCodes) {
  struct Row {
    int virtualKey;
    int engineKey;
  };
  const Row rows[] = {
      {13, 271},   // Return: the keypad Enter code wins
      {186, 59},   // VK_OEM_1 names both 58 and 59
      {0, 323},    // every unnamed code
      {16, 0},     {17, 0}, {18, 0},  // the generic Shift, Ctrl and Alt of key messages
      {'A', 97},   {'Z', 122}, {'0', 48}, {'9', 57}, {8, 8}, {9, 9}, {12, 12}, {19, 19}, {27, 27}, {32, 32},
      {46, 127},   {96, 256}, {105, 265}, {110, 266}, {111, 267}, {106, 268}, {109, 269}, {107, 270},
      {38, 273},   {40, 274}, {39, 275}, {37, 276}, {45, 277}, {36, 278}, {35, 279}, {33, 280}, {34, 281},
      {112, 282},  {126, 296}, {127, 0}, {144, 300}, {20, 301}, {145, 302}, {161, 303}, {160, 304},
      {163, 305},  {162, 306}, {164, 307}, {165, 308}, {91, 311}, {92, 312}, {47, 315}, {42, 316}, {44, 317},
      {255, 0},    {-1, 0},   {256, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(input.ToEngineKey(row.virtualKey), row.engineKey) << row.virtualKey;
  EXPECT_EQ(input.ToVirtualKey(58), 186);
  EXPECT_EQ(input.ToVirtualKey(271), 13);
  EXPECT_EQ(input.ToVirtualKey(272), 0);
  EXPECT_EQ(input.ToVirtualKey(324), 0);
}

TEST_F(InputTest, HeldKeyGivesOneKeyDownAndACharacterPerRepeat) {
  KeyDown('A', u"a");
  KeyDown('A', u"a", true);
  KeyDown('A', u"a", true);
  KeyUp('A');
  EXPECT_EQ(listener.events, (std::vector<std::string>{"keydown 97", "char 97", "char 97", "char 97", "keyup 97"}));
}

TEST_F(InputTest, CharactersComeFromTheTypedTextOrControlKeys) {
  struct Row {
    int virtualKey;
    std::u16string text;
    bool control;
    std::vector<std::string> events;
  };
  const std::vector<Row> rows = {
      {win32::VK_OEM_1, u"\u0436", false, {"keydown 59", "char 1078"}},  // Cyrillic layout: the ; key types zhe
      {'A', u"A", false, {"keydown 97", "char 65"}},                     // typed with Shift
      {win32::VK_RETURN, u"", false, {"keydown 271", "char 13"}},
      {win32::VK_BACK, u"", false, {"keydown 8", "char 8"}},
      {win32::VK_ESCAPE, u"", false, {"keydown 27", "char 27"}},
      {'C', u"", true, {"keydown 99", "char 3"}},              // Ctrl+C
      {win32::VK_F1, u"", false, {"keydown 282"}},               // types nothing
      {'E', u"\U0001F600", false, {"keydown 101"}},              // two units: no character
  };
  for (const Row& row : rows) {
    SetUp();
    listener.events.clear();
    if (row.control) KeyDown(win32::VK_CONTROL, {}, false, 0x1D);
    listener.events.clear();
    KeyDown(row.virtualKey, row.text);
    EXPECT_EQ(listener.events, row.events) << row.virtualKey;
    KeyUp(row.virtualKey);
    if (row.control) KeyUp(win32::VK_CONTROL, 0x1D);
    input.Update();
  }
}

TEST_F(InputTest, ShiftIsReportedAsCodeZeroButTrackedUnderItsVirtualKeys) {
  KeyDown(win32::VK_SHIFT, {}, false, 0x36);  // right shift
  EXPECT_EQ(listener.events, (std::vector<std::string>{"keydown 0"}));
  EXPECT_EQ(input.GetKeyState(win32::VK_SHIFT), input::InputWin32::kKeyPressed);
  EXPECT_EQ(input.GetKeyState(win32::VK_RSHIFT), input::InputWin32::kKeyPressed);
  EXPECT_EQ(input.GetKeyState(win32::VK_LSHIFT), input::InputWin32::kKeyUp);
  input.Update();
  EXPECT_EQ(input.GetKeyState(win32::VK_SHIFT), input::InputWin32::kKeyHeld);
  KeyUp(win32::VK_SHIFT, 0x36);
  input.Update();
  EXPECT_EQ(input.GetKeyState(win32::VK_SHIFT), input::InputWin32::kKeyReleased);
}

struct MouseStep {
  char kind;  // d down, u up, c double click, m move, w wheel, l leave, x exit move
  int button;
  float x;
  float y;
};

struct MouseCase {
  const char* name;
  std::vector<MouseStep> steps;
  std::vector<std::string> events;
};
void PrintTo(const MouseCase& row, std::ostream* out) { *out << row.name; }

class MouseTest : public InputTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseTest, ReportsInLogicalCoordinates) {
  for (const MouseStep& step : GetParam().steps) {
    const math::Point2 point(step.x, step.y);
    switch (step.kind) {
      case 'd': input.OnMouseDown(point, step.button); break;
      case 'u': input.OnMouseUp(point, step.button); break;
      case 'c': input.OnMouseDoubleClick(point, step.button); break;
      case 'm': input.OnMouseMove(point); break;
      case 'w': input.OnMouseWheel(point, step.button); break;
      case 'l': input.OnMouseLeave(point); break;
      case 'x': input.OnMouseExitMove(point); break;
      default: FAIL();
    }
  }
  EXPECT_EQ(listener.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Input, MouseTest,
    ::testing::Values(
        MouseCase{"press_drag_release",
                  {{'d', 1, 10, 20}, {'m', 0, 12, 22}, {'u', 1, 14, 24}, {'m', 0, 16, 26}},
                  {"down 1 5,10", "drag 6,11", "up 1 7,12", "move 8,13"}},
        MouseCase{"double_click_does_not_drag",
                  {{'d', 1, 2, 2}, {'u', 1, 2, 2}, {'c', 1, 2, 2}, {'m', 0, 4, 4}, {'u', 1, 4, 4}, {'m', 0, 6, 6}},
                  {"down 1 1,1", "up 1 1,1", "double 1 1,1", "move 2,2", "up 1 2,2", "move 3,3"}},
        MouseCase{"right_button_drags", {{'d', 3, 0, 0}, {'m', 0, 2, 0}, {'u', 3, 2, 0}},
                  {"down 3 0,0", "drag 1,0", "up 3 1,0"}},
        // Button numbers outside left and right are ignored, not used as indexes.
        MouseCase{"other_buttons_ignored",
                  {{'d', 2, 0, 0}, {'d', 4, 0, 0}, {'d', 200, 0, 0}, {'d', -1, 0, 0}, {'c', 7, 0, 0}, {'u', 9, 0, 0},
                   {'m', 0, 2, 2}},
                  {"move 1,1"}},
        MouseCase{"wheel_towards_user", {{'w', -120, 8, 8}, {'w', 240, 8, 8}}, {"wheel -120 4,4", "wheel 240 4,4"}},
        MouseCase{"exit_move_then_leave", {{'d', 1, 0, 0}, {'x', 0, 700, 10}, {'l', 0, 700, 10}},
                  {"down 1 0,0", "drag 350,5", "leave 350,5"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, MouseStatesAndLastPositionFollowTheMessages) {
  listener.result = VN_FAIL;
  EXPECT_EQ(input.OnMouseDown(math::Point2(10, 10), 1), VN_FAIL);  // the listener's result comes back
  EXPECT_EQ(input.GetButtonState(1), input::InputWin32::kButtonPressed);
  input.OnMouseDoubleClick(math::Point2(20, 40), 3);
  EXPECT_EQ(input.GetButtonState(3), input::InputWin32::kButtonDoubleClicked);
  EXPECT_EQ(input.GetLastPosition().x, 10.0f);
  EXPECT_EQ(input.GetLastPosition().y, 20.0f);
  input.OnMouseUp(math::Point2(0, 0), 1);
  EXPECT_EQ(input.GetButtonState(1), input::InputWin32::kButtonUp);
  EXPECT_EQ(input.GetButtonState(9), input::InputWin32::kButtonUp);
}

}  // namespace
