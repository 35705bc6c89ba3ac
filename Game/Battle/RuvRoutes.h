#pragma once
#include <map>
#include <string>
#include <vector>

#include "Game/App/RuvAttributes.h"
#include "Game/Art/RuvGeometry.h"

// A point of the enemies' graph, in map pixels (already scaled by the map scale).
struct RuvPoint {
  int id = 0;
  float x = 0.0f;
  float y = 0.0f;
  // "spawn" 1 marks a spawn point, "goal" 1 the goal, "upper" the drawing layer of leaving units.
  RuvAttributes attributes{nullptr};

  bool isSpawn() const;
  bool isGoal() const;
};

// A quadratic curve from the point startId through the control point to the point endId; for the
// graph it joins its two points both ways.
struct RuvLink {
  int startId = 0;
  int endId = 0;
  float controlX = 0.0f;
  float controlY = 0.0f;
};

using RuvPointList = std::vector<RuvPoint>;
using RuvLinkList = std::vector<RuvLink>;
// A unit's copy of a lane: references to samples the route table owns.
using RuvPolyline = std::vector<const RuvPathPoint*>;

// One lane an enemy will walk: a wave's spawn point id (-1: the first spawn point) and the lane key
// of one of its entries.
struct RuvLaneDemand {
  int spawnId = -1;
  int laneKey = 0;
};

// Sampled curves for every (link, lane) some enemy walks, by index into the level's link list.
class RuvRouteTable {
 public:
  struct Record {
    int link = -1;
    std::map<int, float> pairs;  // kept from the route cache; the game does not read it
    std::map<int, std::vector<RuvPathPoint>> lanes;
  };

  bool empty() const { return mRecords.empty(); }
  const std::vector<Record>& records() const { return mRecords; }

 private:
  std::vector<Record> mRecords;
};
