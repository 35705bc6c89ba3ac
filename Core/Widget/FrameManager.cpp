#include "Core/Widget/FrameManager.h"

#include <cstddef>
#include "Core/Layer/HitTest.h"
#include "Core/Layer/Layer.h"
#include "Core/Widget/Frame.h"
#include "Core/Widget/WidgetListener.h"

namespace widget {

FrameManager::FrameManager() : base::Task(false, false, true, false) {}

FrameManager::~FrameManager() {
  DeleteQueued();
  DeleteChildren();
  if (mCapture.mWidget) ReleaseCapture();
  for (const FrameEntry& entry : mShown) entry.mFrame->mManager = nullptr;
}

FrameEntry* FrameManager::FindEntry(Frame* frame) {
  for (FrameEntry& entry : mShown) {
    if (entry.mFrame == frame) return &entry;
  }
  return nullptr;
}

void FrameManager::EraseEntry(Frame* frame) {
  for (size_t i = 0; i < mShown.size(); ++i) {
    if (mShown[i].mFrame == frame) {
      mShown.erase(mShown.begin() + static_cast<long>(i));
      return;
    }
  }
}

VNResultEnum FrameManager::ActivateFrame(Frame* frame) {
  if (frame == mActiveFrame) return VN_OK;
  if (mActiveFrame && mActiveFrame->mActive) {
    mActiveFrame->mActive = false;
    if (const VNResultEnum result = mActiveFrame->OnDeactivate()) return result;
  }
  mActiveFrame = frame;
  if (frame && !frame->mActive) {
    frame->mActive = true;
    return frame->OnActivate();
  }
  return VN_OK;
}

VNResultEnum FrameManager::ShowNow(Frame* frame, int32_t mode, bool makeActive) {
  const bool alreadyShown = FindEntry(frame) != nullptr;
  if (alreadyShown) {
    // Shown at most once: take the old entry out, the frame goes where its new mode puts it.
    EraseEntry(frame);
  }
  size_t at = mShown.size();
  if (mode != kModeModal) {
    const int32_t topMode = mShown.empty() ? kModeNormal : mShown.back().mMode;
    const bool mustInsert = mode == kModeRaised ? topMode == kModeModal : topMode != kModeNormal;
    if (mustInsert) {
      for (size_t i = 0; i < mShown.size(); ++i) {
        if (mode == kModeRaised ? mShown[i].mMode == kModeModal : mShown[i].mMode != kModeNormal) {
          at = i;
          break;
        }
      }
    }
  }
  FrameEntry entry;
  entry.mFrame = frame;
  entry.mMode = mode;
  mShown.insert(mShown.begin() + static_cast<long>(at), entry);
  frame->mManager = this;
  if (!alreadyShown) {
    if (const VNResultEnum result = frame->SetFrameManager(this)) return result;
  }
  if (makeActive) return ActivateFrame(frame);
  return VN_OK;
}

VNResultEnum FrameManager::AddFrame(Frame* frame, bool raised, bool makeActive, bool deferred) {
  const int32_t mode = raised ? kModeRaised : kModeNormal;
  if (deferred) {
    mAddQueues[mAddCurrent].push_back(FrameAddRequest{frame, mode, makeActive});
    return VN_OK;
  }
  return ShowNow(frame, mode, makeActive);
}

VNResultEnum FrameManager::ShowModal(Frame* frame, bool deferred) {
  if (deferred) {
    mAddQueues[mAddCurrent].push_back(FrameAddRequest{frame, kModeModal, true});
    return VN_OK;
  }
  return ShowNow(frame, kModeModal, true);
}

void FrameManager::SetCapture(const MouseCapture& capture) {
  if (mCapture.mWidget && mCapture.mWidget != capture.mWidget) ReleaseCapture();
  mCapture = capture;
  if (Widget* widget = mCapture.mWidget) {
    widget->mHoldsCapture = true;
    widget->mCaptureManager = this;
  }
}

void FrameManager::ReleaseCapture() {
  if (Widget* widget = mCapture.mWidget) {
    widget->mHoldsCapture = false;
    widget->mCaptureManager = nullptr;
  }
  mCapture.mWidget = nullptr;
  mCapture.mLayer = nullptr;
}

void FrameManager::ReleaseCaptureIn(Frame* frame) {
  if (mCapture.mWidget && mCapture.mWidget->GetFrame() == frame) ReleaseCapture();
}

void FrameManager::ForgetCapturedWidget(Widget* widget) {
  if (mCapture.mWidget == widget) ReleaseCapture();
}

void FrameManager::CancelRequests(Frame* frame) {
  for (std::vector<FrameAddRequest>& queue : mAddQueues) {
    for (FrameAddRequest& request : queue) {
      if (request.mFrame == frame) request.mFrame = nullptr;
    }
  }
  for (std::vector<FrameRemoveRequest>& queue : mRemoveQueues) {
    for (FrameRemoveRequest& request : queue) {
      if (request.mFrame == frame) request.mFrame = nullptr;
    }
  }
}

void FrameManager::ForgetFrame(Frame* frame) {
  EraseEntry(frame);
  if (mActiveFrame == frame) mActiveFrame = nullptr;
  if (mMouseOverFrame == frame) mMouseOverFrame = nullptr;
  ReleaseCaptureIn(frame);
  CancelRequests(frame);
  frame->mManager = nullptr;
}

VNResultEnum FrameManager::RemoveNow(Frame* frame, bool deleteAfter, bool queued) {
  if (!FindEntry(frame)) {
    if (const VNResultEnum result = RefreshMouseOver()) return result;
    // A queued removal of a frame that is not shown has nothing to do.
    return queued ? VN_OK : VN_FAIL;
  }
  if (mMouseOverFrame == frame) mMouseOverFrame = nullptr;
  if (mActiveFrame == frame) mActiveFrame = nullptr;
  ReleaseCaptureIn(frame);
  if (const VNResultEnum result = frame->SetFrameManager(nullptr)) return result;
  frame->mManager = nullptr;
  EraseEntry(frame);
  if (deleteAfter) {
    CancelRequests(frame);
    delete frame;
  }
  return VN_OK;
}

VNResultEnum FrameManager::RemoveFrame(Frame* frame, bool deleteAfter, bool deferred) {
  if (deferred) {
    mRemoveQueues[mRemoveCurrent].push_back(FrameRemoveRequest{frame, deleteAfter});
    return VN_OK;
  }
  return RemoveNow(frame, deleteAfter, false);
}

VNResultEnum FrameManager::RemoveAllFrames(bool deleteFrames, bool clearWidgets) {
  if (deleteFrames || clearWidgets) {
    for (size_t i = 0; i < mShown.size(); ++i) {
      Frame* frame = mShown[i].mFrame;
      if (const VNResultEnum result = frame->SetFrameManager(nullptr)) return result;
      frame->mManager = nullptr;
      if (clearWidgets) {
        if (const VNResultEnum result = frame->ClearWidgets(deleteFrames, clearWidgets, true)) return result;
      }
      if (deleteFrames) {
        // Nothing may keep pointing at the frame once it is gone.
        if (mActiveFrame == frame) mActiveFrame = nullptr;
        if (mMouseOverFrame == frame) mMouseOverFrame = nullptr;
        ReleaseCaptureIn(frame);
        CancelRequests(frame);
        mShown[i].mFrame = nullptr;
        delete frame;
      }
    }
  } else {
    // Not shown any more: the frames must not keep a link to this manager.
    for (const FrameEntry& entry : mShown) entry.mFrame->mManager = nullptr;
  }
  mShown.clear();
  return VN_OK;
}

VNResultEnum FrameManager::Update(float dt) {
  for (size_t i = 0; i < mShown.size(); ++i) {
    Frame* frame = mShown[i].mFrame;
    if (WidgetListener* listener = frame->GetListener()) {
      if (const VNResultEnum result = listener->OnUpdate(dt)) return result;
    }
    const std::vector<Widget*>& children = frame->GetWidgets();
    for (size_t c = 0; c < children.size(); ++c) {
      if (const VNResultEnum result = children[c]->UpdateTree(dt)) return result;
    }
  }
  // Requests made while a queue is carried out wait for the next pass; a failure drops the rest
  // of that queue, so nothing carried out runs twice.
  while (!mAddQueues[mAddCurrent].empty()) {
    std::vector<FrameAddRequest>& queue = mAddQueues[mAddCurrent];
    mAddCurrent ^= 1;
    for (size_t i = 0; i < queue.size(); ++i) {
      const FrameAddRequest request = queue[i];
      if (!request.mFrame) continue;
      if (const VNResultEnum result = ShowNow(request.mFrame, request.mMode, request.mMakeActive)) {
        queue.clear();
        return result;
      }
    }
    queue.clear();
  }
  while (!mRemoveQueues[mRemoveCurrent].empty()) {
    std::vector<FrameRemoveRequest>& queue = mRemoveQueues[mRemoveCurrent];
    mRemoveCurrent ^= 1;
    for (size_t i = 0; i < queue.size(); ++i) {
      const FrameRemoveRequest request = queue[i];
      if (!request.mFrame) continue;
      if (const VNResultEnum result = RemoveNow(request.mFrame, request.mDeleteAfter, true)) {
        queue.clear();
        return result;
      }
    }
    queue.clear();
  }
  DeleteQueued();
  return VN_OK;
}

VNResultEnum FrameManager::Draw(render::Graphics* graphics) {
  for (size_t i = 0; i < mShown.size(); ++i) {
    if (layer::Layer* root = mShown[i].mFrame->GetLayer()) {
      if (const VNResultEnum result = root->Draw(graphics)) return result;
    }
  }
  return VN_OK;
}

template <class Event>
VNResultEnum FrameManager::SearchFrames(const Event& event, int32_t& result) {
  result = 1;
  const math::Point3 cursor(mCursor.x, mCursor.y, 0.0f);
  for (size_t i = mShown.size(); i-- > 0;) {
    if (i >= mShown.size()) continue;  // frames were removed during the search
    const FrameEntry entry = mShown[i];
    layer::Layer* root = entry.mFrame->GetLayer();
    if (root) {
      if (const VNResultEnum error = layer::SearchMouseEvent(root, cursor, event, result)) return error;
      if (result == 0) return VN_OK;
    }
    if (entry.mMode == kModeModal) break;
  }
  return VN_OK;
}

VNResultEnum FrameManager::Unhandled(bool press, bool move) {
  if (press && mActiveFrame) {
    const FrameEntry* entry = FindEntry(mActiveFrame);
    if (!entry || entry->mMode != kModeModal) {
      if (mActiveFrame->mActive) {
        mActiveFrame->mActive = false;
        if (const VNResultEnum result = mActiveFrame->OnDeactivate()) return result;
      }
      mActiveFrame = nullptr;
    }
  }
  if (move && mMouseOverFrame) {
    if (const VNResultEnum result = mMouseOverFrame->SetMouseOver(nullptr)) return result;
    mMouseOverFrame = nullptr;
  }
  return VN_OK;
}

template <class Event, class Captured>
VNResultEnum FrameManager::Route(const math::Point2& point, const Event& event, bool press, bool move,
                                 const Captured& captured) {
  mCursor = point;
  if (mCapture.mWidget) {
    // The stack is not searched while the mouse is captured.
    WidgetListener* listener = mCapture.mWidget->GetListener();
    return listener ? captured(listener, mCapture.ToLocal(point.x, point.y)) : VN_OK;
  }
  int32_t result = 1;
  if (const VNResultEnum error = SearchFrames(event, result)) return error;
  return result == 0 ? VN_OK : Unhandled(press, move);
}

VNResultEnum FrameManager::OnMouseDown(const math::Point2& point, int button) {
  layer::OnMouseDown event;
  event.mButton = button;
  return Route(point, event, true, false, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseDown(mCapture, local, button);
  });
}

