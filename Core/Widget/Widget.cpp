#include "Core/Widget/Widget.h"

#include <cstddef>
#include <algorithm>

#include "Core/Base/Delegate.h"
#include "Core/Layer/Layer.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

WidgetTypeId::WidgetTypeId(WidgetTypeId& parent) : mLevel(parent.mLevel + 1) {
  const uint32_t code = ++parent.mDerivedCount;
  switch (mLevel) {
    case 1: mId = code; break;
    case 2: mId = parent.mId | code << 8; break;
    case 3: mId = parent.mId | code << 16; break;
    case 4: mId = parent.mId | code << 24; break;
    default: mId = 0; break;
  }
}

VNResultEnum WidgetContainer::AddWidget(Widget* widget) {
  mWidgets.push_back(widget);
  return VN_OK;
}

VNResultEnum WidgetContainer::RemoveWidget(Widget* widget, bool) {
  const auto found = std::find(mWidgets.begin(), mWidgets.end(), widget);
  if (found == mWidgets.end()) return VN_FAIL;
  mWidgets.erase(found);
  return VN_OK;
}

VNResultEnum WidgetContainer::ClearWidgets(bool deleteChildren, bool recursive, bool) {
  if (deleteChildren || recursive) {
    // A deleted child leaves this list itself: walk a copy.
    const std::vector<Widget*> children = mWidgets;
    for (Widget* child : children) {
      if (recursive) {
        if (const VNResultEnum result = child->ClearWidgets(deleteChildren, recursive, true)) return result;
      }
      if (deleteChildren) delete child;
    }
  }
  mWidgets.clear();
  return VN_OK;
}

Widget::Widget() = default;

Widget::~Widget() {
  ForgetPointers();
  DeleteChildren();
  if (mParent) mParent->WidgetContainer::RemoveWidget(this, false);
  if (mLayer && mLayer->GetParent()) mLayer->GetParent()->RemoveChild(mLayer);
  if (mOwnsLayer) delete mLayer;
}

void Widget::ForgetPointers() {
  if (mCaptureManager) mCaptureManager->ForgetCapturedWidget(this);
  if (mFrame && static_cast<Widget*>(mFrame) != this) mFrame->ForgetWidget(this);
}

void Widget::DeleteChildren() {
  std::vector<Widget*> children;
  children.swap(mWidgets);
  for (Widget* child : children) {
    child->mParent = nullptr;
    delete child;
  }
}

VNResultEnum Widget::RemoveWidget(Widget* widget, bool forgetInFrame) { return RemoveChild(widget, forgetInFrame); }

VNResultEnum Widget::ClearWidgets(bool deleteChildren, bool recursive, bool flag) {
  if (deleteChildren) {
    for (Widget* child : std::vector<Widget*>(mWidgets)) {
      if (const VNResultEnum result = child->ForgetInFrame()) return result;
    }
  }
  return WidgetContainer::ClearWidgets(deleteChildren, recursive, flag);
}

WidgetTypeId& Widget::GetTypeId() {
  static WidgetTypeId sRoot;
  return sRoot;
}

VNResultEnum Widget::SetInheritedDisabled(Widget* child, bool disabled) {
  child->mInheritedDisabled = disabled;
  if (WidgetListener* listener = child->mListener) {
    const VNResultEnum result =
        child->mAlternateDisabledNotice ? listener->OnDisabledAlternate(disabled) : listener->OnDisabled(disabled);
    if (result != VN_OK) return result;
  }
  return child->PropagateDisabled();
}

VNResultEnum Widget::AddChild(Widget* child, layer::Layer* parentLayer) {
  if (const VNResultEnum result = AddWidget(child)) return result;
  child->mParent = this;
  if (mFrame) {
    if (const VNResultEnum result = child->SetFrame(mFrame)) return result;
    if (FrameManager* manager = mFrame->GetManager()) {
      if (const VNResultEnum result = child->SetFrameManager(manager)) return result;
    }
  }
  layer::Layer* under = parentLayer ? parentLayer : mLayer;
  if (under && child->mLayer) under->AddChild(child->mLayer);
  if (IsDisabled() && !child->mInheritedDisabled) return SetInheritedDisabled(child, true);
  return VN_OK;
}

