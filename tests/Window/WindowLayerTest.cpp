#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "Platform/Win32/Instance.h"
#include "Platform/Win32/SdlEvents.h"
#include "Platform/Win32/Window.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

std::vector<win32::UINT> sSeen;

win32::LRESULT RecordingProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam) {
  sSeen.push_back(message);
  // Destroying again while being destroyed is refused, not repeated.
  if (message == win32::WM_DESTROY) {
    EXPECT_FALSE(win32::DestroyWindow(window));
  }
  return win32::DefWindowProcW(window, message, wParam, lParam);
}

class WindowLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sSeen.clear();
    fakes::DrainMessages();
    win32::WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = win32::CS_DBLCLKS;
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = u"Recording";
    ASSERT_NE(win32::RegisterClassExW(&windowClass), 0);
    window = win32::CreateWindowExW(0, u"Recording", u"Layer test", 0, 10, 20, 300, 200, nullptr, nullptr, nullptr,
                                    nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (win32::IsWindow(window)) win32::DestroyWindow(window);
    fakes::DrainMessages();
  }

  // The messages waiting for the window, taken in order.
  std::vector<win32::MSG> Taken() {
    std::vector<win32::MSG> messages;
    win32::MSG message{};
    while (win32::PeekMessageW(&message, window, 0, 0, win32::PM_REMOVE)) messages.push_back(message);
    return messages;
  }

  std::uint32_t NativeId() const { return win32::FindWindowRecord(window)->nativeId; }

  fakes::ScriptedWindowSystem system;
  win32::HWND window = nullptr;
};

TEST_F(WindowLayerTest, CreationSendsCreateAndUnknownClassFails) {
  EXPECT_EQ(sSeen, (std::vector<win32::UINT>{win32::WM_CREATE}));
  EXPECT_EQ(win32::CreateWindowExW(0, u"Nobody", u"x", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowLayerTest, DestroyWindowSendsDestroyAtOnceAndDropsWaitingMessages) {
  win32::PostMessageW(window, win32::WM_PAINT, 0, 0);
  win32::SetTimer(window, 1, 10, nullptr);
  sSeen.clear();
  EXPECT_TRUE(win32::DestroyWindow(window));
  EXPECT_EQ(sSeen, (std::vector<win32::UINT>{win32::WM_DESTROY}));
  EXPECT_FALSE(win32::IsWindow(window));
  EXPECT_TRUE(Taken().empty());
  EXPECT_FALSE(win32::DestroyWindow(window));
  EXPECT_EQ(system.closed, 1);
}

TEST_F(WindowLayerTest, DefaultProcedureDestroysOnClose) {
  win32::SendMessageW(window, win32::WM_CLOSE, 0, 0);
  EXPECT_FALSE(win32::IsWindow(window));
}

TEST_F(WindowLayerTest, ClientAndScreenCoordinates) {
  win32::POINT point{5, 6};
  win32::ClientToScreen(window, &point);
  EXPECT_EQ(point.x, 15);
  EXPECT_EQ(point.y, 26);
  win32::ScreenToClient(window, &point);
  EXPECT_EQ(point.x, 5);
  win32::RECT client{};
  win32::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  system.MoveCursor(window, 309, 219);
  EXPECT_EQ(win32::WindowFromPoint(system.cursor), window);
  EXPECT_EQ(win32::WindowFromPoint(win32::POINT{310, 219}), nullptr);
}

TEST(InstanceTest, SecondOpenOfTheSameWindowFailsAndARestoreRequestIsAnswered) {
  fakes::ScriptedWindowSystem system;  // a private runtime folder
  const std::u16string className = u"ApplicationWindow";
  EXPECT_FALSE(win32::IsInstanceRunning(className, u"First"));
  win32::InstanceServer first;
  ASSERT_TRUE(first.Open(className, u"First"));
  EXPECT_TRUE(win32::IsInstanceRunning(className, u"First"));
  EXPECT_FALSE(win32::IsInstanceRunning(className, u"Other title"));
  win32::InstanceServer again;
  EXPECT_FALSE(again.Open(className, u"First"));

  EXPECT_FALSE(first.Poll());
  auto answered = std::async(std::launch::async, [&] { return win32::RequestRestore(className, u"First"); });
  bool restore = false;
  while (!restore && answered.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) restore = first.Poll();
  EXPECT_TRUE(restore);
  EXPECT_TRUE(answered.get());
  EXPECT_FALSE(win32::RequestRestore(className, u"Other title"));
}

TEST_F(WindowLayerTest, WindowEventsBecomeWindowMessages) {
  std::vector<SDL_Event> events(8);
  const Uint8 kinds[] = {SDL_WINDOWEVENT_MOVED, SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_MINIMIZED,
                         SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED,
                         SDL_WINDOWEVENT_CLOSE};
  for (std::size_t i = 0; i < 7; ++i) {
    events[i].window = SDL_WindowEvent{};
    events[i].type = SDL_WINDOWEVENT;
    events[i].window.windowID = NativeId();
    events[i].window.event = kinds[i];
  }
  events[0].window.data1 = 40;
  events[0].window.data2 = 50;
  events[1].window.data1 = 320;
  events[1].window.data2 = 240;
  events[7].type = SDL_QUIT;
  win32::SdlEventTranslator translator;
  translator.Translate(events.data(), events.size());

  const std::vector<win32::MSG> messages = Taken();
  std::vector<std::string> seen;
  for (const win32::MSG& m : messages) {
    seen.push_back(std::to_string(m.message) + ":" + std::to_string(m.wParam) + ":" + std::to_string(m.lParam));
  }
  using win32::MAKELPARAM;
  const auto row = [](win32::UINT message, win32::WPARAM wParam, win32::LPARAM lParam) {
    return std::to_string(message) + ":" + std::to_string(wParam) + ":" + std::to_string(lParam);
  };
  EXPECT_EQ(seen, (std::vector<std::string>{
                      row(win32::WM_MOVE, 0, MAKELPARAM(40, 50)),
                      row(win32::WM_SIZE, win32::SIZE_RESTORED, MAKELPARAM(320, 240)),
                      row(win32::WM_SIZE, win32::SIZE_MINIMIZED, 0),
                      row(win32::WM_SIZE, win32::SIZE_RESTORED, MAKELPARAM(320, 240)),
                      row(win32::WM_ACTIVATEAPP, 0, 0),
                      row(win32::WM_ACTIVATEAPP, 1, 0),
                      row(win32::WM_CLOSE, 0, 0),
                      row(win32::WM_CLOSE, 0, 0),  // SDL_QUIT, a signal, closes every window
                  }));
  win32::RECT rect{};
  win32::GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.bottom, 50 + 240);
}

}  // namespace
