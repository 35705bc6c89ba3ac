#include "Platform/Win32/SdlEvents.h"

#include <cstdlib>

#include "Platform/Win32/SdlKeys.h"
#include "Platform/Win32/Utf.h"
#include "Platform/Win32/WindowSystem.h"

namespace win32 {

namespace {

HWND WindowOf(Uint32 windowId) {
  const WindowRecord* record = FindWindowRecordByNativeId(windowId);
  return record ? record->handle : nullptr;
}

WPARAM ButtonFlag(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return MK_LBUTTON;
    case SDL_BUTTON_RIGHT: return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return MK_MBUTTON;
    default: return 0;
  }
}

// WM_xBUTTONDOWN of a button; UP is +1, DBLCLK +2.
UINT DownMessage(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return WM_LBUTTONDOWN;
    case SDL_BUTTON_RIGHT: return WM_RBUTTONDOWN;
    default: return WM_MBUTTONDOWN;
  }
}

WPARAM ModifierFlags() {
  const SDL_Keymod mod = SDL_GetModState();
  return ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
}

}  // namespace

void SdlEventTranslator::Translate(const SDL_Event* events, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const SDL_Event& event = events[i];
    switch (event.type) {
      case SDL_QUIT:
        for (WindowRecord* record : AllWindowRecords()) PostMessageW(record->handle, WM_CLOSE, 0, 0);
        break;
      case SDL_WINDOWEVENT: TranslateWindow(event.window); break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (TranslateKey(event.key, i + 1 < count ? &events[i + 1] : nullptr)) ++i;
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: TranslateButton(event.button); break;
      case SDL_MOUSEMOTION:
        if (const HWND window = WindowOf(event.motion.windowID)) {
          PostMessageW(window, WM_MOUSEMOVE, mButtons | ModifierFlags(), MAKELPARAM(event.motion.x, event.motion.y));
        }
        break;
      case SDL_MOUSEWHEEL: TranslateWheel(event.wheel); break;
      default: break;  // text without a key (an input method's commit) types nothing, as WM_CHAR is not used
    }
  }
}

bool SdlEventTranslator::TranslateKey(const SDL_KeyboardEvent& key, const SDL_Event* next) {
  const HWND window = WindowOf(key.windowID);
  const bool down = key.type == SDL_KEYDOWN;
  std::u16string text;
  const bool withText = down && next && next->type == SDL_TEXTINPUT && next->text.windowID == key.windowID;
  if (withText) text = Utf8ToUtf16(next->text.text);
  if (!window) return withText;

  KeyCode code = KeyOfScancode(key.keysym.scancode, key.keysym.sym);
  if (!code.virtualKey) {
    if (text.empty() && down) return withText;
    code = KeyCode{VK_PACKET, 0, false};
  }
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
  const bool system = (alt && !ctrl) || code.virtualKey == VK_F10 || (!down && code.virtualKey == VK_MENU);
  LPARAM lParam = 1 | (static_cast<LPARAM>(code.scanCode & 0xFF) << 16);
  if (code.extended) lParam |= KF_EXTENDED;
  if (alt) lParam |= KF_ALTDOWN;
  if (key.repeat || !down) lParam |= KF_REPEAT;
  if (!down) lParam |= KF_UP;
  const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  PostKeyMessage(window, message, static_cast<WPARAM>(code.virtualKey), lParam, text);
  return withText;
}

void SdlEventTranslator::TranslateButton(const SDL_MouseButtonEvent& button) {
  const WPARAM flag = ButtonFlag(button.button);
  if (!flag) return;
  const bool down = button.type == SDL_MOUSEBUTTONDOWN;
  if (down) {
    mButtons |= flag;
  } else {
    mButtons &= ~flag;
  }
  const WindowRecord* record = FindWindowRecordByNativeId(button.windowID);
  if (!record) return;

  UINT message = DownMessage(button.button) + (down ? 0 : 1);
  if (down) {
    const bool twice = (record->classStyle & CS_DBLCLKS) && !mLastPress.wasDouble &&
                       mLastPress.button == button.button && button.timestamp - mLastPress.time <= kDoubleClickTime &&
                       std::abs(button.x - mLastPress.x) <= kDoubleClickDistance &&
                       std::abs(button.y - mLastPress.y) <= kDoubleClickDistance;
    if (twice) message += 2;
    mLastPress = Press{button.button, button.timestamp, button.x, button.y, twice};
  }
  PostMessageW(record->handle, message, mButtons | ModifierFlags(), MAKELPARAM(button.x, button.y));
}

void SdlEventTranslator::TranslateWindow(const SDL_WindowEvent& event) {
  WindowRecord* record = FindWindowRecordByNativeId(event.windowID);
  if (!record) return;
  const HWND window = record->handle;
  RECT& rect = record->rect;
  const LPARAM size = MAKELPARAM(rect.right - rect.left, rect.bottom - rect.top);
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN: record->visible = true; break;
    case SDL_WINDOWEVENT_HIDDEN: record->visible = false; break;
    case SDL_WINDOWEVENT_EXPOSED: PostMessageW(window, WM_PAINT, 0, 0); break;
    case SDL_WINDOWEVENT_MOVED:
      rect = RECT{event.data1, event.data2, event.data1 + (rect.right - rect.left), event.data2 + (rect.bottom - rect.top)};
      PostMessageW(window, WM_MOVE, 0, MAKELPARAM(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      rect.right = rect.left + event.data1;
      rect.bottom = rect.top + event.data2;
      if (!record->minimized) PostMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      record->minimized = true;
      PostMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      record->minimized = false;
      PostMessageW(window, WM_SIZE, SIZE_RESTORED, size);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: PostMessageW(window, WM_ACTIVATEAPP, TRUE, 0); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: PostMessageW(window, WM_ACTIVATEAPP, FALSE, 0); break;
    case SDL_WINDOWEVENT_CLOSE: PostMessageW(window, WM_CLOSE, 0, 0); break;
    default: break;
  }
}

void SdlEventTranslator::TranslateWheel(const SDL_MouseWheelEvent& wheel) {
  const WindowRecord* record = FindWindowRecordByNativeId(wheel.windowID);
  if (!record || wheel.y == 0) return;
  const int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  const WPARAM wParam = (mButtons | ModifierFlags()) |
                        (static_cast<WPARAM>(static_cast<WORD>(notches * WHEEL_DELTA)) << 16);
  PostMessageW(record->handle, WM_MOUSEWHEEL, wParam,
               MAKELPARAM(wheel.mouseX + record->rect.left, wheel.mouseY + record->rect.top));
}

}  // namespace win32
