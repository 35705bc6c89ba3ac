// The map's shared operations: distance, lookup by id, the draw order and the effect check.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "gamesupport/BattleMapScene.h"
#include "Core/Render/ParticleEmitter.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"

namespace {

TEST(MapOperationsTest, Distance) {
  struct Case {
    float x1, y1, x2, y2, expected;
  };
  const Case cases[] = {{0, 0, 3, 4, 5}, {1, 1, 1, 1, 0}, {-2, 5, 4, -3, 10}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(distance(c.x1, c.y1, c.x2, c.y2), c.expected);
}

TEST(MapOperationsTest, FindByIdGivesTheFirstMatch) {
  struct Record {
    int id;
    int tag;
  };
  std::vector<std::unique_ptr<Record>> owned;
  for (const Record& r : {Record{4, 0}, Record{7, 1}, Record{7, 2}}) owned.push_back(std::make_unique<Record>(r));
  std::vector<Record*> raw = {owned[2].get(), owned[0].get()};
  EXPECT_EQ(findById(owned, 7)->tag, 1);
  EXPECT_EQ(findById(owned, 5), nullptr);
  EXPECT_EQ(findById(raw, 7)->tag, 2);
  EXPECT_EQ(findById(std::vector<Record*>(), 7), nullptr);
}

TEST(MapOperationsTest, DrawOrderIsStableByDepth) {
  const float depths[] = {3.0f, 1.0f, 3.0f, 2.0f, 1.0f};
  std::vector<RuvFrameEntry> entries(5);
  std::vector<RuvFrameEntry*> list;
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].depth = depths[i];
    entries[i].index = int(i);
    list.push_back(&entries[i]);
  }
  std::stable_sort(list.begin(), list.end(), drawDepthLess);
  std::vector<int> order;
  for (const RuvFrameEntry* entry : list) order.push_back(entry->index);
  EXPECT_EQ(order, (std::vector<int>{1, 4, 3, 0, 2}));
}

class EffectCheckTest : public battletest::BattleMapTest {};

TEST_F(EffectCheckTest, RunsWhileEveryEmitterPlays) {
  std::vector<std::unique_ptr<render::ParticleEmitter>> owned;
  for (bool playing : {true, true, false}) owned.push_back(Emitter(playing));
  owned.push_back(Emitter(true));
  owned.back()->SetState(render::ParticleEmitter::kInterrupted);
  struct Case {
    std::vector<int> emitters;
    bool running;
  };
  const Case cases[] = {{{}, false}, {{0}, true}, {{0, 1}, true}, {{0, 2}, false}, {{3}, false}};
  for (const Case& c : cases) {
    std::vector<render::ParticleEmitter*> emitters;
    for (int i : c.emitters) emitters.push_back(owned[size_t(i)].get());
    EXPECT_EQ(isEffectRunning(emitters), c.running) << c.emitters.size();
  }
}

}  // namespace
