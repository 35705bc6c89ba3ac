#include "gamesupport/BattleMapScene.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvResources.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/RuvTutorial.h"

namespace battletest {

void logStep(TickLog& log, const std::string& who, float dt) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", double(dt));
  log.push_back(who + " " + seconds);
}

void releaseBattleMap(std::unique_ptr<RuvMap>& map) {
  map.reset();
  if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
  delete k2::SoundTags::Instance();
  if (SoundSystem::Exists()) delete SoundSystem::Instance();
  render::ParticleSystem::Instance()->ReleaseAtlases();
  delete render::ParticleSystem::Instance();
  delete RuvResources::Instance();
}

void BattleMapTest::SetUp() {
  GameFolderTest::SetUp();
  std::filesystem::copy(std::string(QM_SOURCE_DIR) + "/data", mRoot, std::filesystem::copy_options::recursive);
  mRender.Init();
  RuvResources::Instance()->setRender(&mRender);
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder("ruv/fx/");
  particles->Load("fx2.ptc", &mRender);
  LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  mMap = std::make_unique<RuvMap>();
}

void BattleMapTest::TearDown() {
  releaseBattleMap(mMap);
  GameFolderTest::TearDown();
}

void BattleMapTest::RecordBattle() {
  mMap->mWaves = std::make_unique<RecordingWaves>(mLog);
  mMap->mBullets = std::make_unique<RecordingBullets>(mLog);
  mMap->mFxTriggers = std::make_unique<RecordingFxTriggers>(mLog);
}

std::unique_ptr<render::ParticleEmitter> BattleMapTest::Emitter(bool playing) {
  std::unique_ptr<render::ParticleEmitter> emitter(render::ParticleSystem::Instance()->CreateEmitter("active"));
  if (emitter && playing) emitter->SetState(render::ParticleEmitter::kPlaying);
  return emitter;
}

}  // namespace battletest
