#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Platform/Win32/Keyboard.h"
#include "Platform/Win32/Monitor.h"
#include "Platform/Win32/SdlEvents.h"
#include "Platform/Win32/SdlKeys.h"
#include "Platform/Win32/Window.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

win32::LRESULT Ignore(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) { return 0; }

class SdlTranslationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::ResetKeyboardState();
    fakes::DrainMessages();
    window = Make(u"Double", win32::CS_DBLCLKS);
    plain = Make(u"Plain", 0);
  }
  void TearDown() override {
    win32::DestroyWindow(window);
    win32::DestroyWindow(plain);
    fakes::DrainMessages();
  }

  static win32::HWND Make(const char16_t* className, win32::UINT style) {
    win32::WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = Ignore;
    windowClass.lpszClassName = className;
    win32::RegisterClassExW(&windowClass);
    return win32::CreateWindowExW(0, className, className, 0, 100, 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
  }
  static Uint32 Id(win32::HWND handle) { return win32::FindWindowRecord(handle)->nativeId; }

  static SDL_Event Key(win32::HWND handle, bool down, SDL_Scancode scancode, SDL_Keycode symbol, Uint16 mod = 0,
                       bool repeat = false) {
    SDL_Event event{};
    event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = Id(handle);
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = symbol;
    event.key.keysym.mod = mod;
    return event;
  }
  static SDL_Event Text(win32::HWND handle, const char* utf8) {
    SDL_Event event{};
    event.text.type = SDL_TEXTINPUT;
    event.text.windowID = Id(handle);
    std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
    return event;
  }
  static SDL_Event Button(win32::HWND handle, bool down, Uint8 button, Uint32 time, int x, int y) {
    SDL_Event event{};
    event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = Id(handle);
    event.button.button = button;
    event.button.timestamp = time;
    event.button.x = x;
    event.button.y = y;
    return event;
  }

  void Translate(std::vector<SDL_Event> events) { translator.Translate(events.data(), events.size()); }
  std::vector<win32::MSG> Taken() {
    std::vector<win32::MSG> messages;
    win32::MSG message{};
    while (win32::PeekMessageW(&message, nullptr, 0, 0, win32::PM_REMOVE)) messages.push_back(message);
    return messages;
  }

  fakes::ScriptedWindowSystem system;
  win32::SdlEventTranslator translator;
  win32::HWND window = nullptr;
  win32::HWND plain = nullptr;
};

TEST_F(SdlTranslationTest, KeyDownCarriesItsTextAndTheMessageBits) {
  Translate({Key(window, true, SDL_SCANCODE_A, SDLK_a), Text(window, "a"),
             Key(window, true, SDL_SCANCODE_A, SDLK_a, 0, true), Text(window, "a"),
             Key(window, false, SDL_SCANCODE_A, SDLK_a)});
  win32::MSG message{};
  ASSERT_TRUE(win32::PeekMessageW(&message, nullptr, 0, 0, win32::PM_REMOVE));
  EXPECT_EQ(message.message, win32::WM_KEYDOWN);
  EXPECT_EQ(message.wParam, static_cast<win32::WPARAM>('A'));
  EXPECT_EQ(message.lParam, fakes::KeyLParam(0x1E));
  EXPECT_LT(win32::GetKeyState('A'), 0);
  win32::BYTE keys[256] = {};
  win32::WCHAR typed = 0;
  EXPECT_EQ(win32::ToUnicode('A', 0x1E, keys, &typed, 1, 0), 1);
  EXPECT_EQ(typed, u'a');

  ASSERT_TRUE(win32::PeekMessageW(&message, nullptr, 0, 0, win32::PM_REMOVE));
  EXPECT_EQ(message.lParam, fakes::KeyLParam(0x1E, false, true));
  ASSERT_TRUE(win32::PeekMessageW(&message, nullptr, 0, 0, win32::PM_REMOVE));
  EXPECT_EQ(message.message, win32::WM_KEYUP);
  EXPECT_EQ(message.lParam, fakes::KeyLParam(0x1E, false, false, true));
  EXPECT_GE(win32::GetKeyState('A'), 0);
  EXPECT_EQ(win32::ToUnicode('A', 0x1E, keys, &typed, 1, 0), 0);
  EXPECT_TRUE(Taken().empty());
}

