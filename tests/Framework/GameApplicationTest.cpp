#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/App/Win32/WindowWin32.h"
#include "Core/Base/StaticEvent.h"
#include "Core/File/FileManager.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/FrameManager.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "fakes/MainLogRecorder.h"
#include "fakes/ScratchFolder.h"
#include "fakes/RecordingRender.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

// A renderer whose screen-mode switch can be made to fail.
class SwitchingTestRender : public fakes::RecordingRender {
 public:
  VNResultEnum SwitchScreenMode(const render::RenderInitParam& param) override {
    mSwitches.push_back(param);
    return mFailSwitch ? VN_FAIL : VN_OK;
  }
  bool mFailSwitch = false;
  std::vector<render::RenderInitParam> mSwitches;
};

// The framework application with the recording renderer and a record of the game's hooks.
class RecordingGameApplication : public framework::GameApplication {
 public:
  explicit RecordingGameApplication(std::vector<std::string>* calls) : mCalls(calls) {
    mDesign = framework::DesignSize{1024, 768, 1366};
    mMakerName = u"Maker";
    mProductName = u"Product";
    mWindowTitle = u"Framework test window";
    mTestRender = new SwitchingTestRender;
    SetRender(mTestRender);
  }
  VNResultEnum PreInit() override {
    mCalls->push_back("PreInit");
    return mPreInitResult;
  }
  VNResultEnum OnInit() override {
    mCalls->push_back("OnInit");
    return ShowFrame(new widget::BaseBoard);
  }
  VNResultEnum UpdateGame(float) override {
    mCalls->push_back("UpdateGame");
    return VN_OK;
  }
  VNResultEnum DrawLetterbox(render::Graphics& graphics) override {
    mCalls->push_back("DrawLetterbox");
    return GameApplication::DrawLetterbox(graphics);
  }

  std::vector<std::string>* mCalls;
  SwitchingTestRender* mTestRender;
  VNResultEnum mPreInitResult = VN_OK;
};

// Each test in a scratch current folder with a scripted window system of one 1920x1080 monitor.
class GameApplicationTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::filesystem::create_directories("data_root/ruv");
    file::FileManager::Instance()->GetMountTable().clear();
    SetMonitor(1920, 1080);
  }
  void TearDown() override {
    app::ApplicationWin32::SetSecondInstance(false);
    ScratchFolderTest::TearDown();
  }
  void SetMonitor(int width, int height) {
    mWindows.monitors = {win32::MONITORINFO{sizeof(win32::MONITORINFO), {0, 0, width, height}, {0, 0, width, height},
                                            win32::MONITORINFOF_PRIMARY}};
  }
  std::unique_ptr<RecordingGameApplication> MakeApplication(std::vector<std::u16string> arguments) {
    auto application = std::make_unique<RecordingGameApplication>(&mCalls);
    application->SetArguments(std::move(arguments));
    application->SetFolders((mRoot / "data_root").u16string() + u"/", (mRoot / "user").u16string() + u"/");
    return application;
  }
  static std::string ReadFrameworkTestFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fakes::ScriptedWindowSystem mWindows;
  std::vector<std::string> mCalls;
};

