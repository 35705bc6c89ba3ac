// Our particle runtime through the library calls, with a fixed seed: loops, interrupts, the
// active interval, rendered lists, position modes and the reader's limits.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Platform/Magic/Magic.h"
#include "Platform/Magic/Runtime.h"

namespace {

const char kRuntimePtc[] = R"(<ptc version="1" name="test">
  <atlas file="a.png" width="64" height="64"/>
  <atlas file="b.png" width="64" height="32"/>
  <emitter name="burst" duration="200"><particle rate="100" life="300" frame="0 0 32 32" size="8"/></emitter>
  <emitter name="fountain" duration="500" loop="1">
    <particle atlas="0" rate="1000" life="1000" speed="30" spread="360" size="6" angle_var="180" spin="90"/>
    <particle atlas="1" rate="100" life="1000" additive="1" size="4"/>
    <particle atlas="0" rate="100" life="1000" additive="1" size="4"/>
  </emitter>
  <emitter name="still" duration="10000" start="300"><particle rate="50" life="5000" size="2"/></emitter>
  <folder name="f">
    <emitter name="burst" duration="50"><particle rate="10" life="10"/></emitter>
    <folder name="g"/>
    <emitter name="burst" duration="70"><particle rate="10" life="10"/></emitter>
  </folder>
</ptc>)";

class ParticleRuntimeTest : public ::testing::Test {
 protected:
  ParticleRuntimeTest() {
    magic::SetParticleLibrary(&mRuntime);
    Magic_SetRandomSeed(1234);
    mFile = Magic_OpenFileInMemory(kRuntimePtc, sizeof(kRuntimePtc) - 1);
  }
  ~ParticleRuntimeTest() override { magic::SetParticleLibrary(nullptr); }

  magic::EmitterHandle Load(const char* name, const char* folder = "") {
    Magic_SetCurrentFolder(mFile, folder);
    const magic::EmitterHandle handle = Magic_LoadEmitter(mFile, name);
    Magic_SetCurrentFolder(mFile, "");
    return handle;
  }

  // Updates in frames of 16 ms for up to ms; the time at which the emitter ended, or -1.
  static double RunFor(magic::EmitterHandle e, double ms) {
    for (double t = 0; t < ms; t += 16) {
      if (!Magic_Update(e, 16)) return t + 16;
    }
    return -1;
  }

  struct Picture {
    std::vector<magic::RenderedList> lists;
    std::vector<magic::ParticleVertexes> quads;
  };
  static Picture Draw(magic::EmitterHandle e) {
    Picture picture;
    magic::RenderedList list;
    for (Magic_CreateFirstRenderedParticlesList(e, &list); list.count != 0;
         Magic_CreateNextRenderedParticlesList(&list)) {
      picture.lists.push_back(list);
      magic::ParticleVertexes quad;
      for (uint32_t i = 0; i < list.count; ++i) {
        EXPECT_EQ(Magic_GetNextParticleVertexes(&quad), 0);
        picture.quads.push_back(quad);
      }
      EXPECT_EQ(Magic_GetNextParticleVertexes(&quad), 1);  // the list is used up
    }
    return picture;
  }

  static float CentreX(const magic::ParticleVertexes& q) { return (q.corners[0].x + q.corners[2].x) * 0.5f; }
  static float CentreY(const magic::ParticleVertexes& q) { return (q.corners[0].y + q.corners[2].y) * 0.5f; }

  magic::Runtime mRuntime;
  magic::FileHandle mFile = 0;
};

TEST_F(ParticleRuntimeTest, OpensTheFileAndWalksItsFolders) {
  ASSERT_GT(mFile, 0);
  EXPECT_STREQ(Magic_GetFileName(mFile), "test");
  EXPECT_TRUE(Magic_HasTextures(mFile));
  ASSERT_EQ(Magic_GetStaticAtlasCount(mFile), 2);
  magic::StaticAtlas atlas;
  ASSERT_EQ(Magic_GetStaticAtlas(mFile, 1, &atlas), 0);
  EXPECT_STREQ(atlas.file, "b.png");
  EXPECT_EQ(Magic_GetStaticAtlas(mFile, 2, &atlas), 1);

  // A walk of the root goes on after a walk of a sub-folder.
  magic::FindRecord record;
  std::vector<std::string> walk;
  for (const char* name = Magic_FindFirst(mFile, &record, 3); name; name = Magic_FindNext(mFile, &record)) {
    walk.push_back(std::string(record.emitter ? "e:" : "f:") + name);
    if (!record.emitter) {
      ASSERT_EQ(Magic_SetCurrentFolder(mFile, name), 0);
      for (const char* sub = Magic_FindFirst(mFile, &record, magic::kFindEmitters); sub;
           sub = Magic_FindNext(mFile, &record)) {
        walk.push_back(std::string("  e:") + sub);
      }
      ASSERT_EQ(Magic_SetCurrentFolder(mFile, ".."), 0);
    }
  }
  EXPECT_EQ(walk, (std::vector<std::string>{"e:burst", "e:fountain", "e:still", "f:f", "  e:burst", "  e:burst"}));
  EXPECT_EQ(Magic_SetCurrentFolder(mFile, ".."), 1);  // above the root
  EXPECT_EQ(Magic_SetCurrentFolder(mFile, "nope"), 1);
}

