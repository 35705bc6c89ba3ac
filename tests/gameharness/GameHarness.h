#pragma once
// The whole game without a player: the real Game object and its root board started on a temporary
// copy of the sample data with a temporary user folder, the recording renderer, the scripted
// window system, audio layer and store back end, and the sample particle file with a fixed seed.
// Tests drive it as a player would: pointer events through the root board in design coordinates,
// keys and characters through the game object, and frames of the frame loop.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/RecordingRender.h"
#include "tests/fakes/ScriptedBass.h"
#include "tests/fakes/ScriptedStoreBackend.h"
#include "tests/fakes/ScriptedWindowSystem.h"
#include "tests/gameharness/ScreenTargets.h"

class Game;
class GameWindow;
namespace layer {
class Layer;
}
namespace widget {
class Frame;
}
class HUD;
class RuvMap;

namespace gameharness {

// The profile element that keeps the tutorial away: the switch the game's progress store reads.
inline constexpr char kTutorialOff[] = R"(<tutorial avail="0"/>)";

// A "profiles.xml" with the engine's default profile and the named profile, current, holding body
// (by default: windowed, no tutorial).
std::string namedProfile(const std::string& name, const std::string& body = std::string(R"(<fs v="0"/>)") + kTutorialOff);

struct GameSetup {
  // Written as the user folder's "profiles.xml" before the start; empty: no file, so only the
  // engine's default profile exists (a first start).
  std::string profiles = namedProfile("Tester");
  std::uint32_t seed = 1;  // the game's and the particles' random sequences
  // Runs on the copied data root before the start (to damage or remove a file).
  std::function<void(const std::filesystem::path& data)> prepareData;
  // A start that fails is then kept (started() is false) instead of failing the test.
  bool startMayFail = false;
};

class GameHarness {
 public:
  static constexpr float kFrame = 1.0f / 60.0f;

  // Copies the repository's data/ into a fresh temporary folder, writes the profiles and starts the
  // game (Init, as the program does); the first two frames show and update the root board.
  explicit GameHarness(const GameSetup& setup = {});
  // Deletes the game and every service and singleton state it made, goes back to the previous
  // current folder and removes the temporary one.
  ~GameHarness();
  GameHarness(const GameHarness&) = delete;
  GameHarness& operator=(const GameHarness&) = delete;

  // False when the game's start failed (only with GameSetup::startMayFail).
  bool started() const { return mStarted; }
  // What the game wrote to "log.html" so far, as UTF-8.
  std::string logText() const;

  Game& game() const { return *mGame; }
  GameWindow& board() const;
  RuvMap& map() const;
  HUD& hud() const;
  fakes::RecordingRender& render() const { return *mRender; }
  fakes::ScriptedBass& sound() { return mBass; }
  fakes::ScriptedStoreBackend& store() const { return *mStore; }

  // Frames of the game's frame loop (update, draw, present) of kFrame seconds each.
  void tick(int frames = 1);
  // Ticks until done holds (checked before each frame); false when limit frames passed without.
  bool tickUntil(const std::function<bool()>& done, int limit = 600);

  // Pointer, through the root board: a move to the point, the left press and the release, then
  // frames so that screens pushed meanwhile join the stack.
  void clickAt(int x, int y, int frames = 2);
  // A point where the top screen (the confirm dialog when one is open; the HUD itself with an
  // empty stack) answers this button name, from the screen's own hit test; none when it answers
  // it nowhere.
  std::optional<DesignPoint> findButton(const std::u16string& name) const;
  // The same for a button index (level plates, spell buttons).
  std::optional<DesignPoint> findIndex(int index) const;
  // Clicks the middle of the target; false (nothing sent) when the top screen has no such target.
  bool click(const std::u16string& name, int frames = 2);
  bool clickIndex(int index, int frames = 2);

  // The engine's modal dialogs (message box, options) take the pointer through the frame manager:
  // a move to the control's position, the left press and the release through the game object,
  // then frames.
  void clickControl(const layer::Layer& control, int frames = 2);
  // The frames the frame manager shows, bottom first (the root board, then the dialogs).
  std::vector<widget::Frame*> shownFrames() const;
  // The topmost shown frame of type Dialog, after frames until it takes input (its show effect
  // over); null when none did within limit frames.
  template <class Dialog>
  Dialog* waitForDialog(int limit = 120);

  // Keys and characters through the game object, as the window delivers them.
  void pressKey(int key);
  void typeText(const std::u16string& text);

  // The map's screen state and battle speed.
  int state() const;
  float speed() const;
  // The stacked screens, bottom first, by class name ("HUDMainMenu", ...).
  std::vector<std::string> screens() const;
  // The top screen's class name; empty with an empty stack.
  std::string topScreen() const;
  // The HUD's own buttons that are shown, in layout order.
  std::vector<std::u16string> shownHudButtons() const;

  // Start-up and level helpers.
  // Presses through the logos until the main menu is on the stack; false when it never came.
  bool skipLogos();
  // Switches the current profile's tutorial off through the game's progress store and has the
  // tutorial reread it (for profiles made in the game).
  void disableTutorial();
  // A level that opens with its unlock message is let in with "ok"; true when it is played then.
  bool passUnlockMessage();
  // Cheats on, as the options dialog's cheat button does.
  void enableCheats();

  // The saved "profiles.xml" of the user folder.
  std::string savedProfiles() const;
  // The attributes of the current profile's saved record of that level; empty when there is none.
  std::map<std::string, std::string> savedLevelRecord(int episode, int level, int mode) const;

  const std::filesystem::path& root() const { return mRoot; }
  std::filesystem::path profilesPath() const;

 private:
  std::filesystem::path mPrevious;
  std::filesystem::path mRoot;
  std::u16string mPreviousUserRoot;
  fakes::ScriptedWindowSystem mWindows;
  fakes::ScriptedBass mBass;
  fakes::RecordingRender* mRender = nullptr;       // owned by the game
  fakes::ScriptedStoreBackend* mStore = nullptr;   // owned by the store
  std::unique_ptr<Game> mGame;
  bool mStarted = false;
};

template <class Dialog>
Dialog* GameHarness::waitForDialog(int limit) {
  Dialog* found = nullptr;
  tickUntil(
      [&] {
        found = nullptr;
        for (widget::Frame* frame : shownFrames()) {
          if (auto* dialog = dynamic_cast<Dialog*>(frame)) found = dialog;
        }
        return found && !found->IsDisabled();
      },
      limit);
  return found && !found->IsDisabled() ? found : nullptr;
}

}  // namespace gameharness
