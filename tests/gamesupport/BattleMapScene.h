#pragma once
// A battle map built on a temporary copy of the sample data root, with a recording renderer, the
// scripted audio layer, the sample particle file and a one-profile user folder; and recording
// stand-ins for the battle objects the tick drives.
#include <memory>
#include <string>
#include <vector>

#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvFxTriggers.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvModifier.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "gamesupport/GameTestSupport.h"
#include "tests/fakes/RecordingRender.h"
#include "tests/fakes/ScriptedBass.h"

namespace battletest {

// Deletes the map, then the services it was built on (tutorial, sound tags, sound, particles, art).
void releaseBattleMap(std::unique_ptr<RuvMap>& map);

// What the battle objects were given, in call order: "<who> <seconds>".
using TickLog = std::vector<std::string>;
void logStep(TickLog& log, const std::string& who, float dt);

struct RecordingTower : RuvTower {
  explicit RecordingTower(TickLog& tickLog) : log(tickLog) {}
  void update(float dt) override { logStep(log, "tower", dt); }
  void clearCombatStats() override { ++clears; }
  TickLog& log;
  int clears = 0;
};

struct RecordingUnit : RuvUnit {
  explicit RecordingUnit(TickLog& tickLog) : log(tickLog) {}
  void update(float dt) override { logStep(log, "unit", dt); }
  TickLog& log;
};

struct RecordingModifier : RuvModifier {
  explicit RecordingModifier(TickLog& tickLog) : log(tickLog) {}
  void update(RuvUnit* target, float dt) override { logStep(log, target ? "unit modifier" : "modifier", dt); }
  TickLog& log;
};

struct RecordingWaves : RuvWaveManager {
  explicit RecordingWaves(TickLog& tickLog) : log(tickLog) {}
  void update(float dt) override { logStep(log, "waves", dt); }
  void updateUnitModifiers(float dt) override { logStep(log, "unit modifiers", dt); }
  TickLog& log;
};

struct RecordingBullets : RuvBulletList {
  explicit RecordingBullets(TickLog& tickLog) : log(tickLog) {}
  void update(float dt) override { logStep(log, "bullets", dt); }
  TickLog& log;
};

struct RecordingFxTriggers : RuvFxTriggers {
  explicit RecordingFxTriggers(TickLog& tickLog) : log(tickLog) {}
  void update(float dt) override { logStep(log, "fx triggers", dt); }
  TickLog& log;
};

class BattleMapTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the map's wave manager, bullets and triggers by recording ones writing to mLog.
  void RecordBattle();
  // A stopped emitter of the sample particle file; playing when asked.
  static std::unique_ptr<render::ParticleEmitter> Emitter(bool playing);

  fakes::ScriptedBass mBass;
  fakes::RecordingRender mRender;
  std::unique_ptr<RuvMap> mMap;
  TickLog mLog;
};

}  // namespace battletest