TEST_F(ParticleRuntimeTest, LoadedEmittersOutliveTheirFile) {
  const magic::EmitterHandle e = Load("burst", "f");
  ASSERT_NE(e, 0u);
  Magic_CloseFile(mFile);
  EXPECT_EQ(Magic_LoadEmitter(mFile, "burst"), 0u);
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  // The later "burst" of the folder: 70 ms of emission, particles of 10 ms.
  EXPECT_GT(RunFor(e, 200), 60);
  Magic_UnloadEmitter(e);
  EXPECT_EQ(mRuntime.EmitterCount(), 0u);
}

TEST_F(ParticleRuntimeTest, LoopModesDecideWhetherTheEmitterEnds) {
  struct Case {
    const char* name;
    int mode;
    bool ends;
  };
  const Case cases[] = {{"burst", 0, true},     {"burst", 1, false},   {"burst", 2, true},
                        {"fountain", 0, false}, {"fountain", 2, true}, {"fountain", 7, false}};
  for (const Case& c : cases) {
    const magic::EmitterHandle e = Load(c.name);
    Magic_SetLoopMode(e, c.mode);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    const double ended = RunFor(e, 5000);
    EXPECT_EQ(ended >= 0, c.ends) << c.name << " " << c.mode;
    if (!c.ends) {
      EXPECT_FALSE(Draw(e).quads.empty()) << c.name;
    }
    Magic_UnloadEmitter(e);
  }
}

TEST_F(ParticleRuntimeTest, InterruptLetsTheLiveParticlesRunOutThenEnds) {
  const magic::EmitterHandle e = Load("fountain");
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  ASSERT_EQ(RunFor(e, 500), -1);
  Magic_SetInterrupt(e, true);
  EXPECT_TRUE(Magic_IsInterrupt(e));
  size_t live = Draw(e).quads.size();
  ASSERT_GT(live, 0u);
  double t = 0;
  while (Magic_Update(e, 16)) {
    const size_t now = Draw(e).quads.size();
    EXPECT_LE(now, live);  // nothing new is born
    live = now;
    t += 16;
    ASSERT_LT(t, 2000);
  }
  EXPECT_GE(t, 900);  // the youngest particles live 1000 ms
  EXPECT_TRUE(Draw(e).quads.empty());
  EXPECT_FALSE(Magic_Update(e, 16));
  // A restart plays again.
  Magic_SetInterrupt(e, false);
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  EXPECT_TRUE(Magic_Update(e, 16));
  Magic_UnloadEmitter(e);
}

TEST_F(ParticleRuntimeTest, TheJumpToTheIntervalRunsTheEmitterThere) {
  const magic::EmitterHandle e = Load("still");
  EXPECT_TRUE(Magic_IsInterval1(e));
  EXPECT_FALSE(Magic_InInterval(e));
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  EXPECT_TRUE(Magic_InInterval(e));
  EXPECT_NEAR(double(Draw(e).quads.size()), 15.0, 1.0);  // 300 ms at 50 per second
  Magic_Stop(e);
  EXPECT_FALSE(Magic_InInterval(e));
  EXPECT_TRUE(Draw(e).quads.empty());
  const magic::EmitterHandle f = Load("fountain");
  EXPECT_FALSE(Magic_IsInterval1(f));
  Magic_UnloadEmitter(e);
  Magic_UnloadEmitter(f);
}

