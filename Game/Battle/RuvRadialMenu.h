#pragma once
// The radial menu of a build spot or a tower: it opens and closes in 0.2 s of real time.

namespace render {
class Graphics;
}

class RuvFrameEntry;
class RuvTower;

class RuvRadialMenu {
 public:
  static constexpr float kTransitionSeconds = 0.2f;
  enum Phase { kOpening = 0, kOpen = 2, kClosing = 3 };

  virtual ~RuvRadialMenu() = default;
  // Real seconds: opening ends in the open phase; closing ends with active cleared.
  void update(float dt);
  // Mode 1 on a free spot, mode 2 on a spot still to buy, mode 0 on a tower.
  void openBuildMenu(RuvFrameEntry* spotEntry);
  void openBuySpotMenu(RuvFrameEntry* spotEntry);
  void openTowerMenu(RuvTower* onTower);
  // Starts the closing animation unless it runs already.
  void close();
  // The id of the item under the screen point, -1 none.
  int itemAt(int x, int y);
  // The range preview, the icons with their badges and prices, with the map's view installed.
  void draw(render::Graphics& graphics);
  // The press on an icon of the open menu (build, buy, upgrade, sell).
  void runIconAction(int id);

  int phase = kOpening;
  float timer = 0.0f;
  int active = 1;
  int mode = 0;  // 0 tower, 1 build, 2 buy spot, 3 tower with a star upgrade
  int hoveredId = -1;
  RuvTower* tower = nullptr;       // not owned
  RuvFrameEntry* spot = nullptr;   // not owned
  float centreX = 0.0f;            // screen pixels
  float centreY = 0.0f;
};
