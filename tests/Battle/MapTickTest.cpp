// The battle map's tick: what runs on real time and what on game time, the state gate, finished
// elements, and the map's shared operations.
#include <gtest/gtest.h>

#include "gamesupport/BattleMapScene.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Purchase/PurchaseResultEvent.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvParticle.h"
#include "Game/Battle/RuvWaveProto.h"
#include "Game/Screens/HUD.h"

namespace {

using battletest::BattleMapTest;
using battletest::RecordingModifier;
using battletest::RecordingTower;
using battletest::RecordingUnit;
using battletest::TickLog;

class MapTickTest : public BattleMapTest {
 protected:
  // One of each battle object, a radial menu opening, and money the counter has to catch up with.
  void PopulateBattle() {
    RecordBattle();
    mMap->mTowers.push_back(std::make_unique<RecordingTower>(mLog));
    mMap->mModifiers.push_back(std::make_unique<RecordingModifier>(mLog));
    mMap->mWaves->units.push_back(std::make_unique<RecordingUnit>(mLog));
    mMap->mWaves->units.back()->speedReduction = 5.0f;
    mMap->mRadialMenu = std::make_unique<RuvRadialMenu>();
    mMap->mWallet->money = 1000;
  }
};

TEST_F(MapTickTest, BuiltWithoutALevel) {
  EXPECT_TRUE(mMap->mReady);
  EXPECT_EQ(mMap->mState, -1);
  EXPECT_EQ(mMap->mSpeed, 1.0f);
  EXPECT_EQ(mMap->mTutorialSpot, -1);
  EXPECT_EQ(mMap->mLanguage, u"en");
  // The map's UI art comes from the sample set "ruv/ui".
  EXPECT_NE(mMap->mRoadBrush, nullptr);
  EXPECT_NE(mMap->mArtRadius, nullptr);
  EXPECT_NE(mMap->mWaveHint->image, nullptr);
  ASSERT_EQ(mMap->mArtTowerIcons.size(), 20u);
  for (const auto& icon : mMap->mArtTowerIcons) EXPECT_NE(icon.second, nullptr) << icon.first;
  EXPECT_EQ(mMap->mArtAbilityIcons.size(), 11u);
  ASSERT_NE(mMap->mActiveEmitter, nullptr);
  EXPECT_EQ(mMap->mActiveEmitter->GetState(), render::ParticleEmitter::kPlaying);
  ASSERT_NE(mMap->mActiveButtonEmitter, nullptr);
  EXPECT_EQ(mMap->mActiveButtonEmitter->GetState(), render::ParticleEmitter::kPlaying);
  // Speed 1: only the play button shows its highlighted twin.
  for (const char16_t* name : {u"play_btn_ac", u"pause_btn", u"speed_btn"}) {
    EXPECT_EQ(mMap->mHud->findButton(name)->visible, 1);
  }
  for (const char16_t* name : {u"play_btn", u"pause_btn_ac", u"speed_btn_ac", u"options_btn_ac"}) {
    EXPECT_EQ(mMap->mHud->findButton(name)->visible, 0);
  }
  for (auto* owned : {static_cast<void*>(mMap->mUpgrades.get()), static_cast<void*>(mMap->mUnlocks.get()),
                      static_cast<void*>(mMap->mProgress.get()), static_cast<void*>(mMap->mRoutes.get()),
                      static_cast<void*>(mMap->mProtos.get()), static_cast<void*>(mMap->mPopups.get())}) {
    EXPECT_NE(owned, nullptr);
  }
}

TEST_F(MapTickTest, BattleRunsOnGameTimeAndTheRestOnRealTime) {
  struct Case {
    float speed;
    float dt;
  };
  const Case cases[] = {{0.0f, 0.1f}, {1.0f, 0.1f}, {2.0f, 0.1f}, {2.0f, 0.15f}};  // menu still opening
  for (const Case& c : cases) {
    mLog.clear();
    PopulateBattle();
    mMap->mState = kStatePlaying;
    mMap->mSpeed = c.speed;
    mMap->mGameTime = 1.0f;
    const float hudTime = mMap->mHud->time;
    mMap->mEmitters.push_back(Emitter(true));

    mMap->update(c.dt);

    const float g = c.speed * c.dt;
    const auto step = [](const char* who, float seconds) {
      TickLog one;
      battletest::logStep(one, who, seconds);
      return one[0];
    };
    const TickLog expected = {step("fx triggers", g),    step("modifier", g), step("tower", g),
                              step("unit modifiers", g), step("unit", g),     step("bullets", g),
                              step("waves", g)};
    EXPECT_EQ(mLog, expected) << c.speed;
    EXPECT_FLOAT_EQ(mMap->mGameTime, 1.0f + g) << c.speed;
    EXPECT_FLOAT_EQ(mMap->mFrameTime, c.dt);
    EXPECT_FLOAT_EQ(mMap->mHud->time - hudTime, c.dt) << c.speed;
    EXPECT_FLOAT_EQ(mMap->mRadialMenu->timer, c.dt) << c.speed;
    EXPECT_GT(mMap->mWallet->shownMoney, 0) << c.speed;  // the counter steps on real time
    EXPECT_EQ(mMap->mEmitters.size(), 1u) << c.speed;
    EXPECT_EQ(mMap->mWaves->units[0]->speedReduction, 0.0f);
    auto* tower = static_cast<RecordingTower*>(mMap->mTowers[0].get());
    EXPECT_EQ(tower->clears, 1);
    mMap->mTowers.clear();
    mMap->mModifiers.clear();
    mMap->mEmitters.clear();
  }
}

TEST_F(MapTickTest, OutsidePlayTheTickStopsAfterTheFreeEmitters) {
  for (int state : {-1, 1, 4, 7, 12}) {
    mLog.clear();
    PopulateBattle();
    mMap->mState = state;
    mMap->mTowers[0]->boosted = 1;
    mMap->mEmitters.push_back(Emitter(false));
    mMap->mOverlayEffects.push_back(std::make_unique<RuvEffect>("no such effect"));
    const float hudTime = mMap->mHud->time;

    mMap->update(0.1f);

    EXPECT_TRUE(mLog.empty()) << state;
    EXPECT_EQ(mMap->mRadialMenu, nullptr) << state;
    EXPECT_EQ(mMap->mTowers[0]->boosted, 1) << state;
    EXPECT_EQ(mMap->mWallet->shownMoney, 0) << state;
    EXPECT_TRUE(mMap->mEmitters.empty()) << state;
    EXPECT_TRUE(mMap->mOverlayEffects.empty()) << state;
    EXPECT_FLOAT_EQ(mMap->mHud->time - hudTime, 0.1f) << state;
    EXPECT_FLOAT_EQ(mMap->mGameTime, 0.1f) << state;  // the level clock counts before the gate
    mMap->mTowers.clear();
    mMap->mModifiers.clear();
    mMap->mGameTime = 0.0f;
  }
}

// A sprite that ends after its first update.
struct EndingSprite : RuvSprite {
  explicit EndingSprite(bool ends) : ending(ends) {}
  void update(float) override {
    if (ending) visible = 0;
  }
  bool ending;
};

TEST_F(MapTickTest, FinishedNeighboursGoInOneTick) {
  // Finished, finished, running, finished, finished: only the running one stays in each list.
  const bool finished[] = {true, true, false, true, true};
  mMap->mState = kStatePlaying;
  for (bool done : finished) {
    auto effect = std::make_unique<RuvEffect>(done ? "no such effect" : "active");
    if (effect->emitter) effect->emitter->SetState(render::ParticleEmitter::kPlaying);
    mMap->mEffects.push_back(std::move(effect));
    auto overlay = std::make_unique<RuvEffect>(done ? "no such effect" : "active");
    if (overlay->emitter) overlay->emitter->SetState(render::ParticleEmitter::kPlaying);
    mMap->mOverlayEffects.push_back(std::move(overlay));
    mMap->mEmitters.push_back(Emitter(!done));
    mMap->mParticles.push_back(std::make_unique<RuvParticle>(done ? "" : "active"));
    mMap->mModifiers.push_back(std::make_unique<RuvModifier>());
    mMap->mModifiers.back()->active = done ? 0 : 1;
    mMap->mSprites.push_back(new EndingSprite(done));
  }
  mMap->update(0.1f);
  EXPECT_EQ(mMap->mEffects.size(), 1u);
  EXPECT_EQ(mMap->mOverlayEffects.size(), 1u);
  EXPECT_EQ(mMap->mEmitters.size(), 1u);
  EXPECT_EQ(mMap->mParticles.size(), 1u);
  EXPECT_EQ(mMap->mModifiers.size(), 1u);
  EXPECT_EQ(mMap->mSprites.size(), 1u);
}

TEST_F(MapTickTest, DyingSelectedUnitIsDropped) {
  PopulateBattle();
  mMap->mState = kStatePlaying;
  RuvUnit* unit = mMap->mWaves->units[0].get();
  mMap->mSelectedUnit = unit;
  mMap->update(0.1f);
  EXPECT_EQ(mMap->mSelectedUnit, unit);
  unit->state = RuvUnit::kDying;
  mMap->update(0.1f);
  EXPECT_EQ(mMap->mSelectedUnit, nullptr);
}

TEST_F(MapTickTest, FreeEmittersRunOnRealTimeEffectsOnGameTime) {
  // The sample "active" effect played once ends within three seconds.
  struct Case {
    float speed;
    size_t emittersLeft, effectsLeft;
  };
  const Case cases[] = {{0.0f, 0, 1}, {1.0f, 0, 0}};
  for (const Case& c : cases) {
    mMap->mState = kStatePlaying;
    mMap->mSpeed = c.speed;
    mMap->mEmitters.push_back(Emitter(true));
    mMap->mEmitters.back()->SetLoopMode(2);
    mMap->mEffects.push_back(std::make_unique<RuvEffect>("active"));
    mMap->mEffects.back()->emitter->SetLoopMode(2);
    mMap->mEffects.back()->emitter->SetState(render::ParticleEmitter::kPlaying);
    for (int i = 0; i < 4; ++i) mMap->update(1.0f);
    EXPECT_EQ(mMap->mEmitters.size(), c.emittersLeft) << c.speed;
    EXPECT_EQ(mMap->mEffects.size(), c.effectsLeft) << c.speed;
    mMap->mEffects.clear();
  }
}

TEST_F(MapTickTest, DestroyedMapLeavesNoHooks) {
  mMap.reset();
  EXPECT_TRUE(RuvResources::Instance()->getArtSets().empty());
  // Neither the purchase results nor the music volume reach the deleted map any more (the
  // sanitizer build sees a stale call).
  purchase::PurchaseResultEvent::Fire(TPurchaseResult{});
  k2::SoundTags::Instance()->PlayMusic(u"ruv/data/music/main_menu.ogg");
}

TEST_F(MapTickTest, DifficultyOffsetByMode) {
  const float offsets[] = {-0.1f, 0.0f, 0.1f, 0.0f};
  for (int mode = 0; mode < 4; ++mode) {
    mMap->mMode = mode;
    EXPECT_FLOAT_EQ(mMap->difficultyOffset(), offsets[mode]) << mode;
  }
}

// A wave that records the units it is told about.
struct RecordingWave : RuvWaveProto {
  void onUnitKilled(int protoId, float seconds, RuvWaveEntry* entry) override {
    ids.push_back(protoId);
    times.push_back(seconds);
    entries.push_back(entry);
  }
  std::vector<int> ids;
  std::vector<float> times;
  std::vector<RuvWaveEntry*> entries;
};

TEST_F(MapTickTest, RemovedUnitLeavesNoReference) {
  RecordingWave wave;
  RuvWaveEntry entry;
  entry.protoId = 11;
  entry.wave = &wave;
  RecordingUnit gone(mLog);
  gone.entry = &entry;
  RecordingUnit other(mLog);
  mMap->mGameTime = 12.5f;
  mMap->mSelectedUnit = &gone;
  for (RuvUnit* target : {&gone, &other, &gone}) {
    mMap->mTowers.push_back(std::make_unique<RecordingTower>(mLog));
    mMap->mTowers.back()->target = target;
    mMap->mBullets->bullets.push_back(std::make_unique<RuvBullet>(*mMap, nullptr, nullptr));
    mMap->mBullets->bullets.back()->target = target;
    mMap->mBullets->bullets.back()->hits = {&other, &gone, &gone};
  }

  mMap->onUnitRemoved(&gone);

  EXPECT_EQ(mMap->mSelectedUnit, nullptr);
  const RuvUnit* expectedTargets[] = {nullptr, &other, nullptr};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(mMap->mTowers[i]->target, expectedTargets[i]) << i;
    EXPECT_EQ(mMap->mBullets->bullets[i]->target, expectedTargets[i]) << i;
    EXPECT_EQ(mMap->mBullets->bullets[i]->hits, std::vector<RuvUnit*>{&other}) << i;
  }
  EXPECT_EQ(wave.ids, std::vector<int>{11});
  EXPECT_EQ(wave.times, std::vector<float>{12.5f});
  EXPECT_EQ(wave.entries, std::vector<RuvWaveEntry*>{&entry});

