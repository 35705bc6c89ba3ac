#pragma once
// The script's moves made as a player makes them: mouse events given to the game's root board at
// screen positions. For the next due move the player opens the menu of its spot (the level's spot
// position) or tower with a click, and presses the item where the menu's geometry puts it once
// the menu is open and drawn and the shown price can be paid; the menu stays open while the money
// comes in. A move that can be paid before its menu is open (moves in a row at the level's start)
// waits with the battle paused by the HUD's pause button; the play button lets it go on. So the
// battle's own clock sees each move at the same moment as in the scripted run.
#include <memory>

#include "Game/Screens/GameWindow.h"
#include "tests/harness/BattleHarness.h"

struct RuvRadialItem;

namespace harness {

// The root board over the harness's map, which it holds while it lives.
class HarnessRootBoard : public GameWindow {
 public:
  explicit HarnessRootBoard(std::unique_ptr<RuvMap>& owner);
  // The map goes back to its owner.
  ~HarnessRootBoard() override;
  HarnessRootBoard(const HarnessRootBoard&) = delete;
  HarnessRootBoard& operator=(const HarnessRootBoard&) = delete;

  // Nothing to load: the harness built the map.
  VNResultEnum Create() override { return VN_OK; }

  // A pointer move to (x, y), then a left press and release there.
  void click(float x, float y);
  void press(float x, float y);
  void release(float x, float y);
  void move(float x, float y);

 private:
  std::unique_ptr<RuvMap>& mOwner;
};

class ClickPlayer : public BattlePlayer {
 public:
  // Its root board holds the harness's map until the player goes, which must be before the harness.
  explicit ClickPlayer(BattleHarness& battle);

  bool play(const BattleCommand& command) override;
  // The root board's update, then its frame, as the game's frame loop runs them (the drawn menu
  // lays out its items; the drawn towers turn their frames, from which shots start).
  void update(float dt) override;

  HarnessRootBoard& board() { return mBoard; }

 private:
  // The screen centre of the HUD's visible button of that name; false when there is none.
  bool hudButtonCentre(const char16_t* name, float& x, float& y) const;
  // One frame of the root board into the harness's renderer.
  void drawFrame();
  // The HUD's pause and play buttons, pressed when the battle's speed is not already so.
  void pauseBattle();
  void resumeBattle();
  // Where the command's menu is opened: its spot, or the tower on it; false when there is nothing
  // to click yet (no tower, a hidden spot).
  bool menuTarget(const BattleCommand& command, float& x, float& y) const;
  // The item's centre on screen as the menu lays it out.
  void itemCentre(const RuvRadialItem& item, float& x, float& y) const;

  BattleHarness& mBattle;
  HarnessRootBoard mBoard;
  const BattleCommand* mMenuOpenedFor = nullptr;
  // Set by a move that keeps the battle paused over the next update.
  bool mHoldPause = false;
};

}  // namespace harness
