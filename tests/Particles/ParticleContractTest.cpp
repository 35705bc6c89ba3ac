// The engine's particle system and emitters against a scripted particle library: the order of
// the library calls and the values passed, state by state.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "tests/fakes/RecordingRender.h"
#include "tests/fakes/ScriptedMagic.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kFxFolder = std::string(QM_SOURCE_DIR) + "/data/ruv/fx/";

// A system of the test's own, so no test leaves prototypes in the instance that the game uses;
// deleting it takes it out of the singleton registry.
std::unique_ptr<render::ParticleSystem> NewContractSystem() { return std::make_unique<render::ParticleSystem>(); }

class ParticleContractTest : public ::testing::Test {
 protected:
  // An instance of a prototype over library emitter 7: the instance's handle is 101.
  std::unique_ptr<render::ParticleEmitter> MakeInstance() {
    auto emitter = std::make_unique<render::ParticleEmitter>(&mPrototype);
    mMagic.calls.clear();
    return emitter;
  }

  fakes::ScriptedMagic mMagic;
  render::ParticleEmitter mPrototype{7};
};

TEST_F(ParticleContractTest, InstanceDuplicatesThePrototypeAndUnloadsItsOwnEmitter) {
  {
    render::ParticleEmitter emitter(&mPrototype);
    EXPECT_EQ(emitter.GetHandle(), 101u);
    EXPECT_EQ(emitter.GetState(), render::ParticleEmitter::kStopped);
  }
  EXPECT_EQ(mMagic.calls, (Calls{"DuplicateEmitter(7)", "UnloadEmitter(101)"}));
}

struct StateCase {
  const char* name;
  int from;  // reached by SetState from stopped
  long isInterrupt;
  long inInterval;
  int to;
  Calls calls;
  int state;
};

class ParticleStateTest : public ParticleContractTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ParticleStateTest, CallsTheLibraryAsTheTransitionNeeds) {
  const StateCase& c = GetParam();
  auto emitter = MakeInstance();
  emitter->SetState(c.from);
  mMagic.calls.clear();
  mMagic.defaults["IsInterrupt"] = c.isInterrupt;
  mMagic.defaults["InInterval"] = c.inInterval;
  emitter->SetState(c.to);
  EXPECT_EQ(mMagic.calls, c.calls);
  EXPECT_EQ(emitter->GetState(), c.state);
}

// clang-format off
const StateCase kStateCases[] = {
    {"StoppedToPlaying", 0, 0, 0, 1, {"IsInterrupt(101)", "EmitterToInterval1(101,1,null)"}, 1},
    {"StoppedToPlayingClearsInterrupt",
     0, 1, 1, 1,
     {"IsInterrupt(101)", "SetInterrupt(101,0)", "EmitterToInterval1(101,1,null)"}, 1},
    {"StoppedToInterruptedStartsFirst", 0, 0, 0, 2, {"EmitterToInterval1(101,1,null)", "SetInterrupt(101,1)"}, 2},
    {"PlayingToInterruptedInInterval", 1, 0, 1, 2, {"InInterval(101)", "SetInterrupt(101,1)"}, 2},
    {"PlayingToInterruptedBeforeInterval",
     1, 0, 0, 2,
     {"InInterval(101)", "EmitterToInterval1(101,1,null)", "SetInterrupt(101,1)"}, 2},
    {"InterruptedToPlaying", 2, 1, 1, 1, {"IsInterrupt(101)", "SetInterrupt(101,0)", "InInterval(101)"}, 1},
    {"PlayingToStopped", 1, 0, 0, 0, {"Stop(101)"}, 0},
    {"InterruptedToStoppedOnlyChangesState", 2, 0, 0, 0, {}, 0},
    {"SameStatePlaying", 1, 0, 0, 1, {}, 1},
    {"SameStateStopped", 0, 0, 0, 0, {}, 0},
    {"SameStateInterrupted", 2, 0, 0, 2, {}, 2},
    {"OtherValueStoredOnly", 0, 0, 0, 5, {}, 5},
    {"OtherValueToStoppedStops", 5, 0, 0, 0, {"Stop(101)"}, 0},
};

// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, ParticleStateTest, ::testing::ValuesIn(kStateCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct UpdateCase {
  const char* name;
  int state;
  long interpolation;
  long goesOn;
  Calls calls;
  int after;
};

