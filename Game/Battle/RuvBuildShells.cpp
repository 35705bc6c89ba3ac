// Spot, tower and radial-menu operations the map input calls. Only what the rules fix in a line is
// done here; the items, the icon actions and the sounds come with the building code.
#include <cmath>

#include "Game/Battle/RuvMap.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpotList.h"
#include "Game/Entities/RuvTower.h"

RuvFrameEntry* RuvSpotList::findSpotAt(int x, int y) const {
  for (RuvFrameEntry* entry : spots) {
    if (!entry->visible) continue;
    const float cx = entry->rect[0] + entry->rect[2] * 0.5f;
    const float cy = entry->rect[1] + entry->rect[3] * 0.5f;
    if (distance(float(x), float(y), cx, cy) <= 40.0f) return entry;
  }
  return nullptr;
}

RuvTower* RuvMap::findTowerAt(int x, int y) const {
  for (const std::unique_ptr<RuvTower>& tower : mTowers) {
    if (distance(float(x), float(y), tower->position.x, tower->position.y) < 50.0f) return tower.get();
  }
  return nullptr;
}

void RuvRadialMenu::openBuildMenu(RuvFrameEntry* spotEntry) {
  spot = spotEntry;
  mode = 1;
}

void RuvRadialMenu::openBuySpotMenu(RuvFrameEntry* spotEntry) {
  spot = spotEntry;
  mode = 2;
}

void RuvRadialMenu::openTowerMenu(RuvTower* onTower) {
  mode = 0;
  tower = onTower;
}

void RuvRadialMenu::close() {
  if (phase == kClosing) return;
  phase = kClosing;
  timer = 0.0f;
}

int RuvRadialMenu::itemAt(int, int) { return -1; }

void RuvRadialMenu::runIconAction(int) {}

void RuvRadialMenu::draw(render::Graphics&) {}
