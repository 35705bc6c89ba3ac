#pragma once
// The curves the option widgets share.

namespace layer {
class Layer;
}

namespace talven {

// 0..1 eased in and out: 0.5 - cos(pi t) / 2.
float easeInOut(float t);
// The alpha of an image that a cross-fade covers: 1 until over passes 0.9, then down to 0 at 1.
float fadeOutLate(float over);
// Scale x and y, marking the transform changed when it differs.
void setScale(layer::Layer& layer, float scale);

}  // namespace talven
