#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Game/Battle/RuvLevelFile.h"
#include "Game/Battle/RuvWaveProto.h"

namespace {

// Records the spawns and events a wave asks for; an entry of id 99 cannot be made (counts as killed).
struct RecordingSpawner : RuvEntrySpawner {
  void spawnEntry(RuvWaveEntry& entry, int spawnPointId) override {
    spawns.push_back({entry.protoId, spawnPointId});
    if (entry.protoId == 99) entry.state = RuvWaveEntry::kKilled;
  }
  void waveEvent(const char* name) override { events.push_back(name); }

  std::vector<std::pair<int, int>> spawns;
  std::vector<std::string> events;
};

// A level file's wave: spawn point, timeout (with the "waves" timeout already added), scale and
// entries of (id, x).
RuvLevelWave LevelWave(int spawn, int timeout, float scale, std::vector<std::pair<int, float>> entries) {
  RuvLevelWave wave;
  wave.spawn = spawn;
  wave.timeout = timeout;
  wave.scale = scale;
  for (const auto& [id, x] : entries) wave.entries.push_back(RuvLevelEntry{id, 1, x, -65.0f});
  return wave;
}

TEST(WavesProtoTest, TakesTheFileWaveWithEveryEntryWaiting) {
  RuvLevelWave file = LevelWave(3, 5, 2.0f, {{4, 45.0f}, {7, 0.0f}});
  file.wipeAward = 40;
  file.linked = 2;
  file.entries[0].upgrade = 2;
  RuvWaveProto wave(file);
  EXPECT_EQ(wave.timeout, 5);
  EXPECT_EQ(wave.spawnPointId, 3);
  EXPECT_EQ(wave.wipeAward, 40);
  EXPECT_EQ(wave.linked, 2);
  EXPECT_FLOAT_EQ(wave.scale, 2.0f);
  EXPECT_EQ(wave.active, 0);
  ASSERT_EQ(wave.entries.size(), 2u);
  const RuvWaveEntry& first = *wave.entries[0];
  EXPECT_EQ(first.protoId, 4);
  EXPECT_EQ(first.upgrade, 2);
  EXPECT_FLOAT_EQ(first.x, 45.0f);
  EXPECT_FLOAT_EQ(first.y, -65.0f);
  EXPECT_EQ(first.wave, &wave);
  for (const auto& entry : wave.entries) {
    EXPECT_EQ(entry->state, RuvWaveEntry::kWaiting);
    EXPECT_EQ(entry->spawned, 0);
  }
}

// Steps an active wave in 1/8 s ticks (exact in binary) and gives the clock at which each entry
// spawned.
std::vector<float> SpawnTimes(const RuvLevelWave& file) {
  RuvWaveProto wave(file);
  wave.active = 1;
  RecordingSpawner spawner;
  std::vector<float> times(wave.entries.size(), -1.0f);
  for (int tick = 1; tick <= 160; ++tick) {
    wave.update(0.125f, spawner);
    for (size_t i = 0; i < wave.entries.size(); ++i) {
      if (wave.entries[i]->spawned && times[i] < 0.0f) times[i] = tick * 0.125f;
    }
  }
  return times;
}

TEST(WavesProtoTest, DueRuleScalesTheEntryTimeAndAddsTheTimeout) {
  struct Case {
    int timeout;
    float scale, x;
    float expected;  // first tick at which clock >= scale * x / 45 + timeout
  };
  const Case cases[] = {{5, 2.0f, 45.0f, 7.0f},
                        {5, 1.0f, 45.0f, 6.0f},
                        {2, 1.0f, 90.0f, 4.0f},
                        {1, 0.5f, 0.0f, 1.0f},
                        {0, 0.5f, 90.0f, 1.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.timeout);
    SCOPED_TRACE(c.x);
    const std::vector<float> times = SpawnTimes(LevelWave(0, c.timeout, c.scale, {{1, c.x}}));
    ASSERT_EQ(times.size(), 1u);
    EXPECT_FLOAT_EQ(times[0], c.expected);
  }
}

TEST(WavesProtoTest, InactiveWaveCountsItsClockButSpawnsNothing) {
  RuvWaveProto wave(LevelWave(0, 0, 1.0f, {{1, 0.0f}}));
  RecordingSpawner spawner;
  wave.update(2.0f, spawner);
  EXPECT_FLOAT_EQ(wave.clock, 2.0f);
  EXPECT_TRUE(spawner.spawns.empty());
  EXPECT_TRUE(spawner.events.empty());
}

TEST(WavesProtoTest, SpawnsDueEntriesAtTheWaveSpawnPointWithTutorialEvents) {
  std::vector<std::pair<int, float>> entries;
  for (int i = 0; i < 10; ++i) entries.emplace_back(i, i * 45.0f);
  RuvWaveProto wave(LevelWave(6, 0, 1.0f, entries));
  wave.active = 1;
  RecordingSpawner spawner;
  wave.update(0.5f, spawner);  // entry 0 due, clock below 1
  ASSERT_EQ(spawner.spawns.size(), 1u);
  EXPECT_EQ(spawner.spawns[0], std::make_pair(0, 6));
  EXPECT_EQ(spawner.events, std::vector<std::string>{"wave_1_spawned_0"});
  EXPECT_EQ(wave.entries[0]->state, RuvWaveEntry::kSpawned);
  wave.update(0.5f, spawner);  // clock 1.0: entry 1
  EXPECT_EQ(spawner.events.back(), "wave_1_spawned_2");
  EXPECT_EQ(wave.spawnedCount, 2);
  wave.update(7.0f, spawner);  // clock 8.0: entries 2 to 8
  EXPECT_EQ(wave.spawnedCount, 9);
  EXPECT_EQ(spawner.events.back(), "wave_1_spawned_10");
  EXPECT_EQ(spawner.events.size(), 3u);
  EXPECT_FALSE(wave.isFinished());
}

TEST(WavesProtoTest, FinishedWhenEveryEntryIsKilledOrThrough) {
  RuvWaveProto wave(LevelWave(0, 0, 1.0f, {{1, 0.0f}, {2, 0.0f}}));
  EXPECT_FALSE(wave.isFinished());
  wave.entries[0]->state = RuvWaveEntry::kKilled;
  EXPECT_FALSE(wave.isFinished());
  EXPECT_FALSE(wave.isWipedOut());
  wave.entries[1]->state = RuvWaveEntry::kGotThrough;
  EXPECT_TRUE(wave.isFinished());
  EXPECT_FALSE(wave.isWipedOut());
  wave.entries[1]->state = RuvWaveEntry::kKilled;
  EXPECT_TRUE(wave.isWipedOut());
}

TEST(WavesProtoTest, AnEntryThatCannotBeMadeCountsAsKilled) {
  RuvWaveProto wave(LevelWave(0, 0, 1.0f, {{99, 0.0f}}));
  wave.active = 1;
  RecordingSpawner spawner;
  wave.update(0.1f, spawner);
  EXPECT_EQ(wave.entries[0]->state, RuvWaveEntry::kKilled);
  EXPECT_TRUE(wave.isFinished());
}

TEST(WavesProtoTest, ResetDropsEntriesAddedWhilePlaying) {
  RuvWaveProto wave(LevelWave(0, 0, 1.0f, {{1, 0.0f}, {2, 450.0f}}));
  wave.active = 1;
  RecordingSpawner spawner;
  wave.update(1.0f, spawner);
  RuvWaveEntry& added = wave.addSpawnedEntry(11, 3, -65.0f);
  EXPECT_EQ(added.state, RuvWaveEntry::kSpawned);
  EXPECT_EQ(added.spawned, 1);
  EXPECT_FLOAT_EQ(added.x, -1.0f);
  EXPECT_EQ(added.wave, &wave);
  wave.update(1.0f, spawner);  // an added entry is never spawned by the due rule
  EXPECT_EQ(spawner.spawns.size(), 1u);
  wave.reset();
  EXPECT_EQ(wave.entries.size(), 2u);
  EXPECT_EQ(wave.active, 0);
  EXPECT_FLOAT_EQ(wave.clock, 0.0f);
  EXPECT_EQ(wave.spawnedCount, 0);
  for (const auto& entry : wave.entries) {
    EXPECT_EQ(entry->state, RuvWaveEntry::kWaiting);
    EXPECT_EQ(entry->spawned, 0);
  }
}

}  // namespace
