#pragma once
// A battle without a player, for tests and benchmarks: a temporary copy of a data root with a
// one-profile user folder, the recording renderer (or a real one given), the scripted (silent)
// audio layer, the sample particle file with a fixed seed and a battle map; a level is started and
// the map updated at a fixed step until the level is won, lost or waits for the buy-health offer,
// or a tick limit.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/RecordingRender.h"
#include "tests/harness/BattleScript.h"
#include "tests/fakes/ScriptedBass.h"

class RuvMap;

namespace render {
class Render;
}

namespace harness {

// What a run gives: its events ("<seconds> <what> <value>") in order, a hash of the battle state
// after every simulated second, the final screen state and the level clock.
struct BattleTrace {
  std::vector<std::string> events;
  std::vector<std::uint64_t> stateHashes;
  int finalState = -1;
  float levelTime = 0.0f;
  int ticks = 0;
};

struct BattleRun {
  int mode = 1;
  int episode = 0;
  int level = 0;
  int tickLimit = 60 * 60 * 30;  // half an hour of level time
  // Draw the map after every update, as the game's frame loop does: a tower's shot starts from the
  // direction its frame was last drawn in, so towers fire alike only in runs drawn alike.
  bool draw = false;
  std::uint32_t seed = 1;        // for the game's and the particles' random sequences
  std::vector<BattleCommand> commands;  // the player's moves, in order
};

// Who makes the script's moves between the updates, and updates the map.
class BattlePlayer {
 public:
  virtual ~BattlePlayer() = default;
  // Asked before an update while the command is due: true once it is done, its effect on the map
  // made during this call; false to be asked again before the next update.
  virtual bool play(const BattleCommand& command) = 0;
  // The map's update of one step.
  virtual void update(float dt) = 0;
};

class BattleHarness {
 public:
  static constexpr float kStep = 1.0f / 60.0f;

  // Copies dataRoot (the repository's data/ when empty) into a fresh temporary folder, which
  // becomes the current folder, and builds the map there. The art and particles go to renderer
  // (which must outlive the harness), else to the harness's own recording renderer.
  explicit BattleHarness(const std::filesystem::path& dataRoot = {}, render::Render* renderer = nullptr);
  // Deletes the map and the singletons it made, goes back to the previous folder and removes the
  // temporary one.
  ~BattleHarness();
  BattleHarness(const BattleHarness&) = delete;
  BattleHarness& operator=(const BattleHarness&) = delete;

  // Writes a file under the temporary data root (for fixture levels and sheets).
  void writeFile(const std::string& path, const std::string& bytes) const;
  // Starts the level and runs it to its end or the tick limit, the moves made by the map's own
  // menu actions (applyBattleCommand).
  BattleTrace run(const BattleRun& battle);
  // The same with the moves made by player, who also updates the map.
  BattleTrace run(const BattleRun& battle, BattlePlayer& player);

  // The map, also while a root board holds it.
  RuvMap& map() { return *mPlayedMap; }
  // The map's owner, from which a root board may take the map for a while.
  std::unique_ptr<RuvMap>& mapOwner() { return mMap; }
  render::Render& renderer() { return *mRenderer; }
  const std::filesystem::path& root() const { return mRoot; }

 private:
  std::filesystem::path mPrevious;
  std::filesystem::path mRoot;
  fakes::ScriptedBass mBass;
  fakes::RecordingRender mRecording;
  render::Render* mRenderer = nullptr;
  std::unique_ptr<RuvMap> mMap;
  RuvMap* mPlayedMap = nullptr;
};

// The battle state as a hash: lives, money, the wave manager's counters and every live unit.
std::uint64_t battleStateHash(const RuvMap& map);

// The committed form of a trace: its events, one a line, then "end <final state>".
std::string battleTraceText(const BattleTrace& trace);
// The folder of the committed scripts and traces (tests/data/scripts/), and a file's whole text
// (empty when it cannot be read).
std::string battleScriptsFolder();
std::string readBattleText(const std::string& path);

}  // namespace harness
