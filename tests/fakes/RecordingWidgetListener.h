#pragma once
// A widget listener (and frame and button helpers) that record every notification in a shared
// journal as "name.Operation(argument)", and fail a chosen operation.
#include <string>
#include <vector>

#include "Core/Widget/WidgetListener.h"

namespace fakes {

class RecordingWidgetListener : public widget::WidgetListener {
 public:
  explicit RecordingWidgetListener(std::string name = "", std::vector<std::string>* journal = nullptr)
      : mName(std::move(name)), mJournal(journal) {}

  VNResultEnum OnUpdate(float) override { return Record("OnUpdate"); }
  VNResultEnum OnDrawBefore(render::Graphics*, layer::Layer*) override { return Record("OnDrawBefore"); }
  VNResultEnum OnDrawAfter(render::Graphics*, layer::Layer*) override { return Record("OnDrawAfter"); }
  VNResultEnum OnAttach() override { return Record("OnAttach"); }
  VNResultEnum OnDetach() override { return Record("OnDetach"); }
  VNResultEnum OnShow() override { return Record("OnShow"); }
  VNResultEnum OnHide() override { return Record("OnHide"); }
  VNResultEnum OnMouseOver(bool over) override { return Record(over ? "OnMouseOver(1)" : "OnMouseOver(0)"); }
  VNResultEnum OnMouseInside(bool inside) override {
    return Record(inside ? "OnMouseInside(1)" : "OnMouseInside(0)");
  }
  VNResultEnum OnDisabled(bool disabled) override { return Record(disabled ? "OnDisabled(1)" : "OnDisabled(0)"); }
  VNResultEnum OnDisabledAlternate(bool disabled) override {
    return Record(disabled ? "OnDisabledAlternate(1)" : "OnDisabledAlternate(0)");
  }
  VNResultEnum OnCapturedMouseDown(widget::MouseCapture&, const math::Point3&, int) override {
    return Record("OnCapturedMouseDown");
  }
  VNResultEnum OnCapturedMouseUp(widget::MouseCapture& capture, const math::Point3& point, int button) override;
  VNResultEnum OnCapturedMouseMove(widget::MouseCapture& capture, const math::Point3& point) override;
  VNResultEnum OnCapturedMouseDrag(widget::MouseCapture& capture, const math::Point3& point) override;
  VNResultEnum OnCapturedMouseWheel(widget::MouseCapture&, const math::Point3&, int) override {
    return Record("OnCapturedMouseWheel");
  }

  std::string mName;
  std::vector<std::string>* mJournal;
  std::vector<std::string> mCalls;  // this listener's own operations, without the name
  std::string mFailOn;              // this operation (as recorded) returns 1
  math::Point3 mLastCapturedPoint;

 private:
  VNResultEnum Record(const std::string& operation);
};

}  // namespace fakes
