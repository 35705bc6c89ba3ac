// Enemies as the player sees them, drawn by the map through the real renderer on the OpenGL device
// (Mesa's software rasteriser): the health bar above a hit unit, the tint of the units sheet's
// "fillColor" through the enemy shader, the debug view's outline, numbers and tower radii, and the
// battle cut at the scenery's edge on a screen wider than the scenery.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Core/Gui/GameControl.h"
#include "Core/Math/Matrix4.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/LoadShader.h"
#include "Core/Render/RenderTarget.h"
#include "Game/App/Game.h"
#include "Game/Art/GameFonts.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"
#include "tests/fakes/GlRenderWindow.h"
#include "tests/fakes/GoldenImage.h"
#include "tests/harness/BattleHarness.h"
#include "gamesupport/RootBoardGame.h"

namespace {

constexpr unsigned kOverlayWidth = 1024;
constexpr unsigned kOverlayHeight = 768;
constexpr int kOverlayTicks = 12 * 60;  // enemies of the first level are on the road by then
constexpr int kBarWidth = 40;           // "ui/bar" of the sample art
constexpr int kBarHeight = 6;

// The game object with the enemy shader loaded on the renderer, which the test hands to the map as
// the game does, and a root board holding the font of the debug view.
class MobShaderGame : public gametest::RootBoardGame {
 public:
  bool load(render::Render& render) {
    board().mFont32_2 = LoadGameFont(kFontMain32x2);
    return board().mFont32_2 && render.LoadShader<TMobShader>(u"ruv/Shaders/MobShader/DX/", mMobShader) == VN_OK;
  }
};

struct Rgb {
  int r, g, b;
};

Rgb rgbOf(std::uint32_t argb) { return {int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF)}; }

bool near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// A frame read back: 0xAARRGGBB, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
  Rgb at(int x, int y) const { return rgbOf(argb[size_t(y) * size_t(width) + size_t(x)]); }
  // Pixels within tolerance of colour in the box [x0, x1) x [y0, y1).
  int count(const Rgb& colour, int x0, int y0, int x1, int y1, int tolerance = 3) const {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
      for (int x = std::max(0, x0); x < std::min(width, x1); ++x) n += near(at(x, y), colour, tolerance) ? 1 : 0;
    }
    return n;
  }
};

class UnitOverlayGlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    render::RenderDX9* render = mWindow.GetRender();
    ASSERT_NE(render, nullptr);
    gui::GameControlHelper::SetRender(render);  // the fonts
    mBattle.emplace(std::filesystem::path(), render);
    harness::BattleRun run;
    run.tickLimit = kOverlayTicks;
    ASSERT_EQ(mBattle->run(run).ticks, kOverlayTicks);
    ASSERT_EQ(map().mState, kStatePlaying);
    ASSERT_GE(map().mWaves->units.size(), 2u) << "enemies on the road";
    mGame = std::make_unique<MobShaderGame>();
    ASSERT_TRUE(mGame->load(*render));
    ASSERT_NE(Game::get()->getMobShader(), nullptr);
    map().mMobShader = Game::get()->getMobShader();
    // Two enemies, the others gone from the picture.
    for (const auto& unit : map().mWaves->units) unit->alive = 0;
    mPlain = map().mWaves->units[0].get();
    mTinted = map().mWaves->units[1].get();
  }
  void TearDown() override {
    mGame.reset();
    mBattle.reset();
    gui::GameControlHelper::SetRender(nullptr);
  }

  RuvMap& map() { return mBattle->map(); }

  // Shows the unit walking right at (x, y), fully faded in, unhurt.
  void Place(RuvUnit& unit, float x, float y) {
    unit.alive = 1;
    unit.position = math::Point2(x, y);
    unit.state = RuvUnit::kWalking;
    unit.facingLeft = 0;
    unit.fade = 1.0f;
    unit.fadeSpeed = 0.0f;
    unit.brightness = 1.0f;
    unit.drift = math::Point2();
    unit.animationTime = 0.0f;
    unit.speedReduction = 0.0f;
    unit.health = unit.maxHealth();
    unit.healthBarTimer = 0.0f;
  }

  void HideScenery() {
    for (RuvFrameEntry* frame : map().mSpots->scenery) frame->visible = 0;
  }

  // One frame of the map on black, into the back buffer or a target.
  Picture Draw(render::RenderTarget* target = nullptr) {
    render::RenderDX9& render = *mWindow.GetRender();
    EXPECT_TRUE(fakes::DrawScreenFrame(render, [&](render::Graphics& screen) {
      if (!target) {
        screen.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
        map().draw(screen);
        return;
      }
      render::Graphics graphics(target);
      graphics.Clear(render::Render::kClearTarget, math::Color(0.0f, 0.0f, 0.0f, 1.0f), 1.0f, 0);
      map().draw(graphics);
    }));
    Picture picture;
    picture.width = target ? target->GetWidth() : int(kOverlayWidth);
    picture.height = target ? target->GetHeight() : int(kOverlayHeight);
    const std::vector<d3d9::DWORD> argb = fakes::ReadTarget(render, target);
    picture.argb.assign(argb.begin(), argb.end());
    EXPECT_EQ(picture.argb.size(), size_t(picture.width) * size_t(picture.height));
    return picture;
  }

  fakes::GlRenderWindow mWindow{kOverlayWidth, kOverlayHeight};
  std::optional<harness::BattleHarness> mBattle;
  std::unique_ptr<MobShaderGame> mGame;
  RuvUnit* mPlain = nullptr;
  RuvUnit* mTinted = nullptr;
};

