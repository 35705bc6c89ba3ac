#include "fakes/RecordingInputListener.h"

#include <cstdio>

namespace fakes {

namespace {

std::string At(const math::Point2& point) {
  char text[64];
  std::snprintf(text, sizeof(text), "%g,%g", point.x, point.y);
  return text;
}

std::string Touches(const char* kind, const input::Touches& touches) {
  std::string line = kind;
  for (const input::Touch& touch : touches) line += " " + std::to_string(touch.id) + "@" + At(math::Point2(touch.x, touch.y));
  return line;
}

}  // namespace

VNResultEnum RecordingInputListener::Record(const std::string& line) {
  events.push_back(line);
  OnEvent(line);
  return result;
}

VNResultEnum RecordingInputListener::OnMouseDown(const math::Point2& point, int button) {
  return Record("down " + std::to_string(button) + " " + At(point));
}
VNResultEnum RecordingInputListener::OnMouseUp(const math::Point2& point, int button) {
  return Record("up " + std::to_string(button) + " " + At(point));
}
VNResultEnum RecordingInputListener::OnMouseDoubleClick(const math::Point2& point, int button) {
  return Record("double " + std::to_string(button) + " " + At(point));
}
VNResultEnum RecordingInputListener::OnMouseMove(const math::Point2& point) { return Record("move " + At(point)); }
VNResultEnum RecordingInputListener::OnMouseDrag(const math::Point2& point) { return Record("drag " + At(point)); }
VNResultEnum RecordingInputListener::OnMouseWheel(const math::Point2& point, int delta) {
  return Record("wheel " + std::to_string(delta) + " " + At(point));
}
VNResultEnum RecordingInputListener::OnMouseLeave(const math::Point2& point) { return Record("leave " + At(point)); }
void RecordingInputListener::OnKeyDown(int key) { Record("keydown " + std::to_string(key)); }
void RecordingInputListener::OnKeyUp(int key) { Record("keyup " + std::to_string(key)); }
void RecordingInputListener::OnChar(int character) { Record("char " + std::to_string(character)); }
VNResultEnum RecordingInputListener::OnTouchDown(const input::Touches& touches) { return Record(Touches("touchdown", touches)); }
VNResultEnum RecordingInputListener::OnTouchMove(const input::Touches& touches) { return Record(Touches("touchmove", touches)); }
VNResultEnum RecordingInputListener::OnTouchUp(const input::Touches& touches) { return Record(Touches("touchup", touches)); }
VNResultEnum RecordingInputListener::OnTouchCancel(const input::Touches& touches) {
  return Record(Touches("touchcancel", touches));
}

}  // namespace fakes
