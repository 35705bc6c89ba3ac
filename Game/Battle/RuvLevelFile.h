#pragma once
#include <string>
#include <vector>

#include "Core/Base/Result.h"
#include "Game/Tables/RuvAttributes.h"
#include "Game/Battle/RuvRoutes.h"

// One spawn entry of a wave: a unit prototype id, its tier plus one ("upgrade", 0 when absent), its
// spawn time in 1/45 s after the wave's time zero ("x") and its lane ("y").
struct RuvLevelEntry {
  int id = 0;
  int upgrade = 0;
  float x = 0.0f;
  float y = 0.0f;
};

// One wave as the wave manager starts it.
struct RuvLevelWave {
  int timeout = 0;  // the file's "timeout" plus the floored "timeout" of "waves"
  int spawn = 0;    // a point id; -1 names the first spawn point
  int wipeAward = 0;
  float scale = 1.0f;  // 0 reads as 1
  int linked = -1;     // index of the kept wave this one starts with; -1 none
  std::vector<RuvLevelEntry> entries;
};

// A build spot: its centre in map pixels (not scaled) and its named values ("cost_gold",
// "cost_real", "type", "tower_id", "radius_mult", "damage_mult", "income_mult").
struct RuvLevelSpot {
  float x = 0.0f;
  float y = 0.0f;
  RuvAttributes attributes{nullptr};
};

// What a level file holds, read by readLevelFile.
struct RuvLevelFile {
  // "ruv/data/" followed by the part of "li" after its last "/ruv/data/": the scenery's layout.
  std::string layoutPath;
  int budget = 0;
  RuvPointList points;  // scaled by the map scale
  RuvLinkList links;    // control points scaled by the map scale
  std::vector<RuvLevelSpot> spots;
  float wavesTimeout = 0.0f;
  std::vector<RuvLevelWave> waves;  // waves without entries are dropped

  // The lanes the route table samples: every entry's lane at its wave's spawn point, in order.
  std::vector<RuvLaneDemand> laneDemands() const;
};

// "ruv/levels_normal/level_EE_LL.xml" ("levels_hardcore" in mode 3), from 0-based indices.
std::u16string levelFilePath(int mode, int episode, int level);

// Reads the level file through the file manager. A file that is missing or does not parse, whose
// root "map" lacks "li", "budget", "points" or "links", or whose "li" has no "/ruv/data/", fails
// (logged) and leaves level empty: such a level is not playable.
VNResultEnum readLevelFile(const std::u16string& path, float mapScale, RuvLevelFile& level);
