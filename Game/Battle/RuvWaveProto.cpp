#include "Game/Battle/RuvWaveProto.h"

#include <algorithm>

#include "Game/Battle/RuvLevelFile.h"

RuvWaveProto::RuvWaveProto(const RuvLevelWave& wave)
    : spawnPointId(wave.spawn),
      timeout(wave.timeout),
      wipeAward(wave.wipeAward),
      linked(wave.linked),
      scale(wave.scale) {
  for (const RuvLevelEntry& fileEntry : wave.entries) {
    auto entry = std::make_unique<RuvWaveEntry>();
    entry->protoId = fileEntry.id;
    entry->upgrade = fileEntry.upgrade;
    entry->x = fileEntry.x;
    entry->y = fileEntry.y;
    entry->wave = this;
    entries.push_back(std::move(entry));
  }
}

RuvWaveProto::~RuvWaveProto() = default;

float RuvWaveProto::dueTime(const RuvWaveEntry& entry) const {
  return scale * (entry.x / 45.0f) + static_cast<float>(timeout);
}

void RuvWaveProto::update(float dt, RuvEntrySpawner& spawner) {
  clock += dt;
  if (!active) return;
  if (clock < 1.0f) spawner.waveEvent("wave_1_spawned_0");
  // Index walk: a spawn may append entries (a unit released at once) without disturbing it.
  for (size_t i = 0; i < entries.size(); ++i) {
    RuvWaveEntry& entry = *entries[i];
    if (entry.spawned || clock < dueTime(entry)) continue;
    entry.spawned = 1;
    entry.state = RuvWaveEntry::kSpawned;
    spawner.spawnEntry(entry, spawnPointId);
    ++spawnedCount;
    if (spawnedCount == 2) spawner.waveEvent("wave_1_spawned_2");
    if (spawnedCount == 9) spawner.waveEvent("wave_1_spawned_10");
  }
}

bool RuvWaveProto::isFinished() const {
  return std::all_of(entries.begin(), entries.end(), [](const auto& entry) { return entry->isOver(); });
}

bool RuvWaveProto::isWipedOut() const {
  return std::all_of(entries.begin(), entries.end(),
                     [](const auto& entry) { return entry->state == RuvWaveEntry::kKilled; });
}

void RuvWaveProto::onUnitKilled(int, float, RuvWaveEntry*) {}

RuvWaveEntry& RuvWaveProto::addSpawnedEntry(int protoId, int upgrade, float y) {
  auto entry = std::make_unique<RuvWaveEntry>();
  entry->protoId = protoId;
  entry->upgrade = upgrade;
  entry->x = RuvWaveEntry::kAddedWhilePlaying;
  entry->y = y;
  entry->spawned = 1;
  entry->state = RuvWaveEntry::kSpawned;
  entry->wave = this;
  entries.push_back(std::move(entry));
  return *entries.back();
}

void RuvWaveProto::reset() {
  active = 0;
  clock = 0.0f;
  spawnedCount = 0;
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [](const auto& entry) { return entry->x == RuvWaveEntry::kAddedWhilePlaying; }),
                entries.end());
  for (auto& entry : entries) {
    entry->state = RuvWaveEntry::kWaiting;
    entry->spawned = 0;
  }
}
