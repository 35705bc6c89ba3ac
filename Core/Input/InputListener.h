#pragma once
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Math/Point.h"

namespace input {

// One touch point, in window coordinates.
struct Touch {
  int id;
  float x;
  float y;
};
using Touches = std::vector<Touch>;

// The receiver of mouse and keyboard events. Positions are logical (design) coordinates; buttons
// are 1 (left) and 3 (right). Mouse and touch results are passed back to the input object's caller.
class InputListener {
 public:
  virtual ~InputListener() = default;
  virtual VNResultEnum OnMouseDown(const math::Point2& point, int button) = 0;
  virtual VNResultEnum OnMouseUp(const math::Point2& point, int button) = 0;
  virtual VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button) = 0;
  // The mouse moved with no button held.
  virtual VNResultEnum OnMouseMove(const math::Point2& point) = 0;
  // The mouse moved with a button held.
  virtual VNResultEnum OnMouseDrag(const math::Point2& point) = 0;
  // delta: a signed multiple of 120, positive when the wheel turns away from the user.
  virtual VNResultEnum OnMouseWheel(const math::Point2& point, int delta) = 0;
  // The cursor left the client area.
  virtual VNResultEnum OnMouseLeave(const math::Point2& point) = 0;
  // An engine key code (InputWin32's key table).
  virtual void OnKeyDown(int key) = 0;
  virtual void OnKeyUp(int key) = 0;
  // One UTF-16 code unit.
  virtual void OnChar(int character) = 0;
  virtual VNResultEnum OnTouchDown(const Touches& touches) = 0;
  virtual VNResultEnum OnTouchMove(const Touches& touches) = 0;
  virtual VNResultEnum OnTouchUp(const Touches& touches) = 0;
  virtual VNResultEnum OnTouchCancel(const Touches& touches) = 0;
};

}  // namespace input
