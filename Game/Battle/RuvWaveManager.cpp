#include "Game/Battle/RuvWaveManager.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Core/Base/LogMessage.h"
#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRoutes.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveHint.h"
#include "Game/Battle/RuvModifiers.h"
#include "Game/Tables/RuvProtos.h"

RuvWaveManager::RuvWaveManager() = default;

RuvWaveManager::~RuvWaveManager() { deleteUnits(); }

void RuvWaveManager::deleteUnits() { units.clear(); }

void RuvWaveManager::unload() {
  mMap = nullptr;
  deleteUnits();
  waves.clear();
  activeWaves.clear();
  currentIndex = 0;
  clock = 0.0f;
}

void RuvWaveManager::load(const std::vector<RuvLevelWave>& levelWaves, float levelWavesTimeout, RuvMap& map) {
  unload();
  mMap = &map;
  wavesTimeout = levelWavesTimeout;
  for (const RuvLevelWave& wave : levelWaves) waves.push_back(std::make_unique<RuvWaveProto>(wave));
}

void RuvWaveManager::reset() {
  activeWaves.clear();
  finishedCount = 0;
  for (auto& wave : waves) wave->reset();
}

int RuvWaveManager::waveCount() const {
  return static_cast<int>(std::count_if(waves.begin(), waves.end(), [](const auto& w) { return w->linked == -1; }));
}

void RuvWaveManager::setClock(float t) {
  clock = t;
  for (RuvWaveProto* wave : activeWaves) wave->clock = t;
}

float RuvWaveManager::nextHintTime() const {
  float least = kNoHintTime;
  for (const RuvWaveProto* wave : activeWaves) {
    float m = 0.0f;
    for (const auto& entry : wave->entries) m = std::min(m, entry->x);
    least = std::min(least, static_cast<float>(wave->timeout) + m / 45.0f);
  }
  return least;
}

const RuvPoint* RuvWaveManager::spawnPointOf(int spawnPointId) const {
  const RuvGraph graph(mMap->mPoints, mMap->mLinks);
  return spawnPointId == -1 ? graph.firstSpawnPoint() : graph.findPoint(spawnPointId);
}

void RuvWaveManager::update(float dt) {
  if (!mMap) return;
  clock += dt;
  RuvWaveHint* hint = mMap->mWaveHint.get();
  if (hint && !hint->marks.empty() && clock >= hint->dueTime) hint->clear();
  reapUnits();
  if (activeWaves.empty()) startNextGroup();
  if (!activeWaves.empty()) updateActiveWaves(dt);
}

void RuvWaveManager::reapUnits() {
  for (size_t i = 0; i < units.size();) {
    RuvUnit& unit = *units[i];
    if (unit.alive) {
      ++i;
      continue;
    }
    RuvWaveEntry& entry = *unit.entry;
    entry.state = unit.gotThrough ? RuvWaveEntry::kGotThrough : RuvWaveEntry::kKilled;
    if (!unit.gotThrough && entry.wave->isWipedOut()) mMap->mWallet->addMoney(entry.wave->wipeAward);
    mMap->onUnitRemoved(&unit);
    units.erase(units.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void RuvWaveManager::startNextGroup() {
  if (currentIndex >= waves.size()) {
    mMap->winLevel();
    return;
  }
  RuvWaveProto* wave = waves[currentIndex].get();
  while (wave->linked != -1) {
    ++currentIndex;
    mMap->mNotices->updateWaveText();
    // Only linked waves were left: nothing starts, and the next update wins the level.
    if (currentIndex >= waves.size()) return;
    wave = waves[currentIndex].get();
  }
  wave->active = 1;
  activeWaves.push_back(wave);
  for (const auto& other : waves) {
    if (other->linked != static_cast<int>(currentIndex)) continue;
    other->active = 1;
    activeWaves.push_back(other.get());
  }
  RuvWaveHint* hint = mMap->mWaveHint.get();
  if (!hint) return;
  for (const RuvWaveProto* active : activeWaves) {
    if (const RuvPoint* point = spawnPointOf(active->spawnPointId)) hint->addHint(point->x, point->y);
  }
  hint->dueTime = nextHintTime();
}

void RuvWaveManager::updateActiveWaves(float dt) {
  for (RuvWaveProto* wave : activeWaves) wave->update(dt, *this);
  if (!std::all_of(activeWaves.begin(), activeWaves.end(), [](const RuvWaveProto* w) { return w->isFinished(); }))
    return;
  clock = 0.0f;
  activeWaves.clear();
  waveEvent(("wave_vanish_" + std::to_string(currentIndex + 1)).c_str());
  ++currentIndex;
  ++finishedCount;
  mMap->mNotices->updateWaveText();
}

void RuvWaveManager::spawnEntry(RuvWaveEntry& entry, int spawnPointId) {
  const RuvPoint* point = spawnPointOf(spawnPointId);
  if (!point) {
    base::LogBlock(u"RuvWaveManager: spawn point %d does not exist, the entry counts as killed.\n") % spawnPointId;
    entry.state = RuvWaveEntry::kKilled;
    return;
  }
  mMap->spawnUnit(entry, *point);
}

void RuvWaveManager::waveEvent(const char* name) {
  const std::string text(name);
  mMap->mNotices->tutorialEvent(std::u16string(text.begin(), text.end()));
}

RuvUnit* RuvWaveManager::spawnUnit(RuvWaveEntry& entry, const RuvPoint& point) {
  entry.spawned = 1;
  if (!unitTierProto(mMap->mProtos.get(), entry)) {
    base::LogBlock(u"RuvWaveManager: no prototype %d, the entry counts as killed.\n") % entry.protoId;
    entry.state = RuvWaveEntry::kKilled;
    return nullptr;
  }
  units.push_back(std::make_unique<RuvUnit>(*mMap, entry));
  RuvUnit* unit = units.back().get();
  unit->spawnPoint = &point;
  unit->position = math::Point2(point.x, point.y);
  return unit;
}

void RuvWaveManager::unitsInCircle(float x, float y, float diameter, std::vector<RuvUnit*>& out) const {
  const float radius = diameter / 2.0f;
  for (const auto& unit : units) {
    const float dx = unit->position.x - x;
    const float dy = unit->position.y - y;
    if (std::sqrt(dx * dx + dy * dy) <= radius) out.push_back(unit.get());
  }
}

RuvUnit* RuvWaveManager::unitAt(float x, float y) const {
  for (const auto& unit : units) {
    const math::Rect r = unit->bounds();
    if (std::fabs(x - r.x) <= r.width / 2.0f && std::fabs(y - r.y) <= r.height / 2.0f) return unit.get();
  }
  return nullptr;
}

void RuvWaveManager::updateUnitModifiers(float dt) {
  for (const auto& unit : units) {
    for (const auto& modifier : unit->modifiers) modifier->update(unit.get(), dt);
  }
}
