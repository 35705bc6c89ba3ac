// Frame animations, self-expiring sprites with their fade and delay, sprite lists and effects.
#include <gtest/gtest.h>

#include <cmath>
#include <list>

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Art/RuvAnimation.h"
#include "gamesupport/GameArtScene.h"

namespace {

using gameart::GameArtTest;

class SpriteTest : public GameArtTest {
 protected:
  // A set of n frames in the empty group (4 px wide images at x = i * 10).
  RuvArtSet* MakeFrames(const std::u16string& path, int n, int width = 4) {
    RuvArtSet* set = MakeEmptySet(path);
    AddFrames(set, "", n, width);
    return set;
  }

  // Alpha of the sprite's drawn quad; -1 when nothing was drawn.
  float DrawnAlpha(RuvSprite& sprite) {
    Frame([&](render::Graphics& g) { sprite.draw(g); });
    const std::vector<render::SVertex2D> v = FrameImageVertices();
    return v.empty() ? -1.0f : gameart::VertexAlpha(v[0].diffuse);
  }
};

TEST_F(SpriteTest, AnimationShowsFrameOfThirtyTimesTimeModuloCount) {
  RuvArtSet* set = MakeFrames(u"fake/eight", 8);
  RuvAnimation animation(u"fake/eight", u"");
  EXPECT_EQ(animation.artSet, set);
  EXPECT_EQ(animation.frameCount(), 8);
  struct Step {
    float dt;
    int frame;
  };
  // Times 0.02, 0.05, 0.12, 0.21, 0.26, then 0.27 >= 8 / 30 restarts at 0, then 0.04.
  const Step steps[] = {{0.02f, 0}, {0.03f, 1}, {0.07f, 3}, {0.09f, 6}, {0.05f, 7}, {0.01f, 0}, {0.04f, 1}};
  for (const Step& s : steps) {
    animation.update(s.dt);
    RuvFrameEntry* frame = animation.currentFrame(0, 0, 0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame, set->groups[""][size_t(s.frame)]) << animation.time;
    EXPECT_EQ(int(std::floor(30.0f * animation.time)) % 8, s.frame);
  }
}

TEST_F(SpriteTest, PivotComesFromTheFirstMarker) {
  MakeFrames(u"fake/plain", 2);
  RuvAnimation plain(u"fake/plain", u"");
  EXPECT_FLOAT_EQ(plain.pivot.x, 50.0f);
  EXPECT_FLOAT_EQ(plain.pivot.y, 30.0f);

  RuvArtSet* marked = MakeFrames(u"fake/marked", 2);
  AddFrames(marked, "s_point", 2);
  marked->groups["s_point"][0]->rect[0] = 12.0f;
  marked->groups["s_point"][0]->rect[1] = 34.0f;
  RuvAnimation animation(u"fake/marked", u"");
  EXPECT_FLOAT_EQ(animation.pivot.x, 12.0f);
  EXPECT_FLOAT_EQ(animation.pivot.y, 34.0f);

  // The pivot lands on (x, y): frame 1 at (10, 0, 4, 1) is centred at (12 - 12 + 100, 0.5 - 34 + 200).
  animation.time = 1.0f / 30.0f;
  RuvFrameEntry* frame = animation.currentFrame(100.0f, 200.0f, 0.0f);
  ASSERT_EQ(frame, marked->groups[""][1]);
  const math::Matrix3& m = frame->transform.GetMatrix();
  EXPECT_FLOAT_EQ(m.m02, 100.0f + 12.0f - 12.0f);
  EXPECT_FLOAT_EQ(m.m12, 200.0f + 0.5f - 34.0f);
}

TEST_F(SpriteTest, AnimationWithoutFramesDrawsNothingAndStaysAtZero) {
  MakeEmptySet(u"fake/empty");
  RuvAnimation animation(u"fake/empty", u"walk");
  animation.update(0.5f);
  EXPECT_EQ(animation.time, 0.0f);
  EXPECT_EQ(animation.currentFrame(0, 0, 0), nullptr);
  Frame([&](render::Graphics& g) { animation.draw(g, 0, 0, 0); });
  EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
}

TEST_F(SpriteTest, PlayOnceSpriteEndsAndFades) {
  MakeFrames(u"fake/four", 4);
  RuvAnimatedSprite sprite(u"fake/four");
  EXPECT_FLOAT_EQ(sprite.animation->fps, 20.0f);
  EXPECT_FLOAT_EQ(sprite.duration(), 0.2f);
  struct Step {
    float dt;
    bool visible;
    float alpha;  // of the drawn quad after the step
  };
  // 4 frames at 20 fps: invisible once 20 t > 3; fading over the last 0.2 s, i.e. from the start.
  const Step steps[] = {{0.05f, true, 0.75f}, {0.05f, true, 0.5f}, {0.04f, true, 0.3f}, {0.02f, false, 0.2f}};
  for (const Step& s : steps) {
    sprite.update(s.dt);
    EXPECT_EQ(sprite.isVisible(), s.visible) << sprite.time;
    EXPECT_NEAR(DrawnAlpha(sprite), s.alpha, 0.01f) << sprite.time;
  }
}

TEST_F(SpriteTest, LongSpriteIsOpaqueUntilItsLastFifthOfASecond) {
  MakeFrames(u"fake/eight", 8);  // 0.4 s at 20 fps
  RuvAnimatedSprite sprite(u"fake/eight");
  sprite.update(0.1f);
  EXPECT_NEAR(DrawnAlpha(sprite), 1.0f, 0.01f);
  sprite.update(0.2f);
  EXPECT_NEAR(DrawnAlpha(sprite), 0.5f, 0.01f);
}

TEST_F(SpriteTest, LoopingSpriteSkipsItsWrapFrame) {
  MakeFrames(u"fake/four", 4);
  RuvAnimatedSprite sprite(u"fake/four");
  sprite.loop = 1;
  sprite.update(0.1f);
  EXPECT_GT(DrawnAlpha(sprite), 0.0f);
  sprite.update(0.06f);  // 20 * 0.16 > 3: one run (0.2 s) is taken off
  EXPECT_TRUE(sprite.isVisible());
  EXPECT_NEAR(sprite.time, -0.04f, 1e-5);
  EXPECT_EQ(sprite.delay, 0.0f);
  EXPECT_EQ(DrawnAlpha(sprite), -1.0f);
  sprite.update(0.05f);
  EXPECT_GT(DrawnAlpha(sprite), 0.0f);
}

TEST_F(SpriteTest, DelayedSpriteIsShownForItsWholeRun) {
  MakeFrames(u"fake/four", 4);
  RuvAnimatedSprite sprite(u"fake/four");
  sprite.delay = 0.5f;
  // Waiting: nothing drawn, nothing run.
  for (int i = 0; i < 4; ++i) {
    sprite.update(0.1f);
    EXPECT_TRUE(sprite.isVisible());
    EXPECT_EQ(DrawnAlpha(sprite), -1.0f);
  }
  EXPECT_EQ(sprite.time, 0.0f);
  sprite.update(0.15f);  // 0.05 s of it after the delay
  EXPECT_NEAR(sprite.time, 0.05f, 1e-5);
  EXPECT_NEAR(sprite.animation->time, 0.05f, 1e-5);
  EXPECT_NEAR(DrawnAlpha(sprite), 0.75f, 0.01f);
  sprite.update(0.05f);
  sprite.update(0.04f);
  EXPECT_TRUE(sprite.isVisible());
  sprite.update(0.02f);
  EXPECT_FALSE(sprite.isVisible());
}

class FollowedUnit : public RuvPositioned {
 public:
  math::Point2 getPosition() const override { return math::Point2(300.0f, 400.0f); }
};

TEST_F(SpriteTest, OwnedSpriteDrawsAtItsOwner) {
  MakeFrames(u"fake/four", 4);
  RuvAnimatedSprite sprite(u"fake/four");
  sprite.x = 10.0f;
  sprite.y = 10.0f;
  FollowedUnit unit;
  sprite.setOwner(nullptr);
  EXPECT_EQ(sprite.owner, nullptr);
  sprite.setOwner(&unit);
  sprite.update(0.01f);
  Frame([&](render::Graphics& g) { sprite.draw(g); });
  const std::vector<render::SVertex2D> v = FrameImageVertices();
  ASSERT_EQ(v.size(), 4u);
  // Frame 0 at (0, 0, 4, 1), pivot (50, 30): centre at (2 - 50 + 300, 0.5 - 30 + 400).
  EXPECT_NEAR((v[0].x + v[2].x) / 2 + 0.5f, 252.0f, 1e-3);
  EXPECT_NEAR((v[0].y + v[2].y) / 2 + 0.5f, 370.5f, 1e-3);
}

TEST_F(SpriteTest, EmitHandsACopyToTheDrawList) {
  RuvArtSet* set = MakeFrames(u"fake/four", 4);
  RuvAnimatedSprite sprite(u"fake/four");
  std::vector<RuvFrameEntry*> drawList;
  sprite.emit(drawList);
  ASSERT_EQ(drawList.size(), 1u);
  EXPECT_NE(drawList[0], set->groups[""][0]);
  EXPECT_EQ(drawList[0]->image, set->groups[""][0]->image);
  EXPECT_EQ(drawList[0]->ownsImage, 0);
  deleteOwnedObjects(drawList);
  EXPECT_TRUE(drawList.empty());

  MakeEmptySet(u"fake/none");
  RuvAnimatedSprite empty(u"fake/none");
  empty.emit(drawList);
  EXPECT_TRUE(drawList.empty());
}

// Ends after its own count of updates.
class CountdownSprite : public RuvSprite {
 public:
  CountdownSprite(int updates, int* deleted) : mLeft(updates), mDeleted(deleted) {}
  ~CountdownSprite() override { ++*mDeleted; }
  void update(float) override {
    if (--mLeft <= 0) visible = 0;
  }

