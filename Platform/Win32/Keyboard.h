#pragma once
// Virtual keys, the key state array and the characters typed by key presses.
#include "Platform/Win32/Types.h"

namespace win32 {

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_PRINT = 0x2A;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_HELP = 0x2F;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F10 = 0x79;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA;
constexpr int VK_OEM_PLUS = 0xBB;
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_MINUS = 0xBD;
constexpr int VK_OEM_PERIOD = 0xBE;
constexpr int VK_OEM_2 = 0xBF;
constexpr int VK_OEM_3 = 0xC0;
constexpr int VK_OEM_4 = 0xDB;
constexpr int VK_OEM_5 = 0xDC;
constexpr int VK_OEM_6 = 0xDD;
constexpr int VK_OEM_7 = 0xDE;
constexpr int VK_OEM_102 = 0xE2;

// Bits of a key message's lParam.
constexpr LPARAM KF_EXTENDED = 1 << 24;  // right-hand Ctrl/Alt, arrows, keypad Enter, ...
constexpr LPARAM KF_ALTDOWN = 1 << 29;   // Alt was held when the key went down
constexpr LPARAM KF_REPEAT = 1 << 30;    // the key was already down (auto-repeat, or any key-up)
constexpr LPARAM KF_UP = static_cast<LPARAM>(1u << 31);

// The 256 key bytes as of the last key or button message taken from the queue: bit 7 = down,
// bit 0 = toggled (odd number of presses). Shift, Ctrl and Alt are tracked both generically
// (VK_SHIFT) and per side (VK_LSHIFT, VK_RSHIFT). Always succeeds.
BOOL GetKeyboardState(BYTE* state);
// One key's byte as a signed value: negative while down.
short GetKeyState(int virtualKey);
// Clears every key and the typed text (tests).
void ResetKeyboardState();

// The character the key press being handled typed: the text that SDL's text input gave for it
// (any keyboard layout), else the control characters of Backspace (8), Tab (9), Return (13),
// Escape (27) and Ctrl+letter (1 to 26, read from keyState). Returns the number of UTF-16 units
// the key typed (the first size of them are written), or 0 when it types nothing. Dead keys are
// not reported: the composed character comes with the next key.
int ToUnicode(UINT virtualKey, UINT scanCode, const BYTE* keyState, WCHAR* buffer, int size, UINT flags);

}  // namespace win32
