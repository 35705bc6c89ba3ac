#pragma once
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "Core/Base/Result.h"
#include "Core/Math/Point.h"
#include "Game/Tables/RuvAttributes.h"
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

// The lane key of a wave entry's "y": trunc(((-y - 65) / 65) * 20); as a float it is the sideways
// offset of the lane in pixels. y = 0 gives -20, y = -65 gives 0.
int laneKey(float entryY);
// The position at p in [0, 1] along the polyline, between its samples; the first sample below 0 and
// the last from 1 on; (0, 0) for an empty polyline.
math::Point2 polylinePosition(const RuvPolyline& polyline, float p);
// How far the progress along the polyline moves for a walk of the given length: the length over the
// first two samples' distance over the number of segments. 0 for a polyline of fewer than two
// samples or whose first two samples coincide, so that such a lane never divides by zero.
float polylineAdvance(const RuvPolyline& polyline, float length);

// The level's graph over its point and link lists (document order), which it does not own. Links
// are undirected; a link whose end names no point joins nothing.
class RuvGraph {
 public:
  RuvGraph(const RuvPointList& points, const RuvLinkList& links) : mPoints(points), mLinks(links) {}

  const RuvPointList& points() const { return mPoints; }
  const RuvLinkList& links() const { return mLinks; }

  // The first point with that id; null when none.
  const RuvPoint* findPoint(int id) const;
  // The first point whose "spawn" (or "goal") is 1; null when none.
  const RuvPoint* firstSpawnPoint() const;
  const RuvPoint* firstGoalPoint() const;
  // Index of the first link with one end at a's id and the other at b's id, either way; -1 when none.
  int findLink(const RuvPoint& a, const RuvPoint& b) const;
  // The straight distance between a and b when a link joins them, else -1.
  float linkDistance(const RuvPoint& a, const RuvPoint& b) const;
  // The unit normal of the link's curve at t (capped at 1), measured toward t + 0.01; (0, 0) where
  // the curve has no extent or an end names no point.
  math::Point2 linkNormal(const RuvLink& link, float t) const;
  // Point ids of the shortest route in straight-line steps, start first and goal last. Empty when
  // the goal cannot be reached, when start and goal are the same point, or when either is not a
  // point of this graph.
  std::vector<int> findRoute(const RuvPoint& start, const RuvPoint& goal) const;
  // The links of a route, in order: the first link joining each pair of consecutive ids (-1 where
  // none does).
  std::vector<int> routeLinks(const std::vector<int>& route) const;

 private:
  const RuvPointList& mPoints;
  const RuvLinkList& mLinks;
};

// One lane an enemy will walk: a wave's spawn point id (-1: the first spawn point) and the lane key
// of one of its entries.
struct RuvLaneDemand {
  int spawnId = -1;
  int laneKey = 0;
};

// Sampled curves for every (link, lane) some enemy walks; links are indices into the level's link
// list. Polylines handed out refer to samples the table owns: they stay valid until the table is
// cleared or rebuilt, or the same (link, lane) is stored again.
class RuvRouteTable {
 public:
  struct Record {
    int link = -1;
    std::map<int, float> pairs;  // kept from the route cache; the game does not read it
    std::map<int, std::vector<RuvPathPoint>> lanes;
  };

  // "ruv/levels_normal/level_EE_LL.cache" ("levels_hardcore" in mode 3), from 0-based indices.
  static std::u16string cachePath(int mode, int episode, int level);

  // Empties the table, then reads the cache at cachePath; when it is missing or broken, samples
  // every link of the shortest route from each spawn point to the (last) goal for the lanes of the
  // waves starting there.
  void build(const RuvGraph& graph, const std::vector<RuvLaneDemand>& lanes, const std::u16string& cachePath);
  void clear() { mRecords.clear(); }
  // VN_OK when the cache file was read into the (emptied) table. A file that cannot be opened, or
  // whose content is broken (logged), leaves the table empty and fails. linkCount bounds the indices.
  VNResultEnum loadCache(const std::u16string& path, size_t linkCount);

  // Copies references to the stored samples of (link, lane) into polyline; leaves it unchanged
  // when nothing is stored.
  void findRoute(int link, int lane, RuvPolyline& polyline) const;
  // As findRoute, but samples and stores a lane that is not stored yet (a valid link only).
  void findOrSampleRoute(const RuvGraph& graph, int link, int lane, RuvPolyline& polyline);
  // Stores the samples under (link, lane), replacing stored ones; appends a record when needed.
  void storeRoute(int link, int lane, std::vector<RuvPathPoint> samples);

  bool empty() const { return mRecords.empty(); }
  const std::vector<Record>& records() const { return mRecords; }
  // For the cache reader: appends a record as it was read.
  void appendRecord(Record record) { mRecords.push_back(std::move(record)); }

 private:
  Record* findRecord(int link);
  const Record* findRecord(int link) const;
  void sampleMissingLane(const RuvGraph& graph, int link, int lane);
  void computeRoutes(const RuvGraph& graph, const std::vector<RuvLaneDemand>& lanes);

  std::vector<Record> mRecords;
};
// Appending a record moves the others: their samples must stay where the units' polylines point.
static_assert(std::is_nothrow_move_constructible_v<RuvRouteTable::Record>);
