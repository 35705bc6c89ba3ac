#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Keyboard.h"
#include "Platform/Win32/Process.h"
#include "Platform/Win32/Window.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/RecordingInputListener.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

using fakes::Deliver;
using fakes::KeyLParam;

constexpr char16_t kTitle[] = u"Window test";

class TestWindow : public app::Window {
 public:
  explicit TestWindow(input::InputWin32* input) : Window(input, false, false, true) {}
  void OnActivate() override { calls.push_back("activate"); }
  void OnDeactivate() override { calls.push_back("deactivate"); }
  void OnCreated() override { calls.push_back("created"); }
  bool CanClose() override { return canClose; }

  std::vector<std::string> calls;
  bool canClose = true;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::ResetKeyboardState();
    fakes::DrainMessages();
  }
  void TearDown() override { fakes::DrainMessages(); }

  // The window at (100, 50), 640 x 480, windowed.
  TestWindow& Created() {
    EXPECT_EQ(window.Create(100, 50, 640, 480, 640, 480, true, kTitle), VN_OK);
    return window;
  }
  win32::HWND Handle() const { return window.GetHandle(); }
  void Send(win32::UINT message, win32::WPARAM wParam = 0, win32::LPARAM lParam = 0, std::u16string_view text = {}) {
    Deliver(Handle(), message, wParam, lParam, text);
  }

  fakes::ScriptedWindowSystem system;
  fakes::RecordingInputListener listener;
  fakes::ScaleConverter converter;
  input::InputWin32 input{&listener, &converter};
  TestWindow window{&input};
};

TEST_F(WindowTest, CreateMakesAShownWindowOfTheApplicationClass) {
  Created();
  ASSERT_NE(Handle(), nullptr);
  EXPECT_TRUE(window.IsCreated());
  EXPECT_EQ(window.calls, (std::vector<std::string>{"created"}));
  EXPECT_EQ(win32::FindWindowW(u"ApplicationWindow", kTitle), Handle());
  EXPECT_EQ(win32::GetWindowLongW(Handle(), win32::GWL_STYLE), static_cast<win32::LONG>(0x82CA0000));
  win32::RECT rect{};
  win32::GetWindowRect(Handle(), &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right, 740);
  EXPECT_EQ(rect.bottom, 530);
  ASSERT_FALSE(system.placements.empty());
  EXPECT_TRUE(system.placements.back().visible);
}

TEST_F(WindowTest, FailedNativeWindowIsReportedAndLeavesNoHandle) {
  fakes::MainLogRecorder log;
  system.failOpen = true;
  EXPECT_EQ(window.Create(0, 0, 640, 480, 640, 480, true, kTitle), VN_FAIL);
  EXPECT_EQ(log.Text(), u"CreateWindowExW()\n");
  EXPECT_EQ(Handle(), nullptr);
  EXPECT_FALSE(window.IsCreated());
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(window.Update(0.0f), VN_OK);
}

TEST_F(WindowTest, SecondInstanceRestoresTheFirstAndStopsTheApplication) {
  Created();
  TestWindow second(&input);
  EXPECT_EQ(second.Create(0, 0, 640, 480, 640, 480, true, kTitle), VN_OK);
  EXPECT_EQ(second.GetHandle(), nullptr);
  EXPECT_EQ(system.restored, 1);
  EXPECT_EQ(system.opened, 1);
  EXPECT_TRUE(app::Application::IsSecondInstance());
  EXPECT_TRUE(app::Application::Instance()->IsStopRequested());
  app::Application::SetSecondInstance(false);
}

TEST_F(WindowTest, CloseHidesTheWindowAtTheNextTickThenTheTaskIsFinished) {
  Created();
  win32::PostMessageW(Handle(), win32::WM_CLOSE, 0, 0);

  window.Update(0.0f);  // handles WM_CLOSE: close requested, the window still exists
  EXPECT_TRUE(window.IsCloseRequested());
  EXPECT_TRUE(window.IsStopRequested());
  EXPECT_FALSE(window.IsDestroyed());
  EXPECT_FALSE(window.IsStopped());
  EXPECT_TRUE(win32::IsWindow(Handle()));

  window.Update(0.0f);  // destroys it; WM_DESTROY stops the task
  EXPECT_TRUE(window.IsDestroyed());
  EXPECT_TRUE(window.IsFinished());
  EXPECT_FALSE(win32::IsWindow(Handle()));
  EXPECT_EQ(system.closed, 1);

  window.Update(0.0f);
  EXPECT_EQ(system.closed, 1);
}

