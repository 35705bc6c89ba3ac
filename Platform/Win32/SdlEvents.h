#pragma once
// SDL events as window messages. Private to Platform/Win32.
#include <SDL.h>

#include <cstddef>

#include "Platform/Win32/Messages.h"

namespace win32 {

// Milliseconds and pixels within which a second press of a button is a double click.
constexpr Uint32 kDoubleClickTime = 500;
constexpr int kDoubleClickDistance = 2;

// Posts the messages of a batch of SDL events to the queue, in order, for the windows of this
// process (events of other windows are dropped):
// - window: shown/hidden (no message), exposed WM_PAINT, moved WM_MOVE, size changed or restored
//   WM_SIZE (SIZE_RESTORED), minimised WM_SIZE (SIZE_MINIMIZED), focus WM_ACTIVATEAPP, close
//   WM_CLOSE; SDL_QUIT (a signal) WM_CLOSE to every window;
// - keys: WM_(SYS)KEYDOWN/UP with the scan code, extended, Alt, repeat and up bits, carrying the
//   text of the SDL_TEXTINPUT that follows the key-down; a key only known by its text is VK_PACKET;
// - mouse: left, right and middle buttons (others dropped), with WM_xBUTTONDBLCLK for a second
//   press within kDoubleClickTime and kDoubleClickDistance in a CS_DBLCLKS window; moves; the
//   wheel as WM_MOUSEWHEEL, WHEEL_DELTA per notch with screen coordinates.
class SdlEventTranslator {
 public:
  void Translate(const SDL_Event* events, std::size_t count);
  // A button is held: the mouse stays captured so the release arrives even outside the window.
  bool IsButtonHeld() const { return (mButtons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0; }

 private:
  // Returns whether the next event (the key's text) was used.
  bool TranslateKey(const SDL_KeyboardEvent& key, const SDL_Event* next);
  void TranslateButton(const SDL_MouseButtonEvent& button);
  void TranslateWindow(const SDL_WindowEvent& window);
  void TranslateWheel(const SDL_MouseWheelEvent& wheel);

  WPARAM mButtons = 0;  // MK_ flags of the held buttons
  struct Press {
    Uint8 button = 0;
    Uint32 time = 0;
    int x = 0;
    int y = 0;
    bool wasDouble = false;
  } mLastPress;
};

}  // namespace win32
