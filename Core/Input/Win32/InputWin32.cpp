#include "Core/Input/Win32/InputWin32.h"

#include "Platform/Win32/Keyboard.h"

namespace input {

namespace {

struct KeyRange {
  int firstCode;
  int lastCode;
  int firstVirtualKey;  // the codes map to consecutive virtual keys from here
};

// Engine key code -> virtual key; codes not listed have none.
constexpr KeyRange kKeyRanges[] = {
    {8, 9, 8},       {12, 13, 12},   {19, 19, 19},   {27, 27, 27},   {32, 32, 32},   {48, 57, 48},
    {58, 58, 186},   {59, 59, 186},  {97, 122, 65},  {127, 127, 46}, {256, 265, 96}, {266, 266, 110},
    {267, 267, 111}, {268, 268, 106}, {269, 269, 109}, {270, 270, 107}, {271, 271, 13}, {273, 273, 38},
    {274, 274, 40},  {275, 275, 39}, {276, 276, 37}, {277, 277, 45}, {278, 278, 36}, {279, 279, 35},
    {280, 280, 33},  {281, 281, 34}, {282, 296, 112}, {300, 300, 144}, {301, 301, 20}, {302, 302, 145},
    {303, 303, 161}, {304, 304, 160}, {305, 305, 163}, {306, 306, 162}, {307, 307, 164}, {308, 308, 165},
    {311, 311, 91},  {312, 312, 92}, {315, 315, 47}, {316, 316, 42}, {317, 317, 44},
};

constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;

bool IsHandledButton(int button) { return button == kLeftButton || button == kRightButton; }

}  // namespace

InputWin32::InputWin32(InputListener* listener, CoordConverter* converter)
    : mListener(listener), mConverter(converter) {
  for (const KeyRange& range : kKeyRanges) {
    for (int code = range.firstCode; code <= range.lastCode; ++code) {
      mKeyTable[static_cast<std::size_t>(code)] = range.firstVirtualKey + (code - range.firstCode);
    }
  }
  // Where several codes share a virtual key the highest code wins; unnamed codes give key 0 -> 323.
  for (int code = 0; code < kKeyCodeCount; ++code) {
    mReverseTable[static_cast<std::size_t>(mKeyTable[static_cast<std::size_t>(code)])] = code;
  }
}

VNResultEnum InputWin32::Update() {
  if (!win32::GetKeyboardState(mKeyboard.data())) return VN_FAIL;
  for (std::size_t key = 0; key < mKeyStates.size(); ++key) {
    std::int32_t& state = mKeyStates[key];
    const bool down = (mKeyboard[key] & 0x80) != 0;
    if (!down) {
      state = state == kKeyHeld ? kKeyReleased : kKeyUp;
    } else {
      state = (state == kKeyPressed || state == kKeyHeld) ? kKeyHeld : kKeyPressed;
    }
  }
  return VN_OK;
}

void InputWin32::OnKeyDown(int virtualKey, win32::LPARAM lParam) {
  Update();
  const int key = virtualKey & 0xFF;
  if (mKeyStates[static_cast<std::size_t>(key)] == kKeyPressed) mListener->OnKeyDown(ToEngineKey(key));
  win32::WCHAR character = 0;
  const auto scanCode = static_cast<win32::UINT>((lParam >> 16) & 0xFF);
  if (win32::ToUnicode(static_cast<win32::UINT>(key), scanCode, mKeyboard.data(), &character, 1, 0) == 1) {
    mListener->OnChar(character);
  }
}

void InputWin32::OnKeyUp(int virtualKey, win32::LPARAM) { mListener->OnKeyUp(ToEngineKey(virtualKey & 0xFF)); }

VNResultEnum InputWin32::OnMouseDown(const math::Point2& windowPoint, int button) {
  if (!IsHandledButton(button)) return VN_OK;
  const math::Point2 point = ToLogical(windowPoint);
  mButtonStates[static_cast<std::size_t>(button)] = kButtonPressed;
  return mListener->OnMouseDown(point, button);
}

VNResultEnum InputWin32::OnMouseUp(const math::Point2& windowPoint, int button) {
  if (!IsHandledButton(button)) return VN_OK;
  const math::Point2 point = ToLogical(windowPoint);
  mButtonStates[static_cast<std::size_t>(button)] = kButtonUp;
  return mListener->OnMouseUp(point, button);
}

VNResultEnum InputWin32::OnMouseDoubleClick(const math::Point2& windowPoint, int button) {
  if (!IsHandledButton(button)) return VN_OK;
  const math::Point2 point = ToLogical(windowPoint);
  mButtonStates[static_cast<std::size_t>(button)] = kButtonDoubleClicked;
  return mListener->OnMouseDoubleClick(point, button);
}

VNResultEnum InputWin32::OnMouseMove(const math::Point2& windowPoint) {
  const math::Point2 point = ToLogical(windowPoint);
  return IsButtonHeld() ? mListener->OnMouseDrag(point) : mListener->OnMouseMove(point);
}

VNResultEnum InputWin32::OnMouseExitMove(const math::Point2& windowPoint) { return OnMouseMove(windowPoint); }

VNResultEnum InputWin32::OnMouseWheel(const math::Point2& windowPoint, int delta) {
  return mListener->OnMouseWheel(ToLogical(windowPoint), delta);
}

VNResultEnum InputWin32::OnMouseLeave(const math::Point2& windowPoint) {
  return mListener->OnMouseLeave(ToLogical(windowPoint));
}

int InputWin32::GetButtonState(int button) const {
  return button >= 0 && button < static_cast<int>(mButtonStates.size()) ? mButtonStates[static_cast<std::size_t>(button)]
                                                                         : kButtonUp;
}

int InputWin32::ToVirtualKey(int key) const {
  return key >= 0 && key < kKeyCodeCount ? mKeyTable[static_cast<std::size_t>(key)] : 0;
}

int InputWin32::ToEngineKey(int virtualKey) const {
  return virtualKey >= 0 && virtualKey < 256 ? mReverseTable[static_cast<std::size_t>(virtualKey)] : 0;
}

math::Point2 InputWin32::ToLogical(const math::Point2& windowPoint) {
  mLastPosition = mConverter->ToLogical(windowPoint);
  return mLastPosition;
}

bool InputWin32::IsButtonHeld() const {
  for (const std::int32_t state : mButtonStates) {
    if (state == kButtonPressed) return true;
  }
  return false;
}

}  // namespace input