TEST_F(WindowTest, CloseIsRefusedWhenTheWindowCannotClose) {
  Created();
  window.canClose = false;
  Send(win32::WM_CLOSE);
  window.Update(0.0f);
  EXPECT_FALSE(window.IsCloseRequested());
  EXPECT_TRUE(win32::IsWindow(Handle()));
}

TEST_F(WindowTest, DestroyCommandDestroysAtOnce) {
  Created();
  Send(win32::WM_COMMAND, 105);
  EXPECT_TRUE(window.IsDestroyed());
  EXPECT_TRUE(window.IsStopped());
  EXPECT_FALSE(win32::IsWindow(Handle()));
}

// Each row: messages in order, then the expected activity, hooks called and capture releases.
struct ActivityCase {
  const char* name;
  std::vector<std::pair<win32::UINT, win32::WPARAM>> messages;
  bool active;
  std::vector<std::string> calls;
  int captureReleases;
};
void PrintTo(const ActivityCase& row, std::ostream* out) { *out << row.name; }

class ActivityTest : public WindowTest, public ::testing::WithParamInterface<ActivityCase> {};

TEST_P(ActivityTest, FollowsApplicationActivityAndMinimising) {
  Created();
  window.calls.clear();
  for (const auto& [message, wParam] : GetParam().messages) Send(message, wParam);
  EXPECT_EQ(window.IsActive(), GetParam().active);
  EXPECT_EQ(window.calls, GetParam().calls);
  EXPECT_EQ(system.captureReleases, GetParam().captureReleases);
}

using win32::SIZE_MINIMIZED;
using win32::SIZE_RESTORED;
using win32::WM_ACTIVATEAPP;
using win32::WM_SIZE;

