// Level plates over the level select's pictures: the state picture, stars, number, the active
// level's effect, the "new" badge, grid places and the hover scale.
#include <gtest/gtest.h>

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/LevelPlate.h"
#include "WidgetLayouts.h"

namespace menutest {
namespace {

class LevelPlateTest : public WidgetLayoutTest {
 protected:
  void SetUp() override {
    WidgetLayoutTest::SetUp();
    LoadParticles();
    mLayout = Open(u"ruv/level_select");
    // Episode 0 in mode 1: level 0 with three stars, level 1 with two; one level seen before.
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"><levels>)"
                 R"(<level episode="0" n="0" mode="1" stars="3"/><level episode="0" n="1" mode="1" stars="2"/>)"
                 R"(</levels><episodeVisited episode0n="1"/></Profile></Profiles>)");
    mMap.normalLevels = {9};
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
  }
  void TearDown() override {
    mProgress.reset();
    mLayout.reset();
    WidgetLayoutTest::TearDown();
  }

  std::unique_ptr<file::ImageContainer> mLayout;
  gametest::FakeMapState mMap;
  std::unique_ptr<RuvProgress> mProgress;
};

TEST_F(LevelPlateTest, PlatesShowTheirStateStarsNumberEffectAndBadge) {
  struct Case {
    int level;
    bool open, complete;
    int stars;
    const char* picture;
    bool numberShown, green, effect, badge;
  };
  const Case cases[] = {
      {0, true, true, 3, "plate/super", false, false, false, false},
      {1, true, true, 2, "plate/complete", true, false, false, true},
      {2, true, false, 0, "plate/incomplete", true, true, true, true},
      {3, false, false, 0, "plate/locked", false, false, false, false},
  };
  for (const Case& c : cases) {
    LevelPlate plate(mLayout.get(), *mProgress, 0, c.level, 1);
    SCOPED_TRACE(c.level);
    EXPECT_EQ(c.open, plate.open != 0);
    EXPECT_EQ(c.complete, plate.complete != 0);
    EXPECT_EQ(c.stars, plate.stars);
    EXPECT_NE(std::string::npos, ImageName(plate.plate->GetImage()).find(c.picture)) << ImageName(plate.plate->GetImage());
    EXPECT_EQ(u"" + std::u16string(1, char16_t(u'1' + c.level)), plate.number->mText);
    EXPECT_EQ(c.numberShown, plate.number->mVisible);
    EXPECT_EQ(c.green ? 0.0f : 1.0f, plate.number->mColor.r);
    EXPECT_EQ(1.0f, plate.number->mColor.g);
    EXPECT_EQ(c.effect, plate.activeEmitter != nullptr);
    EXPECT_EQ(c.effect, plate.activeEffect && plate.activeEffect->GetParent() == plate.plate.get());
    EXPECT_EQ(c.badge, plate.newBadge && plate.newBadge->GetParent() == plate.plate.get());
    EXPECT_EQ(c.complete, plate.starStrip != nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(i < (c.complete ? c.stars : 0), plate.starLayers[i] != nullptr) << i;
  }
}

TEST_F(LevelPlateTest, StarsSitInTheirStripBelowThePlate) {
  LevelPlate plate(mLayout.get(), *mProgress, 0, 1, 1);
  ASSERT_TRUE(plate.starStrip);
  // Plate 100 x 100, strip 90 x 30, hanging 16 pixels below.
  EXPECT_EQ(math::Point3(5.0f, 86.0f, 0.0f), plate.starStrip->mPosition);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(math::Point3(27.0f * float(i) + 4.0f, 4.0f, -1.0f), plate.starLayers[i]->mPosition);
    EXPECT_EQ(plate.starStrip.get(), plate.starLayers[i]->GetParent());
  }
  EXPECT_EQ(math::Point3(47.0f, 47.0f, 0.0f), plate.number->mPosition);
  EXPECT_EQ(math::Point3(50.0f, -20.0f, 0.0f), plate.newBadge->mPosition);
}

TEST_F(LevelPlateTest, PlatesStandOnAGridOfSevenARow) {
  const int cases[][3] = {{0, 80, 220}, {6, 830, 220}, {7, 80, 345}, {8, 205, 345}};
  for (const auto& c : cases) {
    LevelPlate plate(mLayout.get(), *mProgress, 0, c[0], 1);
    EXPECT_EQ(c[1], plate.x) << c[0];
    EXPECT_EQ(c[2], plate.y) << c[0];
    EXPECT_EQ(math::Point3(float(c[1]) + 50.0f, float(c[2]) + 50.0f, 0.0f), plate.root->mPosition);
    EXPECT_EQ(math::Point3(-50.0f, -50.0f, 0.0f), plate.plate->mPosition);
  }
}

TEST_F(LevelPlateTest, HoverIsStrictlyInsideAndGrowsTheRoot) {
  LevelPlate plate(mLayout.get(), *mProgress, 0, 2, 1);
  const int cases[][3] = {{330, 250, 0}, {331, 250, 1}, {429, 319, 1}, {430, 250, 0}, {380, 320, 0}};
  for (const auto& c : cases) EXPECT_EQ(c[2] != 0, plate.contains(c[0], c[1])) << c[0] << "," << c[1];
  plate.hover = 1;
  const float grow[][2] = {{0.1f, 1.05f}, {0.3f, 1.1f}};
  for (const auto& step : grow) {
    plate.update(step[0]);
    EXPECT_FLOAT_EQ(step[1], plate.scale);
    EXPECT_FLOAT_EQ(step[1], plate.root->mScaleX);
  }
  plate.hover = 0;
  plate.update(0.05f);
  EXPECT_FLOAT_EQ(1.05f, plate.scale);
  plate.update(1.0f);
  EXPECT_FLOAT_EQ(1.0f, plate.scale);
}

}  // namespace
}  // namespace menutest