TEST_F(ParticleRuntimeTest, ListsHoldAtMost170OfOneAtlasAndBlendWithCornersClockwise) {
  const magic::EmitterHandle e = Load("fountain");
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  RunFor(e, 1000);
  const Picture picture = Draw(e);
  ASSERT_GT(picture.quads.size(), 1000u);
  // Kinds in file order: atlas 0 alpha, atlas 1 additive, atlas 0 additive; one run of lists each.
  std::vector<std::pair<uint32_t, int>> groups;
  for (const magic::RenderedList& list : picture.lists) {
    EXPECT_LE(list.count, 170u);
    EXPECT_GT(list.count, 0u);
    const std::pair<uint32_t, int> key(list.texture, list.intense);
    if (groups.empty() || groups.back() != key) groups.push_back(key);
  }
  EXPECT_EQ(groups, (std::vector<std::pair<uint32_t, int>>{{0, 0}, {1, 1}, {0, 1}}));
  for (const magic::ParticleVertexes& q : picture.quads) {
    // The shoelace sum is positive for a clockwise turn on a screen whose y runs down.
    float twiceArea = 0;
    for (int i = 0; i < 4; ++i) {
      const auto& a = q.corners[i];
      const auto& b = q.corners[(i + 1) % 4];
      twiceArea += a.x * b.y - b.x * a.y;
    }
    EXPECT_GT(twiceArea, 0.0f);
  }
  // Atlas 1 is 64 x 32 and the kind uses all of it: u and v span 0..1 from the top-left corner.
  const magic::ParticleVertexes& additive = picture.quads[picture.lists[0].count];
  EXPECT_FLOAT_EQ(additive.corners[0].tu, 0.0f);
  EXPECT_FLOAT_EQ(additive.corners[2].tu, 1.0f);
  EXPECT_FLOAT_EQ(additive.corners[2].tv, 1.0f);
  Magic_UnloadEmitter(e);
}

TEST_F(ParticleRuntimeTest, ACopyTakesTheSettingsButNotTheParticles) {
  const magic::EmitterHandle prototype = Load("burst");
  Magic_SetLoopMode(prototype, magic::kLoopForever);
  Magic_SetInterpolationMode(prototype, false);
  const magic::Position at{5, 6};
  Magic_SetEmitterPosition(prototype, &at);
  Magic_EmitterToInterval1(prototype, 1.0f, nullptr);
  RunFor(prototype, 100);
  const magic::EmitterHandle copy = Magic_DuplicateEmitter(prototype);
  ASSERT_NE(copy, 0u);
  EXPECT_NE(copy, prototype);
  EXPECT_FALSE(Magic_IsInterpolationMode(copy));
  magic::Position read;
  Magic_GetEmitterPosition(copy, &read);
  EXPECT_EQ(read.x, 5);
  EXPECT_EQ(read.y, 6);
  EXPECT_TRUE(Draw(copy).quads.empty());
  Magic_EmitterToInterval1(copy, 1.0f, nullptr);
  EXPECT_EQ(RunFor(copy, 2000), -1);  // loops like its source
  Magic_UnloadEmitter(prototype);
  EXPECT_TRUE(Magic_Update(copy, 16));  // independent of its source
  Magic_UnloadEmitter(copy);
  EXPECT_EQ(Magic_DuplicateEmitter(prototype), 0u);
}

TEST_F(ParticleRuntimeTest, TheSameSeedGivesTheSamePicture) {
  auto run = [this](uint32_t seed) {
    Magic_SetRandomSeed(seed);
    const magic::EmitterHandle prototype = Load("fountain");
    const magic::EmitterHandle e = Magic_DuplicateEmitter(prototype);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    RunFor(e, 300);
    std::vector<float> values;
    for (const magic::ParticleVertexes& q : Draw(e).quads) values.push_back(q.corners[1].x);
    Magic_UnloadEmitter(e);
    Magic_UnloadEmitter(prototype);
    return values;
  };
  const std::vector<float> first = run(99);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(run(99), first);
  EXPECT_NE(run(100), first);
}

TEST_F(ParticleRuntimeTest, PositionModesFollowOrLeaveTheParticles) {
  for (int mode : {magic::kPositionFollow, magic::kPositionFixed}) {
    const magic::EmitterHandle e = Load("still");
    Magic_SetEmitterPositionMode(e, mode);
    const magic::Position start{100, 100};
    Magic_SetEmitterPosition(e, &start);
    Magic_EmitterToInterval1(e, 1.0f, nullptr);
    const size_t before = Draw(e).quads.size();
    ASSERT_GT(before, 0u);
    const magic::Position moved{200, 50};
    Magic_SetEmitterPosition(e, &moved);
    magic::Position read;
    Magic_GetEmitterPosition(e, &read);
    EXPECT_EQ(read.x, 200);
    const Picture picture = Draw(e);
    for (const magic::ParticleVertexes& q : picture.quads) {
      const float x = mode == magic::kPositionFollow ? 200 : 100;
      const float y = mode == magic::kPositionFollow ? 50 : 100;
      EXPECT_NEAR(CentreX(q), x, 0.01) << mode;
      EXPECT_NEAR(CentreY(q), y, 0.01) << mode;
    }
    Magic_UnloadEmitter(e);
  }
}

