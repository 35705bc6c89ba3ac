#pragma once
#include "Core/Base/Result.h"

namespace layer {
class Layer;
}

namespace animation {

class AnimTrack;

// Something that plays at a time.
class Anim {
 public:
  virtual ~Anim() = default;
  virtual VNResultEnum Apply(float time) = 0;
};

// Writes one track's values at a time into a layer. Neither is owned.
class LayerAnim : public Anim {
 public:
  LayerAnim(layer::Layer* layer, const AnimTrack* track) : mLayer(layer), mTrack(track) {}

  // Position, rotation and scale (each only when it changed, which marks the transform changed),
  // alpha = 1 - dissolve, and with colour envelopes the colour and tint amount. Returns 0.
  VNResultEnum Apply(float time) override;

  layer::Layer* GetLayer() const { return mLayer; }
  const AnimTrack* GetTrack() const { return mTrack; }

 private:
  layer::Layer* mLayer;
  const AnimTrack* mTrack;
};

}  // namespace animation
