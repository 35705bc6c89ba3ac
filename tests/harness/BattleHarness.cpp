#include "tests/harness/BattleHarness.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Math/Random.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundSystem.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "Platform/Magic/Magic.h"
#include "tests/fakes/SourceDir.h"
#include "gamesupport/BattleMapScene.h"

namespace harness {

namespace {

// The counters the events are taken from.
struct BattleCounts {
  int spawned = 0;
  int killed = 0;
  int through = 0;
  float lives = 0.0f;
  int money = 0;
};

BattleCounts countBattle(const RuvMap& map) {
  BattleCounts counts;
  for (const auto& wave : map.mWaves->waves) {
    for (const auto& entry : wave->entries) {
      counts.spawned += entry->spawned;
      counts.killed += entry->state == RuvWaveEntry::kKilled;
      counts.through += entry->state == RuvWaveEntry::kGotThrough;
    }
  }
  counts.lives = map.mLives;
  counts.money = map.mWallet->money;
  return counts;
}

void addEvent(BattleTrace& trace, float time, const char* what, const std::string& value) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(time));
  trace.events.push_back(std::string(seconds) + " " + what + " " + value);
}

void addCountEvents(BattleTrace& trace, float time, const BattleCounts& before, const BattleCounts& after) {
  if (after.spawned != before.spawned) addEvent(trace, time, "spawn", std::to_string(after.spawned - before.spawned));
  if (after.through != before.through) addEvent(trace, time, "arrive", std::to_string(after.through - before.through));
  if (after.killed != before.killed) addEvent(trace, time, "death", std::to_string(after.killed - before.killed));
  if (after.lives != before.lives) addEvent(trace, time, "lives", std::to_string(after.lives));
  if (after.money != before.money) addEvent(trace, time, "money", std::to_string(after.money));
}

// FNV-1a over the bytes of each value.
struct StateHash {
  template <class T>
  void add(const T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  }
  std::uint64_t hash = 14695981039346656037ull;
};

}  // namespace

BattleHarness::BattleHarness(const std::filesystem::path& dataRoot, render::Render* renderer) : mRenderer(renderer) {
  mPrevious = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "qm_battle_XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  mRoot = pattern;
  const std::filesystem::path source = dataRoot.empty() ? std::filesystem::path(QM_SOURCE_DIR) / "data" : dataRoot;
  std::filesystem::copy(source, mRoot, std::filesystem::copy_options::recursive);
  std::filesystem::current_path(mRoot);
  file::FileManager::Instance()->GetMountTable().clear();
  const std::filesystem::path user = mRoot / "user";
  std::filesystem::create_directories(user);
  file::UserDataFileContainer::Instance()->SetRootPath(std::filesystem::path(user.string() + "/").u16string());
  file::Profiles::ResetNotices();
  writeFile("user/profiles.xml", R"(<Profiles currentProfile="A"><Profile name="A"/></Profiles>)");
  file::Profiles::Instance()->Load();
  if (!mRenderer) {
    mRecording.Init();
    mRenderer = &mRecording;
  }
  RuvResources::Instance()->setRender(mRenderer);
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder("ruv/fx/");
  particles->Load("fx2.ptc", mRenderer);
  mMap = std::make_unique<RuvMap>();
  mPlayedMap = mMap.get();
}

BattleHarness::~BattleHarness() {
  battletest::releaseBattleMap(mMap);
  if (LocalStrings::Exists()) delete LocalStrings::Instance();
  if (file::Profiles::Exists()) delete file::Profiles::Instance();
  file::FileManager::Instance()->GetMountTable().clear();
  std::filesystem::current_path(mPrevious);
  std::filesystem::remove_all(mRoot);
}

void BattleHarness::writeFile(const std::string& path, const std::string& bytes) const {
  const std::filesystem::path target = mRoot / path;
  std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary) << bytes;
}

