#pragma once
#include "Core/Resource/ResourcePtr.h"
#include "Framework/GameApplication.h"
#include "Game/Art/TMobShader.h"

namespace tinyxml2 {
class XMLElement;
}

class GameWindow;
class RuvMap;

// The game's application object: the framework's start-up and frame loop with the game's hooks. It
// mounts the pack and reads the window mode before the window exists, then loads the catalogue,
// the enemy shader and the side and loading pictures and shows the root board. Every hook that
// reaches the board or the map does so only once they exist: a pack-building start has neither.
class Game : public framework::GameApplication {
 public:
  // The caption a second start looks for before the data root's strings can be read; PreInit
  // replaces it with the localised caption (the same text in the sample data).
  static constexpr char16_t kEarlyCaption[] = u"Quellmark II";

  Game();
  ~Game() override;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The game object while one exists (the last constructed), or null.
  static Game* get() { return sGame; }
  // The battle map of the root board; null before the board is created and in pack-building mode.
  RuvMap* getMap() const;
  GameWindow* getGameWindow() const { return mGameWindow; }
  TMobShader* getMobShader() const { return mMobShader.Get(); }

  // The windowed flag a profile element asks for: fullscreen without an "fs" child, else the
  // opposite of its "v" read as a boolean (false when unreadable).
  static bool windowedFromProfile(const tinyxml2::XMLElement* profile);

  // One frame at once with the loading picture (while a level loads); nothing without a renderer.
  void showLoadingScreen();
  // The side pictures just outside the 1024-wide design area, scaled to the viewport's height; the
  // HUD draws them in the menu states.
  void drawSideImages(render::Graphics& graphics);

  // framework::GameApplication.
  // In the menu states the side pictures fill side bars; other bars stay plain; while playing the
  // bars stay as cleared. Without a map: the framework's bars.
  VNResultEnum DrawLetterbox(render::Graphics& graphics) override;
  void OnActivate() override;
  void OnDeactivate() override;
  // The framework's switch; a changed mode is stored in the profile when the map's progress exists.
  // A failed switch returns its error and stores nothing.
  VNResultEnum SwitchScreenMode() override;
  VNResultEnum OnInit() override;
  VNResultEnum UpdateGame(float) override { return VN_OK; }
  VNResultEnum PreInit() override;

  // input::InputListener: keys go to the root board whatever has the focus (the framework's
  // routing while there is no board).
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void OnChar(int character) override;

 protected:
  render::Image* mSideLeft = nullptr;     // owned
  render::Image* mSideRight = nullptr;    // owned
  resource::ResourcePtr<TMobShader> mMobShader;
  render::Image* mLoadingImage = nullptr;  // owned
  GameWindow* mGameWindow = nullptr;       // owned by the frame manager once shown

 private:
  static inline Game* sGame = nullptr;
};