  // Another unit leaves the selection alone; a unit without a wave tells nobody.
  mMap->mSelectedUnit = &gone;
  mMap->onUnitRemoved(&other);
  EXPECT_EQ(mMap->mSelectedUnit, &gone);
  EXPECT_EQ(mMap->mTowers[1]->target, nullptr);
  EXPECT_EQ(wave.ids.size(), 1u);
  mMap->mSelectedUnit = nullptr;
}

TEST_F(MapTickTest, SpeedButtonsShowTheSpeed) {
  // Rectangles of the three highlighted twins, so the marker's move can be seen.
  const char16_t* twins[] = {u"pause_btn_ac", u"play_btn_ac", u"speed_btn_ac"};
  for (int i = 0; i < 3; ++i) {
    RuvButtonFrame* button = mMap->mHud->findButton(twins[i]);
    ASSERT_NE(button, nullptr);
    button->rect[0] = 100.0f * float(i + 1);
    button->rect[1] = 20.0f;
    button->rect[2] = 40.0f;
    button->rect[3] = 30.0f;
  }
  struct Case {
    float speed;
    bool pauseActive, playActive, speedActive;
    float markerX;
  };
  const Case cases[] = {{0.0f, true, false, false, 120.0f},
                        {1.0f, false, true, false, 220.0f},
                        {2.0f, false, false, true, 320.0f}};
  for (const Case& c : cases) {
    mMap->mSpeed = c.speed;
    mMap->mHud->findButton(u"options_btn_ac")->visible = 1;
    mMap->refreshSpeedButtons();
    const auto visible = [this](const char16_t* name) { return mMap->mHud->findButton(name)->visible != 0; };
    EXPECT_EQ(visible(u"pause_btn_ac"), c.pauseActive) << c.speed;
    EXPECT_EQ(visible(u"pause_btn"), !c.pauseActive) << c.speed;
    EXPECT_EQ(visible(u"play_btn_ac"), c.playActive) << c.speed;
    EXPECT_EQ(visible(u"play_btn"), !c.playActive) << c.speed;
    EXPECT_EQ(visible(u"speed_btn_ac"), c.speedActive) << c.speed;
    EXPECT_EQ(visible(u"speed_btn"), !c.speedActive) << c.speed;
    EXPECT_FALSE(visible(u"options_btn_ac")) << c.speed;
    EXPECT_FLOAT_EQ(mMap->mActiveButtonEmitter->GetPosition().x, c.markerX) << c.speed;
    EXPECT_FLOAT_EQ(mMap->mActiveButtonEmitter->GetPosition().y, 35.0f) << c.speed;
  }
}

