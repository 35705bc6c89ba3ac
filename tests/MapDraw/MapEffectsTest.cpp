// Beams between a muzzle and a moving unit, ambient scenery effects, particles on the map.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "Core/Math/Random.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvParticle.h"
#include "gamesupport/BattleMapScene.h"

namespace {

struct StillTarget : RuvUnit {
  StillTarget(float x, float y) { position = math::Point2(x, y); }
  void update(float) override {}
};

class MapEffectsTest : public battletest::BattleMapTest {
 protected:
  // Distances from the muzzle of the emitters' places.
  static std::vector<float> Reach(const RuvBeamParticle& beam) {
    std::vector<float> out;
    for (size_t i = 0; i < beam.emitters.size(); ++i) {
      const math::Point2 p = beam.emitterPosition(i);
      out.push_back(std::round(std::hypot(p.x - beam.fromX, p.y - beam.fromY) * 100.0f) / 100.0f);
    }
    return out;
  }
};

TEST_F(MapEffectsTest, BeamEmittersAlongTheLine) {
  StillTarget target(160.0f, 180.0f);  // 100 px from (100, 100)
  RuvBeamParticle beam(100.0f, 100.0f, &target, "t_line");
  ASSERT_EQ(beam.emitters.size(), 4u);
  beam.update(0.05f);
  EXPECT_FLOAT_EQ(beam.grow, 0.5f);
  beam.update(0.1f);
  EXPECT_FLOAT_EQ(beam.grow, 1.0f);
  EXPECT_EQ(Reach(beam), (std::vector<float>{0.0f, 30.0f, 60.0f, 70.0f}));
  // The chain points at the target: the last emitter lies on the line, 30 px short of it.
  const math::Point2 last = beam.emitterPosition(3);
  EXPECT_NEAR(last.x, 100.0f + 0.6f * 70.0f, 1e-3);
  EXPECT_NEAR(last.y, 100.0f + 0.8f * 70.0f, 1e-3);
}

TEST_F(MapEffectsTest, ShorterBeamLosesOneEmitterPerUpdate) {
  StillTarget target(200.0f, 100.0f);
  RuvBeamParticle beam(100.0f, 100.0f, &target, "t_line");
  ASSERT_EQ(beam.emitters.size(), 4u);
  target.position = math::Point2(120.0f, 100.0f);
  for (size_t expected : {3u, 2u, 1u, 1u}) {
    beam.update(0.02f);
    EXPECT_EQ(beam.emitters.size(), expected);
  }
  target.position = math::Point2(250.0f, 100.0f);
  beam.update(0.02f);
  EXPECT_EQ(beam.emitters.size(), 5u);
}

TEST_F(MapEffectsTest, BeamAtTheMuzzleHasNoEmitterAndGoesNextTick) {
  StillTarget target(100.0f, 100.0f);
  auto beam = std::make_unique<RuvBeamParticle>(100.0f, 100.0f, &target, "t_line");
  EXPECT_TRUE(beam->emitters.empty());
  mMap->mState = kStatePlaying;
  mMap->mParticles.push_back(std::move(beam));
  mMap->update(0.016f);
  EXPECT_TRUE(mMap->mParticles.empty());
}

TEST_F(MapEffectsTest, RemovedTargetLeavesTheBeamAtItsLastPlace) {
  RuvWaveEntry entry;
  auto target = std::make_unique<StillTarget>(160.0f, 180.0f);
  target->entry = &entry;
  auto* beam = new RuvBeamParticle(100.0f, 100.0f, target.get(), "t_line");
  mMap->mParticles.emplace_back(beam);
  mMap->onUnitRemoved(target.get());
  target.reset();
  EXPECT_EQ(beam->target, nullptr);
  beam->update(0.2f);
  EXPECT_EQ(Reach(*beam), (std::vector<float>{0.0f, 30.0f, 60.0f, 70.0f}));
}

TEST_F(MapEffectsTest, AmbientPointFiresAfterItsDelayThenAgainThenEveryTwentySecondsOrMore) {
  math::Random(12345);
  std::vector<std::unique_ptr<RuvEffect>> effects;
  RuvFxTriggers triggers(&effects);
  triggers.spots.push_back(std::make_unique<RuvAmbientSpot>(u"tr1", 40.0f, 50.0f, 30.0f));
  const RuvAmbientSpot& spot = *triggers.spots[0];
  EXPECT_GE(spot.firstDelay, 3.0f);
  EXPECT_LE(spot.firstDelay, 8.0f);
  EXPECT_FALSE(spot.loop);
  std::vector<float> fired;
  const float step = 0.25f;
  for (int i = 1; i <= 400; ++i) {
    const size_t before = effects.size();
    triggers.update(step);
    if (effects.size() > before) fired.push_back(float(i) * step);
  }
  ASSERT_GE(fired.size(), 3u);
  EXPECT_GT(fired[0], spot.firstDelay);
  EXPECT_LE(fired[0], spot.firstDelay + step);
  EXPECT_FLOAT_EQ(fired[1], fired[0] + step);
  for (size_t i = 2; i < fired.size(); ++i) {
    EXPECT_GT(fired[i] - fired[i - 1], 20.0f) << i;
    EXPECT_LE(fired[i] - fired[i - 1], 30.0f + step) << i;
  }
  ASSERT_NE(effects[0]->emitter, nullptr);
  EXPECT_EQ(effects[0]->emitter->GetState(), render::ParticleEmitter::kPlaying);
  EXPECT_EQ(spot.current, effects.back().get());
}

TEST_F(MapEffectsTest, LoopingAndNamelessPoints) {
  std::vector<std::unique_ptr<RuvEffect>> effects;
  RuvFxTriggers triggers(&effects);
  triggers.spots.push_back(std::make_unique<RuvAmbientSpot>(u"bird", 0.0f, 0.0f, 0.0f));
  triggers.spots.push_back(std::make_unique<RuvAmbientSpot>(u"", 0.0f, 0.0f, 30.0f));
  for (int i = 0; i < 400; ++i) triggers.update(0.25f);
  EXPECT_EQ(effects.size(), 1u);
  EXPECT_TRUE(triggers.spots[0]->loop);
  EXPECT_TRUE(triggers.spots[1]->started);
}

}  // namespace

namespace {

class SampleEffectsTest : public battletest::BattleMapTest {};

TEST_F(SampleEffectsTest, EveryEffectTheCodeAndTheSheetsNameExists) {
  std::vector<std::string> names = {"active", "active_btn", "build",    "upgrade", "damage_h", "mg_00",
                                    "t_line", "portal_1",   "blow_bub", "hammer",  "tr1",      "bird"};
  for (const std::unique_ptr<RuvProto>& proto : mMap->mProtos->getList()) {
    for (const std::u16string* name : {&proto->onFire, &proto->onAmmo, &proto->onHit}) {
      if (!name->empty()) names.emplace_back(name->begin(), name->end());
    }
  }
  for (const std::string& name : names) {
    std::unique_ptr<render::ParticleEmitter> emitter(render::ParticleSystem::Instance()->CreateEmitter(name));
    EXPECT_NE(emitter, nullptr) << name;
  }
}

}  // namespace
