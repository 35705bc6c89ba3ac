#include "Game/Entities/RuvWaveProto.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>

namespace {

// A present attribute that does not parse reads 0, as the level editor's reader did.
int WaveIntAttribute(const tinyxml2::XMLElement& element, const char* name, int absent) {
  const char* text = element.Attribute(name);
  if (!text) return absent;
  int value = 0;
  if (element.QueryIntAttribute(name, &value) != tinyxml2::XML_SUCCESS) return 0;
  return value;
}

float WaveFloatAttribute(const tinyxml2::XMLElement& element, const char* name, float absent) {
  if (!element.Attribute(name)) return absent;
  float value = 0.0f;
  if (element.QueryFloatAttribute(name, &value) != tinyxml2::XML_SUCCESS) return 0.0f;
  return value;
}

}  // namespace

int RuvWaveEntry::laneKey() const { return static_cast<int>(((-y - 65.0f) / 65.0f) * 20.0f); }

RuvWaveProto::RuvWaveProto(const tinyxml2::XMLElement& element, int wavesTimeout) {
  timeout = WaveIntAttribute(element, "timeout", 0);
  spawnPointId = WaveIntAttribute(element, "spawn", 0);
  wipeAward = WaveIntAttribute(element, "wipeAward", 0);
  scale = WaveFloatAttribute(element, "scale", 1.0f);
  if (scale == 0.0f) scale = 1.0f;
  linked = WaveIntAttribute(element, "linked", -1);
  for (const tinyxml2::XMLElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
    auto entry = std::make_unique<RuvWaveEntry>();
    entry->protoId = WaveIntAttribute(*child, "id", 0);
    entry->upgrade = WaveIntAttribute(*child, "upgrade", 0);
    entry->x = WaveFloatAttribute(*child, "x", 0.0f);
    entry->y = WaveFloatAttribute(*child, "y", 0.0f);
    entry->wave = this;
    entries.push_back(std::move(entry));
  }
  timeout += wavesTimeout;
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
