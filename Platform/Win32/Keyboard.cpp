#include "Platform/Win32/Keyboard.h"

#include <array>
#include <mutex>
#include <string>

#include "Platform/Win32/KeyState.h"

namespace win32 {

namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

struct KeyboardState {
  std::mutex mutex;
  std::array<BYTE, 256> keys{};
  std::u16string typed;
};

KeyboardState& TheKeyboard() {
  static KeyboardState& keyboard = *new KeyboardState;  // never destroyed, as the window table
  return keyboard;
}

void SetKey(std::array<BYTE, 256>& keys, int key, bool down) {
  BYTE& byte = keys[static_cast<std::size_t>(key) & 0xFF];
  if (down && !(byte & kDown)) byte ^= kToggled;
  byte = down ? (byte | kDown) : (byte & ~kDown);
}

// The side of a generic modifier named by a key message, from its scan code and extended bit.
int SideOf(int key, LPARAM lParam) {
  const bool extended = (lParam & KF_EXTENDED) != 0;
  switch (key) {
    case VK_SHIFT: return ((lParam >> 16) & 0xFF) == 0x36 ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
    default: return 0;
  }
}

void TrackKey(std::array<BYTE, 256>& keys, int key, LPARAM lParam, bool down) {
  if (const int side = SideOf(key, lParam)) {
    SetKey(keys, side, down);
    const int left = side & ~1;  // VK_LSHIFT, VK_LCONTROL, VK_LMENU are even, their right sides odd
    const bool either = (keys[left] & kDown) || (keys[left + 1] & kDown);
    keys[key] = either ? (keys[key] | kDown) : (keys[key] & ~kDown);
    return;
  }
  SetKey(keys, key, down);
}

}  // namespace

void TrackInputMessage(const MSG& message, std::u16string_view text) {
  KeyboardState& keyboard = TheKeyboard();
  std::lock_guard<std::mutex> lock(keyboard.mutex);
  auto& keys = keyboard.keys;
  const int key = static_cast<int>(message.wParam & 0xFF);
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      TrackKey(keys, key, message.lParam, true);
      keyboard.typed = text;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      TrackKey(keys, key, message.lParam, false);
      keyboard.typed.clear();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: SetKey(keys, VK_LBUTTON, true); break;
    case WM_LBUTTONUP: SetKey(keys, VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: SetKey(keys, VK_RBUTTON, true); break;
    case WM_RBUTTONUP: SetKey(keys, VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: SetKey(keys, VK_MBUTTON, true); break;
    case WM_MBUTTONUP: SetKey(keys, VK_MBUTTON, false); break;
    default: break;
  }
}

BOOL GetKeyboardState(BYTE* state) {
  KeyboardState& keyboard = TheKeyboard();
  std::lock_guard<std::mutex> lock(keyboard.mutex);
  std::copy(keyboard.keys.begin(), keyboard.keys.end(), state);
  return TRUE;
}

short GetKeyState(int virtualKey) {
  KeyboardState& keyboard = TheKeyboard();
  std::lock_guard<std::mutex> lock(keyboard.mutex);
  const BYTE byte = keyboard.keys[static_cast<std::size_t>(virtualKey) & 0xFF];
  return static_cast<short>(((byte & kDown) ? 0x8000 : 0) | (byte & kToggled));
}

void ResetKeyboardState() {
  KeyboardState& keyboard = TheKeyboard();
  std::lock_guard<std::mutex> lock(keyboard.mutex);
  keyboard.keys.fill(0);
  keyboard.typed.clear();
}

int ToUnicode(UINT virtualKey, UINT, const BYTE* keyState, WCHAR* buffer, int size, UINT) {
  std::u16string typed;
  {
    KeyboardState& keyboard = TheKeyboard();
    std::lock_guard<std::mutex> lock(keyboard.mutex);
    typed = keyboard.typed;
  }
  if (typed.empty()) {
    const bool control = (keyState[VK_CONTROL] & kDown) && !(keyState[VK_MENU] & kDown);
    switch (virtualKey) {
      case VK_BACK:
      case VK_TAB:
      case VK_RETURN:
      case VK_ESCAPE: typed = char16_t(virtualKey); break;
      default:
        if (control && virtualKey >= 'A' && virtualKey <= 'Z') typed = char16_t(virtualKey - 'A' + 1);
        break;
    }
  }
  for (int i = 0; i < size && i < static_cast<int>(typed.size()); ++i) buffer[i] = typed[static_cast<std::size_t>(i)];
  return static_cast<int>(typed.size());
}

}  // namespace win32
