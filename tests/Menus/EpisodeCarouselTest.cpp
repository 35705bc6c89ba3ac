// The episode carousel: drag limits, the release rule (quarter pitch, quick flick), the return to
// rest, arrow moves, plate scales, and the plates' decorations from the star gate and the visits.
#include <gtest/gtest.h>

#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/EpisodeCarousel.h"
#include "gamesupport/GameTestSupport.h"

namespace menutest {
namespace {

// What the carousel told its owner, in order: "select n", "start", "settled".
struct CarouselEvents {
  void selected(int index) { log.push_back("select " + std::to_string(index)); }
  void started() { log.push_back("start"); }
  void settled() { log.push_back("settled"); }
  std::vector<std::string> log;
};

EpisodeCarousel Carousel(int plates, int current, CarouselEvents& events) {
  EpisodeCarousel carousel(current);
  carousel.plates.resize(static_cast<size_t>(plates));
  carousel.onSelect.Reset(new base::MemberDelegate1<CarouselEvents, int, void>(&events, &CarouselEvents::selected));
  carousel.onMoveStart.Reset(new base::MemberDelegate0<CarouselEvents, void>(&events, &CarouselEvents::started));
  carousel.onSettled.Reset(new base::MemberDelegate0<CarouselEvents, void>(&events, &CarouselEvents::settled));
  return carousel;
}

TEST(EpisodeCarouselTest, ReleaseSwitchesPastAQuarterPitchOrOnAQuickFlick) {
  struct Case {
    int plates, current;
    float drag;  // pointer travel to the left (positive) or right
    float heldFor;
    int current2;
    float offset;
    int state;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {3, 1, 80, 0.3f, 1, 80, EpisodeCarousel::kReturningFromRight, {"start"}},
      {3, 1, 81, 0.3f, 2, 81 - 320, EpisodeCarousel::kReturningFromLeft, {"start", "select 2"}},
      {3, 1, -81, 0.3f, 0, 320 - 81, EpisodeCarousel::kReturningFromRight, {"start", "select 0"}},
      {3, 1, 10, 0.2f, 2, 10 - 320, EpisodeCarousel::kReturningFromLeft, {"start", "select 2"}},
      {3, 1, -10, 0.2f, 0, 310, EpisodeCarousel::kReturningFromRight, {"start", "select 0"}},
      {3, 1, 0, 0.1f, 1, 0, EpisodeCarousel::kIdle, {"start", "settled"}},
      {3, 0, -200, 0.1f, 0, 0, EpisodeCarousel::kIdle, {"start", "settled"}},   // nothing before the first
      {3, 2, 200, 0.1f, 2, 0, EpisodeCarousel::kIdle, {"start", "settled"}},    // nor after the last
      {1, 0, 300, 0.1f, 0, 0, EpisodeCarousel::kIdle, {"start", "settled"}},    // one episode never moves
      {3, 1, 2000, 1.0f, 2, 640 - 320, EpisodeCarousel::kReturningFromLeft, {"start", "select 2"}},  // clamped
  };
  for (const Case& c : cases) {
    CarouselEvents events;
    EpisodeCarousel carousel = Carousel(c.plates, c.current, events);
    carousel.startDrag(500, 300);
    carousel.dragTo(500 - c.drag, 300);
    carousel.update(c.heldFor);
    carousel.release();
    EXPECT_EQ(c.current2, carousel.current) << c.drag;
    EXPECT_FLOAT_EQ(c.offset, carousel.offset) << c.drag;
    EXPECT_EQ(c.state, carousel.state) << c.drag;
    EXPECT_EQ(c.log, events.log) << c.drag;
  }
}

TEST(EpisodeCarouselTest, TheStripReturnsToRestAtEightHundredPixelsPerSecond) {
  CarouselEvents events;
  EpisodeCarousel carousel = Carousel(3, 1, events);
  carousel.startDrag(500, 300);
  carousel.dragTo(400, 300);
  carousel.update(0.5f);
  carousel.release();  // offset 100 - 320 = -220, returning from the left
  const float steps[][2] = {{0.1f, -140.0f}, {0.1f, -60.0f}, {0.1f, 0.0f}};
  for (const auto& step : steps) {
    carousel.update(step[0]);
    EXPECT_NEAR(step[1], carousel.offset, 1e-3);
  }
  EXPECT_EQ(EpisodeCarousel::kIdle, carousel.state);
  EXPECT_EQ((std::vector<std::string>{"start", "select 2", "settled"}), events.log);
}

TEST(EpisodeCarouselTest, ArrowsMoveByOnePlateFromTheNeighboursPlace) {
  CarouselEvents events;
  EpisodeCarousel carousel = Carousel(3, 1, events);
  carousel.step(-1);
  EXPECT_EQ(0, carousel.current);
  EXPECT_EQ(320.0f, carousel.offset);
  EXPECT_EQ(EpisodeCarousel::kReturningFromRight, carousel.state);
  EXPECT_EQ(512.0f, carousel.plateX(1));  // the old plate has not jumped
  carousel.update(0.5f);
  carousel.step(+1);
  EXPECT_EQ(1, carousel.current);
  EXPECT_EQ(-320.0f, carousel.offset);
  EXPECT_EQ(EpisodeCarousel::kReturningFromLeft, carousel.state);
  EXPECT_EQ((std::vector<std::string>{"start", "select 0", "settled", "start", "select 1"}), events.log);
}

TEST(EpisodeCarouselTest, PlatesShrinkWithTheirDistanceFromTheCentre) {
  CarouselEvents events;
  EpisodeCarousel carousel = Carousel(3, 1, events);
  const float cases[][2] = {{512, 1.0f}, {572, 1.0f - 0.45f * 0.5f}, {452, 1.0f - 0.45f * 0.5f}, {632, 0.55f}, {900, 0.55f}};
  for (const auto& c : cases) EXPECT_FLOAT_EQ(c[1], carousel.plateScale(c[0])) << c[0];
  carousel.offset = 100.0f;
  EXPECT_EQ(92.0f, carousel.plateX(0));
  EXPECT_EQ(732.0f, carousel.plateX(2));
}

class EpisodePlateTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    CopySampleData("ruv/strings_en.csv");
  }
  void TearDown() override {
    mProgress.reset();
    GameFolderTest::TearDown();
  }
  // Episodes of 3 and 2 normal, 2 and 1 hardcore levels needing 0 and 5 stars; a third without a row.
  void Start(const std::string& profile) {
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A">)" + profile + "</Profile></Profiles>");
    mProgress = std::make_unique<RuvProgress>(&mMap);
    mMap.progress = mProgress.get();
    mMap.normalLevels = {3, 2, -1};
    mMap.hardcoreLevels = {2, 1, -1};
    mMap.stars = {0, 5, 0};
  }
  gametest::FakeMapState mMap;
  std::unique_ptr<RuvProgress> mProgress;
};

