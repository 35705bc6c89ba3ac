#pragma once
// The level's waves and the live units: starts the wave groups one after another, spawns their due
// entries, reaps units that died or got through, pays the wipe award and wins the level after the
// last group.
#include <memory>
#include <vector>

#include "Game/Battle/RuvUnit.h"
#include "Game/Battle/RuvWaveProto.h"

class RuvMap;
struct RuvLevelWave;
struct RuvPoint;

class RuvWaveManager : public RuvEntrySpawner {
 public:
  // The time nextHintTime gives while no wave is active.
  static constexpr float kNoHintTime = 10000000.0f;

  RuvWaveManager();
  ~RuvWaveManager() override;
  RuvWaveManager(const RuvWaveManager&) = delete;
  RuvWaveManager& operator=(const RuvWaveManager&) = delete;

  // Deletes the live units, then the old waves; takes the level file's waves for the map's level.
  // The map's protos, points, wallet, HUD and hint are reached through it from then on.
  void load(const std::vector<RuvLevelWave>& levelWaves, float levelWavesTimeout, RuvMap& map);
  // Game seconds: starts and spawns the waves, reaps finished units, wins after the last group.
  virtual void update(float dt);
  // Deletes the live units and the waves; the manager belongs to no level until the next load.
  void unload();
  // A level's waves were loaded (a level file that could not be read leaves none).
  bool hasLevel() const { return mMap != nullptr; }
  // A restart without reloading: every wave waiting again, entries added while playing removed.
  void reset();
  // Deletes every live unit (before their waves: a unit points at its entry).
  void deleteUnits();
  // Waves that are not linked to another: the count the HUD shows.
  int waveCount() const;
  // The manager clock and every active wave's clock (the early call).
  void setClock(float t);
  // The least over the active waves of timeout + min(0, smallest "x") / 45; kNoHintTime without any.
  float nextHintTime() const;
  // Creates and lists the entry's unit at the point (not routed yet) and marks the entry spawned.
  // Null, and the entry counts as killed, when the entry names no prototype.
  RuvUnit* spawnUnit(RuvWaveEntry& entry, const RuvPoint& point);
  // Appends every live unit whose position lies within diameter / 2 of (x, y), in list order.
  void unitsInCircle(float x, float y, float diameter, std::vector<RuvUnit*>& out) const;
  // The first live unit whose picking rectangle holds the point, edges included; null when none.
  RuvUnit* unitAt(float x, float y) const;
  // Game seconds: the modifiers held by each live unit, in order.
  virtual void updateUnitModifiers(float dt);

  std::vector<RuvWaveProto*> activeWaves;  // not owned
  std::vector<std::unique_ptr<RuvWaveProto>> waves;
  std::vector<std::unique_ptr<RuvUnit>> units;  // live units, in spawn order
  unsigned currentIndex = 0;                    // the next wave to start
  int finishedCount = 0;                        // wave groups that ended
  float wavesTimeout = 0.0f;
  float clock = 0.0f;  // seconds since the last wave group ended

 private:
  // RuvEntrySpawner: a due entry at the wave's spawn point id (-1 the first spawn point).
  void spawnEntry(RuvWaveEntry& entry, int spawnPointId) override;
  void waveEvent(const char* name) override;

  void reapUnits();
  void startNextGroup();
  void updateActiveWaves(float dt);
  const RuvPoint* spawnPointOf(int spawnPointId) const;

  RuvMap* mMap = nullptr;
};