INSTANTIATE_TEST_SUITE_P(
    Window, ActivityTest,
    ::testing::Values(
        ActivityCase{"deactivate", {{WM_ACTIVATEAPP, 0}}, false, {"deactivate"}, 1},
        ActivityCase{"deactivate_activate", {{WM_ACTIVATEAPP, 0}, {WM_ACTIVATEAPP, 1}}, true, {"deactivate", "activate"}, 1},
        ActivityCase{"minimise_restore", {{WM_SIZE, SIZE_MINIMIZED}, {WM_SIZE, SIZE_RESTORED}}, true,
                     {"deactivate", "activate"}, 1},
        ActivityCase{"restored_while_inactive",
                     {{WM_ACTIVATEAPP, 0}, {WM_SIZE, SIZE_MINIMIZED}, {WM_SIZE, SIZE_RESTORED}}, false, {"deactivate"}, 1},
        ActivityCase{"activated_while_minimised",
                     {{WM_SIZE, SIZE_MINIMIZED}, {WM_ACTIVATEAPP, 0}, {WM_ACTIVATEAPP, 1}}, false, {"deactivate"}, 1},
        ActivityCase{"already_active", {{WM_ACTIVATEAPP, 1}, {WM_SIZE, SIZE_RESTORED}}, true, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Key messages as the layer posts them: message, virtual key, Alt carried by the message, key-up.
struct Key {
  win32::UINT message;
  int virtualKey;
  bool alt;
};

struct AltEnterCase {
  const char* name;
  std::vector<Key> keys;
  bool deactivateAfterFirst;  // the window loses and regains activation after the first key
  bool switchRequested;
  std::vector<std::string> events;  // what the input listener receives
};
void PrintTo(const AltEnterCase& row, std::ostream* out) { *out << row.name; }

class AltEnterTest : public WindowTest, public ::testing::WithParamInterface<AltEnterCase> {};

TEST_P(AltEnterTest, SwitchesOncePerPressAndOnlyWithAltHeld) {
  Created();
  bool first = true;
  for (const Key& key : GetParam().keys) {
    const bool up = key.message == win32::WM_KEYUP || key.message == win32::WM_SYSKEYUP;
    const int scan = key.virtualKey == win32::VK_MENU ? 0x38 : 0x1C;
    Send(key.message, static_cast<win32::WPARAM>(key.virtualKey), KeyLParam(scan, key.alt, false, up));
    if (first && GetParam().deactivateAfterFirst) {
      Send(win32::WM_ACTIVATEAPP, 0);
      Send(win32::WM_ACTIVATEAPP, 1);
    }
    first = false;
  }
  EXPECT_EQ(window.IsSwitchRequested(), GetParam().switchRequested);
  EXPECT_EQ(listener.events, GetParam().events);
}

using win32::VK_MENU;
using win32::VK_RETURN;
using win32::WM_KEYDOWN;
using win32::WM_KEYUP;
using win32::WM_SYSKEYDOWN;
using win32::WM_SYSKEYUP;

INSTANTIATE_TEST_SUITE_P(
    Window, AltEnterTest,
    ::testing::Values(
        AltEnterCase{"alt_enter", {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYDOWN, VK_RETURN, true}}, false, true,
                     {"keydown 0"}},
        AltEnterCase{"enter_alone", {{WM_KEYDOWN, VK_RETURN, false}}, false, false, {"keydown 271", "char 13"}},
        AltEnterCase{"alt_released_then_enter",
                     {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYUP, VK_MENU, false}, {WM_KEYDOWN, VK_RETURN, false}},
                     false, false, {"keydown 0", "keyup 0", "keydown 271", "char 13"}},
        // Alt's key-up went to another window: the Enter itself says Alt is no longer held.
        AltEnterCase{"alt_up_lost_then_enter", {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_KEYDOWN, VK_RETURN, false}}, false,
                     false, {"keydown 0", "keydown 271", "char 13"}},
        // Deactivation clears the flag, so an Enter with Alt held elsewhere does not switch.
        AltEnterCase{"deactivated_between",
                     {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYDOWN, VK_RETURN, true}}, true, false,
                     {"keydown 0", "keydown 271", "char 13"}},
        // One switch per press: the second Enter, Alt still held, goes to the input object.
        AltEnterCase{"enter_twice_alt_held",
                     {{WM_SYSKEYDOWN, VK_MENU, true}, {WM_SYSKEYDOWN, VK_RETURN, true},
                      {WM_SYSKEYUP, VK_RETURN, true}, {WM_SYSKEYDOWN, VK_RETURN, true}},
                     false, true, {"keydown 0", "keyup 271", "keydown 271", "char 13"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, MouseMessagesReachTheInputObjectWithButtonNumbers) {
  Created();
  Send(win32::WM_MOUSEMOVE, 0, win32::MAKELPARAM(5, 6));
  Send(win32::WM_LBUTTONDOWN, win32::MK_LBUTTON, win32::MAKELPARAM(10, 20));
  Send(win32::WM_LBUTTONUP, 0, win32::MAKELPARAM(11, 21));
  Send(win32::WM_RBUTTONDBLCLK, win32::MK_RBUTTON, win32::MAKELPARAM(-3, -4));
  Send(win32::WM_MBUTTONDOWN, win32::MK_MBUTTON, win32::MAKELPARAM(1, 1));  // not handled
  // The wheel's position is on the screen; the window's client area starts at (100, 50).
  Send(win32::WM_MOUSEWHEEL, static_cast<win32::WPARAM>(static_cast<win32::WORD>(-240)) << 16,
       win32::MAKELPARAM(130, 90));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"move 5,6", "down 1 10,20", "up 1 11,21", "double 3 -3,-4",
                                                       "wheel -240 30,40"}));
}

