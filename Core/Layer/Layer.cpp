#include "Core/Layer/Layer.h"

#include <cstddef>
#include <algorithm>
#include <cmath>

namespace layer {

Layer::~Layer() {
  // Nobody may keep a pointer to a destroyed layer: leave the parent and orphan the children.
  if (mParent) mParent->RemoveChild(this);
  for (Layer* child : mChildren) child->mParent = nullptr;
}

VNResultEnum Layer::DrawContent(render::Graphics*) { return VN_OK; }

bool Layer::HitTestPoint(const math::Point3&) { return false; }

VNResultEnum Layer::Draw(render::Graphics* graphics) {
  if (!mVisible) return VN_OK;
  if (mDrawBefore) {
    if (const VNResultEnum result = mDrawBefore->Invoke(graphics, this)) return result;
  }
  UpdateTransform();
  const float parentWorld = mParent ? mParent->mWorldAlpha : 1.0f;
  const float parentPassDown = mParent ? mParent->mPassDownAlpha : 1.0f;
  if (mInheritAlpha) {
    mPassDownAlpha = mAlpha;
    mWorldAlpha = mAlpha * parentWorld;
  } else {
    mPassDownAlpha = parentPassDown;
    mWorldAlpha = mAlpha * parentPassDown;
  }
  if (const VNResultEnum result = DrawContent(graphics)) return result;
  // Index walk: a callback may add children while the tree draws.
  for (size_t i = 0; i < mChildren.size(); ++i) {
    if (const VNResultEnum result = mChildren[i]->Draw(graphics)) return result;
  }
  if (mDrawAfter) return mDrawAfter->Invoke(graphics, this);
  return VN_OK;
}

void Layer::AddChild(Layer* child) {
  if (child->mParent) child->mParent->RemoveChild(child);
  if (mTransformChanged) child->mParentTransformChanged = true;
  mChildren.push_back(child);
  child->mParent = this;
}

void Layer::RemoveChild(Layer* child) {
  const auto found = std::find(mChildren.begin(), mChildren.end(), child);
  if (found == mChildren.end()) return;
  child->mParent = nullptr;
  mChildren.erase(found);
}

void Layer::SetPosition(const math::Point3& position) {
  if (position != mPosition) {
    mPosition = position;
    mTransformChanged = true;
    mOuterBoxValid = false;
  }
}

void Layer::SetY(float y) {
  if (y != mPosition.y) {
    mPosition.y = y;
    mTransformChanged = true;
    mOuterBoxValid = false;
  }
}

void Layer::UpdateTransform() {
  if (!mTransformChanged && !mParentTransformChanged) return;
  ComposeTransform(mParent ? mParent->mWorldTransform : math::Transform3D());
  for (Layer* child : mChildren) child->mParentTransformChanged = true;
  mParentTransformChanged = false;
  // Stays set: a layer that ever moved recomposes at every draw and flags its children each time.
  mTransformChanged = true;
}

bool Layer::UpdateBoundsTree() {
  bool changed = false;
  if (mHasContent && !mLocalBoxValid) {
    UpdateBounds();
    mLocalBoxValid = true;
    changed = true;
  }
  for (Layer* child : mChildren) {
    if (child->UpdateBoundsTree()) changed = true;
  }
  if (!changed) {
    if (mOuterBoxValid) return false;
    UpdateWorldBounds();
    return true;
  }
  mSubtreeBox.Reset();
  for (const Layer* child : mChildren) mSubtreeBox.AddBox(child->mOuterBox);
  if (mHasContent) mSubtreeBox.AddBox(mLocalBox);
  UpdateWorldBounds();
  return true;
}

void Layer::ParentToLocal(const math::Point3& point, math::Point3& out) const {
  math::Point3 p = point - mPosition;
  if (std::fabs(mRotationZ) > kAngleTolerance) {
    const float c = std::cos(mRotationZ);
    const float s = std::sin(mRotationZ);
    p = math::Point3(p.x * c + p.y * s, p.y * c - p.x * s, p.z);
  }
  if (mScaleX != 1.0f) p.x /= mScaleX;
  if (mScaleY != 1.0f) p.y /= mScaleY;
  if (mScaleZ != 1.0f) p.z /= mScaleZ;
  out = p;
}

void Layer::ScreenToLocal(const math::Point3& point, math::Point3& out) const {
  // The screen point enters at the root: undo the outermost step first.
  math::Point3 p = point;
  if (mParent) mParent->ScreenToLocal(point, p);
  if (HasNoTilt()) ParentToLocal(p, p);
  out = p;
}

}  // namespace layer
