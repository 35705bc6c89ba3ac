#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <vector>

#include "Game/Entities/RuvWaveProto.h"

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

struct WaveXml {
  explicit WaveXml(const char* text) {
    EXPECT_EQ(document.Parse(text), tinyxml2::XML_SUCCESS);
    element = document.FirstChildElement();
  }
  tinyxml2::XMLDocument document;
  const tinyxml2::XMLElement* element = nullptr;
};

struct AttributeCase {
  const char* xml;
  int wavesTimeout;
  int timeout, spawn, wipeAward, linked;
  float scale;
};

TEST(WavesProtoTest, ReadsAttributesWithTheirDefaults) {
  const AttributeCase cases[] = {
      {"<wave><u/></wave>", 0, 0, 0, 0, -1, 1.0f},
      {"<wave timeout='5' spawn='3' wipeAward='40' linked='2' scale='2'><u/></wave>", 0, 5, 3, 40, 2, 2.0f},
      {"<wave scale='0'><u/></wave>", 0, 0, 0, 0, -1, 1.0f},
      {"<wave linked='x'><u/></wave>", 0, 0, 0, 0, 0, 1.0f},  // present but not a number
      {"<wave timeout='5' spawn='-1'><u/></wave>", 2, 7, -1, 0, -1, 1.0f},
  };
  for (const AttributeCase& c : cases) {
    SCOPED_TRACE(c.xml);
    WaveXml xml(c.xml);
    RuvWaveProto wave(*xml.element, c.wavesTimeout);
    EXPECT_EQ(wave.timeout, c.timeout);
    EXPECT_EQ(wave.spawnPointId, c.spawn);
    EXPECT_EQ(wave.wipeAward, c.wipeAward);
    EXPECT_EQ(wave.linked, c.linked);
    EXPECT_FLOAT_EQ(wave.scale, c.scale);
    EXPECT_EQ(wave.active, 0);
  }
}

TEST(WavesProtoTest, EveryChildIsAnEntryWaitingAndNotSpawned) {
  WaveXml xml("<wave><a id='4' upgrade='2' x='45' y='-65'/><b/><c id='7'/></wave>");
  RuvWaveProto wave(*xml.element, 0);
  ASSERT_EQ(wave.entries.size(), 3u);
  const RuvWaveEntry& first = *wave.entries[0];
  EXPECT_EQ(first.protoId, 4);
  EXPECT_EQ(first.upgrade, 2);
  EXPECT_FLOAT_EQ(first.x, 45.0f);
  EXPECT_FLOAT_EQ(first.y, -65.0f);
  EXPECT_EQ(first.wave, &wave);
  EXPECT_EQ(wave.entries[1]->upgrade, 0);
  EXPECT_EQ(wave.entries[2]->protoId, 7);
  for (const auto& entry : wave.entries) {
    EXPECT_EQ(entry->state, RuvWaveEntry::kWaiting);
    EXPECT_EQ(entry->spawned, 0);
  }
}

TEST(WavesProtoTest, LaneKeys) {
  const std::pair<float, int> cases[] = {{0.0f, -20}, {-65.0f, 0}, {-130.0f, 20}, {-97.5f, 10}, {-30.0f, -10}};
  for (const auto& [y, key] : cases) {
    RuvWaveEntry entry;
    entry.y = y;
    EXPECT_EQ(entry.laneKey(), static_cast<int>(((-y - 65.0f) / 65.0f) * 20.0f)) << y;
    EXPECT_EQ(entry.laneKey(), key) << y;
  }
}

// Steps an active wave in 1/8 s ticks (exact in binary) and gives the clock at which each entry
// spawned.
std::vector<float> SpawnTimes(const char* text, int wavesTimeout) {
  WaveXml xml(text);
  RuvWaveProto wave(*xml.element, wavesTimeout);
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
    const char* xml;
    int wavesTimeout;
    float expected;  // first tick at which clock >= scale * x / 45 + timeout
  };
  const Case cases[] = {
      {"<wave timeout='5' scale='2'><u x='45'/></wave>", 0, 7.0f},
      {"<wave timeout='5' scale='0'><u x='45'/></wave>", 0, 6.0f},
      {"<wave timeout='5'><u x='45'/></wave>", 0, 6.0f},
      {"<wave><u x='90'/></wave>", 2, 4.0f},
      {"<wave timeout='1' scale='0.5'><u x='0'/></wave>", 0, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xml);
    const std::vector<float> times = SpawnTimes(c.xml, c.wavesTimeout);
    ASSERT_EQ(times.size(), 1u);
    EXPECT_FLOAT_EQ(times[0], c.expected);
  }
}

TEST(WavesProtoTest, InactiveWaveCountsItsClockButSpawnsNothing) {
  WaveXml xml("<wave><u/></wave>");
  RuvWaveProto wave(*xml.element, 0);
  RecordingSpawner spawner;
  wave.update(2.0f, spawner);
  EXPECT_FLOAT_EQ(wave.clock, 2.0f);
  EXPECT_TRUE(spawner.spawns.empty());
  EXPECT_TRUE(spawner.events.empty());
}

TEST(WavesProtoTest, SpawnsDueEntriesAtTheWaveSpawnPointWithTutorialEvents) {
  std::string text = "<wave spawn='6'>";
  for (int i = 0; i < 10; ++i) text += "<u id='" + std::to_string(i) + "' x='" + std::to_string(i * 45) + "'/>";
  text += "</wave>";
  WaveXml xml(text.c_str());
  RuvWaveProto wave(*xml.element, 0);
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
  WaveXml xml("<wave><u/><u/></wave>");
  RuvWaveProto wave(*xml.element, 0);
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
  WaveXml xml("<wave><u id='99'/></wave>");
  RuvWaveProto wave(*xml.element, 0);
  wave.active = 1;
  RecordingSpawner spawner;
  wave.update(0.1f, spawner);
  EXPECT_EQ(wave.entries[0]->state, RuvWaveEntry::kKilled);
  EXPECT_TRUE(wave.isFinished());
}

TEST(WavesProtoTest, ResetDropsEntriesAddedWhilePlaying) {
  WaveXml xml("<wave><u id='1'/><u id='2' x='450'/></wave>");
  RuvWaveProto wave(*xml.element, 0);
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
