#pragma once
// A battle map without sample data (no art, a particle system that makes no emitters) holding the
// small prototype table below; units, towers and spots are placed by hand. Header-only: the tower,
// bullet, modifier and building tests share it.
#include <tinyxml2.h>

#include <memory>
#include <string>
#include <vector>

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Tables/RuvUpgrades.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Tables/RuvUnlocks.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvBulletList.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Battle/RuvWaveProto.h"
#include "Game/Screens/RuvTutorial.h"
#include "gamesupport/GameTestSupport.h"
#include "tests/fakes/RecordingRender.h"
#include "tests/fakes/ScriptedBass.h"

namespace combattest {

// Units stand still (speed 0) unless a test moves them.
enum UnitKind {
  kWalker = 1, kFlyer = 2, kFireOnly = 3, kIce = 4, kPoisonImmune = 5, kDebuffer = 6, kBlocker = 7, kGifted = 8, kSummoned = 9
};
// Towers: 100 straight shots (ammo 900, r 60) with two tiers; 200 homing (ammo 901, r 0); 300 poison,
// stun, hold and splash (ammo 902, r 80); 400 income; 500 boost; 600 teleport beam.
constexpr const char* kCombatProtos = R"(<data>
<units>
  <unit id="1" health="100" speed="0" cost="10"/>
  <unit id="2" health="100" speed="0" air="1"/>
  <unit id="3" health="100" speed="0" fire_dmg_only="1"/>
  <unit id="4" health="100" speed="0" ice="1"/>
  <unit id="5" health="100" speed="0" poisonImmun="1"/>
  <unit id="6" health="100" speed="10" debufftower="1" r="100"/>
  <unit id="7" health="100" speed="10" blocktower="1" r="100"/>
  <unit id="8" health="100" speed="10" r="100" cooldown="2" ammoid="9" haste_buff="1" invisibleArea="1" invisible="1" regen="1" healer="1" summon="1"/>
  <unit id="9" health="50" speed="20" cooldown="4" r="0"/>
</units>
<towers>
  <tower id="100" parent="-1" type="1" r="200" strength="10" cooldown="2" speed="400" ammoid="900" cost="75"
         tierCost="15" tierUpdates="2" tierK="0.1">
    <tier id="101" parent="100" levelid="1" require="0" r="240" strength="15" cooldown="1.5" speed="400" ammoid="900" cost="50"/>
    <tier id="102" parent="100" levelid="2" require="1" r="260" strength="20" cooldown="1" speed="400" ammoid="900" cost="60"/>
    <tier id="103" parent="100" levelid="3" require="2" r="280" strength="25" cooldown="1" speed="400" ammoid="900" cost="70"/>
  </tower>
  <tower id="200" parent="-1" type="1" r="200" strength="10" cooldown="1" speed="300" ammoid="901" cost="80" aimed="1" air="1"/>
  <tower id="300" parent="-1" type="1" r="300" strength="20" cooldown="1" speed="300" ammoid="902" cost="90" dot="1" stun="1" hold="1" splash="1"/>
  <tower id="400" parent="-1" type="1" r="200" strength="-1" cooldown="10" cost="110" goldIncome="5" health="20"/>
  <tower id="500" parent="-1" type="1" r="200" strength="-1" cooldown="1" speed="50" cost="120" boostTower="1"/>
  <tower id="600" parent="-1" type="1" r="200" strength="5" cooldown="6" speed="-1" cost="100" teleportEnemy="1" ammoid="901"/>
</towers>
<ammo>
  <ammo id="900" parent="-1" r="60"/>
  <ammo id="901" parent="-1" r="0"/>
  <ammo id="902" parent="-1" r="80"/>
  <ammo id="2004" parent="-1" r="0"/>
</ammo>
</data>)";

class CombatTest : public gametest::GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    mRender.Init();
    RuvResources::Instance()->setRender(&mRender);
    LoadProfiles(R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
    mMap = std::make_unique<RuvMap>();
    mMap->mMode = 1;
    tinyxml2::XMLDocument document;
    document.Parse(kCombatProtos);
    mMap->mProtos->load(document.FirstChildElement("data"));
    mMap->mUnlocks->load("0;0;-1\n");
    mMap->mState = kStatePlaying;
    mMap->mSpots = std::make_unique<RuvSpotList>();
  }

  void TearDown() override {
    mMap.reset();
    mEntries.clear();
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    delete k2::SoundTags::Instance();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    delete render::ParticleSystem::Instance();
    delete RuvResources::Instance();
    GameFolderTest::TearDown();
  }

  RuvUnit& AddUnit(int kind, float x, float y) {
    mEntries.push_back(std::make_unique<RuvWaveEntry>());
    mEntries.back()->protoId = kind;
    mEntries.back()->upgrade = 1;
    auto unit = std::make_unique<RuvUnit>(*mMap, *mEntries.back());
    unit->position = math::Point2(x, y);
    mMap->mWaves->units.push_back(std::move(unit));
    return *mMap->mWaves->units.back();
  }

  // A tower of the library prototype at (x, y), on the spot entry when one is given.
  RuvTower& AddTower(int id, float x, float y, RuvFrameEntry* spot = nullptr) {
    auto tower = std::make_unique<RuvTower>(*mMap);
    tower->spot = spot;
    tower->setProto(mMap->mProtos->findProto(id));
    tower->position = tower->anchor = math::Point2(x, y);
    mMap->mTowers.push_back(std::move(tower));
    return *mMap->mTowers.back();
  }

  // A spot entry at (x, y) with the named values of a "spot" element's children, for example
  // R"(<a name="radius_mult" value="1.5"/>)".
  RuvFrameEntry* AddSpot(float x, float y, const std::string& values) {
    tinyxml2::XMLDocument document;
    document.Parse(("<spot>" + values + "</spot>").c_str());
    RuvLevelSpot definition;
    definition.x = x;
    definition.y = y;
    definition.attributes = RuvAttributes(document.FirstChildElement("spot"));
    mMap->mSpotDefs.push_back(std::make_unique<RuvSpot>(definition));
    return mMap->mSpots->addSpot(*mMap->mSpotDefs.back(), static_cast<int>(mMap->mSpotDefs.size()) - 1, false);
  }

  // Upgrades from text, with the bought step of each upgrade id.
  void SetUpgrades(const std::string& text, const std::vector<std::pair<int, int>>& bought) {
    mMap->mUpgrades = std::make_unique<RuvUpgrades>(text, mMap.get());
    for (const auto& [id, level] : bought) mMap->mProgress->setUpgradeLevel(id, level);
  }

  fakes::ScriptedBass mBass;
  fakes::RecordingRender mRender;
  std::unique_ptr<RuvMap> mMap;
  std::vector<std::unique_ptr<RuvWaveEntry>> mEntries;
};

}  // namespace combattest
