#include "Core/Widget/WidgetHitTestListener.h"

#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/MouseCapture.h"

namespace widget {

namespace {

VNResultEnum WidgetActivateFrameOf(Widget* widget) {
  Frame* frame = widget ? widget->GetFrame() : nullptr;
  FrameManager* manager = frame ? frame->GetManager() : nullptr;
  return manager ? manager->ActivateFrame(frame) : VN_OK;
}

VNResultEnum WidgetMouseOverOf(Widget* widget, Widget* over) {
  Frame* frame = widget ? widget->GetFrame() : nullptr;
  return frame ? frame->SetMouseOver(over) : VN_OK;
}

bool WidgetIsDisabled(const Widget* widget) { return !widget || widget->IsDisabled(); }

}  // namespace

VNResultEnum WidgetHitTestListener::OnMouseDown(math::Point3& point, int button) {
  if (const VNResultEnum result = WidgetActivateFrameOf(mWidget)) return result;
  if (WidgetIsDisabled(mWidget)) return VN_OK;
  if (mWidget->mTakesCapture) {
    Frame* frame = mWidget->GetFrame();
    FrameManager* manager = frame ? frame->GetManager() : nullptr;
    if (manager) {
      MouseCapture record;
      if (const VNResultEnum result = GetCaptureInfo(point, record)) return result;
      manager->SetCapture(record);
    }
  }
  return OnWidgetMouseDown(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseUp(math::Point3& point, int button) {
  return WidgetIsDisabled(mWidget) ? VN_OK : OnWidgetMouseUp(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseDoubleClick(math::Point3& point, int button) {
  if (const VNResultEnum result = WidgetActivateFrameOf(mWidget)) return result;
  return WidgetIsDisabled(mWidget) ? VN_OK : OnWidgetMouseDoubleClick(point, button);
}

VNResultEnum WidgetHitTestListener::OnMouseMove(math::Point3& point) {
  if (const VNResultEnum result = WidgetMouseOverOf(mWidget, mWidget)) return result;
  return WidgetIsDisabled(mWidget) ? VN_OK : OnWidgetMouseMove(point);
}

VNResultEnum WidgetHitTestListener::OnMouseDrag(math::Point3& point) {
  if (const VNResultEnum result = WidgetMouseOverOf(mWidget, mWidget)) return result;
  return WidgetIsDisabled(mWidget) ? VN_OK : OnWidgetMouseDrag(point);
}

VNResultEnum WidgetHitTestListener::OnMouseWheel(math::Point3& point, int delta) {
  return WidgetIsDisabled(mWidget) ? VN_OK : OnWidgetMouseWheel(point, delta);
}

VNResultEnum WidgetHitTestListener::OnWidgetMouseDown(math::Point3&, int) { return VN_OK; }
VNResultEnum WidgetHitTestListener::OnWidgetMouseUp(math::Point3&, int) { return VN_OK; }
VNResultEnum WidgetHitTestListener::OnWidgetMouseDoubleClick(math::Point3&, int) { return VN_OK; }
VNResultEnum WidgetHitTestListener::OnWidgetMouseMove(math::Point3&) { return VN_OK; }
VNResultEnum WidgetHitTestListener::OnWidgetMouseDrag(math::Point3&) { return VN_OK; }
VNResultEnum WidgetHitTestListener::OnWidgetMouseWheel(math::Point3&, int) { return VN_OK; }

VNResultEnum WidgetHitTestListener::GetCaptureInfo(const math::Point3& point, MouseCapture& record) {
  record = MouseCapture(mWidget, mLayer, point, true);
  return VN_OK;
}

VNResultEnum TrapHitTestListener::OnMouseDown(math::Point3&, int) { return WidgetActivateFrameOf(mOwner); }
VNResultEnum TrapHitTestListener::OnMouseDoubleClick(math::Point3&, int) { return WidgetActivateFrameOf(mOwner); }
VNResultEnum TrapHitTestListener::OnMouseMove(math::Point3&) { return WidgetMouseOverOf(mOwner, nullptr); }
VNResultEnum TrapHitTestListener::OnMouseDrag(math::Point3&) { return WidgetMouseOverOf(mOwner, nullptr); }

}  // namespace widget