// The opaque colour most pixels of the frame's picture in the sample art have, and how many.
struct BodyColour {
  Rgb colour{0, 0, 0};
  int pixels = 0;
};

BodyColour frameBodyColour(const RuvFrameEntry& frame) {
  BodyColour body;
  const std::string name(frame.name.begin(), frame.name.end());
  for (const char* container : {"t1units", "t2units", "t3units"}) {
    const std::string path = std::string(QM_SOURCE_DIR) + "/data/ruv/units/" + container + "/" + name + ".png";
    if (!std::filesystem::exists(path)) continue;
    const fakes::RgbaImage image = fakes::ReadPng(path);
    std::map<std::uint32_t, int> counts;
    for (size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
      if (image.pixels[i + 3] != 255) continue;
      ++counts[std::uint32_t(image.pixels[i]) << 16 | std::uint32_t(image.pixels[i + 1]) << 8 | image.pixels[i + 2]];
    }
    for (const auto& [packed, n] : counts) {
      if (n <= body.pixels) continue;
      body.pixels = n;
      body.colour = rgbOf(packed);
    }
  }
  return body;
}

TEST_F(UnitOverlayGlTest, HealthBarAboveAHitUnitGreenAsWideAsItsHealth) {
  HideScenery();
  Place(*mPlain, 300.0f, 400.0f);
  Place(*mTinted, 700.0f, 400.0f);
  const float maximum = mPlain->maxHealth();
  ASSERT_GT(maximum, 0.0f);
  mPlain->damage(maximum * 0.3f);  // a hit: the bar shows for a while
  const Picture picture = Draw();

  // Red under green, the left edge half the bar left of the unit, the top 0.75 of the art height
  // above it; green over health / maximum of the width.
  const int left = 300 - kBarWidth / 2;
  const int top = int(std::floor(400.0f - 0.75f * mPlain->artSize.y));
  const int greenWidth = int(std::lround(kBarWidth * mPlain->health / maximum));
  const Rgb red{255, 0, 0};
  const Rgb green{0, 255, 0};
  const int row = top + kBarHeight / 2;
  EXPECT_EQ(picture.count(green, left, row, left + kBarWidth, row + 1), greenWidth);
  EXPECT_EQ(picture.count(red, left, row, left + kBarWidth, row + 1), kBarWidth - greenWidth);
  for (int x = left + 1; x < left + greenWidth - 1; ++x) EXPECT_TRUE(near(picture.at(x, row), green, 3)) << x;
  for (int x = left + greenWidth + 1; x < left + kBarWidth - 1; ++x) EXPECT_TRUE(near(picture.at(x, row), red, 3)) << x;
  EXPECT_GE(picture.count(red, left, top, left + kBarWidth, top + kBarHeight), (kBarWidth - greenWidth - 2) * (kBarHeight - 2));

  // In the timer's last half second the bar fades: alpha 2 x timer, the green blended over the
  // red over the black ground.
  mPlain->healthBarTimer = 0.25f;
  const Picture fading = Draw();
  const float alpha = 2.0f * 0.25f;
  const int redOnly = int(std::lround(255.0f * alpha));
  const Rgb greenOverRed{int(std::lround(255.0f * alpha * (1.0f - alpha))), int(std::lround(255.0f * alpha)), 0};
  EXPECT_TRUE(near(fading.at(left + 2, row), greenOverRed, 3));
  EXPECT_TRUE(near(fading.at(left + kBarWidth - 3, row), Rgb{redOnly, 0, 0}, 3));

  // No bar over the unhurt unit, none once the timer has run out, none for a dying one.
  const int otherLeft = 700 - kBarWidth / 2;
  EXPECT_EQ(picture.count(green, otherLeft - 4, top - 4, otherLeft + kBarWidth + 4, top + kBarHeight + 4), 0);
  const Rgb colours[] = {red, green};
  for (const auto& hide : {+[](RuvUnit& unit) { unit.healthBarTimer = 0.0f; },
                           +[](RuvUnit& unit) { unit.state = RuvUnit::kDying; }}) {
    mPlain->healthBarTimer = 2.5f;
    mPlain->state = RuvUnit::kWalking;
    hide(*mPlain);
    const Picture hidden = Draw();
    for (const Rgb& colour : colours) EXPECT_EQ(hidden.count(colour, left, top, left + kBarWidth, top + kBarHeight, 3), 0);
  }
}

