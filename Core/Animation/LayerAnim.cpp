#include "Core/Animation/LayerAnim.h"

#include <algorithm>

#include "Core/Animation/AnimData.h"
#include "Core/Layer/Layer.h"

namespace animation {

namespace {

float ClampAnimUnit(float value) { return std::min(1.0f, std::max(0.0f, value)); }

}  // namespace

VNResultEnum LayerAnim::Apply(float time) {
  layer::Layer& layer = *mLayer;
  const AnimTrack& track = *mTrack;
  float* const targets[] = {&layer.mPosition.x, &layer.mPosition.y, &layer.mPosition.z,
                            &layer.mRotationY,  &layer.mRotationX,  &layer.mRotationZ,
                            &layer.mScaleX,     &layer.mScaleY,     &layer.mScaleZ};
  for (int i = 0; i < AnimTrack::kDissolve; ++i) {
    const float value = track.mMotion[i].Evaluate(time);
    if (*targets[i] == value) continue;
    *targets[i] = value;
    layer.mTransformChanged = true;
    layer.mOuterBoxValid = false;
  }
  layer.mAlpha = 1.0f - ClampAnimUnit(track.mMotion[AnimTrack::kDissolve].Evaluate(time));
  if (track.mColor) {
    layer.mColor.r = ClampAnimUnit(track.mColor->mRed.Evaluate(time));
    layer.mColor.g = ClampAnimUnit(track.mColor->mGreen.Evaluate(time));
    layer.mColor.b = ClampAnimUnit(track.mColor->mBlue.Evaluate(time));
    layer.mTintAmount = ClampAnimUnit(track.mColor->mTint.Evaluate(time));
  }
  return VN_OK;
}

}  // namespace animation
