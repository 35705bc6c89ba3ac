#pragma once
// A battle map on a temporary data root whose units sheet and level files the test writes: a
// straight road from a spawn point to the goal, waves given as XML.
#include <string>

#include "BattleMapScene.h"

namespace battletest {

class LevelSceneTest : public BattleMapTest {
 protected:
  // Test kinds: 1 walker (health 100, speed 100, strength 2.5, cost 10), 7 with a tier 70 (levelid
  // 1, health 300), 11 carried, 12 carrier, 39 raised, 5 necromancer (r 200, slow), 6 straight
  // flyer, 8 exploder (30 within 100); 20 and 21 walkers with the sample art "unit0" at 10 and 0
  // frames per second.
  void SetUp() override;
  // The text of a level of one road of the given length (spawn point 0 at (100, 300), the goal
  // point 1 to its right) with these waves.
  static std::string LevelText(const std::string& waves, float length = 400.0f, int budget = 150);
  // LevelText written at the path of (mode, episode, level); a wave's default spawn 0 is the spawn
  // point.
  void WriteLevel(int mode, int episode, int level, const std::string& waves, float length = 400.0f, int budget = 150);
  // Sets mode, episode and level and starts the level.
  void Start(int mode, int episode, int level);
  // Runs the map at 1/60 s ticks for that long.
  void Run(float seconds);
  RuvUnit* Unit(size_t index) { return mMap->mWaves->units.at(index).get(); }
};

}  // namespace battletest
