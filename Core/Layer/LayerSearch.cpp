// The mouse search of the layer tree, written once for the five event kinds.
#include "Core/Layer/Layer.h"

namespace layer {

namespace {

// What differs between the event kinds: the bubble bit and the listener operations.
template <class Event>
struct LayerSearchTraits;

template <>
struct LayerSearchTraits<OnMouseDown> {
  static constexpr uint32_t kBubbleBit = HitTestListener::kBubbleMouseDown;
  static VNResultEnum Direct(HitTestListener* l, math::Point3& p, const OnMouseDown& e) { return l->OnMouseDown(p, e.mButton); }
  static VNResultEnum Bubbled(HitTestListener* l, math::Point3& p, const OnMouseDown& e) {
    return l->OnChildMouseDown(p, e.mButton);
  }
};
template <>
struct LayerSearchTraits<OnMouseUp> {
  static constexpr uint32_t kBubbleBit = HitTestListener::kBubbleMouseUp;
  static VNResultEnum Direct(HitTestListener* l, math::Point3& p, const OnMouseUp& e) { return l->OnMouseUp(p, e.mButton); }
  static VNResultEnum Bubbled(HitTestListener* l, math::Point3& p, const OnMouseUp& e) {
    return l->OnChildMouseUp(p, e.mButton);
  }
};
template <>
struct LayerSearchTraits<OnMouseMove> {
  static constexpr uint32_t kBubbleBit = HitTestListener::kBubbleMouseMove;
  static VNResultEnum Direct(HitTestListener* l, math::Point3& p, const OnMouseMove&) { return l->OnMouseMove(p); }
  static VNResultEnum Bubbled(HitTestListener* l, math::Point3& p, const OnMouseMove&) { return l->OnChildMouseMove(p); }
};
template <>
struct LayerSearchTraits<OnMouseDrag> {
  static constexpr uint32_t kBubbleBit = HitTestListener::kBubbleMouseDrag;
  static VNResultEnum Direct(HitTestListener* l, math::Point3& p, const OnMouseDrag&) { return l->OnMouseDrag(p); }
  static VNResultEnum Bubbled(HitTestListener* l, math::Point3& p, const OnMouseDrag&) { return l->OnChildMouseDrag(p); }
};
template <>
struct LayerSearchTraits<OnMouseWheel> {
  static constexpr uint32_t kBubbleBit = HitTestListener::kBubbleMouseWheel;
  static VNResultEnum Direct(HitTestListener* l, math::Point3& p, const OnMouseWheel& e) { return l->OnMouseWheel(p, e.mDelta); }
  static VNResultEnum Bubbled(HitTestListener* l, math::Point3& p, const OnMouseWheel& e) {
    return l->OnChildMouseWheel(p, e.mDelta);
  }
};

// Minimum inclusive, maximum exclusive in x and y; z has no upper bound.
bool LayerSearchInBox(const math::Box3& box, const math::Point3& p) {
  return box.min.x <= p.x && p.x < box.max.x && box.min.y <= p.y && p.y < box.max.y && box.min.z <= p.z;
}

template <class Event>
VNResultEnum LayerSearchDefaultHandler(HitTestParam& param, const Event& event) {
  HitTestListener* listener = param.mListener;
  if (!listener) return VN_OK;
  listener->mHitLayer = param.mHitLayer;
  listener->mLayer = param.mLayer;
  listener->mPoint = param.mPoint;
  listener->mResult = param.mResult;
  listener->mHandledBelow = param.mHandledBelow;
  const VNResultEnum result = param.mBubbling ? LayerSearchTraits<Event>::Bubbled(listener, param.mPoint, event)
                                              : LayerSearchTraits<Event>::Direct(listener, param.mPoint, event);
  if (result != VN_OK) return result;
  param.mResult = listener->mResult;
  return VN_OK;
}

template <class Event>
typename Event::HandlerPtr& LayerSearchHandler() {
  // Created on first use with the default, released at process exit.
  static typename Event::HandlerPtr handler(
      new base::StaticDelegate2<HitTestParam&, const Event&, VNResultEnum>(&Event::DefaultHandler));
  return handler;
}

}  // namespace

// Friend of Layer: the parts of the search that read its private links.
template <class Event>
struct LayerSearch {
  using State = HitTestState<Event>;

