#pragma once
#include <array>
#include <cstdint>

#include "Core/Base/Result.h"
#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"
#include "Platform/Win32/Types.h"

namespace input {

// Keeps the state of the 256 virtual keys and of the mouse buttons, converts window positions to
// logical ones and reports key and mouse messages to one listener. Main thread only.
class InputWin32 {
 public:
  // Key states, advanced by Update.
  enum KeyState { kKeyUp = 0, kKeyPressed = 1, kKeyHeld = 2, kKeyReleased = 3 };
  // Button states, changed by the mouse messages.
  enum ButtonState { kButtonUp = 0, kButtonPressed = 1, kButtonDoubleClicked = 4 };
  static constexpr int kKeyCodeCount = 324;

  // Neither is owned; both must outlive the object.
  InputWin32(InputListener* listener, CoordConverter* converter);

  // Reads the key bytes and advances every key state: once per frame and at each key press.
  // 1 when the key bytes cannot be read.
  VNResultEnum Update();

  // From WM_KEYDOWN: OnKeyDown on the first press (not on auto-repeat), then the typed character on
  // every key-down message.
  void OnKeyDown(int virtualKey, win32::LPARAM lParam);
  void OnKeyUp(int virtualKey, win32::LPARAM lParam);

  // Window points in client pixels; buttons 1 (left) and 3 (right), others are ignored (0).
  // Each returns the listener's result.
  VNResultEnum OnMouseDown(const math::Point2& windowPoint, int button);
  VNResultEnum OnMouseUp(const math::Point2& windowPoint, int button);
  VNResultEnum OnMouseDoubleClick(const math::Point2& windowPoint, int button);
  VNResultEnum OnMouseMove(const math::Point2& windowPoint);
  VNResultEnum OnMouseWheel(const math::Point2& windowPoint, int delta);
  VNResultEnum OnMouseLeave(const math::Point2& windowPoint);
  // The last move at the point where the cursor left the client area.
  VNResultEnum OnMouseExitMove(const math::Point2& windowPoint);

  int GetKeyState(int virtualKey) const { return mKeyStates[static_cast<std::size_t>(virtualKey) & 0xFF]; }
  int GetButtonState(int button) const;
  const math::Point2& GetLastPosition() const { return mLastPosition; }
  // Engine key code -> virtual key (0: none), and back; 0 outside the tables.
  int ToVirtualKey(int key) const;
  int ToEngineKey(int virtualKey) const;

 private:
  math::Point2 ToLogical(const math::Point2& windowPoint);
  bool IsButtonHeld() const;

  InputListener* mListener;
  CoordConverter* mConverter;
  math::Point2 mLastPosition;
  std::array<std::int32_t, 4> mButtonStates{};
  std::array<std::int32_t, 256> mKeyStates{};
  std::array<win32::BYTE, 256> mKeyboard{};
  std::array<std::int32_t, kKeyCodeCount> mKeyTable{};
  std::array<std::int32_t, kKeyCodeCount> mReverseTable{};
};

}  // namespace input
