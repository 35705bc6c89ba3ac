#include "tests/gameharness/ScreenTargets.h"

#include <functional>

#include "Framework/GameApplication.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Screens/RuvSplashScreens.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDBoostShop.h"
#include "Game/Screens/HUDButtons.h"
#include "Game/Screens/HUDEpisodeSelect.h"
#include "Game/Screens/HUDModalInput.h"
#include "Game/Screens/HUDProfiles.h"

namespace gameharness {

namespace {

constexpr int kTargetGrid = 4;

HUDWindow* pointerTakingScreen(GameWindow& board) {
  if (board.mConfirmDialog) return board.mConfirmDialog;
  HUD& hud = *board.getMap()->mHud;
  return hud.stack.empty() ? nullptr : hud.stack.back().get();
}

// With an empty stack the HUD asks its spell buttons first; their click query buys or offers a
// recharge, their hit test only looks.
int spellButtonHitAt(HUD& hud, int x, int y) {
  for (size_t i = 0; i < hud.spellButtons.size(); ++i) {
    if (hud.spellButtons[i]->hitTest(x, y)) return int(i);
  }
  return -1;
}

using TargetAnswers = std::function<bool(int x, int y)>;

std::optional<DesignPoint> findTarget(const TargetAnswers& answers) {
  const math::Rect& area = framework::GameApplication::Get()->GetRootRect();
  const int left = int(area.x);
  const int right = int(area.x + area.width);
  const int bottom = int(area.y + area.height);
  for (int y = int(area.y) + kTargetGrid / 2; y < bottom; y += kTargetGrid) {
    for (int x = left + kTargetGrid / 2; x < right; x += kTargetGrid) {
      if (!answers(x, y)) continue;
      int lastX = x;
      while (lastX + 1 < right && answers(lastX + 1, y)) ++lastX;
      const int middleX = (x + lastX) / 2;
      int firstY = y;
      while (firstY - 1 >= int(area.y) && answers(middleX, firstY - 1)) --firstY;
      int lastY = y;
      while (lastY + 1 < bottom && answers(middleX, lastY + 1)) ++lastY;
      const DesignPoint middle{middleX, (firstY + lastY) / 2};
      // A region that is no rectangle may miss its own middle.
      return answers(middle.x, middle.y) ? middle : DesignPoint{x, y};
    }
  }
  return std::nullopt;
}

}  // namespace

std::u16string nameAnsweredAt(GameWindow& board, int x, int y) {
  HUDWindow* screen = pointerTakingScreen(board);
  if (!screen) {
    HUD& hud = *board.getMap()->mHud;
    const int spell = spellButtonHitAt(hud, x, y);
    if (spell >= 0) return hud.spellButtons[size_t(spell)]->name;
    return hud.HUDWindow::buttonNameAt(x, y);
  }
  if (auto* input = dynamic_cast<HUDModalInput*>(screen)) return input->modalButtons.clickName(x, y);
  if (auto* profiles = dynamic_cast<HUDProfiles*>(screen)) {
    for (HUDButtonOver* button : profiles->menuButtons) {
      if (button->hitTest(x, y)) return button->name;
    }
    return std::u16string();
  }
  if (dynamic_cast<HUDBoostShop*>(screen)) return screen->HUDWindow::buttonNameAt(x, y);
  if (dynamic_cast<RuvSplashScreens*>(screen)) return std::u16string();
  return screen->buttonNameAt(x, y);
}

int indexAnsweredAt(GameWindow& board, int x, int y) {
  HUDWindow* screen = pointerTakingScreen(board);
  if (!screen) {
    HUD& hud = *board.getMap()->mHud;
    const int own = hud.HUDWindow::buttonIndexAt(x, y);
    return own != -1 ? own : spellButtonHitAt(hud, x, y);
  }
  if (dynamic_cast<HUDEpisodeSelect*>(screen)) return -1;
  return screen->buttonIndexAt(x, y);
}

std::optional<DesignPoint> findNameTarget(GameWindow& board, const std::u16string& name) {
  if (name.empty()) return std::nullopt;
  return findTarget([&](int x, int y) { return nameAnsweredAt(board, x, y) == name; });
}

std::optional<DesignPoint> findIndexTarget(GameWindow& board, int index) {
  if (index < 0) return std::nullopt;
  return findTarget([&](int x, int y) { return indexAnsweredAt(board, x, y) == index; });
}

}  // namespace gameharness