  static VNResultEnum DeliverOnce(HitContext* link, bool bubbling, bool handledBelow, State& state) {
    HitTestParam param;
    param.mHitLayer = state.mHitLayer;
    param.mHitPoint = state.mHitPoint;
    param.mLayer = link->mLayer;
    param.mPoint = *link->mPoint;
    param.mListener = link->mListener;
    param.mResult = state.mResult;
    param.mBubbling = bubbling;
    param.mHandledBelow = handledBelow;
    if (state.mHandler) {
      if (const VNResultEnum result = state.mHandler->Invoke(param, *state.mEvent)) return result;
    }
    state.mResult = param.mResult;
    if (state.mResult == 2) state.mTaker = link->mLayer;
    return VN_OK;
  }

  static VNResultEnum Deliver(HitContext* link, bool bubbling, bool handledBelow, State& state) {
    if (const VNResultEnum result = DeliverOnce(link, bubbling, handledBelow, state)) return result;
    bool handled = false;
    for (HitContext* ancestor = link->mParent; ancestor; ancestor = ancestor->mParent) {
      if (state.mResult == 0) handled = true;
      HitTestListener* listener = ancestor->mListener;
      if (!listener || !(listener->mBubbleFlags & LayerSearchTraits<Event>::kBubbleBit)) continue;
      // A bubbled delivery's failure is dropped; its result code counts.
      DeliverOnce(ancestor, true, handled, state);
    }
    return VN_OK;
  }

  static VNResultEnum Dispatch(Layer* layer, HitContext* parent, State& state) {
    if (!layer->mVisible || (!layer->mMouseEnabled && !layer->mChildrenTakeMouse)) return VN_OK;
    const math::Point3& p = *parent->mPoint;
    if (!LayerSearchInBox(layer->mOuterBox, p)) return VN_OK;
    math::Point3 local;
    HitContext link;
    link.mPoint = &local;
    link.mLayer = layer;
    link.mListener = layer->mHitTestListener;
    link.mParent = parent->mListener ? parent : parent->mParent;
    if (layer->HasNoTilt()) {
      layer->ParentToLocal(p, local);
      const Layer::ChildIterator begin = layer->ChildrenBegin();
      for (Layer::ChildIterator it = layer->ChildrenEnd(); it != begin;) {
        --it;
        if (const VNResultEnum result = Dispatch(*it, &link, state)) return result;
        if (state.mResult == 0) return VN_OK;
        if (state.mResult == 2) {
          if (state.mTaker != layer) return VN_OK;  // unwinds up to the taker
          state.mResult = 1;
          state.mTaker = nullptr;
          break;
        }
      }
      if (state.mResult == 2) state.mResult = 1;
    }
    if (!link.mListener && !link.mParent) return VN_OK;
    if (!layer->mHasContent) return VN_OK;
    if (!LayerSearchInBox(layer->mLocalBox, local) || !layer->mMouseEnabled || !layer->HitTestPoint(local)) {
      return VN_OK;
    }
    state.mResult = 0;
    state.mHitPoint = local;
    state.mHitLayer = layer;
    state.mTaker = nullptr;
    return Deliver(link.mListener ? &link : link.mParent, false, false, state);
  }

