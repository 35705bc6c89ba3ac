#include "Framework/GameApplication.h"

#include <cstdio>
#include <memory>

#include "Core/Base/DataFileLog.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/StringEncoding.h"
#include "Core/Base/TextFile.h"
#include "Core/File/FileManager.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Gui/GameControl.h"
#include "Core/Gui/PackScreen.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/DialogEffects.h"
#include "Core/Widget/FrameManager.h"
#include "Core/Widget/WidgetListener.h"
#include "Framework/GameWindow.h"
#include "Platform/Win32/Window.h"

namespace framework {

namespace {

constexpr char16_t kGameAppWindowClass[] = u"ApplicationWindow";
constexpr char16_t kUsage[] = u"usage: quellmark2 [--data_path <folder>] | quellmark2 --pack <word>";

// Only the first argument selects what the start does; anything else is named and then ignored.
void ReportUnknownArguments(const std::vector<std::u16string>& arguments) {
  if (arguments.empty() || arguments[0] == u"--pack") return;
  std::string names;
  for (const std::u16string& argument : arguments) {
    names += (names.empty() ? "'" : " '") + base::ToNarrow(argument, base::kEncodingUtf8) + "'";
  }
  std::fprintf(stderr,
               "quellmark2: ignored unknown argument%s %s; the known ones: --data_path <folder> (the data root), "
               "--pack <word> (rebuild the packs of the data root)\n",
               arguments.size() > 1 ? "s" : "", names.c_str());
}

widget::WidgetListener* FocusListenerOf(widget::FrameManager* frames) {
  if (frames == nullptr) return nullptr;
  widget::Frame* active = frames->GetActiveFrame();
  if (active == nullptr || active->GetFocusWidget() == nullptr) return nullptr;
  return active->GetFocusWidget()->GetListener();
}

}  // namespace

GameApplication::GameApplication() {
  sApplication = this;
  base::SingletoneBase::AddDependency(this, resource::ResourceManager::Instance());
}

GameApplication::~GameApplication() {
  DeleteQueued();
  delete mRenderTarget;
  delete mInput;
  DeleteFrames();
  delete mFrameManager;
  gui::GameControlHelper::SetRender(nullptr);
  if (widget::DialogEffectsManager::Exists()) {
    // Their animations may hold mesh-library textures of this renderer.
    widget::DialogEffectsManager::Instance()->Clear();
    widget::DialogEffectsManager::Instance()->SetRender(nullptr);
  }
  delete mRender;
  delete mWindow;
  if (sApplication == this) sApplication = nullptr;
}

void GameApplication::DeleteFrames() {
  if (mFrameManager == nullptr) return;
  // The frames shown, the root board among them, go with the manager; a root board still waiting
  // to be shown is deleted here.
  bool rootShown = false;
  for (const widget::FrameEntry& entry : mFrameManager->GetShown()) {
    rootShown = rootShown || entry.mFrame == mRootBoard;
  }
  mFrameManager->RemoveAllFrames(true, false);
  if (!rootShown) delete mRootBoard;
  mRootBoard = nullptr;
}

void GameApplication::SetRender(render::Render* render) {
  delete mRender;
  mRender = render;
}

VNResultEnum GameApplication::EnterDataRoot() {
  const std::vector<std::u16string>& arguments = GetArguments();
  std::u16string root = GetProgramFolderPath();
  if (!arguments.empty() && arguments[0] == u"--data_path") {
    if (arguments.size() != 2) {
      return FailStart(std::u16string(u"'--data_path' takes one folder and nothing after it; ") + kUsage);
    }
    root = arguments[1];
  } else {
    ReportUnknownArguments(arguments);
  }
  mDataRoot = root;
  // Every data file is found relative to it: a root that cannot be entered is a failed start.
  if (file::FileManager::Instance()->SetCurrentDirectory(root) != VN_OK) {
    return FailStart(u"the data root '" + root +
                     u"' cannot be entered; give the data folder with --data_path <folder>");
  }
  return VN_OK;
}

VNResultEnum GameApplication::CheckDataRoot() {
  file::FileManager* files = file::FileManager::Instance();
  const file::FileManager::MountTable& mounts = files->GetMountTable();
  if (mounts.empty()) return VN_OK;
  std::u16string looked;
  for (const auto& [prefix, pack] : mounts) {
    std::u16string folder = prefix;
    if (!folder.empty() && folder.back() == u'/') folder.pop_back();
    if (files->IsFolder(folder) || files->Exists(pack)) return VN_OK;
    looked += (looked.empty() ? u"" : u", ") + prefix + u" or " + pack;
  }
  return FailStart(u"the data root '" + mDataRoot + u"' holds none of the game's data (" + looked +
                   u"); give the data folder with --data_path <folder>");
}

bool GameApplication::RestoreRunningInstance() {
  const win32::HWND running = win32::FindWindowW(kGameAppWindowClass, mWindowTitle.c_str());
  if (running == nullptr) return false;
  win32::ShowWindow(running, win32::SW_RESTORE);
  SetSecondInstance(true);
  StopTree();
  return true;
}

VNResultEnum GameApplication::Init() {
  VNResultEnum result = EnterDataRoot();
  if (result != VN_OK) return result;

  file::UserDataFileContainer::Instance()->SetRootPath(GetUserBaseFolder() + mMakerName + u"/" + mProductName + u"/");
  // Before the log file: a second instance must not truncate the running one's log.
  if (RestoreRunningInstance()) return VN_OK;
  InitLogFile(file::UserDataFileContainer::Instance()->GetPath());
  app::Application::Init();

  result = PreInit();
  if (result != VN_OK) return result;
  result = CheckDataRoot();
  if (result != VN_OK) return result;

  mRootRect = math::Rect((static_cast<float>(mDesign.mWidth) - static_cast<float>(mDesign.mWideWidth)) * 0.5f, 0.0f,
                         static_cast<float>(mDesign.mWideWidth), static_cast<float>(mDesign.mHeight));
  mInput = new input::InputWin32(this, this);
  mWindow = new GameWindow(mInput);
  mMonitors.Refresh();
  ScreenParams params;
  if (mRender == nullptr) mRender = new render::RenderDX9;
  gui::GameControlHelper::SetRender(mRender);
  result = FitScreen(mWindowed, params);
  if (result != VN_OK) return result;

  result = mWindow->Create(params.mX, params.mY, static_cast<int>(params.mOuterWidth),
                           static_cast<int>(params.mOuterHeight), static_cast<int>(params.mRenderParam.mWidth),
                           static_cast<int>(params.mRenderParam.mHeight), params.mRenderParam.mWindowed,
                           mWindowTitle);
  if (result != VN_OK) {
    return FailStart(u"no window can be made: the game needs a display (DISPLAY) with OpenGL 3.3, or "
                     u"SDL_VIDEODRIVER=offscreen to run without one");
  }
  // Another instance that started after our first look.
  if (IsStopRequested()) return VN_OK;

  result = mRender->InitRender(mWindow, params.mRenderParam);
  if (result != VN_OK) return result;
  result = CreateRenderTarget(params);
  if (result != VN_OK) return result;
  AddTask(mWindow);
  mFrameManager = new widget::FrameManager;

  const std::vector<std::u16string>& arguments = GetArguments();
  if (!arguments.empty() && arguments[0] == u"--pack") {
    if (arguments.size() != 2) {
      return FailStart(std::u16string(u"'--pack' takes one word and nothing after it; ") + kUsage);
    }
    return ShowFrame(new gui::PackScreen(arguments[1]));
  }

  result = LoadConfiguration();
  if (result != VN_OK) return result;
  return OnInit();
}

VNResultEnum GameApplication::LoadConfiguration() {
  const std::string text = base::ReadTextFile(kConfigPath);
  // Without it the dialogs simply show and hide at once.
  base::ParseDataXml(u"GameApplication", kConfigPath, text, mConfig);
  widget::DialogEffectsManager* effects = widget::DialogEffectsManager::Instance();
  effects->SetRender(mRender);
  const tinyxml2::XMLElement* game = mConfig.FirstChildElement("Game");
  const tinyxml2::XMLElement* section = game ? game->FirstChildElement("DialogEffects") : nullptr;
  if (!section && !mConfig.Error()) base::LogDataFileProblem(u"GameApplication", kConfigPath, u"has no <Game><DialogEffects>");
  return section ? effects->Load(section) : VN_OK;
}

VNResultEnum GameApplication::ShowFrame(widget::BaseBoard* board) {
  board->SetHitRect(mRootRect);
  // Created before anything is queued: a board that fails leaves the old root as it was.
  const VNResultEnum result = board->Create();
  if (result != VN_OK) {
    base::LogBlock(u"The root board could not be created\n");
    delete board;
    return result;
  }
  if (mRootBoard != nullptr) mFrameManager->RemoveFrame(mRootBoard, true, true);
  mRootBoard = board;
  return mFrameManager->AddFrame(board, false, true, true);
}

render::Image* GameApplication::LoadImage(const std::u16string& path, file::ImageContainer* container) {
  render::Image* image = nullptr;
  if (mRender->LoadImage(path, container, &image, nullptr) != VN_OK) return nullptr;
  return image;
}

VNResultEnum GameApplication::CreateImageLayer(const std::u16string& path, file::ImageContainer* container,
                                               layer::ImageLayer** out, base::ImageInfo* info) {
  return gui::LoadImageLayer(mRender, path, container, out, info);
}

bool GameApplication::IsWorkAreaTooSmall() {
  app::MonitorInfo monitor{};
  ChooseFitMonitor(mMonitors, monitor);
  return IsWorkAreaTooSmallFor(monitor, mDesign);
}

VNResultEnum GameApplication::FitScreen(bool windowed, ScreenParams& params) {
  app::MonitorInfo monitor{};
  ChooseFitMonitor(mMonitors, monitor);
  return FitScreenToMonitor(monitor, mDesign, windowed, *mRender, params, mFit);
}

VNResultEnum GameApplication::CreateRenderTarget(const ScreenParams& params) {
  if (!params.mOffScreen) return VN_OK;
  render::RenderTarget* target = nullptr;
  const VNResultEnum result = mRender->CreateRenderTarget(params.mTargetWidth, params.mTargetHeight, &target, false);
  if (result != VN_OK) return result;
  target->mProjection = params.mTargetProjection;
  target->mViewportScaleX = params.mTargetViewportScaleX;
  target->mViewportScaleY = params.mTargetViewportScaleY;
  target->mViewportOffsetX = params.mTargetViewportOffsetX;
  target->mViewportOffsetY = params.mTargetViewportOffsetY;
  delete mRenderTarget;
  mRenderTarget = target;
  return VN_OK;
}

VNResultEnum GameApplication::OnMouseDown(const math::Point2& point, int button) {
  return mFrameManager->OnMouseDown(point, button);
}
VNResultEnum GameApplication::OnMouseUp(const math::Point2& point, int button) {
  return mFrameManager->OnMouseUp(point, button);
}
VNResultEnum GameApplication::OnMouseDoubleClick(const math::Point2& point, int button) {
  return mFrameManager->OnMouseDoubleClick(point, button);
}
VNResultEnum GameApplication::OnMouseMove(const math::Point2& point) { return mFrameManager->OnMouseMove(point); }
VNResultEnum GameApplication::OnMouseDrag(const math::Point2& point) { return mFrameManager->OnMouseDrag(point); }
VNResultEnum GameApplication::OnMouseWheel(const math::Point2& point, int delta) {
  return mFrameManager->OnMouseWheel(point, delta);
}

void GameApplication::OnKeyDown(int key) {
  if (widget::WidgetListener* listener = FocusListenerOf(mFrameManager)) listener->OnKeyDown(key);
}
void GameApplication::OnKeyUp(int key) {
  if (widget::WidgetListener* listener = FocusListenerOf(mFrameManager)) listener->OnKeyUp(key);
}
void GameApplication::OnChar(int character) {
  if (widget::WidgetListener* listener = FocusListenerOf(mFrameManager)) {
    listener->OnChar(static_cast<char16_t>(character));
  }
}

VNResultEnum GameApplication::OnTouchDown(const input::Touches& touches) {
  if (touches.empty()) return VN_OK;
  return mFrameManager->OnMouseDown(math::Point2(touches[0].x, touches[0].y), 1);
}
VNResultEnum GameApplication::OnTouchMove(const input::Touches& touches) {
  if (touches.empty()) return VN_OK;
  return mFrameManager->OnMouseDrag(math::Point2(touches[0].x, touches[0].y));
}
VNResultEnum GameApplication::OnTouchUp(const input::Touches& touches) {
  if (touches.empty()) return VN_OK;
  return mFrameManager->OnMouseUp(math::Point2(touches[0].x, touches[0].y), 1);
}
VNResultEnum GameApplication::OnTouchCancel(const input::Touches& touches) { return OnTouchUp(touches); }

math::Point2 GameApplication::ToLogical(const math::Point2& windowPoint) {
  math::Point2 out;
  mFit.ToLogical(windowPoint.x, windowPoint.y, out.x, out.y);
  return out;
}

math::Point2 GameApplication::ApplyOrientation(const math::Point2& point, int orientation) {
  if (mWindow == nullptr) return point;
  if (orientation == 1) return math::Point2(static_cast<float>(mWindow->GetWidth()) - point.y, point.x);
  if (orientation == 3) return math::Point2(point.y, static_cast<float>(mWindow->GetHeight()) - point.x);
  return point;
}

}  // namespace framework
