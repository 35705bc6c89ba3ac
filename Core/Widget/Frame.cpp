#include "Core/Widget/Frame.h"

#include "Core/Layer/RectHitLayer.h"
#include "Core/Math/Rect.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

namespace {

// Ancestors of widget, nearest first, into chain; false when there are too many.
bool FrameCollectAncestors(Widget* widget, Widget* (&chain)[Frame::kMaxAncestors + 1], int& count) {
  count = 0;
  for (Widget* parent = widget ? widget->GetParent() : nullptr; parent; parent = parent->GetParent()) {
    if (count == Frame::kMaxAncestors) return false;
    chain[count++] = parent;
  }
  chain[count] = nullptr;
  return true;
}

}  // namespace

Frame::Frame() : mHitLayer(new layer::RectHitLayer), mFocusWidget(this) {
  SetLayer(mHitLayer, true, true);
  SetOwnFrame(this);
}

Frame::~Frame() {
  if (mManager) mManager->ForgetFrame(this);
  mMouseOverWidget = nullptr;
  // While the frame is whole: the widgets' destructors read its links.
  DeleteChildren();
}

WidgetTypeId& Frame::GetTypeId() {
  static WidgetTypeId sId(Widget::GetTypeId());
  return sId;
}

VNResultEnum Frame::OnActivate() { return VN_OK; }
VNResultEnum Frame::OnDeactivate() { return VN_OK; }

void Frame::SetHitRect(const math::Rect& rect) {
  mHitLayer->mRect = rect;
  mHitLayer->mLocalBoxValid = false;
}

void Frame::ForgetWidget(Widget* widget) {
  if (mMouseOverWidget == widget) mMouseOverWidget = nullptr;
  if (mFocusWidget == widget) mFocusWidget = nullptr;
}

VNResultEnum Frame::SetMouseOver(Widget* widget) {
  if (widget == mMouseOverWidget) return VN_OK;
  Widget* old = mMouseOverWidget;
  Widget* newChain[kMaxAncestors + 1];
  Widget* oldChain[kMaxAncestors + 1];
  int newCount = 0;
  int oldCount = 0;
  if (!FrameCollectAncestors(widget, newChain, newCount) || !FrameCollectAncestors(old, oldChain, oldCount)) {
    return VN_FAIL;
  }
  // Common ancestors get nothing.
  while (newCount > 0 && oldCount > 0 && newChain[newCount - 1] == oldChain[oldCount - 1]) {
    --newCount;
    --oldCount;
  }
  if (old) {
    old->mMouseOver = false;
    if (WidgetListener* listener = old->GetListener()) {
      if (const VNResultEnum result = listener->OnMouseOver(false)) return result;
    }
    for (int i = 0; i < oldCount; ++i) {
      oldChain[i]->mMouseInside = false;
      if (WidgetListener* listener = oldChain[i]->GetListener()) {
        if (const VNResultEnum result = listener->OnMouseInside(false)) return result;
      }
    }
  }
  mMouseOverWidget = widget;
  if (mManager && widget) {
    Frame* other = mManager->GetMouseOverFrame();
    if (other && other != this) {
      if (const VNResultEnum result = other->SetMouseOver(nullptr)) return result;
    }
    mManager->SetMouseOverFrame(this);
  }
  if (widget) {
    widget->mMouseOver = true;
    if (WidgetListener* listener = widget->GetListener()) {
      if (const VNResultEnum result = listener->OnMouseOver(true)) return result;
    }
    for (int i = 0; i < newCount; ++i) {
      newChain[i]->mMouseInside = true;
      if (WidgetListener* listener = newChain[i]->GetListener()) {
        if (const VNResultEnum result = listener->OnMouseInside(true)) return result;
      }
    }
  }
  return VN_OK;
}

}  // namespace widget