TEST_F(MapTickTest, FocusLossPausesOnlyWhilePlaying) {
  struct Case {
    int state;
    int stateAfter;
    float speedAfter;
    size_t screensAfter;
  };
  const Case cases[] = {{0, 4, 0.0f, 1}, {7, 7, 2.0f, 0}};
  for (const Case& c : cases) {
    mMap->mHud->stack.clear();
    mMap->mState = c.state;
    mMap->mSpeed = 2.0f;
    mMap->onAppPause();
    mMap->mHud->update(0.0f);
    EXPECT_EQ(mMap->mState, c.stateAfter) << c.state;
    EXPECT_EQ(mMap->mSpeed, c.speedAfter) << c.state;
    EXPECT_EQ(mMap->mHud->stack.size(), c.screensAfter) << c.state;
  }
}

TEST_F(MapTickTest, WaveHintHitIsStrictlyInside) {
  auto mark = std::make_unique<RuvFrameEntry>();
  mark->rect[0] = 10.0f;
  mark->rect[1] = 20.0f;
  mark->rect[2] = 30.0f;
  mark->rect[3] = 40.0f;
  RuvWaveHint& hint = *mMap->mWaveHint;
  EXPECT_FALSE(hint.hitTest(20.0f, 30.0f));  // no marks
  hint.marks.push_back(std::move(mark));
  struct Case {
    float x, y;
    bool hit;
  };
  const Case cases[] = {{20, 30, true}, {10, 30, false}, {40, 30, false}, {39.9f, 59.9f, true},
                        {20, 20, false}, {20, 60, false}, {10.1f, 20.1f, true}};
  for (const Case& c : cases) EXPECT_EQ(hint.hitTest(c.x, c.y), c.hit) << c.x << " " << c.y;
  hint.clear();
  EXPECT_FALSE(hint.hitTest(20.0f, 30.0f));
}

}  // namespace
