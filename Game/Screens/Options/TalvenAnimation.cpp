#include "Game/Screens/Options/TalvenAnimation.h"

#include <cmath>

#include "Core/Layer/Layer.h"
#include "Core/Math/Angle.h"

namespace talven {

float easeInOut(float t) { return 0.5f - std::cos(math::kPi * t) / 2.0f; }

float fadeOutLate(float over) { return over <= 0.9f ? 1.0f : 1.0f - (over - 0.9f) * 10.0f; }

void setScale(layer::Layer& layer, float scale) {
  if (layer.mScaleX == scale && layer.mScaleY == scale) return;
  layer.mScaleX = scale;
  layer.mScaleY = scale;
  layer.mTransformChanged = true;
  layer.mOuterBoxValid = false;
}

}  // namespace talven