TEST_F(ParticleRuntimeTest, DirectionTurnsTheEmission) {
  const char text[] = R"(<ptc version="1"><atlas file="a.png" width="8" height="8"/>
    <emitter name="jet" direction="0"><particle rate="100" life="2000" speed="100"/></emitter></ptc>)";
  const magic::FileHandle file = Magic_OpenFileInMemory(text, sizeof(text) - 1);
  const magic::EmitterHandle e = Magic_LoadEmitter(file, "jet");
  const float up = 90;
  Magic_SetEmitterDirection(e, &up);
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  RunFor(e, 500);
  const Picture picture = Draw(e);
  ASSERT_FALSE(picture.quads.empty());
  // 0 + 90 degrees: straight up the screen.
  EXPECT_LT(CentreY(picture.quads.front()), -20.0f);
  EXPECT_NEAR(CentreX(picture.quads.front()), 0.0f, 0.01);
  Magic_UnloadEmitter(e);
}

TEST_F(ParticleRuntimeTest, TheReaderReadsNoFurtherThanTheSize) {
  std::string text(kRuntimePtc);
  text += "<garbage";  // no terminator where the size ends
  EXPECT_GT(Magic_OpenFileInMemory(text.data(), uint32_t(sizeof(kRuntimePtc) - 1)), 0);
  EXPECT_EQ(Magic_OpenFileInMemory(text.data(), 40), 0);
  EXPECT_EQ(Magic_OpenFileInMemory(nullptr, 0), 0);
}

TEST_F(ParticleRuntimeTest, BrokenFilesDoNotOpen) {
  const std::string atlas = R"(<atlas file="a.png" width="8" height="8"/>)";
  std::string deep;
  for (int i = 0; i < 20; ++i) deep += "<folder name=\"d\">";
  for (int i = 0; i < 20; ++i) deep += "</folder>";
  const std::string cases[] = {
      "<other version=\"1\"/>",
      "<ptc version=\"2\"/>",
      "<ptc version=\"1\"><atlas file=\"a.png\" width=\"-4\" height=\"8\"/></ptc>",
      "<ptc version=\"1\">" + atlas + "<emitter name=\"e\"><particle atlas=\"1\"/></emitter></ptc>",
      "<ptc version=\"1\">" + atlas + "<emitter name=\"e\"><particle frame=\"0 0 0 8\"/></emitter></ptc>",
      "<ptc version=\"1\">" + atlas +
          "<emitter name=\"e\"><particle><color rgb=\"1000000\"/></particle></emitter></ptc>",
      "<ptc version=\"1\">" + atlas + "<emitter><particle/></emitter></ptc>",
      "<ptc version=\"1\"><folder name=\"..\"/></ptc>",
      "<ptc version=\"1\">" + deep + "</ptc>",
      "<ptc version=\"1\">",
  };
  for (const std::string& text : cases)
    EXPECT_EQ(Magic_OpenFileInMemory(text.data(), uint32_t(text.size())), 0) << text;
}

TEST_F(ParticleRuntimeTest, HostileNumbersAreBounded) {
  const char text[] = R"(<ptc version="1"><atlas file="a.png" width="8" height="8"/>
    <emitter name="e" duration="1e30" step="-5"><particle rate="1e30" life="nan" size="inf"/></emitter></ptc>)";
  const magic::FileHandle file = Magic_OpenFileInMemory(text, sizeof(text) - 1);
  const magic::EmitterHandle e = Magic_LoadEmitter(file, "e");
  ASSERT_NE(e, 0u);
  EXPECT_NEAR(Magic_GetUpdateTime(e), 1.0, 1e-6);  // clamped
  Magic_EmitterToInterval1(e, 1.0f, nullptr);
  EXPECT_TRUE(Magic_Update(e, 1e12));  // one update advances at most a minute, in at most 1000 steps
  EXPECT_TRUE(Magic_Update(e, std::nan("")));
  EXPECT_LE(Draw(e).quads.size(), magic::kMaxEmitterParticles);
  Magic_UnloadEmitter(e);
}

}  // namespace