VNResultEnum FrameManager::OnMouseUp(const math::Point2& point, int button) {
  layer::OnMouseUp event;
  event.mButton = button;
  return Route(point, event, false, false, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseUp(mCapture, local, button);
  });
}

VNResultEnum FrameManager::OnMouseDoubleClick(const math::Point2& point, int button) {
  layer::OnMouseDown event;  // layers see a second press
  event.mButton = button;
  return Route(point, event, false, false, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseDoubleClick(mCapture, local, button);
  });
}

VNResultEnum FrameManager::OnMouseMove(const math::Point2& point) {
  return Route(point, layer::OnMouseMove(), false, true, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseMove(mCapture, local);
  });
}

VNResultEnum FrameManager::OnMouseDrag(const math::Point2& point) {
  return Route(point, layer::OnMouseDrag(), false, true, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseDrag(mCapture, local);
  });
}

VNResultEnum FrameManager::OnMouseWheel(const math::Point2& point, int delta) {
  layer::OnMouseWheel event;
  event.mDelta = static_cast<int16_t>(delta);
  return Route(point, event, false, false, [&](WidgetListener* listener, const math::Point3& local) {
    return listener->OnCapturedMouseWheel(mCapture, local, delta);
  });
}

VNResultEnum FrameManager::RefreshMouseOver() { return OnMouseMove(mCursor); }

}  // namespace widget
