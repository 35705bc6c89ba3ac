// The map's frame: the merged scene order, what each screen state draws, the road cache, and the
// arithmetic of the highlight, the hint texts and the radial menu.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/Math/Random.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Vertices.h"
#include "Game/Art/RuvAnimation.h"
#include "Game/Art/RuvResources.h"
#include "Game/BattleView/RuvMapDraw.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"
#include "gamesupport/BattleMapScene.h"

namespace {

// The records a stub hands to the map stay its own, renewed at each draw.
struct StubRecords {
  RuvFrameEntry* make(const std::string& tag, float depth) {
    records.push_back(std::make_unique<RuvFrameEntry>());
    records.back()->tag = tag;
    records.back()->depth = depth;
    return records.back().get();
  }
  std::vector<std::unique_ptr<RuvFrameEntry>> records;
};

struct StubTower : RuvTower {
  StubTower(RuvMap& owner, const char* name, float y) : map(owner), tag(name), depth(y) {}
  void draw(render::Graphics&) override {
    ++draws;
    own.records.clear();
    map.mDrawLayers[1].push_back(own.make(tag, depth));
  }
  RuvMap& map;
  StubRecords own;
  const char* tag;
  float depth;
  int draws = 0;
};

// Its shadow goes first, into the underlay of its layer.
struct StubUnit : RuvUnit {
  StubUnit(RuvMap& owner, const char* name, float y, bool upperLayer) : map(owner), tag(name), upper(upperLayer) {
    position = math::Point2(0.0f, y);
  }
  void draw(render::Graphics&) override {
    own.records.clear();
    map.mDrawLayers[upper ? 4 : 2].push_back(own.make(std::string(tag) + "s", position.y));
    map.mDrawLayers[upper ? 3 : 1].push_back(own.make(tag, position.y));
  }
  void update(float) override {}
  RuvMap& map;
  StubRecords own;
  const char* tag;
  bool upper;
};

class MapDrawTest : public battletest::BattleMapTest {
 protected:
  void Frame(const std::function<void(render::Graphics&)>& draw) {
    ASSERT_EQ(mRender.BeginFrame(), VN_OK);
    {
      render::Graphics graphics(&mRender);
      draw(graphics);
    }
    ASSERT_EQ(mRender.EndFrame(), VN_OK);
    ASSERT_EQ(mRender.PlayCommands(), VN_OK);
  }
  void AddScenery(const char16_t* name, bool visible = true) {
    if (!mMap->mSpots) mMap->mSpots = std::make_unique<RuvSpotList>();
    auto frame = std::make_unique<RuvFrameEntry>();
    frame->name = name;
    frame->visible = visible ? 1 : 0;
    mMap->mSpots->scenery.push_back(frame.release());
  }
  StubTower& AddTower(const char* tag, float depth) {
    mMap->mTowers.push_back(std::make_unique<StubTower>(*mMap, tag, depth));
    return static_cast<StubTower&>(*mMap->mTowers.back());
  }
  void AddUnit(const char* tag, float depth, bool upper) {
    mMap->mWaves->units.push_back(std::make_unique<StubUnit>(*mMap, tag, depth, upper));
  }
  std::vector<std::string> Scene() const {
    std::vector<std::string> out;
    for (const RuvFrameEntry* entry : mMap->mDrawLayers[0]) {
      out.push_back(!entry->tag.empty() ? entry->tag
                    : entry->emitter    ? "effect"
                    : entry->image == mMap->mSceneryCache.get() && entry->image ? "roads"
                                                                                : std::string(entry->name.begin(), entry->name.end()));
    }
    return out;
  }
  void MarkHint(const char* tag) {
    auto mark = std::make_unique<RuvFrameEntry>();
    mark->tag = tag;
    mMap->mWaveHint->marks.push_back(std::move(mark));
  }
};

TEST_F(MapDrawTest, SceneIsMergedByLayerAndDepth) {
  AddTower("T1", 300.0f);
  AddTower("T2", 100.0f);
  AddUnit("U1", 200.0f, false);
  AddUnit("U2", 50.0f, true);
  AddUnit("U3", 10.0f, true);
  for (const char16_t* name : {u"a", u"^b", u"c", u"##", u"$d", u"#"}) AddScenery(name);
  AddScenery(u"hidden", false);
  Frame([this](render::Graphics& graphics) {
    mMap->collectScene(graphics);
    EXPECT_EQ(Scene(), (std::vector<std::string>{"#", "c", "a", "U1s", "T2", "U1", "T1", "^b", "##", "$d", "U2s",
                                                 "U3s", "U3", "U2"}));
    mMap->clearScene();
  });
  for (const auto& layer : mMap->mDrawLayers) EXPECT_TRUE(layer.empty());
}

TEST_F(MapDrawTest, RoadHighlightGoesInFrontHintMarksOnTop) {
  AddTower("T1", 300.0f);
  MarkHint("m1");
  MarkHint("m2");
  mMap->mEffects.push_back(std::make_unique<RuvEffect>("build"));
  ASSERT_NE(mMap->mEffects.back()->emitter, nullptr);
  mMap->renderSceneryCache();
  ASSERT_TRUE(mMap->mSceneryCache);
  HUDSpellButton armed(*mMap, 1);
  mMap->mArmedSpell = &armed;
  Frame([this](render::Graphics& graphics) {
    mMap->collectScene(graphics);
    EXPECT_EQ(Scene(), (std::vector<std::string>{"roads", "T1", "effect", "m1", "m2"}));
    const RuvFrameEntry& roads = *mMap->mDrawLayers[0][0];
    EXPECT_TRUE(roads.additive);
    EXPECT_FLOAT_EQ(roads.colour.a, roadHighlightAlpha(mMap->mGameTime));
    mMap->clearScene();
  });
  mMap->mArmedSpell = nullptr;
}

TEST_F(MapDrawTest, RadialMenuLaysOutItsItemsAndEndsWithoutAny) {
  RuvTower tower(*mMap);
  RuvRadialMenu menu;
  menu.openTowerMenu(*mMap, tower);  // the sell icon alone: the tower has no prototype
  menu.phase = RuvRadialMenu::kOpen;
  menu.centreX = 100.0f;
  menu.centreY = 400.0f;
  Frame([&menu](render::Graphics& graphics) { menu.draw(graphics); });
  ASSERT_EQ(menu.items.size(), 1u);
  EXPECT_EQ(menu.arcStart, 0.0f);
  EXPECT_EQ(menu.arcEnd, 180.0f);
  EXPECT_EQ(menu.items[0]->angle, 0.0f);
  EXPECT_EQ(menu.active, 1);
  menu.clearItems();
  Frame([&menu](render::Graphics& graphics) { menu.draw(graphics); });
  EXPECT_EQ(menu.active, 0);
}

TEST_F(MapDrawTest, EveryAbilityOfTheTowersSheetShowsItsBadge) {
  // The interface frame each ability name of a tower's "addons" shows in the radial menu.
  const std::map<std::u16string, const char16_t*> frames = {
      {u"dot", u"ui/acid_01"},    {u"aim", u"ui/beam_01"},     {u"splash", u"ui/aoe_01"}, {u"fsplash", u"ui/burn_01"},
      {u"stun", u"ui/dazed_01"},  {u"boost", u"ui/hammer_01"}, {u"gold", u"ui/money_01"}, {u"tele", u"ui/portal_01"},
      {u"air", u"ui/wing_01"},    {u"star1", u"ui/might_01"},  {u"star2", u"ui/might_02"}};
  std::map<std::u16string, int> seen;
  int towers = 0;
  for (const std::unique_ptr<RuvProto>& base : mMap->mProtos->getList()) {
    if (base->type != 1) continue;
    std::vector<const RuvProto*> protos{base.get()};
    for (const std::unique_ptr<RuvProto>& tier : base->tiers) protos.push_back(tier.get());
    for (const RuvProto* proto : protos) {
      SCOPED_TRACE(proto->id);
      ++towers;
      EXPECT_FALSE(proto->addons.empty());
      const std::vector<render::Image*> badges = radialBadgeImages(*proto, *mMap);
      ASSERT_EQ(badges.size(), proto->addons.size());
      for (size_t j = 0; j < badges.size(); ++j) {
        const std::u16string& addon = proto->addons[j];
        ASSERT_EQ(frames.count(addon), 1u) << std::string(addon.begin(), addon.end());
        RuvFrameEntry* frame = RuvResources::Instance()->getFrame(u"ruv/ui", frames.at(addon), u"");
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(badges[j], frame->image) << std::string(addon.begin(), addon.end());
        ++seen[addon];
      }
    }
  }
  EXPECT_EQ(towers, 20);
  EXPECT_EQ(seen.size(), frames.size());  // the sheet uses every ability
  RuvProto unknown;
  unknown.addons = {u"air", u"nothing", u"Air"};  // whole, case-sensitive names
  EXPECT_EQ(radialBadgeImages(unknown, *mMap).size(), 1u);
}

TEST_F(MapDrawTest, BattleSceneOnlyInTheBattleStates) {
  StubTower& tower = AddTower("T", 100.0f);
  AddScenery(u"a");
  for (int state = -1; state <= 26; ++state) {
    mMap->mState = state;
    tower.draws = 0;
    Frame([this](render::Graphics& graphics) { mMap->draw(graphics); });
    EXPECT_EQ(tower.draws, isBattleDrawState(state) ? 1 : 0) << state;
    for (const auto& layer : mMap->mDrawLayers) EXPECT_TRUE(layer.empty()) << state;
  }
  for (int state : {0, 1, 2, 4, 11, 19, 22, 23}) EXPECT_TRUE(isBattleDrawState(state)) << state;
  for (int state : {3, 5, 6, 7, 8, 12, 13, 16, 18, 24, 26}) EXPECT_FALSE(isBattleDrawState(state)) << state;
}

TEST_F(MapDrawTest, DrawingLeavesTheBattleAndItsRandomNumbersAlone) {
  AddTower("T", 100.0f);
  AddUnit("U", 200.0f, false);
  MarkHint("m");
  mMap->mState = 0;
  mMap->mGameTime = 12.5f;
  math::Random(777);
  const float expected = math::Random();
  math::Random(777);
  Frame([this](render::Graphics& graphics) { mMap->draw(graphics); });
  EXPECT_EQ(math::Random(), expected);
  EXPECT_EQ(mMap->mGameTime, 12.5f);
  EXPECT_EQ(mMap->mWaves->units[0]->position.y, 200.0f);
  EXPECT_EQ(mMap->mWaveHint->marks.size(), 1u);
}

TEST_F(MapDrawTest, RoadCacheFollowsTheViewport) {
  mMap->renderSceneryCache();
  ASSERT_TRUE(mMap->mSceneryCache);
  const render::Image* first = mMap->mSceneryCache.get();
  EXPECT_EQ(mMap->mSceneryRect.width, 1024.0f);
  Frame([this](render::Graphics& graphics) { mMap->draw(graphics); });
  EXPECT_EQ(mMap->mSceneryCache.get(), first);
  // As after a switch of the screen mode: the cache was drawn for another viewport.
  mMap->mSceneryRect = math::Rect(171.0f, 0.0f, 1366.0f, 768.0f);
  Frame([this](render::Graphics& graphics) { mMap->draw(graphics); });
  EXPECT_EQ(mMap->mSceneryRect.x, 0.0f);
  EXPECT_EQ(mMap->mSceneryRect.width, 1024.0f);
  mMap->mSceneryDirty = true;
  Frame([this](render::Graphics& graphics) { mMap->draw(graphics); });
  EXPECT_FALSE(mMap->mSceneryDirty);
}

// The level result grows from scale 0 about the middle of the view the level's roads were drawn
// for: in its first frame every picture, button and text lies close around (512, 384), each
// point of the 1024 x 768 area at most the scale times its distance away.
TEST_F(MapDrawTest, LevelResultGrowsFromTheMiddleOfTheView) {
  mMap->renderSceneryCache();  // as at the end of a level load
  const float cx = mMap->mSceneryRect.x + mMap->mSceneryRect.width * 0.5f;
  const float cy = mMap->mSceneryRect.y + mMap->mSceneryRect.height * 0.5f;
  ASSERT_EQ(cx, 512.0f);
  ASSERT_EQ(cy, 384.0f);
  mMap->mState = kStatePlaying;
  mMap->winLevel();
  mMap->mHud->update(1.0f / 60.0f);  // the result joins the stack
  mMap->mHud->update(1.0f / 60.0f);  // and starts growing
  ASSERT_FALSE(mMap->mHud->stack.empty());
  HUDWindow& result = *mMap->mHud->stack.back();
  ASSERT_GT(result.scale, 0.0f);
  ASSERT_LT(result.scale, 0.2f);
  mRender.mCalls.clear();
  Frame([&result](render::Graphics& graphics) { result.draw(graphics); });
  const auto* vertices = static_cast<const render::SVertex2D*>(mRender.GetBoundVertices());
  ASSERT_NE(vertices, nullptr);
  long drawn = 0;
  for (const std::vector<long>& draw : mRender.Arguments("DrawIndexed")) {
    ASSERT_EQ(draw.size(), 6u);
    for (long i = 0; i < draw[5]; ++i) {
      const render::SVertex2D& v = vertices[draw[4] + i];
      EXPECT_LE(std::fabs(v.x - cx), result.scale * cx + 1.0f) << v.x;
      EXPECT_LE(std::fabs(v.y - cy), result.scale * cy + 1.0f) << v.y;
      ++drawn;
    }
  }
  EXPECT_GT(drawn, 0);
}

TEST_F(MapDrawTest, StepsAlongALinkByCurveLength) {
  RuvPoint a;
  a.id = 1;
  RuvPoint b;
  b.id = 2;
  b.x = 100.0f;
  mMap->mPoints.clear();
  mMap->mPoints.push_back(a);
  mMap->mPoints.push_back(b);
  RuvLink link;
  link.startId = 1;
  link.endId = 2;
  link.controlX = 50.0f;
  struct Case {
    float t, length, expected;
  };
  const Case cases[] = {{0.0f, 25.0f, 0.25f}, {0.5f, 25.0f, 0.75f}, {0.9f, 25.0f, 1.0f}, {0.0f, 200.0f, 1.0f}};
  for (const Case& c : cases) EXPECT_NEAR(mMap->stepAlongLink(link, c.t, c.length, 0.0f), c.expected, 0.0015f) << c.t;
  RuvLink dangling;
  dangling.startId = 9;
  EXPECT_EQ(mMap->stepAlongLink(dangling, 0.0f, 25.0f, 0.0f), 1.0f);
}

TEST(MapDrawArithmeticTest, RoadHighlightPulsesBetweenTwoAndFourTenths) {
  float least = 1.0f;
  float most = 0.0f;
  for (int i = 0; i < 2000; ++i) {
    const float a = roadHighlightAlpha(float(i) * 0.01f);
    least = std::fmin(least, a);
    most = std::fmax(most, a);
  }
  EXPECT_GE(least, 0.2f);
  EXPECT_LE(most, 0.4f);
  EXPECT_NEAR(least, 0.2f, 1e-3);
  EXPECT_NEAR(most, 0.4f, 1e-3);
}

TEST(MapDrawArithmeticTest, HintTextBesideTheMarkFacingTheMiddle) {
  struct Case {
    int index;
    float x;
    float hintTime;
    const char16_t* text;
    float labelX, labelY;
    int anchor;
  };
  const Case cases[] = {
      {0, 600.0f, 0.9f, u"incoming", 548.0f, 320.0f, 1},
      {0, 600.0f, 3.2f, u"next wave 3", 548.0f, 320.0f, 1},
      {1, 512.0f, 3.2f, u"next wave 3", 460.0f, 295.0f, 1},
      {0, 511.0f, 12.0f, u"next wave 12", 563.0f, 320.0f, 0},
  };
  for (const Case& c : cases) {
    const float rect[4] = {c.x, 300.0f, 40.0f, 40.0f};
    const RuvHintLabel label = waveHintLabel(c.index, rect, c.hintTime, 0.0f, 1.0f, 0.0f, 0.0f, u"incoming", u"next wave ");
    EXPECT_EQ(label.text, c.text);
    EXPECT_EQ(label.x, c.labelX) << c.x;
    EXPECT_EQ(label.y, c.labelY) << c.index;
    EXPECT_EQ(label.horizontalAnchor, c.anchor) << c.x;
  }
  const float rect[4] = {100.0f, 300.0f, 40.0f, 40.0f};
  const RuvHintLabel viewed = waveHintLabel(0, rect, 5.0f, 1.0f, 2.0f, 10.0f, 20.0f, u"i", u"n");
  EXPECT_EQ(viewed.text, u"n4");
  EXPECT_EQ(viewed.x, (100.0f + 20.0f + 32.0f) * 2.0f + 10.0f);
  EXPECT_EQ(viewed.y, 320.0f * 2.0f + 20.0f);
}

TEST(MapDrawArithmeticTest, RadialLayout) {
  struct Case {
    float cx, cy;
    std::vector<int> protos;
    bool atEdge, reverse;
    float arcStart, arcEnd, radius;
    std::vector<float> angles;
  };
  const Case cases[] = {
      {100.0f, 400.0f, {1, 2, 3}, true, false, 0.0f, 180.0f, 104.0f, {0.0f, 90.0f, 180.0f}},
      {500.0f, 700.0f, {1, 2}, true, true, 90.0f, 270.0f, 104.0f, {90.0f, 270.0f}},
      {900.0f, 400.0f, {1, 2, 3}, true, true, 180.0f, 360.0f, 104.0f, {180.0f, 270.0f, 360.0f}},
      {100.0f, 100.0f, {1, 2}, true, false, 0.0f, 180.0f, 104.0f, {0.0f, 180.0f}},
      {500.0f, 100.0f, {1, 2}, true, false, 270.0f, 450.0f, 104.0f, {270.0f, 450.0f}},
      {500.0f, 400.0f, {1, 2, 3, 4}, false, false, 90.0f, 270.0f, 80.0f, {90.0f, 135.0f, 180.0f, 225.0f}},
      {500.0f, 400.0f, {10000, 20000, 30000, 40000, 5}, false, false, 90.0f, 270.0f, 80.0f,
       {270.0f, 180.0f, 0.0f, 90.0f, 234.0f}},
      {500.0f, 400.0f, {}, false, false, 90.0f, 270.0f, 80.0f, {}},
      {100.0f, 400.0f, {7}, true, false, 0.0f, 180.0f, 104.0f, {0.0f}},
  };
  for (const Case& c : cases) {
    unsigned char edgeApplied = 0;
    const RuvRadialLayout layout = radialLayout(c.cx, c.cy, 80.0f, 90.0f, 270.0f, c.protos, edgeApplied, 1.0f);
    EXPECT_EQ(layout.atEdge, c.atEdge) << c.cx << "," << c.cy;
    EXPECT_EQ(layout.reverse, c.reverse) << c.cx << "," << c.cy;
    EXPECT_EQ(layout.arcStart, c.arcStart) << c.cx << "," << c.cy;
    EXPECT_EQ(layout.arcEnd, c.arcEnd) << c.cx << "," << c.cy;
    EXPECT_FLOAT_EQ(layout.radius, c.radius) << c.cx << "," << c.cy;
    ASSERT_EQ(layout.angles.size(), c.angles.size());
    for (size_t i = 0; i < c.angles.size(); ++i) {
      EXPECT_FLOAT_EQ(layout.angles[i], c.angles[i]) << c.cx << "," << c.cy << " #" << i;
      const float a = c.angles[i] * 3.14f / 180.0f;
      EXPECT_NEAR(layout.x[i], c.cx + std::sin(a) * c.radius, 1e-3);
      EXPECT_NEAR(layout.y[i], c.cy + std::cos(a) * c.radius, 1e-3);
    }
    EXPECT_EQ(edgeApplied, c.atEdge ? 1 : 0);
    // The reversal happens once per menu.
    const RuvRadialLayout again = radialLayout(c.cx, c.cy, 80.0f, 90.0f, 270.0f, c.protos, edgeApplied, 1.0f);
    EXPECT_FALSE(again.reverse);
  }
  unsigned char flag = 0;
  EXPECT_FLOAT_EQ(radialLayout(100.0f, 400.0f, 80.0f, 90.0f, 270.0f, {1}, flag, 0.5f).radius, 52.0f);
}

// The edge lines lie 150 px inside the 1024 x 800 screen; a centre on a line is inside. The order
// reverses only past the top and left lines, so a centre on one of them at another edge keeps it.
TEST(MapDrawArithmeticTest, RadialEdgeLinesAndCorners) {
  const float top = 150.0f, left = 150.0f, bottom = 800.0f - 150.0f, right = 1024.0f - 150.0f;
  struct Case {
    float x, y;
    bool atEdge, reverses;
    float arcStart, arcEnd;
  };
  const Case cases[] = {
      {left, top, false, false, 0.0f, 0.0f},
      {right, bottom, false, false, 0.0f, 0.0f},
      {left - 0.5f, 400.0f, true, false, 0.0f, 180.0f},
      {right + 0.5f, 400.0f, true, true, 180.0f, 360.0f},
      {500.0f, top - 0.5f, true, false, 270.0f, 450.0f},
      {500.0f, bottom + 0.5f, true, true, 90.0f, 270.0f},
      {right + 0.5f, top, true, false, 180.0f, 360.0f},
      {left, bottom + 0.5f, true, false, 90.0f, 270.0f},
      {left - 0.5f, bottom + 0.5f, true, false, 0.0f, 180.0f},     // left before bottom
      {right + 0.5f, bottom + 0.5f, true, true, 180.0f, 360.0f},  // right before bottom
      {right + 0.5f, top - 0.5f, true, false, 180.0f, 360.0f},    // right before top
  };
  for (const Case& c : cases) {
    const RuvRadialEdge edge = RuvRadialMenu::edgeAt(c.x, c.y);
    EXPECT_EQ(edge.atEdge, c.atEdge) << c.x << "," << c.y;
    EXPECT_EQ(edge.reversesItems, c.reverses) << c.x << "," << c.y;
    if (!c.atEdge) continue;
    EXPECT_EQ(edge.arcStart, c.arcStart) << c.x << "," << c.y;
    EXPECT_EQ(edge.arcEnd, c.arcEnd) << c.x << "," << c.y;
  }
}

}  // namespace