TEST_F(SdlTranslationTest, KeysBecomeWindowsKeys) {
  struct Row {
    SDL_Scancode scancode;
    SDL_Keycode symbol;
    Uint16 mod;
    bool down;
    win32::UINT message;
    int virtualKey;
    win32::LPARAM flags;  // the lParam bits above the scan code
  };
  using namespace win32;
  const Row rows[] = {
      {SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT, true, WM_SYSKEYDOWN, VK_MENU, KF_ALTDOWN},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, true, WM_SYSKEYDOWN, VK_RETURN, KF_ALTDOWN},
      {SDL_SCANCODE_LALT, SDLK_LALT, 0, false, WM_SYSKEYUP, VK_MENU, KF_REPEAT | KF_UP},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, true, WM_KEYDOWN, VK_RETURN, KF_EXTENDED},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_RCTRL, true, WM_KEYDOWN, VK_CONTROL, KF_EXTENDED},
      {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT, true, WM_KEYDOWN, VK_SHIFT, 0},
      {SDL_SCANCODE_F10, SDLK_F10, 0, true, WM_SYSKEYDOWN, VK_F1 + 9, 0},
      // AltGr (Ctrl+Alt) types characters: not a system key.
      {SDL_SCANCODE_Q, SDLK_q, KMOD_RALT | KMOD_LCTRL, true, WM_KEYDOWN, 'Q', KF_ALTDOWN},
      // AZERTY: the key in the US Q position types 'a'.
      {SDL_SCANCODE_Q, SDLK_a, 0, true, WM_KEYDOWN, 'A', 0},
      // Cyrillic: the letter keys keep their US positions.
      {SDL_SCANCODE_Q, 0x439, 0, true, WM_KEYDOWN, 'Q', 0},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 0, true, WM_KEYDOWN, VK_OEM_1, 0},
  };
  for (const Row& row : rows) {
    Translate({Key(window, row.down, row.scancode, row.symbol, row.mod)});
    const std::vector<MSG> messages = Taken();
    ASSERT_EQ(messages.size(), 1u) << row.scancode;
    EXPECT_EQ(messages[0].message, row.message) << row.scancode;
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(row.virtualKey)) << row.scancode;
    EXPECT_EQ(messages[0].lParam & ~static_cast<LPARAM>(0xFFFFFF), row.flags) << row.scancode;
  }
  EXPECT_LT(GetKeyState(VK_RCONTROL), 0);
  EXPECT_GE(GetKeyState(VK_LCONTROL), 0);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_LT(GetKeyState(VK_RSHIFT), 0);
}

TEST_F(SdlTranslationTest, KeyKnownOnlyByItsTextIsAPacketAndUnknownSilentKeysAreDropped) {
  Translate({Key(window, true, SDL_SCANCODE_UNKNOWN, 0), Text(window, "\xD0\xB6"),
             Key(window, false, SDL_SCANCODE_UNKNOWN, 0), Key(window, true, SDL_SCANCODE_UNKNOWN, 0),
             Text(plain, "x")});
  const std::vector<win32::MSG> messages = Taken();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].wParam, static_cast<win32::WPARAM>(win32::VK_PACKET));
  EXPECT_EQ(messages[1].message, win32::WM_KEYUP);
}

TEST_F(SdlTranslationTest, SecondPressSoonAndCloseIsADoubleClick) {
  struct Row {
    const char* name;
    bool doubleClickClass;
    Uint8 secondButton;
    Uint32 secondTime;
    int secondX;
    win32::UINT expected;
  };
  const Row rows[] = {
      {"in time and place", true, SDL_BUTTON_LEFT, 1500, 12, win32::WM_LBUTTONDBLCLK},
      {"right button", true, SDL_BUTTON_RIGHT, 1100, 10, win32::WM_RBUTTONDOWN},
      {"too late", true, SDL_BUTTON_LEFT, 1501, 10, win32::WM_LBUTTONDOWN},
      {"too far", true, SDL_BUTTON_LEFT, 1100, 13, win32::WM_LBUTTONDOWN},
      {"class without double clicks", false, SDL_BUTTON_LEFT, 1100, 10, win32::WM_LBUTTONDOWN},
  };
  Uint32 base = 0;
  for (const Row& row : rows) {
    base += 10000;
    const win32::HWND target = row.doubleClickClass ? window : plain;
    Translate({Button(target, true, SDL_BUTTON_LEFT, base + 1000, 10, 10), Button(target, false, SDL_BUTTON_LEFT, base + 1050, 10, 10),
               Button(target, true, row.secondButton, base + row.secondTime, row.secondX, 10)});
    const std::vector<win32::MSG> messages = Taken();
    ASSERT_EQ(messages.size(), 3u) << row.name;
    EXPECT_EQ(messages[2].message, row.expected) << row.name;
    Translate({Button(target, false, row.secondButton, base + row.secondTime + 10, row.secondX, 10)});
    Taken();
  }
  // A third quick press starts over.
  Translate({Button(window, true, SDL_BUTTON_LEFT, 90000, 5, 5), Button(window, true, SDL_BUTTON_LEFT, 90100, 5, 5),
             Button(window, true, SDL_BUTTON_LEFT, 90200, 5, 5), Button(window, true, SDL_BUTTON_LEFT, 90300, 5, 5)});
  std::vector<win32::UINT> kinds;
  for (const win32::MSG& message : Taken()) kinds.push_back(message.message);
  EXPECT_EQ(kinds, (std::vector<win32::UINT>{win32::WM_LBUTTONDOWN, win32::WM_LBUTTONDBLCLK, win32::WM_LBUTTONDOWN,
                                             win32::WM_LBUTTONDBLCLK}));
}