TEST_F(EpisodePlateTest, LocksNewMarksAndTextsFollowStarsAndVisits) {
  RuvFrameEntry lock;
  RuvFrameEntry fresh;
  const std::string fiveStars = R"(<levels><level episode="0" n="0" mode="1" stars="3"/><level episode="0" n="1" mode="1" stars="2"/></levels>)";
  struct Case {
    std::string profile;
    int episode;
    std::u16string text;
    bool locked;
    bool isNew;
  };
  const Case cases[] = {
      {"", 0, u"", false, true},
      {"", 1, u"Collect 5 stars to open", true, false},
      {"", 2, u"Coming soon", true, false},
      {fiveStars, 1, u"", false, true},
      {fiveStars + R"(<episodeVisited episode1n="2"/>)", 1, u"", false, true},   // hardcore not seen
      {fiveStars + R"(<episodeVisited episode1n="2" episode1h="1"/>)", 1, u"", false, false},
      {fiveStars + R"(<episodeVisited episode1n="1" episode1h="1"/>)", 1, u"", false, true},
  };
  for (const Case& c : cases) {
    Start(c.profile);
    EpisodePlate plate = makeEpisodePlate(nullptr, mMap, c.episode, &lock, &fresh);
    EXPECT_EQ(c.text, plate.text) << c.episode << " " << c.profile;
    EXPECT_EQ(c.locked ? &lock : nullptr, plate.lock) << c.episode << " " << c.profile;
    EXPECT_EQ(c.isNew ? &fresh : nullptr, plate.newOverlay) << c.episode << " " << c.profile;
    EXPECT_EQ(nullptr, plate.image);
    mProgress.reset();
  }
}

}  // namespace
}  // namespace menutest
