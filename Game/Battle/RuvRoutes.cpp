#include "Game/Battle/RuvRoutes.h"

#include <cmath>
#include <cstdio>

#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/File/FileHandleWin32.h"
#include "Game/Battle/RuvDijkstra.h"
#include "Game/Battle/RuvRouteCache.h"

namespace {

constexpr int kRouteSampleSteps = 20;

math::Point2 pointPosition(const RuvPoint& point) { return {point.x, point.y}; }

}  // namespace

bool RuvPoint::isSpawn() const { return attributes.getFloat("spawn") == 1.0f; }

bool RuvPoint::isGoal() const { return attributes.getFloat("goal") == 1.0f; }

int laneKey(float entryY) { return static_cast<int>(((-entryY - 65.0f) / 65.0f) * 20.0f); }

math::Point2 polylinePosition(const RuvPolyline& polyline, float p) {
  if (polyline.empty()) return {};
  const size_t n = polyline.size();
  const float scaled = static_cast<float>(n - 1) * p;
  const float floored = std::floor(scaled);
  // Negative or non-finite progress is a caller's fault; clamp the index rather than read outside.
  const size_t i = floored > 0.0f ? std::min(static_cast<size_t>(floored), n - 1) : 0;
  const RuvPathPoint& a = *polyline[i];
  if (i + 1 >= n) return {a.x, a.y};
  const RuvPathPoint& b = *polyline[i + 1];
  const float f = scaled - static_cast<float>(i);
  return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

float polylineAdvance(const RuvPolyline& polyline, float length) {
  if (polyline.size() < 2) return 0.0f;
  const float spacing = std::hypot(polyline[1]->x - polyline[0]->x, polyline[1]->y - polyline[0]->y);
  if (spacing == 0.0f) return 0.0f;
  return length / spacing / static_cast<float>(polyline.size() - 1);
}

const RuvPoint* RuvGraph::findPoint(int id) const {
  for (const RuvPoint& point : mPoints) {
    if (point.id == id) return &point;
  }
  return nullptr;
}

const RuvPoint* RuvGraph::firstSpawnPoint() const {
  for (const RuvPoint& point : mPoints) {
    if (point.isSpawn()) return &point;
  }
  return nullptr;
}

const RuvPoint* RuvGraph::firstGoalPoint() const {
  for (const RuvPoint& point : mPoints) {
    if (point.isGoal()) return &point;
  }
  return nullptr;
}

int RuvGraph::findLink(const RuvPoint& a, const RuvPoint& b) const {
  for (size_t i = 0; i < mLinks.size(); ++i) {
    const RuvLink& link = mLinks[i];
    if ((link.startId == a.id && link.endId == b.id) || (link.startId == b.id && link.endId == a.id)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

float RuvGraph::linkDistance(const RuvPoint& a, const RuvPoint& b) const {
  if (findLink(a, b) < 0) return -1.0f;
  return std::hypot(b.x - a.x, b.y - a.y);
}

math::Point2 RuvGraph::linkNormal(const RuvLink& link, float t) const {
  const RuvPoint* start = findPoint(link.startId);
  const RuvPoint* end = findPoint(link.endId);
  if (!start || !end) return {};
  t = std::min(t, 1.0f);
  const math::Point2 control{link.controlX, link.controlY};
  const math::Point2 here = quadBezierPoint(pointPosition(*start), control, pointPosition(*end), t);
  const math::Point2 ahead = quadBezierPoint(pointPosition(*start), control, pointPosition(*end), t + 0.01f);
  const float dx = ahead.x - here.x;
  const float dy = ahead.y - here.y;
  const float length = std::hypot(dx, dy);
  if (length == 0.0f) return {};
  return {-dy / length, dx / length};
}

std::vector<int> RuvGraph::findRoute(const RuvPoint& start, const RuvPoint& goal) const {
  MapExtractor extractor;
  extractor.extract(*this);
  return Dijkstra(extractor, *this).findPath(start, goal);
}

std::vector<int> RuvGraph::routeLinks(const std::vector<int>& route) const {
  std::vector<int> links;
  for (size_t i = 0; i + 1 < route.size(); ++i) {
    const RuvPoint* a = findPoint(route[i]);
    const RuvPoint* b = findPoint(route[i + 1]);
    links.push_back(a && b ? findLink(*a, *b) : -1);
  }
  return links;
}

std::u16string RuvRouteTable::cachePath(int mode, int episode, int level) {
  char name[96];
  std::snprintf(name, sizeof name, "ruv/levels_%s/level_%02d_%02d.cache", mode == 3 ? "hardcore" : "normal",
                episode + 1, level + 1);
  return base::ToWide(name, base::kEncodingUtf8);
}

void RuvRouteTable::build(const RuvGraph& graph, const std::vector<RuvLaneDemand>& lanes,
                          const std::u16string& cachePath) {
  mRecords.clear();
  if (loadCache(cachePath, graph.links().size()) == VN_OK) return;
  computeRoutes(graph, lanes);
}

void RuvRouteTable::computeRoutes(const RuvGraph& graph, const std::vector<RuvLaneDemand>& lanes) {
  // Units walk to the first goal; a level has one, and this search has always used the last.
  const RuvPoint* goal = nullptr;
  for (const RuvPoint& point : graph.points()) {
    if (point.isGoal()) goal = &point;
  }
  const RuvPoint* firstSpawn = graph.firstSpawnPoint();
  if (!goal || !firstSpawn) return;
  for (const RuvPoint& spawn : graph.points()) {
    if (!spawn.isSpawn()) continue;
    const std::vector<int> links = graph.routeLinks(graph.findRoute(spawn, *goal));
    for (const RuvLaneDemand& demand : lanes) {
      // A wave's units appear at the first spawn point when it names none.
      const int spawnId = demand.spawnId == -1 ? firstSpawn->id : demand.spawnId;
      if (spawnId != spawn.id) continue;
      for (int link : links) sampleMissingLane(graph, link, demand.laneKey);
    }
  }
}

VNResultEnum RuvRouteTable::loadCache(const std::u16string& path, size_t linkCount) {
  mRecords.clear();
  file::FileHandleWin32 handle;
  if (handle.Open(path, file::FileHandleWin32::kRead, file::FileHandleWin32::kOpenExisting) != VN_OK) return VN_FAIL;
  std::string bytes(handle.GetSize(), '\0');
  unsigned count = 0;
  if (!bytes.empty() && (handle.Read(bytes.data(), static_cast<unsigned>(bytes.size()), &count) != VN_OK ||
                         count != bytes.size())) {
    base::LogBlock(u"RuvRouteTable: cannot read the route cache '%s', the routes are computed.\n") % path;
    return VN_FAIL;
  }
  std::string error;
  if (!decodeRouteCache(bytes, linkCount, *this, error)) {
    base::LogBlock(u"RuvRouteTable: the route cache '%s' is broken (%s), the routes are computed.\n") % path %
        base::ToWide(error, base::kEncodingUtf8);
    return VN_FAIL;
  }
  return VN_OK;
}

RuvRouteTable::Record* RuvRouteTable::findRecord(int link) {
  for (Record& record : mRecords) {
    if (record.link == link) return &record;
  }
  return nullptr;
}

const RuvRouteTable::Record* RuvRouteTable::findRecord(int link) const {
  return const_cast<RuvRouteTable*>(this)->findRecord(link);
}

void RuvRouteTable::findRoute(int link, int lane, RuvPolyline& polyline) const {
  const Record* record = findRecord(link);
  if (!record) return;
  const auto found = record->lanes.find(lane);
  if (found == record->lanes.end()) return;
  polyline.clear();
  polyline.reserve(found->second.size());
  for (const RuvPathPoint& sample : found->second) polyline.push_back(&sample);
}

void RuvRouteTable::findOrSampleRoute(const RuvGraph& graph, int link, int lane, RuvPolyline& polyline) {
  sampleMissingLane(graph, link, lane);
  findRoute(link, lane, polyline);
}

void RuvRouteTable::storeRoute(int link, int lane, std::vector<RuvPathPoint> samples) {
  Record* record = findRecord(link);
  if (!record) {
    mRecords.emplace_back();
    record = &mRecords.back();
    record->link = link;
  }
  record->lanes[lane] = std::move(samples);
}

void RuvRouteTable::sampleMissingLane(const RuvGraph& graph, int link, int lane) {
  const Record* record = findRecord(link);
  if (record) {
    const auto found = record->lanes.find(lane);
    if (found != record->lanes.end() && !found->second.empty()) return;
  }
  if (link < 0 || static_cast<size_t>(link) >= graph.links().size()) return;
  const RuvLink& curve = graph.links()[link];
  const RuvPoint* start = graph.findPoint(curve.startId);
  const RuvPoint* end = graph.findPoint(curve.endId);
  if (!start || !end) return;
  std::vector<RuvPathPoint> samples;
  sampleBezierPath(pointPosition(*start), {curve.controlX, curve.controlY}, pointPosition(*end),
                   static_cast<float>(lane), kRouteSampleSteps, samples);
  storeRoute(link, lane, std::move(samples));
}
