#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class RuvWaveProto;
struct RuvLevelWave;

// One spawn entry of a wave: which unit, which tier, when and on which lane. Owned by its wave.
struct RuvWaveEntry {
  static constexpr int kWaiting = -1;
  static constexpr int kSpawned = 7;
  static constexpr int kKilled = 2;
  static constexpr int kGotThrough = 3;
  // Spawn time of entries added while playing (released or raised units).
  static constexpr float kAddedWhilePlaying = -1.0f;

  bool isOver() const { return state == kKilled || state == kGotThrough; }

  int state = kWaiting;
  int protoId = 0;
  int upgrade = 0;  // tier level + 1
  float x = 0.0f;   // spawn time in 1/45 s after the wave's time zero
  float y = 0.0f;   // lane
  int spawned = 0;
  RuvWaveProto* wave = nullptr;
};

// Creates the unit of a due entry; the wave manager in the game, a recorder in tests.
class RuvEntrySpawner {
 public:
  virtual ~RuvEntrySpawner() = default;
  virtual void spawnEntry(RuvWaveEntry& entry, int spawnPointId) = 0;
  // The tutorial's wave events.
  virtual void waveEvent(const char* name) = 0;
};

// One wave of a level: entries spawned at the wave's spawn point once their time is due.
class RuvWaveProto {
 public:
  // A waiting wave without entries.
  RuvWaveProto() = default;
  // A waiting wave with the entries of the level file's wave, all waiting and not spawned.
  explicit RuvWaveProto(const RuvLevelWave& wave);
  virtual ~RuvWaveProto();

  // Advances the clock; an active wave spawns its due entries through the spawner.
  virtual void update(float dt, RuvEntrySpawner& spawner);
  // Every entry killed or through (true without entries).
  virtual bool isFinished() const;
  // A unit of this wave left the game; nothing to do.
  virtual void onUnitKilled(int protoId, float seconds, RuvWaveEntry* entry);

  // The entry's time: scale * (x / 45) + timeout.
  float dueTime(const RuvWaveEntry& entry) const;
  // Every entry killed (none got through): the wipe award is earned.
  bool isWipedOut() const;
  // Appends an already spawned entry for a unit that appears while playing (x = -1).
  RuvWaveEntry& addSpawnedEntry(int protoId, int upgrade, float y);
  // Back to the state after loading: inactive, clock 0, entries added while playing removed.
  void reset();

  float clock = 0.0f;
  int active = 0;
  int spawnPointId = 0;
  int timeout = 0;  // with the "waves" element's own, whole seconds
  int wipeAward = 0;
  int linked = -1;
  float scale = 1.0f;
  int spawnedCount = 0;
  std::vector<std::unique_ptr<RuvWaveEntry>> entries;
};
