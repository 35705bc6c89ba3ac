// The frame, the default bars and the screen-mode switch of the application.
#include "Core/Base/LogMessage.h"
#include "Core/Base/StaticEvent.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Math/Color.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"

namespace framework {

namespace {

const math::Color kFrameLoopBlack(0.0f, 0.0f, 0.0f, 1.0f);

}  // namespace

VNResultEnum GameApplication::DrawFrames(render::Graphics& screen) {
  if (mRenderTarget == nullptr) return mFrameManager->Draw(&screen);
  VNResultEnum result = VN_OK;
  {
    render::Graphics target(mRenderTarget);
    result = target.Clear(render::Render::kClearTarget, kFrameLoopBlack, 1.0f, 0);
    if (result == VN_OK) result = mFrameManager->Draw(&target);
  }
  if (result != VN_OK) return result;
  auto request = screen.DrawImage(mRenderTarget);
  request.mData.mHorizontalAnchor = render::DrawImageParam::kAnchorCentre;
  request.mData.mVerticalAnchor = render::DrawImageParam::kAnchorCentre;
  auto scaled = request.Scale(mFit.mDrawScaleX, mFit.mDrawScaleY);
  scaled.GetTransform().Translate(mFit.mDrawCentreX, mFit.mDrawCentreY);
  return VN_OK;
}

VNResultEnum GameApplication::RunFrame(float dt) {
  if (!mRender->CheckDevice()) return VN_OK;
  VNResultEnum result = mInput->Update();
  if (result != VN_OK) return result;
  result = UpdateGame(dt);
  if (result != VN_OK) return result;
  result = mFrameManager->UpdateTree(dt);
  if (result != VN_OK) return result;
  DeleteQueued();
  result = mRender->BeginFrame();
  if (result != VN_OK) return result;

  render::Graphics screen(mRender);
  result = screen.Clear(render::Render::kClearTarget, kFrameLoopBlack, 1.0f, 0);
  if (result == VN_OK) result = DrawFrames(screen);
  if (result == VN_OK && mFit.mBars) result = DrawLetterbox(screen);
  if (result == VN_OK) result = mRender->EndFrame();
  if (result == VN_OK) result = mRender->Present();
  if (result == VN_OK) result = mRender->PlayCommands();
  return result;
}

VNResultEnum GameApplication::DrawLetterbox(render::Graphics& graphics) {
  graphics.SetColor(kFrameLoopBlack);
  graphics.FillRect(mFit.mBar1);
  graphics.FillRect(mFit.mBar2);
  return VN_OK;
}

void GameApplication::RefitForCurrentMode() {
  delete mRenderTarget;
  mRenderTarget = nullptr;
  ScreenParams params;
  if (FitScreen(mWindow->IsWindowed(), params) == VN_OK) CreateRenderTarget(params);
}

VNResultEnum GameApplication::SwitchScreenMode() {
  const bool wasWindowed = mWindow->IsWindowed();
  ScreenParams params;
  VNResultEnum result = FitScreen(!wasWindowed, params);
  if (result != VN_OK) {
    RefitForCurrentMode();
    return result;
  }
  if (params.mWindowedRefused) {
    // The fit's results describe the refused mode: put back those of the mode in effect.
    RefitForCurrentMode();
    return VN_OK;
  }
  delete mRenderTarget;
  mRenderTarget = nullptr;

  const int outerWidth = static_cast<int>(params.mOuterWidth);
  const int outerHeight = static_cast<int>(params.mOuterHeight);
  base::LogPlain(u"mRender->PrepareSwitchScreenMode()\n");
  result = mRender->PrepareSwitchScreenMode();
  if (result == VN_OK && wasWindowed) {
    base::LogPlain(u"SwitchWindowMode(false)\n");
    result = mWindow->SwitchWindowMode(outerWidth, outerHeight, false);
    if (result == VN_OK) {
      base::LogPlain(u"mRender->SwitchScreenMode()\n");
      result = mRender->SwitchScreenMode(params.mRenderParam);
    }
  } else if (result == VN_OK) {
    base::LogPlain(u"mWindow->SetWindowedSize()\n");
    mWindow->SetWindowedSize(outerWidth, outerHeight);
    base::LogPlain(u"mRender->SwitchScreenMode()\n");
    result = mRender->SwitchScreenMode(params.mRenderParam);
    if (result == VN_OK) {
      base::LogPlain(u"SwitchWindowMode(true)\n");
      mWindow->SwitchWindowMode(outerWidth, outerHeight, true);
    }
  }
  if (result == VN_OK) result = CreateRenderTarget(params);
  if (result != VN_OK) {
    base::LogBlock(u"The screen-mode switch failed; fitted again for the current mode\n");
    RefitForCurrentMode();
    return result;
  }
  if (mWindow->IsWindowed() != wasWindowed) base::StaticEvent::Fire(mWindow->IsWindowed());
  return VN_OK;
}

}  // namespace framework
