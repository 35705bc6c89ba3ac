// The logo screens: "logo/logo.ini", phases and their veil, clicks, missing files.
#include <gtest/gtest.h>

#include "Core/Render/Image.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Screens/RuvSplashScreens.h"
#include "gamesupport/GameArtScene.h"
#include "fakes/ScriptedBass.h"

namespace {

using gameart::GameArtTest;

class SplashTest : public GameArtTest {
 protected:
  // The screens start the menu music through the sound tags.
  void TearDown() override {
    if (k2::SoundTags::Exists()) delete k2::SoundTags::Instance();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    GameArtTest::TearDown();
  }

  void WriteLogos(const std::string& ini, const std::vector<std::string>& images) {
    WriteDataFile("logo/logo.ini", ini);
    for (const std::string& image : images) WritePixelPng("logo/" + image, 64, 32);
  }

  // Alpha of the veil drawn with the current logo; -1 when no veil was drawn.
  fakes::ScriptedBass mBass;

  float VeilAlpha(RuvSplashScreens& screens) {
    Frame([&](render::Graphics& g) { screens.draw(g); });
    const std::vector<render::SVertexGeom> veil = LastIndexedVertices<render::SVertexGeom>();
    if (mRender.Arguments("DrawIndexed").size() < 2 || veil.size() != 4) return -1.0f;
    return gameart::VertexAlpha(veil[0].diffuse);
  }
};

TEST(SplashParseTest, LogoListTable) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> logos;
  };
  const Case cases[] = {
      {"OneLine", "logos;a.png,b.png,c.png", {"a.png", "b.png", "c.png"}},
      {"CrLf", "logos;a.png,b.png\r\nmore;c.png\r\n", {"a.png", "b.png", "c.png"}},
      {"Spaces", "logos ; st udio.png , b.png", {"studio.png", "b.png"}},
      {"TwoLines", "first;a.png\n\n\nsecond;b.png,c.png\n", {"a.png", "b.png", "c.png"}},
      {"NoList", "logos\nlogos;\n", {}},
      {"ThirdFieldIgnored", "logos;a.png;b.png", {"a.png"}},
      {"EmptyNames", "logos;,a.png,,\r\n", {"a.png"}},
      {"Empty", "", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RuvSplashScreens::parseLogoList(c.text), c.logos) << c.name;
}

TEST_F(SplashTest, ThreeLogosCloseAfterTheirRuns) {
  WriteLogos("logos;a.png,b.png,c.png\r\n", {"a.png", "b.png", "c.png"});
  RuvSplashScreens screens;
  ASSERT_EQ(screens.logos.size(), 3u);
  EXPECT_EQ(screens.logos[0]->image->GetWidth(), 64);
  // Steps of 1/64 s: a phase ends on the first step beyond its length, so a logo takes
  // 33 + 97 + 33 steps, about 2.5 s.
  const float dt = 1.0f / 64.0f;
  int steps = 0;
  while (screens.open && steps < 1000) {
    screens.update(dt);
    ++steps;
    if (steps == 33) {
      EXPECT_EQ(screens.logos[0]->phase, RuvSplashImage::kHolding);
    } else if (steps == 130) {
      EXPECT_EQ(screens.logos[0]->phase, RuvSplashImage::kFadingOut);
    } else if (steps == 163) {
      EXPECT_EQ(screens.current, 1);
    }
  }
  EXPECT_EQ(steps, 3 * 163);
  EXPECT_NEAR(float(steps) * dt, 7.5f, 0.15f);
  EXPECT_EQ(screens.current, 3);
  Frame([&](render::Graphics& g) { screens.draw(g); });  // nothing once every logo is done
  EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
}

TEST_F(SplashTest, VeilClearsAndClosesAgain) {
  WriteLogos("logos;a.png", {"a.png"});
  RuvSplashScreens screens;
  ASSERT_EQ(screens.logos.size(), 1u);
  RuvSplashImage* logo = screens.logos[0];
  struct Case {
    int phase;
    float time;
    float alpha;  // -1: no veil
  };
  const Case cases[] = {{0, 0.0f, 1.0f},  {0, 0.125f, 0.75f}, {0, 0.5f, 0.0f},
                        {1, 0.7f, -1.0f}, {2, 0.125f, 0.25f}, {2, 0.5f, 1.0f}};
  for (const Case& c : cases) {
    logo->phase = c.phase;
    logo->time = c.time;
    EXPECT_NEAR(VeilAlpha(screens), c.alpha, 0.01f) << c.phase << " " << c.time;
  }
  // Held: the 64 x 32 image alone, centred in the viewport.
  logo->phase = RuvSplashImage::kHolding;
  screens.viewport = math::Rect(100.0f, 0.0f, 800.0f, 600.0f);
  Frame([&](render::Graphics& g) { screens.draw(g); });
  const std::vector<render::SVertex2D> v = FrameImageVertices();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_FLOAT_EQ(v[0].x, 500.0f - 32.0f - 0.5f);
  EXPECT_FLOAT_EQ(v[0].y, 300.0f - 16.0f - 0.5f);
  EXPECT_EQ(v[0].diffuse, 0xFFFFFFFFu);
}

TEST_F(SplashTest, ClicksSkipToDone) {
  WriteLogos("logos;a.png,b.png,c.png", {"a.png", "b.png", "c.png"});
  RuvSplashScreens screens;
  screens.update(1.0f);  // into the first logo's hold
  EXPECT_EQ(screens.buttonNameAt(10, 10), u"");
  screens.update(0.25f);  // the second logo fading in
  EXPECT_EQ(screens.logos[1]->phase, RuvSplashImage::kFadingIn);
  EXPECT_EQ(screens.buttonNameAt(10, 10), u"");
  EXPECT_EQ(screens.current, 2);
  EXPECT_EQ(screens.logos[2]->phase, RuvSplashImage::kFadingIn);
  EXPECT_EQ(screens.logos[2]->time, 0.0f);
  EXPECT_EQ(screens.buttonNameAt(10, 10), u"done");
  // Further clicks and draws past the end stay safe.
  EXPECT_EQ(screens.buttonNameAt(10, 10), u"done");
  Frame([&](render::Graphics& g) { screens.draw(g); });
  EXPECT_TRUE(mRender.Arguments("DrawIndexed").empty());
  screens.update(0.01f);
  EXPECT_EQ(screens.open, 0);
}

TEST_F(SplashTest, MissingListClosesAtOnce) {
  RuvSplashScreens screens;
  EXPECT_TRUE(screens.logos.empty());
  EXPECT_EQ(screens.open, 1);
  screens.update(0.0f);
  EXPECT_EQ(screens.open, 0);
  EXPECT_EQ(screens.buttonNameAt(0, 0), u"done");
}

TEST_F(SplashTest, MenuMusicStarts) {
  WriteDataFile("ruv/data/music/main_menu.ogg", "OggS x");
  RuvSplashScreens screens;
  EXPECT_EQ(mBass.CallsStartingWith("StreamCreateFileUser").size(), 1u);
}

TEST_F(SplashTest, LogoThatDoesNotLoadIsSkipped) {
  WriteLogos("logos;a.png,missing.png,c.png", {"a.png", "c.png"});
  RuvSplashScreens screens;
  EXPECT_EQ(screens.logos.size(), 2u);
}

}  // namespace
