#include "DispatchScene.h"

#include "Core/Purchase/PurchaseSystem.h"
#include "Game/App/LocalStrings.h"

namespace dispatchtest {

void DispatchTest::SetUp() {
  BattleMapTest::SetUp();
  mMap->mState = RuvMap::kStatePlaying;
}

void DispatchTest::TearDown() {
  BattleMapTest::TearDown();
  if (purchase::PurchaseSystem::Exists()) delete purchase::PurchaseSystem::Instance();
  if (LocalStrings::Exists()) delete LocalStrings::Instance();
}

FakeTopScreen& DispatchTest::Top(const std::u16string& name, int index) {
  HUD& hud = *mMap->mHud;
  hud.stack.clear();
  auto screen = std::make_unique<FakeTopScreen>();
  screen->name = name;
  screen->index = index;
  FakeTopScreen& top = *screen;
  hud.stack.push_back(std::move(screen));
  return top;
}

void DispatchTest::Release(int x, int y) {
  mMap->onMouseUp(x, y);
  mMap->mHud->update(0.0f);
}

std::string DispatchTest::Stack() const {
  std::string out;
  for (const std::unique_ptr<HUDWindow>& screen : mMap->mHud->stack) {
    if (!out.empty()) out += ",";
    if (dynamic_cast<FakeTopScreen*>(screen.get())) {
      out += "fake";
    } else if (auto* typed = dynamic_cast<HUDStandInScreen*>(screen.get())) {
      out += std::string(typed->kind.begin(), typed->kind.end());
    } else {
      out += "screen";
    }
  }
  return out;
}

}  // namespace dispatchtest