TEST_F(UnitOverlayGlTest, FillColourTintsTheUnitThroughTheEnemyShader) {
  HideScenery();
  Place(*mPlain, 300.0f, 400.0f);
  // The second tier of the first unit: "fillColor" ffff8080 in the units sheet.
  mTinted->entry->upgrade = 2;
  const RuvProto* tier = mTinted->proto();
  ASSERT_NE(tier, nullptr);
  ASSERT_EQ(tier->fillColor, 0xFFFF8080u);
  ASSERT_EQ(mPlain->proto()->fillColor, 0xFFFFFFFFu);
  Place(*mTinted, 700.0f, 400.0f);
  const Picture picture = Draw();
  ASSERT_NE(mPlain->currentFrame, nullptr);
  ASSERT_NE(mTinted->currentFrame, nullptr);
  ASSERT_EQ(mPlain->currentFrame->name, mTinted->currentFrame->name) << "the same picture, two tints";

  // The picture's body colour times the tint's channels, as the enemy shader multiplies them.
  const BodyColour body = frameBodyColour(*mTinted->currentFrame);
  ASSERT_GT(body.pixels, 100);
  const auto tint = [](int channel, std::uint32_t fill, int shift) {
    return int(std::lround(channel * float((fill >> shift) & 0xFF) / 255.0f));
  };
  const Rgb tinted{tint(body.colour.r, tier->fillColor, 16), tint(body.colour.g, tier->fillColor, 8),
                   tint(body.colour.b, tier->fillColor, 0)};
  ASSERT_FALSE(near(tinted, body.colour, 6)) << "the tint changes the body colour";
  const auto around = [&picture](const Rgb& colour, int x) { return picture.count(colour, x - 64, 300, x + 64, 480); };
  EXPECT_GE(around(body.colour, 300), body.pixels * 3 / 4);
  EXPECT_LE(around(tinted, 300), body.pixels / 20);
  EXPECT_GE(around(tinted, 700), body.pixels * 3 / 4);
  EXPECT_LE(around(body.colour, 700), body.pixels / 20);
}