TEST_F(WindowTest, MouseLeavingTheClientAreaSendsAnExitMoveThenLeave) {
  Created();
  system.MoveCursor(Handle(), 150, 60);
  Send(win32::WM_TIMER, 100);
  EXPECT_TRUE(window.IsCursorInside());
  EXPECT_TRUE(listener.events.empty());
  EXPECT_EQ(system.arrowCursors, 1);

  Send(win32::WM_LBUTTONDOWN, win32::MK_LBUTTON, win32::MAKELPARAM(50, 10));
  system.MoveCursor(nullptr, 760, 70);  // right of the window, button still down
  Send(win32::WM_TIMER, 100);
  EXPECT_FALSE(window.IsCursorInside());
  EXPECT_EQ(listener.events, (std::vector<std::string>{"down 1 50,10", "drag 660,20", "leave 660,20"}));
  EXPECT_EQ(system.arrowCursors, 2);

  listener.events.clear();
  Send(win32::WM_TIMER, 100);  // still outside: nothing
  system.MoveCursor(Handle(), 739, 529);  // the last pixel inside: nothing is sent on the way in
  Send(win32::WM_TIMER, 100);
  EXPECT_TRUE(window.IsCursorInside());
  EXPECT_TRUE(listener.events.empty());

  system.MoveCursor(Handle(), 740, 529);  // over the window's record but outside its client area
  Send(win32::WM_TIMER, 100);
  EXPECT_FALSE(window.IsCursorInside());
}

TEST_F(WindowTest, MouseLeaveCheckUsesTheClientAreaAsItIsNow) {
  Created();
  window.SwitchWindowMode(1920, 1080, false);
  system.MoveCursor(Handle(), 1500, 900);  // outside the 640 x 480 the window was created with
  Send(win32::WM_TIMER, 100);
  EXPECT_TRUE(window.IsCursorInside());
  EXPECT_TRUE(listener.events.empty());
}

TEST_F(WindowTest, TimerTicksEveryTenMillisecondsWhileTheQueueIsEmpty) {
  static win32::LONGLONG sNow = 0;
  win32::SetPerformanceCounterSource([] { return sNow; });
  sNow = 1'000'000'000;
  Created();
  win32::MSG message{};
  EXPECT_FALSE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  sNow += 10'000'000;
  win32::PostMessageW(Handle(), win32::WM_PAINT, 0, 0);
  ASSERT_TRUE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  EXPECT_EQ(message.message, win32::WM_PAINT);  // waiting messages come first
  ASSERT_TRUE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  EXPECT_EQ(message.message, win32::WM_TIMER);
  EXPECT_EQ(message.wParam, 100u);
  EXPECT_FALSE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  sNow += 9'000'000;
  EXPECT_FALSE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  sNow += 1'000'000;
  EXPECT_TRUE(win32::PeekMessageW(&message, Handle(), 0, 0, win32::PM_REMOVE));
  win32::SetPerformanceCounterSource(nullptr);
}

TEST_F(WindowTest, ModeSwitchGoesFullScreenAtOriginAndBackToTheLastWindowedPosition) {
  Created();
  // The window manager moved the window while windowed.
  win32::SetWindowPos(Handle(), nullptr, 200, 120, 0, 0, win32::SWP_NOSIZE | win32::SWP_NOZORDER);
  Send(win32::WM_MOVE, 0, win32::MAKELPARAM(200, 120));
  EXPECT_EQ(window.GetX(), 200);
  EXPECT_EQ(window.GetY(), 120);

  EXPECT_EQ(window.SwitchWindowMode(1920, 1080, false), VN_OK);
  EXPECT_FALSE(window.IsWindowed());
  EXPECT_EQ(win32::GetWindowLongW(Handle(), win32::GWL_STYLE), static_cast<win32::LONG>(0x80000000));
  win32::RECT rect{};
  win32::GetWindowRect(Handle(), &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, 1920);
  Send(win32::WM_MOVE, 0, 0);  // full screen: the windowed position is kept
  EXPECT_EQ(window.GetX(), 200);

  const std::size_t placed = system.placements.size();
  EXPECT_EQ(window.SwitchWindowMode(1920, 1080, false), VN_OK);  // unchanged: nothing happens
  EXPECT_EQ(system.placements.size(), placed);

  EXPECT_EQ(window.SwitchWindowMode(640, 480, true), VN_OK);
  win32::GetWindowRect(Handle(), &rect);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.right, 840);
  EXPECT_TRUE(system.placements.back().visible);
  EXPECT_EQ(system.raised, 2);
}

TEST_F(WindowTest, WindowedOuterSizeEqualsClientSize) {
  int width = 0;
  int height = 0;
  app::WindowWin32::ClientToWindowSize(1366, 768, width, height);
  EXPECT_EQ(width, 1366);
  EXPECT_EQ(height, 768);
}

}  // namespace