VNResultEnum Widget::RemoveChild(Widget* child, bool forgetInFrame) {
  if (IsDisabled() && child->mInheritedDisabled) {
    if (const VNResultEnum result = SetInheritedDisabled(child, false)) return result;
  }
  if (mFrame) {
    if (forgetInFrame) {
      if (const VNResultEnum result = child->ForgetInFrame()) return result;
    }
    if (mFrame->GetManager()) {
      if (const VNResultEnum result = child->SetFrameManager(nullptr)) return result;
    }
    const VNResultEnum detached = child->mListener ? child->mListener->OnDetach() : VN_OK;
    if (detached == VN_OK) {
      child->mFrame = nullptr;
      for (size_t i = 0; i < child->mWidgets.size(); ++i) {
        if (child->mWidgets[i]->SetFrame(nullptr) != VN_OK) break;
      }
    }
  }
  if (const VNResultEnum result = WidgetContainer::RemoveWidget(child, forgetInFrame)) return result;
  child->mParent = nullptr;
  if (child->mLayer && child->mLayer->GetParent()) child->mLayer->GetParent()->RemoveChild(child->mLayer);
  return VN_OK;
}

VNResultEnum Widget::UpdateTree(float seconds) {
  if (mListener) {
    if (const VNResultEnum result = mListener->OnUpdate(seconds)) return result;
  }
  for (size_t i = 0; i < mWidgets.size(); ++i) {
    if (const VNResultEnum result = mWidgets[i]->UpdateTree(seconds)) return result;
  }
  return VN_OK;
}

VNResultEnum Widget::SetFrame(Frame* frame) {
  if (frame) {
    mFrame = frame;
    if (mListener) {
      if (const VNResultEnum result = mListener->OnAttach()) return result;
    }
  } else {
    if (mListener) {
      if (const VNResultEnum result = mListener->OnDetach()) return result;
    }
    mFrame = nullptr;
  }
  for (size_t i = 0; i < mWidgets.size(); ++i) {
    if (const VNResultEnum result = mWidgets[i]->SetFrame(frame)) return result;
  }
  return VN_OK;
}

VNResultEnum Widget::SetFrameManager(FrameManager* manager) {
  if (mListener) {
    if (const VNResultEnum result = manager ? mListener->OnShow() : mListener->OnHide()) return result;
  }
  for (size_t i = 0; i < mWidgets.size(); ++i) {
    if (const VNResultEnum result = mWidgets[i]->SetFrameManager(manager)) return result;
  }
  return VN_OK;
}

VNResultEnum Widget::SetDisabled(bool disabled) {
  mDisabled = disabled;
  return PropagateDisabled();
}

VNResultEnum Widget::PropagateDisabled() {
  const bool disabled = IsDisabled();
  for (size_t i = 0; i < mWidgets.size(); ++i) {
    Widget* child = mWidgets[i];
    if (child->mInheritedDisabled == disabled) continue;
    if (const VNResultEnum result = SetInheritedDisabled(child, disabled)) return result;
  }
  return VN_OK;
}

void Widget::SetListener(WidgetListener* listener, bool installDrawCallbacks) {
  mListener = listener;
  if (!mLayer) return;
  using Callback = base::MemberDelegate2<WidgetListener, render::Graphics*, layer::Layer*, VNResultEnum>;
  if (installDrawCallbacks && listener) {
    mLayer->SetDrawBefore(layer::Layer::DrawCallbackPtr(new Callback(listener, &WidgetListener::OnDrawBefore)));
    mLayer->SetDrawAfter(layer::Layer::DrawCallbackPtr(new Callback(listener, &WidgetListener::OnDrawAfter)));
  } else {
    mLayer->SetDrawBefore(layer::Layer::DrawCallbackPtr());
    mLayer->SetDrawAfter(layer::Layer::DrawCallbackPtr());
  }
}

void Widget::SetLayer(layer::Layer* layer, bool owns, bool installDrawCallbacks) {
  if (mOwnsLayer && mLayer != layer) delete mLayer;
  mLayer = layer;
  mOwnsLayer = owns;
  SetListener(mListener, installDrawCallbacks);
}

VNResultEnum Widget::ForgetInFrame() {
  if (!mFrame) return VN_OK;
  if (mFrame->GetMouseOverWidget() == this) {
    if (const VNResultEnum result = mFrame->SetMouseOver(nullptr)) return result;
  }
  if (mFrame->GetFocusWidget() == this) mFrame->SetFocusWidget(nullptr);
  for (size_t i = 0; i < mWidgets.size(); ++i) {
    if (const VNResultEnum result = mWidgets[i]->ForgetInFrame()) return result;
  }
  return VN_OK;
}

}  // namespace widget
