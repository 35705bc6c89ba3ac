#pragma once
// SDL keys as Windows keys. Private to Platform/Win32.
#include <SDL.h>

#include "Platform/Win32/Keyboard.h"

namespace win32 {

// VK_PACKET: a key that only types a character (a key the layout table does not know).
constexpr int VK_PACKET = 0xE7;

struct KeyCode {
  int virtualKey;  // 0: no Windows key
  int scanCode;    // PC set-1 scan code, as in bits 16 to 23 of a key message
  bool extended;   // bit 24 of a key message
};

// The Windows key of a physical key. A key whose layout symbol is a Latin letter is that letter's
// key, as on Windows (the key typing 'q' on an AZERTY layout is VK 'Q'); other keys, and every key
// of a layout without Latin letters (Cyrillic), keep their US positions. Shift, Ctrl and Alt give the generic keys, with the
// side in the scan code and extended bit.
KeyCode KeyOfScancode(SDL_Scancode scancode, SDL_Keycode symbol);

}  // namespace win32
