#include "Core/Widget/WidgetListener.h"

#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/MouseCapture.h"

namespace widget {

VNResultEnum WidgetListener::OnUpdate(float) { return VN_OK; }
VNResultEnum WidgetListener::OnDrawBefore(render::Graphics*, layer::Layer*) { return VN_OK; }
VNResultEnum WidgetListener::OnDrawAfter(render::Graphics*, layer::Layer*) { return VN_OK; }
VNResultEnum WidgetListener::OnAttach() { return VN_OK; }
VNResultEnum WidgetListener::OnDetach() { return VN_OK; }
VNResultEnum WidgetListener::OnShow() { return VN_OK; }
VNResultEnum WidgetListener::OnHide() { return VN_OK; }
VNResultEnum WidgetListener::OnMouseOver(bool) { return VN_OK; }
VNResultEnum WidgetListener::OnMouseInside(bool) { return VN_OK; }
VNResultEnum WidgetListener::OnDisabled(bool) { return VN_OK; }
VNResultEnum WidgetListener::OnDisabledAlternate(bool) { return VN_OK; }
VNResultEnum WidgetListener::OnKeyDown(int) { return VN_OK; }
VNResultEnum WidgetListener::OnKeyUp(int) { return VN_OK; }
VNResultEnum WidgetListener::OnChar(char16_t) { return VN_OK; }
VNResultEnum WidgetListener::OnCapturedMouseDown(MouseCapture&, const math::Point3&, int) { return VN_OK; }
VNResultEnum WidgetListener::OnCapturedMouseDoubleClick(MouseCapture&, const math::Point3&, int) { return VN_OK; }
VNResultEnum WidgetListener::OnCapturedMouseWheel(MouseCapture&, const math::Point3&, int) { return VN_OK; }

VNResultEnum WidgetListener::OnCapturedMouseUp(MouseCapture& capture, const math::Point3&, int) {
  Widget* widget = capture.mWidget;
  FrameManager* manager = widget ? widget->GetCaptureManager() : nullptr;
  if (manager) {
    manager->ReleaseCapture();
    // The mouse-over follows the cursor at once; the release itself cannot fail.
    manager->RefreshMouseOver();
    return VN_OK;
  }
  if (widget) widget->mHoldsCapture = false;
  capture.mWidget = nullptr;
  capture.mLayer = nullptr;
  return VN_OK;
}

VNResultEnum WidgetListener::OnCapturedMouseMove(MouseCapture& capture, const math::Point3& point) {
  Widget* widget = capture.mWidget;
  if (!widget || !widget->mCapturedMovesReachLayers || !widget->GetLayer()) return VN_OK;
  bool handled = false;
  return widget->GetLayer()->RouteMouseMove(point, layer::OnMouseMove(), handled);
}

VNResultEnum WidgetListener::OnCapturedMouseDrag(MouseCapture& capture, const math::Point3& point) {
  Widget* widget = capture.mWidget;
  if (!widget || !widget->mCapturedMovesReachLayers || !widget->GetLayer()) return VN_OK;
  Frame* frame = widget->GetFrame();
  if (frame && frame->GetLayer()) frame->GetLayer()->UpdateBoundsTree();
  bool handled = false;
  if (const VNResultEnum result = widget->GetLayer()->RouteMouseDrag(point, layer::OnMouseDrag(), handled)) {
    return result;
  }
  if (!handled && frame) return frame->SetMouseOver(nullptr);
  return VN_OK;
}

}  // namespace widget
