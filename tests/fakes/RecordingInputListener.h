#pragma once
// An input listener that writes every event as one line of text ("down 1 10,20", "char 97"), and
// a converter that scales window points (identity by default).
#include <string>
#include <vector>

#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"

namespace fakes {

class RecordingInputListener : public input::InputListener {
 public:
  VNResultEnum OnMouseDown(const math::Point2& point, int button) override;
  VNResultEnum OnMouseUp(const math::Point2& point, int button) override;
  VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button) override;
  VNResultEnum OnMouseMove(const math::Point2& point) override;
  VNResultEnum OnMouseDrag(const math::Point2& point) override;
  VNResultEnum OnMouseWheel(const math::Point2& point, int delta) override;
  VNResultEnum OnMouseLeave(const math::Point2& point) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void OnChar(int character) override;
  VNResultEnum OnTouchDown(const input::Touches& touches) override;
  VNResultEnum OnTouchMove(const input::Touches& touches) override;
  VNResultEnum OnTouchUp(const input::Touches& touches) override;
  VNResultEnum OnTouchCancel(const input::Touches& touches) override;

  // Called with each line as it is recorded (the end-to-end program prints them).
  virtual void OnEvent(const std::string&) {}

  std::vector<std::string> events;
  // What every mouse and touch operation returns.
  VNResultEnum result = VN_OK;

 private:
  VNResultEnum Record(const std::string& line);
};

class ScaleConverter : public input::CoordConverter {
 public:
  explicit ScaleConverter(float scale = 1.0f) : mScale(scale) {}
  math::Point2 ToLogical(const math::Point2& point) override { return math::Point2(point.x * mScale, point.y * mScale); }
  math::Point2 ApplyOrientation(const math::Point2& point, int) override { return point; }

 private:
  float mScale;
};

}  // namespace fakes