namespace {

// The moves made by the map's own menu actions.
class ScriptedPlayer : public BattlePlayer {
 public:
  explicit ScriptedPlayer(RuvMap& map) : mMap(map) {}
  bool play(const BattleCommand& command) override { return applyBattleCommand(mMap, command); }
  void update(float dt) override { mMap.update(dt); }

 private:
  RuvMap& mMap;
};

}  // namespace

BattleTrace BattleHarness::run(const BattleRun& battle) {
  ScriptedPlayer player(map());
  return run(battle, player);
}

BattleTrace BattleHarness::run(const BattleRun& battle, BattlePlayer& player) {
  math::Random(battle.seed);
  Magic_SetRandomSeed(battle.seed);
  RuvMap& map = *mPlayedMap;
  map.mMode = battle.mode;
  map.mEpisode = battle.episode;
  map.mLevel = battle.level;
  map.startLevel();
  if (map.mState == kStateUnlockMessage) {
    // As the dispatcher's "ok" after the last unlock: the message (still pending) goes, play runs.
    map.mHud->pending.clear();
    map.mState = kStatePlaying;
    map.mSpeed = 1.0f;
  }
  BattleTrace trace;
  map.mGameTime = 0.0f;
  BattleCounts counts = countBattle(map);
  int nextSecond = 1;
  size_t nextCommand = 0;
  while (map.mState == kStatePlaying && trace.ticks < battle.tickLimit) {
    // The player's moves in order: a move waits (for its time, then for the money) until it is done.
    while (nextCommand < battle.commands.size() && battle.commands[nextCommand].time <= map.mGameTime &&
           player.play(battle.commands[nextCommand])) {
      addEvent(trace, map.mGameTime, "player", describeBattleCommand(battle.commands[nextCommand++]));
      counts = countBattle(map);
    }
    player.update(kStep);
    ++trace.ticks;
    if (battle.draw) {
      mRenderer->BeginFrame();
      {
        render::Graphics graphics(mRenderer);
        map.draw(graphics);
        // The units list their frames as the map's drawing asks them to; the lists are emptied.
        for (const auto& unit : map.mWaves->units) unit->draw(graphics);
        for (auto& list : map.mDrawLayers) list.clear();
      }
      mRenderer->EndFrame();
      mRenderer->Present();
      mRenderer->PlayCommands();
      mRecording.mCalls.clear();
    }
    const BattleCounts now = countBattle(map);
    addCountEvents(trace, map.mGameTime, counts, now);
    counts = now;
    if (map.mGameTime >= static_cast<float>(nextSecond)) {
      trace.stateHashes.push_back(battleStateHash(map));
      ++nextSecond;
      mBass.ClearCalls();
    }
  }
  for (; nextCommand < battle.commands.size(); ++nextCommand) {
    addEvent(trace, map.mGameTime, "undone", describeBattleCommand(battle.commands[nextCommand]));
  }
  trace.finalState = map.mState;
  trace.levelTime = map.mGameTime;
  return trace;
}

std::uint64_t battleStateHash(const RuvMap& map) {
  StateHash hash;
  hash.add(map.mLives);
  hash.add(map.mWallet->money);
  hash.add(map.mWaves->currentIndex);
  hash.add(map.mWaves->clock);
  for (const auto& unit : map.mWaves->units) {
    hash.add(unit->entry->protoId);
    hash.add(unit->state);
    hash.add(unit->health);
    hash.add(unit->position.x);
    hash.add(unit->position.y);
    hash.add(unit->progress);
    hash.add(unit->routeIndex);
    hash.add(unit->animationTime);
  }
  return hash.hash;
}

std::string battleTraceText(const BattleTrace& trace) {
  std::string text;
  for (const std::string& event : trace.events) text += event + "\n";
  return text + "end " + std::to_string(trace.finalState) + "\n";
}

std::string battleScriptsFolder() { return std::string(QM_SOURCE_DIR) + "/tests/data/scripts/"; }

std::string readBattleText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace harness
