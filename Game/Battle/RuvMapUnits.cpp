// The map's spawning of enemy units.
#include "Core/Base/LogMessage.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveManager.h"

RuvUnit* RuvMap::spawnUnit(RuvWaveEntry& entry, const RuvPoint& point) {
  RuvUnit* unit = mWaves->spawnUnit(entry, point);
  if (!unit) return nullptr;
  const RuvGraph graph(mPoints, mLinks);
  const RuvPoint* goal = graph.firstGoalPoint();
  std::vector<int> route;
  if (goal) route = unit->proto()->straight ? std::vector<int>{point.id, goal->id} : graph.findRoute(point, *goal);
  if (route.empty()) {
    // Nothing refers to the unit yet: it goes at once, and its wave can still end.
    base::LogBlock(u"RuvMap: no route from point %d to the goal, the entry counts as killed.\n") % point.id;
    mWaves->units.pop_back();
    entry.state = RuvWaveEntry::kKilled;
    return nullptr;
  }
  unit->setRoute(std::move(route), point);
  addUnitAbilities(*this, *unit);
  return unit;
}
