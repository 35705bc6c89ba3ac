#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <tinyxml2.h>

#include "Core/App/Application.h"
#include "Core/Base/DeferredDeleteManager.h"
#include "Core/Input/CoordConverter.h"
#include "Core/Input/InputListener.h"
#include "Core/Input/Win32/MonitorList.h"
#include "Core/Math/Rect.h"
#include "Framework/ScreenParams.h"

namespace base {
class ImageInfo;
}
namespace file {
class ImageContainer;
}
namespace input {
class InputWin32;
}
namespace layer {
class ImageLayer;
}
namespace render {
class Graphics;
class Image;
class Render;
class RenderTarget;
}  // namespace render
namespace widget {
class BaseBoard;
class FrameManager;
}  // namespace widget

namespace framework {

class GameWindow;

// The framework's application object and the base of the game's. Init starts the engine in a fixed
// order (data root, user data and log, the game's PreInit, input, window, renderer, screen fit,
// frame manager, dialog effects) and hands over to OnInit. Owns the window task, the renderer, the
// input object, the frame manager and the off-screen target.
class GameApplication : public app::Application,
                        public input::InputListener,
                        public input::CoordConverter,
                        public base::DeferredDeleteManager {
 public:
  GameApplication();
  ~GameApplication() override;

  // The framework's application (the last constructed and not yet destroyed), or null.
  static GameApplication* Get() { return sApplication; }

  std::vector<base::SingletoneBase*> GetDependencies() override { return {}; }
  // Any failing step ends Init with its result. Arguments other than "--data_path <folder>" and
  // "--pack <word>" are named on standard error and ignored. A data root that cannot be entered, one
  // that holds neither the folder nor the pack of any mount the game made, and a window that cannot
  // be made fail with their reason (FailStart). Another running instance is restored before this
  // one opens the log, and Init then returns 0 with the application stopped.
  VNResultEnum Init() override;
  // Default: fills both bar rectangles with opaque black.
  virtual VNResultEnum DrawLetterbox(render::Graphics& graphics);
  // Device check, input, the game's update, frame manager, deferred deletions, drawing, bars,
  // present and playback.
  virtual VNResultEnum RunFrame(float dt);
  virtual void OnActivate() {}
  virtual void OnDeactivate() {}
  // Between windowed and full screen. When a step fails, the fit and the target are redone for the
  // mode the window is actually in.
  virtual VNResultEnum SwitchScreenMode();
  // The game's start; called last by Init (not with "--pack").
  virtual VNResultEnum OnInit() = 0;
  // The game's per-frame update, before the frame manager. (Update(float) is the task tick.)
  virtual VNResultEnum UpdateGame(float dt) = 0;
  // The game's set-up before input, window and renderer exist.
  virtual VNResultEnum PreInit() { return VN_OK; }

  // Makes the board the root screen: creates it first (deleting it when that fails), then queues
  // the old root's removal and the board's showing.
  VNResultEnum ShowFrame(widget::BaseBoard* board);
  // A new image (the caller's), or null.
  render::Image* LoadImage(const std::u16string& path, file::ImageContainer* container = nullptr);
  VNResultEnum CreateImageLayer(const std::u16string& path, file::ImageContainer* container, layer::ImageLayer** out,
                                base::ImageInfo* info = nullptr);
  // True when a window of wide width x design height does not fit the chosen monitor's work area.
  bool IsWorkAreaTooSmall();

  // Fits for the requested mode on the chosen monitor; fills params and this object's results.
  VNResultEnum FitScreen(bool windowed, ScreenParams& params);
  // Makes the off-screen target when the fit asks for one.
  VNResultEnum CreateRenderTarget(const ScreenParams& params);

  // input::InputListener: mouse events go to the frame manager; keys to the active frame's focus
  // widget's listener.
  VNResultEnum OnMouseDown(const math::Point2& point, int button) override;
  VNResultEnum OnMouseUp(const math::Point2& point, int button) override;
  VNResultEnum OnMouseDoubleClick(const math::Point2& point, int button) override;
  VNResultEnum OnMouseMove(const math::Point2& point) override;
  VNResultEnum OnMouseDrag(const math::Point2& point) override;
  VNResultEnum OnMouseWheel(const math::Point2& point, int delta) override;
  VNResultEnum OnMouseLeave(const math::Point2&) override { return VN_OK; }
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void OnChar(int character) override;
  VNResultEnum OnTouchDown(const input::Touches& touches) override;
  VNResultEnum OnTouchMove(const input::Touches& touches) override;
  VNResultEnum OnTouchUp(const input::Touches& touches) override;
  VNResultEnum OnTouchCancel(const input::Touches& touches) override;

  // input::CoordConverter.
  math::Point2 ToLogical(const math::Point2& windowPoint) override;
  math::Point2 ApplyOrientation(const math::Point2& point, int orientation) override;

  GameWindow* GetWindow() const { return mWindow; }
  render::Render* GetRender() const { return mRender; }
  widget::FrameManager* GetFrameManager() const { return mFrameManager; }
  input::InputWin32* GetInput() const { return mInput; }
  render::RenderTarget* GetRenderTarget() const { return mRenderTarget; }
  const DesignSize& GetDesignSize() const { return mDesign; }
  const math::Rect& GetRootRect() const { return mRootRect; }
  const ScreenFitResults& GetFit() const { return mFit; }
  const std::u16string& GetWindowTitle() const { return mWindowTitle; }
  void SetWindowTitle(const std::u16string& title) { mWindowTitle = title; }
  bool IsWindowedRequested() const { return mWindowed; }
  void SetWindowedRequested(bool windowed) { mWindowed = windowed; }
  widget::BaseBoard* GetRootBoard() const { return mRootBoard; }
  tinyxml2::XMLDocument& GetConfig() { return mConfig; }

 protected:
  // For tests and the start-up: a renderer to use instead of the Direct3D 9 one; owned from then.
  void SetRender(render::Render* render);
  // Takes every shown frame out and deletes it, with the root board even when it waits to be shown.
  // The destructor does it too; a game whose frames use its own members calls it first.
  void DeleteFrames();
  // Fills in the monitors as Init does.
  app::MonitorList& GetMonitors() { return mMonitors; }

  GameWindow* mWindow = nullptr;
  render::Render* mRender = nullptr;
  widget::FrameManager* mFrameManager = nullptr;
  input::InputWin32* mInput = nullptr;
  std::u16string mMakerName;
  std::u16string mProductName;
  std::u16string mWindowTitle;
  DesignSize mDesign;
  bool mWindowed = true;

 private:
  static constexpr char16_t kConfigPath[] = u"data/game.xml";

  VNResultEnum EnterDataRoot();
  VNResultEnum CheckDataRoot();
  bool RestoreRunningInstance();
  VNResultEnum LoadConfiguration();
  // After a failed switch: fit again for the mode the window is in and remake the target.
  void RefitForCurrentMode();
  VNResultEnum DrawFrames(render::Graphics& screen);

  app::MonitorList mMonitors;
  ScreenFitResults mFit;
  tinyxml2::XMLDocument mConfig{true, tinyxml2::PRESERVE_WHITESPACE};
  render::RenderTarget* mRenderTarget = nullptr;
  math::Rect mRootRect;
  std::u16string mDataRoot;
  widget::BaseBoard* mRootBoard = nullptr;

  static inline GameApplication* sApplication = nullptr;
};

}  // namespace framework