TEST_F(SdlTranslationTest, HeldButtonsKeepTheMouseAndOtherButtonsAreDropped) {
  Translate({Button(window, true, SDL_BUTTON_LEFT, 1, 1, 1)});
  EXPECT_TRUE(translator.IsButtonHeld());
  Translate({Button(window, true, SDL_BUTTON_X1, 2, 1, 1), Button(window, false, SDL_BUTTON_X1, 3, 1, 1)});
  // The release arrives outside the window (negative client coordinates).
  Translate({Button(window, false, SDL_BUTTON_LEFT, 4, -20, 500)});
  EXPECT_FALSE(translator.IsButtonHeld());
  const std::vector<win32::MSG> messages = Taken();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].wParam, win32::MK_LBUTTON);
  EXPECT_EQ(messages[1].message, win32::WM_LBUTTONUP);
  EXPECT_EQ(win32::GET_X_LPARAM(messages[1].lParam), -20);
  EXPECT_EQ(win32::GET_Y_LPARAM(messages[1].lParam), 500);
}

TEST_F(SdlTranslationTest, WheelNotchesAre120WithScreenPosition) {
  SDL_Event wheel{};
  wheel.wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.windowID = Id(window);
  wheel.wheel.y = -2;
  wheel.wheel.mouseX = 5;
  wheel.wheel.mouseY = 6;
  SDL_Event flipped = wheel;
  flipped.wheel.y = 1;
  flipped.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  SDL_Event sideways = wheel;
  sideways.wheel.y = 0;
  sideways.wheel.x = 1;
  Translate({wheel, flipped, sideways});
  const std::vector<win32::MSG> messages = Taken();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(win32::GET_WHEEL_DELTA_WPARAM(messages[0].wParam), -240);
  EXPECT_EQ(win32::GET_X_LPARAM(messages[0].lParam), 105);
  EXPECT_EQ(win32::GET_Y_LPARAM(messages[0].lParam), 106);
  EXPECT_EQ(win32::GET_WHEEL_DELTA_WPARAM(messages[1].wParam), -120);
}

TEST_F(SdlTranslationTest, MonitorsComeFromTheDisplays) {
  EXPECT_FALSE(win32::EnumDisplayMonitors(nullptr, nullptr, [](win32::HMONITOR, win32::HDC, win32::RECT*, win32::LPARAM) {
    return win32::TRUE;
  }, 0));
  system.monitors = {win32::MONITORINFO{40, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, win32::MONITORINFOF_PRIMARY},
                     win32::MONITORINFO{40, {1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}, 0}};
  std::vector<win32::HMONITOR> seen;
  EXPECT_TRUE(win32::EnumDisplayMonitors(nullptr, nullptr, [](win32::HMONITOR monitor, win32::HDC, win32::RECT*, win32::LPARAM data) {
    reinterpret_cast<std::vector<win32::HMONITOR>*>(data)->push_back(monitor);
    return win32::TRUE;
  }, reinterpret_cast<win32::LPARAM>(&seen)));
  ASSERT_EQ(seen.size(), 2u);
  win32::MONITORINFO info{};
  EXPECT_FALSE(win32::GetMonitorInfoA(seen[1], &info));  // no size given
  info.cbSize = sizeof(info);
  ASSERT_TRUE(win32::GetMonitorInfoA(seen[1], &info));
  EXPECT_EQ(info.rcMonitor.left, 1920);
  EXPECT_EQ(info.dwFlags, 0u);
  EXPECT_FALSE(win32::GetMonitorInfoA(reinterpret_cast<win32::HMONITOR>(std::uintptr_t{9}), &info));
}

}  // namespace