TEST_F(GameApplicationTest, ArgumentTable) {
  struct Case {
    const char* name;
    std::vector<std::u16string> arguments;
    VNResultEnum result;
    bool window;    // the window task exists
    bool frames;    // the frame manager exists
    bool onInit;
  };
  const std::u16string root = (mRoot / "data_root").u16string();
  const Case cases[] = {
      {"--data_path alone", {u"--data_path"}, VN_FAIL, false, false, false},
      {"--data_path with two words", {u"--data_path", root, u"x"}, VN_FAIL, false, false, false},
      {"--data_path to a folder that cannot be entered", {u"--data_path", u"/no/such/folder"}, VN_FAIL, false, false,
       false},
      {"--data_path to a folder", {u"--data_path", root}, VN_OK, true, true, true},
      {"--pack alone", {u"--pack"}, VN_FAIL, true, true, false},
      {"--pack with two words", {u"--pack", u"a", u"b"}, VN_FAIL, true, true, false},
      {"--pack and a word", {u"--pack", u"x"}, VN_OK, true, true, false},
      {"another first word", {u"--Data_path", u"x"}, VN_OK, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::current_path(mRoot);
    mCalls.clear();
    fakes::MainLogRecorder log;
    auto application = MakeApplication(c.arguments);
    EXPECT_EQ(c.result, application->Init());
    EXPECT_EQ(c.window, application->GetWindow() != nullptr);
    EXPECT_EQ(c.frames, application->GetFrameManager() != nullptr);
    EXPECT_EQ(c.onInit, !mCalls.empty() && mCalls.back() == "OnInit");
    if (c.result == VN_FAIL && !c.window) {
      EXPECT_FALSE(log.Text().empty());
    }
  }
  std::filesystem::current_path(mRoot);
}

TEST_F(GameApplicationTest, DataRootBecomesTheCurrentFolder) {
  auto application = MakeApplication({u"--data_path", (mRoot / "data_root").u16string()});
  ASSERT_EQ(VN_OK, application->Init());
  EXPECT_EQ(std::filesystem::canonical(mRoot / "data_root"), std::filesystem::current_path());
  EXPECT_TRUE(std::filesystem::exists(mRoot / "user/Maker/Product/log.html"));
  std::filesystem::current_path(mRoot);
}

TEST_F(GameApplicationTest, StartUpOrderAndRootRectangle) {
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  EXPECT_EQ((std::vector<std::string>{"PreInit", "OnInit"}), mCalls);
  const math::Rect& root = application->GetRootRect();
  EXPECT_FLOAT_EQ(-171.0f, root.x);
  EXPECT_FLOAT_EQ(0.0f, root.y);
  EXPECT_FLOAT_EQ(1366.0f, root.width);
  EXPECT_FLOAT_EQ(768.0f, root.height);
  // Windowed on 1920x1080: centred, 1366x768, drawn directly.
  ASSERT_TRUE(application->GetWindow()->IsCreated());
  EXPECT_EQ(277, application->GetWindow()->GetX());
  EXPECT_EQ(156, application->GetWindow()->GetY());
  EXPECT_EQ(nullptr, application->GetRenderTarget());
  EXPECT_TRUE(std::filesystem::exists(mRoot / "user/Maker/Product/log.html"));
}

TEST_F(GameApplicationTest, FailedPreInitEndsTheStartBeforeTheWindow) {
  auto application = MakeApplication({});
  application->mPreInitResult = VN_FAIL;
  EXPECT_EQ(VN_FAIL, application->Init());
  EXPECT_EQ(nullptr, application->GetWindow());
}

TEST_F(GameApplicationTest, SecondInstanceRestoresTheFirstAndWritesNoLog) {
  auto first = MakeApplication({});
  ASSERT_EQ(VN_OK, first->Init());
  const std::string logBefore = ReadFrameworkTestFile(mRoot / "user/Maker/Product/log.html");
  ASSERT_FALSE(logBefore.empty());
  mCalls.clear();
  auto second = MakeApplication({});
  EXPECT_EQ(VN_OK, second->Init());
  EXPECT_TRUE(app::ApplicationWin32::IsSecondInstance());
  EXPECT_TRUE(second->IsStopRequested() || second->IsStopped());
  EXPECT_TRUE(mCalls.empty());
  EXPECT_EQ(nullptr, second->GetWindow());
  EXPECT_EQ(logBefore, ReadFrameworkTestFile(mRoot / "user/Maker/Product/log.html"));
  EXPECT_EQ(1, mWindows.restored);
}

TEST_F(GameApplicationTest, PackModeBuildsTheMountedPacks) {
  std::ofstream("data_root/ruv/a.txt") << "abc";
  auto application = MakeApplication({u"--pack", u"x"});
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = u"data.dat";
  EXPECT_EQ(VN_OK, application->Init());
  EXPECT_TRUE(mCalls.empty() || mCalls.back() != "OnInit");
  // Directory 14 + one entry 27, body 3.
  EXPECT_EQ(44u, std::filesystem::file_size(mRoot / "data_root/data.dat"));
  std::filesystem::current_path(mRoot);
}

// A data root is accepted when it holds the folder or the pack of a mount the game made; one that
// holds neither ends the start before the window, and the reason names the folder.
TEST_F(GameApplicationTest, DataRootMustHoldAMountedFolderOrPack) {
  struct Case {
    const char* name;
    const char* entry;  // made in the data root; null: nothing
    bool folder;
    VNResultEnum result;
  };
  const Case cases[] = {
      {"nothing", nullptr, false, VN_FAIL},
      {"the folder", "ruv", true, VN_OK},
      {"the pack", "data.dat", false, VN_OK},
      {"another folder", "other", true, VN_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path root = mRoot / (std::string("root_") + std::to_string(&c - cases));
    std::filesystem::create_directories(root);
    if (c.entry != nullptr && c.folder) std::filesystem::create_directories(root / c.entry);
    if (c.entry != nullptr && !c.folder) std::ofstream(root / c.entry) << "x";
    file::FileManager::Instance()->GetMountTable()[u"ruv/"] = u"data.dat";
    fakes::MainLogRecorder log;
    auto application = MakeApplication({u"--data_path", root.u16string()});
    EXPECT_EQ(c.result, application->Init());
    EXPECT_EQ(c.result == VN_OK, application->GetWindow() != nullptr);
    if (c.result != VN_OK) {
      const std::u16string text = log.Text();
      const std::u16string reason = u"Cannot start: the data root '" + root.u16string() + u"'";
      EXPECT_NE(std::u16string::npos, text.find(reason));
      EXPECT_NE(std::u16string::npos, text.find(u"--data_path <folder>"));
    }
    std::filesystem::current_path(mRoot);
  }
  file::FileManager::Instance()->GetMountTable().clear();
}

TEST_F(GameApplicationTest, WindowThatCannotBeMadeEndsTheStartWithWhatItNeeds) {
  mWindows.failOpen = true;
  fakes::MainLogRecorder log;
  auto application = MakeApplication({});
  EXPECT_EQ(VN_FAIL, application->Init());
  EXPECT_TRUE(mCalls.empty() || mCalls.back() != "OnInit");
  const std::u16string text = log.Text();
  EXPECT_NE(std::u16string::npos, text.find(u"Cannot start: no window can be made"));
  EXPECT_NE(std::u16string::npos, text.find(u"SDL_VIDEODRIVER=offscreen"));
}

// Recorded frame: no work while the device cannot draw; otherwise input, update, frames, present.
TEST_F(GameApplicationTest, FrameLoopOrder) {
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  mCalls.clear();
  application->mTestRender->mDeviceReady = false;
  EXPECT_EQ(VN_OK, application->RunFrame(0.016f));
  EXPECT_TRUE(mCalls.empty());
  application->mTestRender->mDeviceReady = true;
  application->mTestRender->mCalls.clear();
  EXPECT_EQ(VN_OK, application->RunFrame(0.016f));
  EXPECT_EQ(std::vector<std::string>{"UpdateGame"}, mCalls);  // no bars: no letterbox
  const std::vector<std::string>& played = application->mTestRender->mCalls;
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(0u, played.front().rfind("BeginScene", 0)) << played.front();
  EXPECT_EQ(0u, played.back().rfind("Present", 0)) << played.back();
  // The root board was shown by the frame manager's update.
  ASSERT_EQ(1u, application->GetFrameManager()->GetShown().size());
}

TEST_F(GameApplicationTest, BarsAndOffScreenTargetInFullScreen) {
  SetMonitor(1280, 1024);
  auto application = MakeApplication({});
  application->SetWindowedRequested(false);
  ASSERT_EQ(VN_OK, application->Init());
  ASSERT_NE(nullptr, application->GetRenderTarget());
  EXPECT_EQ(1024, application->GetRenderTarget()->GetWidth());
  mCalls.clear();
  application->mTestRender->mCalls.clear();
  EXPECT_EQ(VN_OK, application->RunFrame(0.016f));
  EXPECT_EQ((std::vector<std::string>{"UpdateGame", "DrawLetterbox"}), mCalls);
  int clears = 0;
  for (const std::string& call : application->mTestRender->mCalls) clears += call.rfind("Clear", 0) == 0;
  EXPECT_EQ(2, clears);
}

TEST_F(GameApplicationTest, ScreenModeSwitchLogLines) {
  auto application = MakeApplication({});
  application->SetWindowedRequested(false);
  ASSERT_EQ(VN_OK, application->Init());
  ASSERT_FALSE(application->GetWindow()->IsWindowed());
  std::vector<bool> fired;
  {
    fakes::MainLogRecorder log;
    ASSERT_EQ(VN_OK, application->SwitchScreenMode());
    EXPECT_EQ(std::u16string(u"mRender->PrepareSwitchScreenMode()\n"
                             u"mWindow->SetWindowedSize()\n"
                             u"mRender->SwitchScreenMode()\n"
                             u"SwitchWindowMode(true)\n"),
              log.Text());
    EXPECT_TRUE(application->GetWindow()->IsWindowed());
  }
  {
    fakes::MainLogRecorder log;
    ASSERT_EQ(VN_OK, application->SwitchScreenMode());
    EXPECT_EQ(std::u16string(u"mRender->PrepareSwitchScreenMode()\n"
                             u"SwitchWindowMode(false)\n"
                             u"mRender->SwitchScreenMode()\n"),
              log.Text());
    EXPECT_FALSE(application->GetWindow()->IsWindowed());
  }
}

// The primary monitor's work area (the screen less the task bars), not its whole rectangle, must hold
// the outer window of the widest design size.
TEST_F(GameApplicationTest, WorkAreaTooSmallComesFromThePrimaryWorkArea) {
  int outerWidth = 0;
  int outerHeight = 0;
  app::WindowWin32::ClientToWindowSize(1366, 768, outerWidth, outerHeight);
  struct Case {
    int workWidth, workHeight;
    bool tooSmall;
  };
  const Case cases[] = {{outerWidth, outerHeight, false},    {outerWidth - 1, outerHeight, true},
                        {outerWidth, outerHeight - 1, true}, {1920, 1080, false}};
  for (const Case& c : cases) {
    mWindows.monitors = {win32::MONITORINFO{sizeof(win32::MONITORINFO), {0, 0, 1920, 1200}, {0, 40, c.workWidth, 40 + c.workHeight},
                                            win32::MONITORINFOF_PRIMARY}};
    auto application = MakeApplication({});
    ASSERT_EQ(VN_OK, application->Init());
    EXPECT_EQ(c.tooSmall, application->IsWorkAreaTooSmall()) << c.workWidth << "x" << c.workHeight;
  }
}

TEST_F(GameApplicationTest, RefusedWindowChangesNothingAndLogsNothing) {
  SetMonitor(1280, 720);
  auto application = MakeApplication({});
  application->SetWindowedRequested(false);
  ASSERT_EQ(VN_OK, application->Init());
  const float scaleBefore = application->GetFit().mScaleX;
  fakes::MainLogRecorder log;
  EXPECT_EQ(VN_OK, application->SwitchScreenMode());
  EXPECT_TRUE(log.Text().empty());
  EXPECT_FALSE(application->GetWindow()->IsWindowed());
  EXPECT_FLOAT_EQ(scaleBefore, application->GetFit().mScaleX);
}

// A failed switch fits again for the mode in effect: the input mapping matches the window.
TEST_F(GameApplicationTest, FailedSwitchFitsAgainForTheCurrentMode) {
  SetMonitor(1600, 1200);
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  ASSERT_TRUE(application->GetWindow()->IsWindowed());
  application->mTestRender->mFailSwitch = true;
  fakes::MainLogRecorder log;
  EXPECT_EQ(VN_FAIL, application->SwitchScreenMode());
  // The window went full screen before the renderer failed: the fit follows the window.
  const bool nowWindowed = application->GetWindow()->IsWindowed();
  framework::ScreenParams expected;
  framework::ScreenFitResults expectedFit;
  fakes::RecordingRender scratch;
  framework::FitScreenToMonitor(app::MonitorInfo{{0, 0, 1600, 1200}, {0, 0, 1600, 1200}, true},
                                application->GetDesignSize(), nowWindowed, scratch, expected, expectedFit);
  EXPECT_FALSE(nowWindowed);
  EXPECT_FLOAT_EQ(expectedFit.mScaleX, application->GetFit().mScaleX);
  EXPECT_FLOAT_EQ(expectedFit.mOffsetY, application->GetFit().mOffsetY);
  EXPECT_EQ(expected.mOffScreen, application->GetRenderTarget() != nullptr);
  EXPECT_NE(std::u16string::npos, log.Text().find(u"fitted again"));
}

TEST_F(GameApplicationTest, WindowTaskRunsTheSwitchInsteadOfAFrame) {
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  mCalls.clear();
  application->GetWindow()->SetSwitchRequested(true);
  fakes::MainLogRecorder log;
  EXPECT_EQ(VN_OK, application->GetWindow()->Update(0.016f));
  EXPECT_FALSE(application->GetWindow()->IsSwitchRequested());
  EXPECT_TRUE(mCalls.empty());
  EXPECT_NE(std::u16string::npos, log.Text().find(u"SwitchWindowMode(false)"));
  EXPECT_EQ(VN_OK, application->GetWindow()->Update(0.016f));
  EXPECT_EQ(std::vector<std::string>{"UpdateGame"}, mCalls);
}

// A board whose Create fails.
class FailingTestBoard : public widget::BaseBoard {
 public:
  explicit FailingTestBoard(int* destroyed) : mDestroyed(destroyed) {}
  ~FailingTestBoard() override { ++*mDestroyed; }
  VNResultEnum Create() override { return VN_FAIL; }
  int* mDestroyed;
};

TEST_F(GameApplicationTest, ShowFrameKeepsTheOldRootWhenTheNewBoardFails) {
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  application->RunFrame(0.016f);
  widget::BaseBoard* root = application->GetRootBoard();
  ASSERT_NE(nullptr, root);
  int destroyed = 0;
  fakes::MainLogRecorder log;
  EXPECT_EQ(VN_FAIL, application->ShowFrame(new FailingTestBoard(&destroyed)));
  EXPECT_EQ(1, destroyed);
  EXPECT_EQ(root, application->GetRootBoard());
  application->RunFrame(0.016f);
  ASSERT_EQ(1u, application->GetFrameManager()->GetShown().size());
  EXPECT_EQ(root, application->GetFrameManager()->GetShown()[0].mFrame);
}

TEST_F(GameApplicationTest, ShowFrameTwiceBeforeAnUpdate) {
  auto application = MakeApplication({});
  ASSERT_EQ(VN_OK, application->Init());
  auto* second = new widget::BaseBoard;
  auto* third = new widget::BaseBoard;
  ASSERT_EQ(VN_OK, application->ShowFrame(second));
  ASSERT_EQ(VN_OK, application->ShowFrame(third));
  application->RunFrame(0.016f);
  ASSERT_EQ(1u, application->GetFrameManager()->GetShown().size());
  EXPECT_EQ(third, application->GetFrameManager()->GetShown()[0].mFrame);
}

}  // namespace