class ParticleUpdateTest : public ParticleContractTest, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(ParticleUpdateTest, StepsAndEndsAsTheLibraryReports) {
  const UpdateCase& c = GetParam();
  auto emitter = MakeInstance();
  emitter->SetState(c.state);
  mMagic.calls.clear();
  mMagic.defaults["IsInterpolationMode"] = c.interpolation;
  mMagic.defaults["Update"] = c.goesOn;
  emitter->Update(0.25);
  EXPECT_EQ(mMagic.calls, c.calls);
  EXPECT_EQ(emitter->GetState(), c.after);
}

const UpdateCase kUpdateCases[] = {
    {"StoppedDoesNothing", 0, 1, 1, {}, 0},
    {"PlayingByFrameTime", 1, 1, 1, {"IsInterpolationMode(101)", "Update(101,250)"}, 1},
    {"InterpolationOffIgnoresDt", 1, 0, 1, {"IsInterpolationMode(101)", "GetUpdateTime(101)", "Update(101,20)"}, 1},
    {"EndOfPlayingStops", 1, 1, 0, {"IsInterpolationMode(101)", "Update(101,250)", "Stop(101)"}, 0},
    {"EndOfInterruptedWithoutStop", 2, 1, 0, {"IsInterpolationMode(101)", "Update(101,250)"}, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ParticleUpdateTest, ::testing::ValuesIn(kUpdateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParticleContractTest, RestartJumpsToTheIntervalOrRestarts) {
  auto emitter = MakeInstance();
  mMagic.defaults["IsInterval1"] = 1;
  emitter->Restart();
  EXPECT_EQ(mMagic.calls,
            (Calls{"IsInterval1(101)", "EmitterToInterval1(101,1,null)", "EmitterToInterval1(101,1,null)"}));
  EXPECT_EQ(emitter->GetState(), 1);

  mMagic.calls.clear();
  mMagic.defaults["IsInterval1"] = 0;
  emitter->Restart();
  EXPECT_EQ(mMagic.calls, (Calls{"IsInterval1(101)", "Restart(101)"}));

  emitter->SetState(2);
  mMagic.calls.clear();
  mMagic.defaults["InInterval"] = 1;
  emitter->Restart();
  EXPECT_EQ(mMagic.calls, (Calls{"IsInterval1(101)", "Restart(101)", "SetInterrupt(101,0)", "InInterval(101)"}));
  EXPECT_EQ(emitter->GetState(), 1);
}

TEST_F(ParticleContractTest, PositionDirectionAndLoopModeGoToTheLibrary) {
  auto emitter = MakeInstance();
  emitter->SetPosition({10.5f, -4}, 1);
  const math::Point2 position = emitter->GetPosition();
  emitter->SetDirection(45);
  for (int mode : {1, 2, 0, 3, -1}) emitter->SetLoopMode(mode);
  EXPECT_EQ(mMagic.calls,
            (Calls{"SetEmitterPositionMode(101,1)", "SetEmitterPosition(101,10.5,-4)", "GetEmitterPosition(101)",
                   "SetEmitterDirection(101,45)", "SetLoopMode(101,1)", "SetLoopMode(101,2)", "SetLoopMode(101,0)",
                   "SetLoopMode(101,0)", "SetLoopMode(101,0)"}));
  EXPECT_FLOAT_EQ(position.x, 10.5f);
  EXPECT_FLOAT_EQ(position.y, -4.0f);
}

TEST_F(ParticleContractTest, FolderWalkLoadsEveryEmitterAndTheLaterOfANameWins) {
  mMagic.defaults["OpenFileInMemory"] = 3;
  mMagic.folders[""] = {{"a", true}, {"sub", false}, {"b", true}};
  mMagic.folders["sub"] = {{"a", true}};
  std::unique_ptr<render::ParticleSystem> system = NewContractSystem();
  system->SetFolder(kFxFolder);
  system->Load("fx2.ptc", nullptr);
  // clang-format off
  EXPECT_EQ(mMagic.calls,
            (Calls{"OpenFileInMemory(" + std::to_string(mMagic.openedText.size()) + ")",
                   "SetCurrentFolder(3,)", "FindFirst(3,3)",
                   "LoadEmitter(3,a)", "GetFileName(3)", "SetInterpolationMode(101,1)", "SetLoopMode(101,0)",
                   "GetStaticAtlasCount(3)", "FindNext(3)",
                   "SetCurrentFolder(3,sub)", "FindFirst(3,3)",
                   "LoadEmitter(3,sub/a)", "GetFileName(3)", "UnloadEmitter(101)", "SetInterpolationMode(102,1)",
                   "SetLoopMode(102,0)", "GetStaticAtlasCount(3)", "FindNext(3)", "SetCurrentFolder(3,..)",
                   "FindNext(3)",
                   "LoadEmitter(3,b)", "GetFileName(3)", "SetInterpolationMode(103,1)", "SetLoopMode(103,0)",
                   "GetStaticAtlasCount(3)", "FindNext(3)", "SetCurrentFolder(3,..)",
                   "GetStaticAtlasCount(3)"}));
  // clang-format on
  EXPECT_EQ(system->GetPrototypeCount(), 2u);

  mMagic.calls.clear();
  std::unique_ptr<render::ParticleEmitter> a(system->CreateEmitter("a"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(mMagic.calls, (Calls{"DuplicateEmitter(102)"}));
  EXPECT_EQ(system->CreateEmitter("A"), nullptr);  // byte-wise, case-sensitive
  EXPECT_EQ(system->CreateEmitter("sub"), nullptr);
}

TEST_F(ParticleContractTest, TheFileGoesOverWithItsSizeAndATerminator) {
  std::ifstream in(kFxFolder + "fx2.ptc", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  std::unique_ptr<render::ParticleSystem> system = NewContractSystem();
  system->SetFolder(kFxFolder);
  system->Load("fx2", nullptr);  // ".ptc" is tried too
  EXPECT_EQ(mMagic.openedText, text);
  EXPECT_TRUE(mMagic.openedTerminated);
  ASSERT_FALSE(mMagic.calls.empty());
  EXPECT_EQ(mMagic.calls[0], "OpenFileInMemory(" + std::to_string(text.size()) + ")");
  EXPECT_EQ(mMagic.calls.size(), 1u);  // handle 0: nothing more is asked
}

TEST_F(ParticleContractTest, AMissingFileLoadsNothing) {
  std::unique_ptr<render::ParticleSystem> system = NewContractSystem();
  system->SetFolder(kFxFolder);
  system->Load("no such effects", nullptr);
  EXPECT_TRUE(mMagic.calls.empty());
}

struct InterpolationCase {
  int setting;
  Calls calls;
};

TEST_F(ParticleContractTest, InterpolationSettingDecidesTheEmittersMode) {
  const InterpolationCase cases[] = {
      {0, {"SetLoopMode(101,2)"}},
      {1, {"SetInterpolationMode(102,1)", "SetLoopMode(102,2)"}},
      {7, {"SetInterpolationMode(103,0)", "SetLoopMode(103,2)"}},
  };
  mMagic.defaults["OpenFileInMemory"] = 1;
  mMagic.folders[""] = {{"e", true}};
  for (const InterpolationCase& c : cases) {
    std::unique_ptr<render::ParticleSystem> system = NewContractSystem();
    system->mInterpolation = c.setting;
    system->mLoopMode = 2;
    system->SetFolder(kFxFolder);
    mMagic.calls.clear();
    system->Load("fx2.ptc", nullptr);
    Calls settings;
    for (const std::string& call : mMagic.calls) {
      if (call.rfind("SetInterpolationMode", 0) == 0 || call.rfind("SetLoopMode", 0) == 0) settings.push_back(call);
    }
    EXPECT_EQ(settings, c.calls) << c.setting;
  }
}

TEST_F(ParticleContractTest, AtlasesLoadInOrderWithNullForAFailure) {
  fakes::RecordingRender render;
  ASSERT_EQ(render.Init(), VN_OK);
  mMagic.defaults["OpenFileInMemory"] = 1;
  mMagic.fileName = "fx2";
  mMagic.atlases = {"fx2_atlas.png", "missing.png", "fx2_atlas.png"};
  mMagic.folders[""] = {{"e", true}};
  std::unique_ptr<render::ParticleSystem> system = NewContractSystem();
  system->SetFolder(kFxFolder);
  system->Load("fx2.ptc", &render);
  EXPECT_EQ(mMagic.CallsOf("GetStaticAtlas("),
            (Calls{"GetStaticAtlas(1,0)", "GetStaticAtlas(1,1)", "GetStaticAtlas(1,2)"}));
  ASSERT_EQ(system->GetAtlasCount(), 3u);
  EXPECT_NE(system->GetAtlas(0), nullptr);
  EXPECT_EQ(system->GetAtlas(1), nullptr);
  EXPECT_NE(system->GetAtlas(2), nullptr);
  EXPECT_EQ(system->GetAtlas(3), nullptr);
  // A file with a name and textures names its prototypes; they know it has atlases.
  std::unique_ptr<render::ParticleEmitter> e(system->CreateEmitter("e"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetFileName(), "fx2");
  EXPECT_TRUE(e->HasAtlas());
  system->ReleaseAtlases();
  EXPECT_EQ(system->GetAtlasCount(), 0u);
}

}  // namespace
