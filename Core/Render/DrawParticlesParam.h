#pragma once
#include "Core/Base/Result.h"
#include "Core/Render/GraphicsFriend.h"

namespace math {
struct Box3;
}

namespace render {

class DrawParam;
class ParticleEmitter;

// Payload of a particle draw: one emitter's particles.
class DrawParticlesParam : public GraphicsFriend {
 public:
  DrawParticlesParam(Graphics* graphics, ParticleEmitter* emitter) : GraphicsFriend(graphics), mEmitter(emitter) {}

  // Draws the emitter; on success the drawn count goes to mOutCount when set.
  VNResultEnum Draw(DrawParam* request);

  ParticleEmitter* mEmitter;
  int* mOutCount = nullptr;
  math::Box3* mBoxBefore = nullptr;  // bounds before the request's transform
  math::Box3* mBoxAfter = nullptr;   // bounds after it
};

}  // namespace render
