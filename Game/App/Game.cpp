#include "Game/App/Game.h"

#include <tinyxml2.h>

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/File/Profiles.h"
#include "Core/Math/Color.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/LoadShader.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Render.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/GameWindow.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Art/RuvResources.h"
#include "Game/Battle/RuvMap.h"

namespace {

// Screen states whose screens are drawn for the 1024-wide design area only (with a modal dialog
// over them).
bool ShowsSidesInBars(int state) {
  return state == kStateEpisodeSelect || state == kStateLevelSelect || state == kStateUpgradeShop ||
         state == kStateModalMessage;
}

// Draws image scaled by scale, anchored at its top-right (rightAnchored) or top-left corner, at x, y.
void DrawSideImage(render::Graphics& graphics, render::Image* image, float scale, bool rightAnchored, float x,
                   float y) {
  // A picture that did not load is left out, and so is the right one when the left one, which
  // gives the scale, is missing.
  if (image == nullptr || scale <= 0.0f) return;
  auto request = graphics.DrawImage(image);
  request->mHorizontalAnchor = rightAnchored ? render::DrawImageParam::kAnchorEnd : render::DrawImageParam::kAnchorStart;
  request->mVerticalAnchor = render::DrawImageParam::kAnchorStart;
  auto scaled = request.Scale(scale, scale);
  scaled.GetTransform().Translate(x, y);
}

// The scale that makes the left side picture height tall; 0 when it is missing or has no height.
float SideScale(const render::Image* left, float height) {
  if (left == nullptr || left->GetHeight() <= 0) return 0.0f;
  return height / static_cast<float>(left->GetHeight());
}

}  // namespace

Game::Game() {
  mDesign = framework::DesignSize{1024, 768, 1366};
  mMakerName = u"Ninebrook";
  mProductName = u"Quellmark2";
  mWindowTitle = kEarlyCaption;
  sGame = this;
}

Game::~Game() {
  if (render::ParticleSystem::Exists()) render::ParticleSystem::Instance()->ReleaseAtlases();
  // The board and its map go before the pictures and the shader they draw with.
  DeleteFrames();
  mGameWindow = nullptr;
  delete mLoadingImage;
  delete mSideLeft;
  delete mSideRight;
  mMobShader = resource::ResourcePtr<TMobShader>();
  // The art cache loads through this game's renderer, which goes with the framework part.
  if (RuvResources::Exists()) RuvResources::Instance()->setRender(nullptr);
  if (sGame == this) sGame = nullptr;
}

RuvMap* Game::getMap() const { return mGameWindow ? mGameWindow->getMap() : nullptr; }

bool Game::windowedFromProfile(const tinyxml2::XMLElement* profile) {
  const tinyxml2::XMLElement* fs = profile ? profile->FirstChildElement("fs") : nullptr;
  if (fs == nullptr) return false;
  bool fullscreen = false;
  fs->QueryBoolAttribute("v", &fullscreen);
  return !fullscreen;
}

VNResultEnum Game::PreInit() {
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = u"data.dat";
  mWindowTitle = LocalStrings::Instance()->get(u"game_caption");
  file::Profiles* profiles = file::Profiles::Instance();
  profiles->Load();
  mWindowed = windowedFromProfile(profiles->GetCurrentProfile());
  return VN_OK;
}

VNResultEnum Game::OnInit() {
  purchase::PurchaseSystem::Instance()->LoadProducts(u"ruv/inapp.xml");
  resource::ResourcePtr<TMobShader> shader;
  if (mRender->LoadShader<TMobShader>(u"ruv/Shaders/MobShader/DX/", shader) == VN_OK) mMobShader = shader;

  if (file::ImageContainer* sides = file::FileManager::Instance()->OpenImageContainer(u"ruv/data/sides")) {
    mSideLeft = LoadImage(u"l", sides);
    mSideRight = LoadImage(u"r", sides);
    delete sides;
  }
  mLoadingImage = LoadImage(u"ruv/data/loading");

  // The map's art sets load through the game's image loader.
  RuvResources::Instance()->setRender(mRender);
  mGameWindow = new GameWindow;
  if (ShowFrame(mGameWindow) != VN_OK) mGameWindow = nullptr;  // deleted by ShowFrame
  // The board and its map go before the shader (see the destructor).
  if (RuvMap* map = getMap()) map->mMobShader = mMobShader.Get();
  return VN_OK;
}

VNResultEnum Game::DrawLetterbox(render::Graphics& graphics) {
  const RuvMap* map = getMap();
  if (map == nullptr) return GameApplication::DrawLetterbox(graphics);
  if (!ShowsSidesInBars(map->mState)) return VN_OK;
  const framework::ScreenFitResults& fit = GetFit();
  if (!fit.mBarsVertical) return GameApplication::DrawLetterbox(graphics);
  const float scale = SideScale(mSideLeft, fit.mBar1.height);
  DrawSideImage(graphics, mSideLeft, scale, true, fit.mBar1.x + fit.mBar1.width, fit.mBar1.y);
  DrawSideImage(graphics, mSideRight, scale, false, fit.mBar2.x, fit.mBar2.y);
  return VN_OK;
}

void Game::drawSideImages(render::Graphics& graphics) {
  const float scale = SideScale(mSideLeft, GetFit().mViewport.height);
  DrawSideImage(graphics, mSideLeft, scale, true, 1.0f, 0.0f);
  DrawSideImage(graphics, mSideRight, scale, false, 1023.0f, 0.0f);
}

void Game::showLoadingScreen() {
  if (mRender == nullptr) return;
  const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  mRender->Clear(render::Render::kClearTarget, black, 1.0f, 0);
  mRender->BeginFrame();
  {
    render::Graphics graphics(mRender);
    if (mLoadingImage != nullptr) {
      auto request = graphics.DrawImage(mLoadingImage);
      if (GetRenderTarget() != nullptr) {
        const framework::ScreenFitResults& fit = GetFit();
        request->mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
        request->mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
        auto scaled = request.Scale(fit.mDrawScaleX, fit.mDrawScaleY);
        scaled.GetTransform().Translate(683.0f * fit.mDrawScaleX, 384.0f * fit.mDrawScaleY);
      }
    }
  }
  mRender->EndFrame();
  mRender->Present();
  mRender->PlayCommands();
}

VNResultEnum Game::SwitchScreenMode() {
  const bool wasWindowed = mWindow->IsWindowed();
  const VNResultEnum result = GameApplication::SwitchScreenMode();
  if (result != VN_OK) return result;
  const bool windowed = mWindow->IsWindowed();
  RuvMap* map = getMap();
  if (windowed != wasWindowed && map != nullptr && map->getProgress() != nullptr) {
    map->getProgress()->setFullscreen(!windowed);
  }
  return VN_OK;
}

void Game::OnActivate() { SoundSystem::Instance()->Resume(); }

void Game::OnDeactivate() {
  SoundSystem::Instance()->Pause();
  if (RuvMap* map = getMap()) map->onAppPause();
}

void Game::OnKeyDown(int key) {
  if (mGameWindow == nullptr) return GameApplication::OnKeyDown(key);
  mGameWindow->OnKeyDown(key);
}

void Game::OnKeyUp(int key) {
  if (mGameWindow == nullptr) return GameApplication::OnKeyUp(key);
  mGameWindow->OnKeyUp(key);
}

void Game::OnChar(int character) {
  if (mGameWindow == nullptr) return GameApplication::OnChar(character);
  mGameWindow->OnChar(static_cast<char16_t>(character));
}
