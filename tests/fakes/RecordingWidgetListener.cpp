#include "fakes/RecordingWidgetListener.h"

namespace fakes {

VNResultEnum RecordingWidgetListener::Record(const std::string& operation) {
  mCalls.push_back(operation);
  if (mJournal) mJournal->push_back(mName + "." + operation);
  return operation == mFailOn ? VN_FAIL : VN_OK;
}

VNResultEnum RecordingWidgetListener::OnCapturedMouseUp(widget::MouseCapture& capture, const math::Point3& point,
                                                        int button) {
  mLastCapturedPoint = point;
  if (const VNResultEnum result = Record("OnCapturedMouseUp")) return result;
  return WidgetListener::OnCapturedMouseUp(capture, point, button);
}

VNResultEnum RecordingWidgetListener::OnCapturedMouseMove(widget::MouseCapture& capture, const math::Point3& point) {
  mLastCapturedPoint = point;
  if (const VNResultEnum result = Record("OnCapturedMouseMove")) return result;
  return WidgetListener::OnCapturedMouseMove(capture, point);
}

VNResultEnum RecordingWidgetListener::OnCapturedMouseDrag(widget::MouseCapture& capture, const math::Point3& point) {
  mLastCapturedPoint = point;
  if (const VNResultEnum result = Record("OnCapturedMouseDrag")) return result;
  return WidgetListener::OnCapturedMouseDrag(capture, point);
}

}  // namespace fakes
