#include "Game/Screens/GameWindow.h"

#include "Core/File/Profiles.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Resource/ResourceManager.h"
#include "Framework/GameApplication.h"
#include "Game/Art/GameFonts.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/Options/TMessageBox.h"

namespace {

constexpr int kBoardLeftButton = 1;

int BoardCoordinate(float value) { return static_cast<int>(value); }

// A slot window's turn of the update: it runs while open; once closed it is deleted and the slot
// emptied.
template <class Window>
void UpdateBoardSlot(Window*& slot, float dt) {
  if (slot == nullptr) return;
  if (slot->open) {
    slot->update(dt);
  } else {
    delete slot;
    slot = nullptr;
  }
}

}  // namespace

GameWindow::GameWindow() = default;

GameWindow::~GameWindow() {
  delete mConfirmDialog;
  delete mBanner;
  mMap.reset();
}

void GameWindow::setConfirmDialog(HUDWindow* dialog) {
  if (mConfirmDialog != dialog) delete mConfirmDialog;
  mConfirmDialog = dialog;
}

void GameWindow::setBanner(HUDWindow* banner) {
  if (mBanner != banner) delete mBanner;
  mBanner = banner;
}

VNResultEnum GameWindow::Create() {
  SetHitRect(math::Rect(-10000.0f, -10000.0f, 20000.0f, 20000.0f));
  mPointerX = 0;
  mPointerY = 0;
  render::Render* render = framework::GameApplication::Get()->GetRender();
  render::ParticleSystem* particles = render::ParticleSystem::Instance();
  particles->SetFolder("ruv/fx/");
  particles->Load("fx2.ptc", render);
  mFont32_1 = LoadGameFont(kFontMain32x1);
  mFont32_2 = LoadGameFont(kFontMain32x2);
  mFont42_1 = LoadGameFont(kFontMain42x1);
  mFont42_2 = LoadGameFont(kFontMain42x2);
  mFont80 = LoadGameFont(kFontMain80);
  mFont42_3 = LoadGameFont(kFontMain42x3);
  mMap = std::make_unique<RuvMap>();
  mMap->getWallet()->addGems(mMap->getProgress()->getGems());
  mMap->mHud->pushSplashScreens();
  mConfirmDialog = nullptr;
  mBanner = nullptr;
  return VN_OK;
}

VNResultEnum GameWindow::OnUpdate(float dt) {
  // Every change saves: a save that failed is shown once, wherever the player is.
  if (file::Profiles::TakeSaveFailureNotice()) {
    TalvenDialog::ShowModal(framework::GameApplication::Get()->GetFrameManager(),
                            new TMessageBox(*mMap, u"profile_save_failed", u"", file::Profiles::GetFilePath()));
  }
  UpdateBoardSlot(mConfirmDialog, dt);
  UpdateBoardSlot(mBanner, dt);
  mapUpdate(dt);
  return VN_OK;
}

VNResultEnum GameWindow::OnDrawBefore(render::Graphics* graphics, layer::Layer*) {
  graphics->SetBlendMode(1);
  mMap->draw(*graphics);
  return VN_OK;
}

VNResultEnum GameWindow::OnDrawAfter(render::Graphics* graphics, layer::Layer*) {
  if (mConfirmDialog) mConfirmDialog->draw(*graphics);
  if (mBanner) mBanner->draw(*graphics);
  return VN_OK;
}

VNResultEnum GameWindow::OnKeyDown(int key) {
  mMap->mHud->broadcastKey(key);
  if (mMap->mCheatsEnabled && mMap->mState == kStatePlaying) runCheatKey(key);
  return VN_OK;
}

VNResultEnum GameWindow::OnChar(char16_t character) {
  mMap->mHud->broadcastChar(character);
  return VN_OK;
}

void GameWindow::runCheatKey(int key) {
  switch (key) {
    case 'r':
      mMap->loadSheets();
      mMap->loadLevel();
      break;
    case 'w':
      mMap->winLevel();
      break;
    case 'l':
      mMap->loseLevel();
      break;
    case '1':
      mMap->mShowWaveList = !mMap->mShowWaveList;
      break;
    case '3':
      mMap->mShowDebug = !mMap->mShowDebug;
      break;
    case 'm':
      mMap->getWallet()->addMoney(1000);
      break;
    case 'c':
      mMap->getWallet()->addGems(100);
      break;
    case 'h':
      mMap->mLives = 100.0f;
      mMap->mMaxLives = 100.0f;
      break;
    case '4':
      mMap->mHud->resetSpellButtons();
      break;
    default:
      break;
  }
}

VNResultEnum GameWindow::OnWidgetMouseDown(math::Point3& point, int button) {
  if (button != kBoardLeftButton) return VN_OK;
  const int x = BoardCoordinate(point.x);
  const int y = BoardCoordinate(point.y);
  if (mConfirmDialog) {
    mConfirmDialog->onMouseDown(x, y);
    mConfirmDialog->onMouseMove(x, y);
  } else {
    mapMouseDown(x, y);
  }
  return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseUp(math::Point3& point, int) {
  const int x = BoardCoordinate(point.x);
  const int y = BoardCoordinate(point.y);
  if (mConfirmDialog) {
    mConfirmDialog->onMouseUp(x, y);
  } else {
    mapMouseUp(x, y);
  }
  return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseMove(math::Point3& point) {
  mPointerX = BoardCoordinate(point.x);
  mPointerY = BoardCoordinate(point.y);
  if (mConfirmDialog) {
    mConfirmDialog->onMouseMove(mPointerX, mPointerY);
  } else {
    mapMouseMove(mPointerX, mPointerY);
  }
  return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseDrag(math::Point3& point) {
  const int x = BoardCoordinate(point.x);
  const int y = BoardCoordinate(point.y);
  mapMouseMove(x, y);
  if (mConfirmDialog) mConfirmDialog->onMouseMove(x, y);
  return VN_OK;
}

VNResultEnum GameWindow::OnWidgetMouseWheel(math::Point3&, int delta) {
  mapMouseWheel(static_cast<std::int16_t>(delta));
  return VN_OK;
}

void GameWindow::mapMouseDown(int x, int y) { mMap->onMouseDown(x, y); }
void GameWindow::mapMouseUp(int x, int y) { mMap->onMouseUp(x, y); }
void GameWindow::mapMouseMove(int x, int y) { mMap->onMouseMove(x, y); }
void GameWindow::mapMouseWheel(int delta) { mMap->onMouseWheel(delta); }
void GameWindow::mapUpdate(float dt) { mMap->update(dt); }
