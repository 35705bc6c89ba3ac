#include "Game/Battle/RuvFxTriggers.h"

#include "Core/Base/StringEncoding.h"
#include "Core/Math/Random.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Art/RuvAnimation.h"

namespace {

constexpr float kAmbientFirstDelay = 3.0f;
constexpr float kAmbientFirstDelaySpread = 5.0f;
constexpr float kAmbientLeastRepeat = 20.0f;
constexpr float kAmbientPeriod = 30.0f;

}  // namespace

RuvAmbientSpot::RuvAmbientSpot(std::u16string effect, float atX, float atY, float repeatPeriod)
    : effectName(std::move(effect)),
      x(atX),
      y(atY),
      loop(repeatPeriod == 0.0f ? 1 : 0),
      firstDelay(kAmbientFirstDelay + kAmbientFirstDelaySpread * math::Random()),
      period(repeatPeriod) {}

void RuvAmbientSpot::fire(std::vector<std::unique_ptr<RuvEffect>>& effects) {
  started = 1;
  if (effectName.empty()) return;
  auto effect = std::make_unique<RuvEffect>(base::ToNarrow(effectName, base::kEncodingUtf8));
  if (effect->emitter) {
    effect->emitter->SetPosition(math::Point2(x, y), 1);
    effect->emitter->SetLoopMode(loop);
    effect->emitter->SetState(render::ParticleEmitter::kPlaying);
  }
  current = effect.get();
  effects.push_back(std::move(effect));
}

RuvFxTriggers::~RuvFxTriggers() = default;

void RuvFxTriggers::addPoint(int episode, float x, float y) {
  const char16_t* effect = episode == 0 ? u"tr1" : episode == 1 ? u"bird" : u"";
  spots.push_back(std::make_unique<RuvAmbientSpot>(effect, x, y, kAmbientPeriod));
}

void RuvFxTriggers::update(float dt) {
  if (!mOverlayEffects) return;
  for (const std::unique_ptr<RuvAmbientSpot>& spot : spots) {
    if (!spot->started) {
      spot->elapsed += dt;
      if (spot->elapsed > spot->firstDelay) {
        spot->fire(*mOverlayEffects);
        spot->elapsed = 0.0f;
      }
    } else if (!spot->loop) {
      spot->elapsed += dt;
      if (spot->elapsed > spot->nextDelay) {
        spot->fire(*mOverlayEffects);
        spot->nextDelay = math::RandomRange(kAmbientLeastRepeat, spot->period, 0);
        spot->elapsed = 0.0f;
      }
    }
  }
}
