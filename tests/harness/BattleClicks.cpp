#include "tests/harness/BattleClicks.h"

#include <vector>

#include "Core/Math/Point.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Game/Art/RuvFrameEntry.h"
#include "Game/Battle/RuvMap.h"
#include "Game/BattleView/RuvMapDraw.h"
#include "Game/Battle/RuvRadialMenu.h"
#include "Game/Battle/RuvSpot.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Tables/RuvProtos.h"
#include "Game/Battle/RuvTower.h"
#include "Game/Screens/HUD.h"
#include "tests/fakes/RecordingRender.h"

namespace harness {

namespace {

constexpr int kClickLeftButton = 1;

}  // namespace

HarnessRootBoard::HarnessRootBoard(std::unique_ptr<RuvMap>& owner) : mOwner(owner) { mMap = std::move(owner); }

HarnessRootBoard::~HarnessRootBoard() { mOwner = std::move(mMap); }

void HarnessRootBoard::move(float x, float y) {
  math::Point3 point(x, y, 0.0f);
  OnWidgetMouseMove(point);
}

void HarnessRootBoard::press(float x, float y) {
  move(x, y);
  math::Point3 point(x, y, 0.0f);
  OnWidgetMouseDown(point, kClickLeftButton);
}

void HarnessRootBoard::release(float x, float y) {
  math::Point3 point(x, y, 0.0f);
  OnWidgetMouseUp(point, kClickLeftButton);
}

void HarnessRootBoard::click(float x, float y) {
  press(x, y);
  release(x, y);
}

ClickPlayer::ClickPlayer(BattleHarness& battle) : mBattle(battle), mBoard(battle.mapOwner()) {}

bool ClickPlayer::hudButtonCentre(const char16_t* name, float& x, float& y) const {
  const RuvButtonFrame* button = mBattle.map().mHud->findButton(name);
  if (!button || !button->visible) return false;
  x = button->rect[0] + button->rect[2] / 2.0f;
  y = button->rect[1] + button->rect[3] / 2.0f;
  return true;
}

void ClickPlayer::pauseBattle() {
  mHoldPause = true;
  float x = 0.0f;
  float y = 0.0f;
  if (mBattle.map().mSpeed != 0.0f && hudButtonCentre(u"pause_btn", x, y)) mBoard.click(x, y);
}

void ClickPlayer::resumeBattle() {
  float x = 0.0f;
  float y = 0.0f;
  if (mBattle.map().mSpeed == 0.0f && hudButtonCentre(u"play_btn", x, y)) mBoard.click(x, y);
}

bool ClickPlayer::menuTarget(const BattleCommand& command, float& x, float& y) const {
  RuvMap& map = mBattle.map();
  RuvFrameEntry* spot = battleScriptSpot(map, command.spot);
  if (!spot) return false;
  if (command.kind == BattleCommand::kBuild || command.kind == BattleCommand::kBuy) {
    const auto* definition = static_cast<const RuvSpot*>(spot->owner);
    if (!spot->visible || !definition) return false;
    x = definition->x;
    y = definition->y;
    return true;
  }
  const RuvTower* tower = battleScriptTower(map, spot);
  if (!tower) return false;
  x = tower->position.x;
  y = tower->position.y;
  return true;
}

void ClickPlayer::itemCentre(const RuvRadialItem& item, float& x, float& y) const {
  const RuvRadialMenu& menu = *mBattle.map().mRadialMenu;
  std::vector<int> protoIds;
  size_t index = 0;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    protoIds.push_back(menu.items[i]->proto ? menu.items[i]->proto->id : 0);
    if (menu.items[i].get() == &item) index = i;
  }
  // The drawn menu has taken its edge turn already: the layout only places the items.
  unsigned char edgeApplied = 1;
  const RuvRadialLayout layout =
      radialLayout(menu.centreX, menu.centreY, menu.radius, menu.arcStart, menu.arcEnd, protoIds, edgeApplied, 1.0f);
  x = layout.x[index];
  y = layout.y[index];
}

bool ClickPlayer::play(const BattleCommand& command) {
  RuvMap& map = mBattle.map();
  const RuvRadialMenu* menu = map.mRadialMenu.get();
  const bool payable = battleCommandPayable(map, command);
  if (menu && mMenuOpenedFor == &command && menu->phase == RuvRadialMenu::kOpen) {
    // The menu stays open while the battle goes on until the move can be paid.
    if (!payable) return false;
    const RuvRadialItem* item = battleCommandItem(*menu, command);
    if (!item) return false;
    float x = 0.0f;
    float y = 0.0f;
    itemCentre(*item, x, y);
    const BattleMoveWitness before = witnessBattleCommand(map, command);
    mBoard.press(x, y);
    const bool done = battleCommandDone(map, command, before);
    mBoard.release(x, y);
    mMenuOpenedFor = nullptr;
    return done;
  }
  // A move that could be made now waits for its menu with the battle paused.
  if (payable) pauseBattle();
  float x = 0.0f;
  float y = 0.0f;
  // The menu opening, or the last move's menu still closing.
  if (menu || !menuTarget(command, x, y)) return false;
  mBoard.click(x, y);
  if (map.mRadialMenu) mMenuOpenedFor = &command;
  return false;
}

void ClickPlayer::update(float dt) {
  if (!mHoldPause) resumeBattle();
  mHoldPause = false;
  mBoard.OnUpdate(dt);
  drawFrame();
}

void ClickPlayer::drawFrame() {
  render::Render& renderer = mBattle.renderer();
  renderer.BeginFrame();
  {
    render::Graphics graphics(&renderer);
    mBoard.OnDrawBefore(&graphics, nullptr);
    mBoard.OnDrawAfter(&graphics, nullptr);
  }
  renderer.EndFrame();
  renderer.Present();
  renderer.PlayCommands();
  if (auto* recording = dynamic_cast<fakes::RecordingRender*>(&renderer)) recording->mCalls.clear();
}

}  // namespace harness