TEST_F(UnitOverlayGlTest, DebugViewOutlinesUnitsWritesTheirHealthAndDrawsTowerRadii) {
  HideScenery();
  Place(*mPlain, 300.0f, 400.0f);
  mPlain->damage(mPlain->maxHealth() * 0.5f);
  const RuvProto* dart = map().mProtos->findProto(10000);
  ASSERT_NE(dart, nullptr);
  ASSERT_FALSE(map().mSpots->spots.empty());
  RuvTower* tower = map().buildTower(dart, map().mSpots->spots.front());
  ASSERT_NE(tower, nullptr);
  tower->fade = 1.0f;
  const Picture plain = Draw();
  map().mShowDebug = true;
  const Picture debug = Draw();
  map().mShowDebug = false;

  // The picking rectangle's outline in white, a line of the drawing colour along each edge.
  ASSERT_NE(mPlain->currentFrame, nullptr);
  const math::Rect pick = mPlain->bounds();
  const int x0 = int(pick.x - pick.width / 2);
  const int x1 = int(pick.x + pick.width / 2);
  const int y0 = int(pick.y - pick.height / 2);
  const int y1 = int(pick.y + pick.height / 2);
  const Rgb white{255, 255, 255};
  const auto whiteNear = [&debug, &white](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (near(debug.at(x + dx, y + dy), white, 8)) return true;
      }
    }
    return false;
  };
  for (int x = x0 + 4; x < x1 - 4; x += 4) {
    EXPECT_TRUE(whiteNear(x, y0)) << x;
    EXPECT_TRUE(whiteNear(x, y1)) << x;
  }
  for (int y = y0 + 4; y < y1 - 4; y += 4) {
    EXPECT_TRUE(whiteNear(x0, y)) << y;
    EXPECT_TRUE(whiteNear(x1, y)) << y;
  }
  // The numbers, at half size on the unit: pixels change there that the plain frame had otherwise.
  int changed = 0;
  for (int y = int(pick.y) - 8; y < int(pick.y) + 8; ++y) {
    for (int x = int(pick.x) - 24; x < int(pick.x) + 24; ++x) changed += plain.argb[size_t(y) * kOverlayWidth + size_t(x)] != debug.argb[size_t(y) * kOverlayWidth + size_t(x)];
  }
  EXPECT_GT(changed, 20);
  // The tower's radius: "ui/radius" is a ring 336 pixels across, scaled to the tier's "r".
  const float ring = dart->r * 0.5f;
  ASSERT_GT(ring, 40.0f);
  for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
    const int x = int(tower->position.x + float(dx) * (ring - 1.5f));
    const int y = int(tower->position.y + float(dy) * (ring - 1.5f));
    if (x < 0 || y < 0 || x >= int(kOverlayWidth) || y >= int(kOverlayHeight)) continue;
    const Rgb before = plain.at(x, y);
    const Rgb after = debug.at(x, y);
    EXPECT_GT(after.r + after.g + after.b, before.r + before.g + before.b + 150) << dx << "," << dy;
  }
}

TEST_F(UnitOverlayGlTest, BattleStaysInsideTheSceneryOnAWiderScreen) {
  // A 1366 x 768 target showing the design area from -171 to 1195, as the game's off-screen
  // target at 1366 x 768.
  render::RenderDX9& render = *mWindow.GetRender();
  render::RenderTarget* target = nullptr;
  ASSERT_EQ(render.CreateRenderTarget(1366, 768, &target, false), VN_OK);
  std::unique_ptr<render::RenderTarget> owned(target);
  math::Matrix4 projection;
  ASSERT_EQ(render.BuildProjection(1366.0f, 768.0f, nullptr, projection), VN_OK);
  math::Matrix4 shift;
  shift.Translate(math::Point3(171.0f, 0.0f, 0.0f));
  target->mProjection = shift * projection;
  target->mViewportOffsetX = 171.0f;

  Place(*mPlain, -30.0f, 400.0f);  // entering from the left
  mPlain->damage(mPlain->maxHealth() * 0.5f);
  Place(*mTinted, 500.0f, 400.0f);
  const Picture picture = Draw(target);
  ASSERT_EQ(picture.width, 1366);
  // The strip left of the scenery stays as cleared, though the unit and its bar stand there.
  int lit = 0;
  for (int y = 300; y < 480; ++y) {
    for (int x = 0; x < 171; ++x) lit += (picture.argb[size_t(y) * 1366 + size_t(x)] & 0xFFFFFF) != 0;
  }
  EXPECT_EQ(lit, 0);
  // The scenery and the unit inside it are drawn: the unit's picture differs from the background
  // behind it, which the same frame without the unit shows.
  int sceneryLit = 0;
  for (int x = 171; x < 1195; x += 16) sceneryLit += (picture.argb[size_t(700) * 1366 + size_t(x)] & 0xFFFFFF) != 0;
  EXPECT_GT(sceneryLit, 50);
  mTinted->alive = 0;
  const Picture without = Draw(target);
  int unitPixels = 0;
  for (int y = 340; y < 480; ++y) {
    for (int x = 171 + 420; x < 171 + 580; ++x) unitPixels += picture.argb[size_t(y) * 1366 + size_t(x)] != without.argb[size_t(y) * 1366 + size_t(x)];
  }
  EXPECT_GT(unitPixels, 100);
  // Without the clip the entering unit would show in the strip: its picture is there when it walks
  // inside the scenery.
  Place(*mPlain, 30.0f, 400.0f);
  const Picture inside = Draw(target);
  int insideLit = 0;
  for (int y = 340; y < 480; ++y) {
    for (int x = 171; x < 171 + 80; ++x) insideLit += inside.argb[size_t(y) * 1366 + size_t(x)] != without.argb[size_t(y) * 1366 + size_t(x)];
  }
  EXPECT_GT(insideLit, 50);
}

}  // namespace
