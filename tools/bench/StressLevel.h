#pragma once
// The stress level of tests/data/levels (500 tough enemies on a long winding road that cost no
// lives, 40 build spots) installed as level 9_1 in a battle harness with every tower unlocked, and
// the script that builds a tower on every spot at once.
#include <string>

#include "tests/harness/BattleHarness.h"

namespace bench {

// Writes the level, its map layers and units sheet into the harness's data root; run is pointed at
// the level and given the 40 builds.
void InstallStressLevel(harness::BattleHarness& battle, harness::BattleRun& run);

}  // namespace bench