 private:
  int mLeft;
  int* mDeleted;
};

TEST_F(SpriteTest, UpdateSpritesRemovesNeighboursInOnePass) {
  int deleted = 0;
  std::vector<RuvSprite*> list;
  const int lives[] = {1, 1, 3, 1, 1, 2};
  for (int life : lives) list.push_back(new CountdownSprite(life, &deleted));
  RuvSprite* third = list[2];
  RuvSprite* last = list[5];
  updateSprites(list, 0.1f);
  EXPECT_EQ(deleted, 4);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], third);
  EXPECT_EQ(list[1], last);

  removeOwnedObject(list, last);
  EXPECT_EQ(deleted, 5);
  removeOwnedObject(list, last);  // no longer there
  EXPECT_EQ(list.size(), 1u);
  appendIfNotNull(list, static_cast<RuvSprite*>(nullptr));
  EXPECT_EQ(list.size(), 1u);
  deleteOwnedObjects(list);
  EXPECT_EQ(deleted, 6);

  std::list<RuvSprite*> linked = {new CountdownSprite(1, &deleted), new CountdownSprite(1, &deleted)};
  updateSprites(linked, 0.1f);
  EXPECT_TRUE(linked.empty());
  EXPECT_EQ(deleted, 8);
}

TEST_F(SpriteTest, EffectWithoutEmitterOnlyCountsTime) {
  const bool hadParticles = render::ParticleSystem::Exists();
  {
    RuvEffect effect("no such effect");
    EXPECT_EQ(effect.emitter, nullptr);
    effect.speed = 2.0f;
    effect.update(0.25f);
    EXPECT_FLOAT_EQ(effect.elapsed, 0.5f);
  }
  if (!hadParticles) delete render::ParticleSystem::Instance();  // made by the effect
}

TEST_F(SpriteTest, EffectRunsItsEmitterAtItsSpeed) {
  ASSERT_FALSE(render::ParticleSystem::Exists());
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder(std::string(QM_SOURCE_DIR) + "/data/ruv/fx/");
  particles->Load("fx2.ptc", &mRender);
  {
    RuvEffect effect("build");
    ASSERT_NE(effect.emitter, nullptr);
    EXPECT_EQ(effect.emitter->GetState(), 0);
    effect.emitter->SetState(1);
    effect.speed = 0.5f;
    for (int i = 0; i < 4; ++i) effect.update(0.1f);
    EXPECT_FLOAT_EQ(effect.elapsed, 0.2f);
    EXPECT_EQ(effect.emitter->GetState(), 1);
  }  // deleted while playing: asked to stop first
  particles->ReleaseAtlases();
  delete particles;
}

}  // namespace