  static VNResultEnum Search(Layer* root, const math::Point3& point, const Event& event, int32_t& result) {
    result = 1;
    typename Event::HandlerPtr& handler = Event::Handler();
    if (!handler) return VN_OK;
    root->UpdateBoundsTree();
    math::Point3 cursor = point;
    HitContext rootLink;
    rootLink.mPoint = &cursor;
    rootLink.mLayer = root;
    State state;
    state.mEvent = &event;
    state.mHandler = handler;  // a handler replaced during the search lives until it ends
    const VNResultEnum error = Dispatch(root, &rootLink, state);
    result = state.mResult;
    return error;
  }
};

template struct LayerSearch<OnMouseDown>;
template struct LayerSearch<OnMouseUp>;
template struct LayerSearch<OnMouseMove>;
template struct LayerSearch<OnMouseDrag>;
template struct LayerSearch<OnMouseWheel>;

OnMouseDown::HandlerPtr& OnMouseDown::Handler() { return LayerSearchHandler<OnMouseDown>(); }
OnMouseUp::HandlerPtr& OnMouseUp::Handler() { return LayerSearchHandler<OnMouseUp>(); }
OnMouseMove::HandlerPtr& OnMouseMove::Handler() { return LayerSearchHandler<OnMouseMove>(); }
OnMouseDrag::HandlerPtr& OnMouseDrag::Handler() { return LayerSearchHandler<OnMouseDrag>(); }
OnMouseWheel::HandlerPtr& OnMouseWheel::Handler() { return LayerSearchHandler<OnMouseWheel>(); }

VNResultEnum OnMouseDown::DefaultHandler(HitTestParam& param, const OnMouseDown& event) {
  return LayerSearchDefaultHandler(param, event);
}
VNResultEnum OnMouseUp::DefaultHandler(HitTestParam& param, const OnMouseUp& event) {
  return LayerSearchDefaultHandler(param, event);
}
VNResultEnum OnMouseMove::DefaultHandler(HitTestParam& param, const OnMouseMove& event) {
  return LayerSearchDefaultHandler(param, event);
}
VNResultEnum OnMouseDrag::DefaultHandler(HitTestParam& param, const OnMouseDrag& event) {
  return LayerSearchDefaultHandler(param, event);
}
VNResultEnum OnMouseWheel::DefaultHandler(HitTestParam& param, const OnMouseWheel& event) {
  return LayerSearchDefaultHandler(param, event);
}

VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseDown& event, int32_t& result) {
  return LayerSearch<OnMouseDown>::Search(root, point, event, result);
}
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseUp& event, int32_t& result) {
  return LayerSearch<OnMouseUp>::Search(root, point, event, result);
}
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseMove& event, int32_t& result) {
  return LayerSearch<OnMouseMove>::Search(root, point, event, result);
}
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseDrag& event, int32_t& result) {
  return LayerSearch<OnMouseDrag>::Search(root, point, event, result);
}
VNResultEnum SearchMouseEvent(Layer* root, const math::Point3& point, const OnMouseWheel& event, int32_t& result) {
  return LayerSearch<OnMouseWheel>::Search(root, point, event, result);
}

#define QM_LAYER_SEARCH_MEMBERS(Kind)                                                                          \
  VNResultEnum Layer::DispatchMouse##Kind(HitContext* parent, HitTestState<OnMouse##Kind>& state) {          \
    return LayerSearch<OnMouse##Kind>::Dispatch(this, parent, state);                                        \
  }                                                                                                          \
  VNResultEnum Layer::DeliverMouse##Kind(HitContext* link, bool bubbling, bool handledBelow,                 \
                                         HitTestState<OnMouse##Kind>& state) {                               \
    return LayerSearch<OnMouse##Kind>::Deliver(link, bubbling, handledBelow, state);                         \
  }
QM_LAYER_SEARCH_MEMBERS(Down)
QM_LAYER_SEARCH_MEMBERS(Up)
QM_LAYER_SEARCH_MEMBERS(Move)
QM_LAYER_SEARCH_MEMBERS(Drag)
QM_LAYER_SEARCH_MEMBERS(Wheel)
#undef QM_LAYER_SEARCH_MEMBERS

VNResultEnum Layer::RouteMouseMove(const math::Point3& point, const OnMouseMove& event, bool& handled) {
  if (!OnMouseMove::Handler()) return VN_OK;
  int32_t result = 1;
  const VNResultEnum error = SearchMouseEvent(this, point, event, result);
  if (error != VN_OK) return error;
  handled = result == 0;
  return VN_OK;
}

VNResultEnum Layer::RouteMouseDrag(const math::Point3& point, const OnMouseDrag& event, bool& handled) {
  if (!OnMouseDrag::Handler()) return VN_OK;
  int32_t result = 1;
  const VNResultEnum error = SearchMouseEvent(this, point, event, result);
  if (error != VN_OK) return error;
  handled = result == 0;
  return VN_OK;
}

VNResultEnum HitTestListener::OnMouseDown(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnMouseUp(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnMouseDoubleClick(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnMouseMove(math::Point3&) { return VN_OK; }
VNResultEnum HitTestListener::OnMouseDrag(math::Point3&) { return VN_OK; }
VNResultEnum HitTestListener::OnMouseWheel(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseDown(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseUp(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseDoubleClick(math::Point3&, int) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseMove(math::Point3&) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseDrag(math::Point3&) { return VN_OK; }
VNResultEnum HitTestListener::OnChildMouseWheel(math::Point3&, int) { return VN_OK; }

}  // namespace layer
