// Particle layers: ownership of the emitter, the draw through the context, never hit.
#include <gtest/gtest.h>

#include <algorithm>

#include "Core/Layer/ParticlesLayer.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "tests/Layer/LayerScene.h"
#include "tests/fakes/ScriptedMagic.h"

namespace {

using testlayer::LayerSceneTest;

size_t ParticlesLayerCount(const std::vector<std::string>& calls, const std::string& call) {
  return size_t(std::count(calls.begin(), calls.end(), call));
}

TEST_F(LayerSceneTest, ParticlesLayerDeletesOnlyAReplacedOwnedEmitter) {
  fakes::ScriptedMagic magic;
  {
    layer::ParticlesLayer particles;
    auto* first = new render::ParticleEmitter(7u);
    particles.SetEmitter(first, true);
    particles.SetEmitter(first, true);  // the same emitter: kept
    EXPECT_EQ(ParticlesLayerCount(magic.calls, "UnloadEmitter(7)"), 0u);
    particles.SetEmitter(new render::ParticleEmitter(8u), true);
    EXPECT_EQ(ParticlesLayerCount(magic.calls, "UnloadEmitter(7)"), 1u);  // no leak of the old one
    render::ParticleEmitter borrowed(9u);
    particles.SetEmitter(&borrowed, false);
    EXPECT_EQ(ParticlesLayerCount(magic.calls, "UnloadEmitter(8)"), 1u);
    particles.SetEmitter(nullptr, false);  // a borrowed emitter is not deleted
    EXPECT_EQ(ParticlesLayerCount(magic.calls, "UnloadEmitter(9)"), 0u);
    particles.SetEmitter(new render::ParticleEmitter(10u), true);
  }
  EXPECT_EQ(ParticlesLayerCount(magic.calls, "UnloadEmitter(10)"), 1u);  // with the layer
}

TEST_F(LayerSceneTest, ParticlesLayerDrawsItsEmitterInAlphaBlendAndIsNeverHit) {
  fakes::ScriptedMagic magic;
  magic.defaults["InInterval"] = 1;
  render::ParticleEmitter emitter(5u);
  emitter.SetState(render::ParticleEmitter::kPlaying);
  layer::ParticlesLayer* particles = Keep(new layer::ParticlesLayer);
  particles->mAdditive = true;  // not for particles
  particles->mHitTestListener = MakeListener("particles");
  Frame([&](render::Graphics& g) {
    EXPECT_EQ(particles->Draw(&g), VN_OK);  // no emitter yet: nothing
    EXPECT_EQ(ParticlesLayerCount(magic.calls, "CreateFirstRenderedParticlesList(5)"), 0u);
    particles->SetEmitter(&emitter, false);
    g.SetBlendMode(2);
    EXPECT_EQ(particles->Draw(&g), VN_OK);
    EXPECT_EQ(g.GetState().mBlendMode, 1);
    EXPECT_EQ(g.mTransform, nullptr);
  });
  EXPECT_EQ(ParticlesLayerCount(magic.calls, "CreateFirstRenderedParticlesList(5)"), 1u);
  particles->mScaleX = 100.0f;
  EXPECT_EQ(Press(particles, 0, 0), 1);
  EXPECT_TRUE(mJournal.empty());
  particles->SetEmitter(nullptr, false);
}

}  // namespace
