// The game object started on the recording renderer over a temporary copy of the sample data:
// window mode from the profile, the letterbox, the screen-mode switch, the focus hooks, the
// developer keys and a pack-building start.
#include <gtest/gtest.h>

#include <tinyxml2.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Core/File/Profiles.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Vertices.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/GameWindow.h"
#include "Game/App/Game.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/SoundTags.h"
#include "Game/Art/RuvResources.h"
#include "Game/Screens/RuvSplashScreens.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Tables/RuvWallet.h"
#include "Game/Battle/RuvWaveManager.h"
#include "Game/Screens/HUD.h"
#include "Game/Screens/HUDSpellButton.h"
#include "Game/Screens/RuvTutorial.h"
#include "fakes/RecordingRender.h"
#include "fakes/ScratchFolder.h"
#include "fakes/ScriptedBass.h"
#include "fakes/ScriptedWindowSystem.h"

namespace {

// A renderer whose screen-mode switch can be made to fail.
class GameStartRender : public fakes::RecordingRender {
 public:
  VNResultEnum SwitchScreenMode(const render::RenderInitParam&) override { return mFailSwitch ? VN_FAIL : VN_OK; }
  VNResultEnum DoPresent() override {
    if (mOnPresent) mOnPresent();
    return RecordingRender::DoPresent();
  }
  bool mFailSwitch = false;
  std::function<void()> mOnPresent;  // called as each frame is presented
};

class GameStartTestGame : public Game {
 public:
  GameStartTestGame() {
    mTestRender = new GameStartRender;
    SetRender(mTestRender);
  }
  render::Image* SideLeft() const { return mSideLeft; }
  render::Image* SideRight() const { return mSideRight; }
  render::Image* LoadingImage() const { return mLoadingImage; }

  GameStartRender* mTestRender;
};

std::string ReadGameStartFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class GameStartTest : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    std::filesystem::copy(std::filesystem::path(QM_SOURCE_DIR) / "data", mRoot / "data",
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(UserFolder());
    file::Profiles::ResetNotices();
    SetMonitor(1920, 1080);
  }
  void TearDown() override {
    mGame.reset();
    if (LocalStrings::Exists()) delete LocalStrings::Instance();
    if (file::Profiles::Exists()) delete file::Profiles::Instance();
    if (render::ParticleSystem::Exists()) delete render::ParticleSystem::Instance();
    if (k2::SoundTags::Exists()) delete k2::SoundTags::Instance();
    if (SoundSystem::Exists()) delete SoundSystem::Instance();
    if (purchase::PurchaseSystem::Exists()) delete purchase::PurchaseSystem::Instance();
    if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
    RuvResources::Instance()->clear();
    RuvResources::Instance()->setRender(nullptr);
    std::filesystem::current_path(mRoot);
    ScratchFolderTest::TearDown();
  }

  void SetMonitor(int width, int height) {
    mWindows.monitors = {win32::MONITORINFO{sizeof(win32::MONITORINFO), {0, 0, width, height}, {0, 0, width, height},
                                            win32::MONITORINFOF_PRIMARY}};
  }
  std::filesystem::path UserFolder() const { return mRoot / "user/Ninebrook/Quellmark2"; }
  std::filesystem::path ProfilesFile() const { return UserFolder() / "profiles.xml"; }
  // A profiles file with one profile "P" holding body.
  void WriteProfile(const std::string& body) {
    std::ofstream(ProfilesFile(), std::ios::binary)
        << "<Profiles currentProfile=\"P\"><Profile name=\"P\">" << body << "</Profile></Profiles>";
  }
  // The "v" of the saved profile's "fs" element; "none" without one.
  std::string SavedFullscreen() const {
    tinyxml2::XMLDocument document;
    const std::string text = ReadGameStartFile(ProfilesFile());
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return "unreadable";
    const tinyxml2::XMLElement* fs = document.RootElement()->FirstChildElement("Profile")->FirstChildElement("fs");
    return fs && fs->Attribute("v") ? fs->Attribute("v") : "none";
  }

  GameStartTestGame& StartGame(std::vector<std::u16string> arguments = {}) {
    if (arguments.empty()) arguments = {u"--data_path", (mRoot / "data").u16string()};
    mGame = std::make_unique<GameStartTestGame>();
    mGame->SetArguments(std::move(arguments));
    mGame->SetFolders((mRoot / "data").u16string() + u"/", (mRoot / "user").u16string() + u"/");
    EXPECT_EQ(VN_OK, mGame->Init());
    return *mGame;
  }

  // Runs draw in a frame of its own; the draw calls played, as "DrawIndexed(...)" lines.
  template <class Draw>
  std::vector<std::string> FrameDraws(Draw draw) {
    render::Render* render = mGame->GetRender();
    mGame->mTestRender->mCalls.clear();
    render->BeginFrame();
    {
      render::Graphics graphics(render);
      draw(graphics);
    }
    render->EndFrame();
    render->Present();
    render->PlayCommands();
    std::vector<std::string> draws;
    for (const std::string& call : mGame->mTestRender->mCalls) {
      if (call.rfind("DrawIndexed", 0) == 0) draws.push_back(call);
    }
    return draws;
  }
  // The bounds (x, y, right, bottom) of each textured quad of the last frame.
  std::vector<math::Rect> DrawnQuads() const {
    std::vector<math::Rect> quads;
    const auto* bound = static_cast<const render::SVertex2D*>(mGame->mTestRender->GetBoundVertices());
    for (const std::vector<long>& draw : mGame->mTestRender->Arguments("DrawIndexed")) {
      if (draw.size() != 6 || !bound) continue;
      const render::SVertex2D* first = bound + draw[4];
      for (long quad = 0; quad + 4 <= draw[5]; quad += 4) {
        float x0 = first[quad].x, y0 = first[quad].y, x1 = x0, y1 = y0;
        for (int i = 1; i < 4; ++i) {
          x0 = std::min(x0, first[quad + i].x);
          y0 = std::min(y0, first[quad + i].y);
          x1 = std::max(x1, first[quad + i].x);
          y1 = std::max(y1, first[quad + i].y);
        }
        quads.emplace_back(x0, y0, x1, y1);
      }
    }
    return quads;
  }

  fakes::ScriptedWindowSystem mWindows;
  fakes::ScriptedBass mBass;
  std::unique_ptr<GameStartTestGame> mGame;
};

TEST_F(GameStartTest, WindowedFlagFromTheProfile) {
  const struct {
    const char* name;
    const char* body;
    bool windowed;
  } cases[] = {
      {"no fs element", "", false},
      {"fs 1", "<fs v=\"1\"/>", false},
      {"fs 0", "<fs v=\"0\"/>", true},
      {"fs x", "<fs v=\"x\"/>", true},
      {"fs without v", "<fs/>", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tinyxml2::XMLDocument document;
    document.Parse((std::string("<Profile>") + c.body + "</Profile>").c_str());
    EXPECT_EQ(c.windowed, Game::windowedFromProfile(document.RootElement()));
  }
  EXPECT_FALSE(Game::windowedFromProfile(nullptr));

  // Through the start: the window opens in the profile's mode with the localised caption.
  WriteProfile("<fs v=\"0\"/>");
  GameStartTestGame& game = StartGame();
  EXPECT_TRUE(game.IsWindowedRequested());
  EXPECT_TRUE(game.GetWindow()->IsWindowed());
  EXPECT_EQ(LocalStrings::Instance()->get(u"game_caption"), game.GetWindowTitle());
  EXPECT_EQ(std::u16string(Game::kEarlyCaption), game.GetWindowTitle());
}

TEST_F(GameStartTest, StartLoadsThePicturesAndShowsTheBoardWithItsLogos) {
  GameStartTestGame& game = StartGame();
  ASSERT_NE(nullptr, game.SideLeft());
  ASSERT_NE(nullptr, game.SideRight());
  EXPECT_EQ(172, game.SideLeft()->GetWidth());
  EXPECT_EQ(768, game.SideRight()->GetHeight());
  EXPECT_NE(nullptr, game.LoadingImage());
  ASSERT_NE(nullptr, game.getMap());
  EXPECT_EQ(game.getGameWindow(), game.GetRootBoard());
  EXPECT_EQ(12, game.getMap()->mState);
  // The board is shown by the first frame and updated from the second; the HUD takes the pushed
  // screen at the end of its update.
  EXPECT_EQ(VN_OK, game.RunFrame(0.016f));
  EXPECT_EQ(VN_OK, game.RunFrame(0.016f));
  ASSERT_EQ(1u, game.getMap()->mHud->stack.size());
  EXPECT_NE(nullptr, dynamic_cast<RuvSplashScreens*>(game.getMap()->mHud->stack[0].get()));
}

// Each press skips a logo; after the last one the logos go and the main menu opens.
TEST_F(GameStartTest, PressesSkipTheLogos) {
  GameStartTestGame& game = StartGame();
  EXPECT_EQ(VN_OK, game.RunFrame(0.016f));
  EXPECT_EQ(VN_OK, game.RunFrame(0.016f));
  HUD& hud = *game.getMap()->mHud;
  ASSERT_EQ(1u, hud.stack.size());
  auto* logos = dynamic_cast<RuvSplashScreens*>(hud.stack[0].get());
  ASSERT_NE(nullptr, logos);
  ASSERT_EQ(2u, logos->logos.size());
  math::Point3 point(500.0f, 400.0f, 0.0f);
  game.getGameWindow()->OnWidgetMouseDown(point, 1);
  EXPECT_EQ(1, logos->current);
  EXPECT_EQ(12, game.getMap()->mState);
  game.getGameWindow()->OnWidgetMouseDown(point, 1);
  EXPECT_TRUE(hud.stack.empty());
  EXPECT_EQ(7, game.getMap()->mState);
}

// Side pictures in the side bars of the menu states, plain bars where the bars are above and below,
// nothing while playing.
TEST_F(GameStartTest, LetterboxByStateAndFit) {
  enum Content { kNothing, kPlainBars, kSides };
  const struct {
    const char* name;
    int width, height;
    int state;
    Content content;
  } cases[] = {
      {"side bars, level select", 2560, 1080, 6, kSides},
      {"side bars, episode select", 2560, 1080, 5, kSides},
      {"side bars, upgrade shop", 2560, 1080, 8, kSides},
      {"side bars, modal dialog", 2560, 1080, 16, kSides},
      {"side bars, playing", 2560, 1080, 0, kNothing},
      {"side bars, main menu", 2560, 1080, 7, kNothing},
      {"bars above and below, level select", 1280, 1024, 6, kPlainBars},
      {"bars above and below, playing", 1280, 1024, 0, kNothing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetMonitor(c.width, c.height);
    GameStartTestGame& game = StartGame();
    ASSERT_TRUE(game.GetFit().mBars);
    game.getMap()->mState = c.state;
    const std::vector<std::string> plain =
        FrameDraws([&](render::Graphics& g) { game.framework::GameApplication::DrawLetterbox(g); });
    ASSERT_EQ(1u, plain.size());
    const std::vector<std::string> draws = FrameDraws([&](render::Graphics& g) { game.DrawLetterbox(g); });
    if (c.content == kNothing) {
      EXPECT_TRUE(draws.empty());
      continue;
    }
    if (c.content == kPlainBars) {
      EXPECT_EQ(plain, draws);
      continue;
    }
    const std::vector<math::Rect> quads = DrawnQuads();
    ASSERT_EQ(2u, quads.size());
    // s = left bar height / 768; the left picture ends at the left bar's inner edge, the right one
    // starts at the right bar's left edge (half-pixel shift allowed).
    const math::Rect& bar1 = game.GetFit().mBar1;
    const math::Rect& bar2 = game.GetFit().mBar2;
    const float s = bar1.height / 768.0f;
    EXPECT_NEAR(bar1.x + bar1.width - 172.0f * s, quads[0].x, 0.51f);
    EXPECT_NEAR(bar1.x + bar1.width, quads[0].width, 0.51f);
    EXPECT_NEAR(bar1.y, quads[0].y, 0.51f);
    EXPECT_NEAR(bar1.y + 768.0f * s, quads[0].height, 0.51f);
    EXPECT_NEAR(bar2.x, quads[1].x, 0.51f);
    EXPECT_NEAR(bar2.x + 172.0f * s, quads[1].width, 0.51f);
    EXPECT_NEAR(bar2.y, quads[1].y, 0.51f);
  }
}

// At an output of exactly 1366:768 (a window of 1366 x 768, no bars) the menu screens of the
// 1024-wide design area have the side pictures in the two strips beside it, scaled to the view's
// height and one pixel over the area's edges; the main menu, the logos and the battle do not.
TEST_F(GameStartTest, HudPutsTheSidePicturesBesideTheMenuScreens) {
  WriteProfile("<fs v=\"0\"/>");
  GameStartTestGame& game = StartGame();
  const framework::ScreenFitResults& fit = game.GetFit();
  ASSERT_FALSE(fit.mBars);
  ASSERT_EQ(1366.0f, fit.mViewport.width);
  ASSERT_EQ(-171.0f, fit.mViewport.x);
  ASSERT_NE(nullptr, game.SideLeft());
  const float s = fit.mViewport.height / float(game.SideLeft()->GetHeight());
  const float leftWidth = float(game.SideLeft()->GetWidth()) * s;
  const float rightWidth = float(game.SideRight()->GetWidth()) * s;
  HUD& hud = *game.getMap()->mHud;
  for (int state : {5, 6, 8, 13, 16, 18, 24, 7, 12, 0}) {
    SCOPED_TRACE(state);
    game.getMap()->mState = state;
    FrameDraws([&](render::Graphics& g) { hud.draw(g); });
    std::vector<math::Rect> left, right;
    for (const math::Rect& quad : DrawnQuads()) {
      if (quad.width <= 1.5f) left.push_back(quad);       // ends at the area's left edge
      if (quad.x >= 1022.5f) right.push_back(quad);       // starts at its right edge
    }
    const bool sides = state != 7 && state != 12 && state != 0;
    if (!sides) {
      EXPECT_TRUE(left.empty() && right.empty());
      continue;
    }
    ASSERT_EQ(1u, left.size());
    ASSERT_EQ(1u, right.size());
    EXPECT_NEAR(1.0f - leftWidth, left[0].x, 0.51f);
    EXPECT_NEAR(1.0f, left[0].width, 0.51f);
    EXPECT_NEAR(0.0f, left[0].y, 0.51f);
    EXPECT_NEAR(768.0f, left[0].height, 0.51f);
    EXPECT_NEAR(1023.0f, right[0].x, 0.51f);
    EXPECT_NEAR(1023.0f + rightWidth, right[0].width, 0.51f);
    EXPECT_NEAR(768.0f, right[0].height, 0.51f);
    // Together with the area they fill the whole 1366-wide view.
    EXPECT_LE(left[0].x, fit.mViewport.x + 0.51f);
    EXPECT_GE(right[0].width, fit.mViewport.x + fit.mViewport.width - 0.51f);
  }
}

// A level load first presents the loading picture (before the level file is read), so the player
// does not look at the previous frame while it loads.
TEST_F(GameStartTest, LevelLoadPresentsTheLoadingPictureFirst) {
  WriteProfile("<fs v=\"0\"/>");
  GameStartTestGame& game = StartGame();
  RuvMap& map = *game.getMap();
  ASSERT_NE(nullptr, game.LoadingImage());
  std::vector<math::Rect> firstPresented;
  bool levelReadByThen = true;
  int presents = 0;
  game.mTestRender->mCalls.clear();
  game.mTestRender->mOnPresent = [&] {
    if (presents++ > 0) return;
    firstPresented = DrawnQuads();
    levelReadByThen = map.mWaves->hasLevel();
  };
  map.mMode = 1;
  map.mEpisode = 0;
  map.mLevel = 0;
  map.startLevel();
  game.mTestRender->mOnPresent = nullptr;
  EXPECT_TRUE(map.mWaves->hasLevel());
  ASSERT_EQ(1, presents);
  EXPECT_FALSE(levelReadByThen);
  // Drawn directly: the picture unscaled with its top-left corner at the origin.
  ASSERT_EQ(1u, firstPresented.size());
  EXPECT_NEAR(0.0f, firstPresented[0].x, 0.51f);
  EXPECT_NEAR(0.0f, firstPresented[0].y, 0.51f);
  EXPECT_NEAR(float(game.LoadingImage()->GetWidth()), firstPresented[0].width, 0.51f);
  EXPECT_NEAR(float(game.LoadingImage()->GetHeight()), firstPresented[0].height, 0.51f);
}

// A picture that did not load is left out instead of drawn (or used to scale).
TEST_F(GameStartTest, MissingPicturesAreSkipped) {
  // Without the left picture there is no scale, so the right one is left out as well.
  const struct {
    const char* path;
    bool rightLoads;
  } missing[] = {{"data/ruv/data/sides/l.png", true}, {"data/ruv/data/sides", false}};  // in this order
  for (const auto& [path, rightLoads] : missing) {
    SCOPED_TRACE(path);
    std::filesystem::remove_all(mRoot / path);
    std::filesystem::remove(mRoot / "data/ruv/data/loading.png");
    SetMonitor(2560, 1080);
    GameStartTestGame& game = StartGame();
    EXPECT_EQ(nullptr, game.SideLeft());
    EXPECT_EQ(rightLoads, game.SideRight() != nullptr);
    EXPECT_EQ(nullptr, game.LoadingImage());
    game.getMap()->mState = 6;
    EXPECT_TRUE(FrameDraws([&](render::Graphics& g) { game.DrawLetterbox(g); }).empty());
    EXPECT_TRUE(FrameDraws([&](render::Graphics& g) { game.drawSideImages(g); }).empty());
    game.mTestRender->mCalls.clear();
    game.showLoadingScreen();
    EXPECT_TRUE(game.mTestRender->Arguments("DrawIndexed").empty());
  }
}

// Unscaled at the origin when drawing directly; through the off-screen target, scaled by the output
// scale and centred on the 1366x768 area's middle.
TEST_F(GameStartTest, LoadingScreen) {
  for (const char* fs : {"0", "1"}) {
    SCOPED_TRACE(fs);
    WriteProfile(std::string("<fs v=\"") + fs + "\"/>");
    GameStartTestGame& game = StartGame();
    game.mTestRender->mCalls.clear();
    game.showLoadingScreen();
    const std::vector<math::Rect> quads = DrawnQuads();
    ASSERT_EQ(1u, quads.size());
    const framework::ScreenFitResults& fit = game.GetFit();
    const bool target = game.GetRenderTarget() != nullptr;
    ASSERT_EQ(std::string(fs) == "1", target);
    const float sx = target ? fit.mDrawScaleX : 1.0f;
    const float sy = target ? fit.mDrawScaleY : 1.0f;
    const float left = target ? 683.0f * sx - 512.0f * sx : 0.0f;
    const float top = target ? 384.0f * sy - 384.0f * sy : 0.0f;
    EXPECT_NEAR(left, quads[0].x, 0.51f);
    EXPECT_NEAR(top, quads[0].y, 0.51f);
    EXPECT_NEAR(left + 1024.0f * sx, quads[0].width, 0.51f);
    EXPECT_NEAR(top + 768.0f * sy, quads[0].height, 0.51f);
    const std::vector<std::string>& calls = game.mTestRender->mCalls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(0u, calls.back().rfind("Present", 0));
  }
}

TEST_F(GameStartTest, SwitchScreenModeStoresTheModeOnlyWhenItChanged) {
  WriteProfile("<fs v=\"0\"/>");
  GameStartTestGame& game = StartGame();
  ASSERT_TRUE(game.GetWindow()->IsWindowed());
  ASSERT_EQ(VN_OK, game.SwitchScreenMode());
  EXPECT_FALSE(game.GetWindow()->IsWindowed());
  EXPECT_EQ("1", SavedFullscreen());
  ASSERT_EQ(VN_OK, game.SwitchScreenMode());
  EXPECT_EQ("0", SavedFullscreen());

  // A failed switch returns its error and leaves the file alone.
  const std::string before = ReadGameStartFile(ProfilesFile());
  game.mTestRender->mFailSwitch = true;
  EXPECT_EQ(VN_FAIL, game.SwitchScreenMode());
  EXPECT_EQ(before, ReadGameStartFile(ProfilesFile()));
}

TEST_F(GameStartTest, RefusedWindowLeavesTheProfileAlone) {
  // Full screen on a monitor too small for a window: the switch keeps full screen.
  SetMonitor(1280, 720);
  WriteProfile("<fs v=\"1\"/>");
  GameStartTestGame& game = StartGame();
  ASSERT_FALSE(game.GetWindow()->IsWindowed());
  const std::string before = ReadGameStartFile(ProfilesFile());
  EXPECT_EQ(VN_OK, game.SwitchScreenMode());
  EXPECT_FALSE(game.GetWindow()->IsWindowed());
  EXPECT_EQ(before, ReadGameStartFile(ProfilesFile()));
}

TEST_F(GameStartTest, FocusPausesAndResumesAudioAndPausesAPlayedLevel) {
  GameStartTestGame& game = StartGame();
  game.getMap()->mState = kStatePlaying;
  mBass.ClearCalls();
  game.OnDeactivate();
  EXPECT_EQ(1u, mBass.CallsStartingWith("Pause").size());
  EXPECT_EQ(kStatePauseMenu, game.getMap()->mState);
  EXPECT_EQ(0.0f, game.getMap()->mSpeed);
  game.OnActivate();
  EXPECT_EQ(1u, mBass.CallsStartingWith("Start").size());
  EXPECT_EQ(kStatePauseMenu, game.getMap()->mState);
}

// The developer keys act only with cheats on and in state 0; other keys and states change nothing.
TEST_F(GameStartTest, DeveloperKeysGate) {
  GameStartTestGame& game = StartGame();
  RuvMap& map = *game.getMap();
  const struct {
    const char* name;
    bool cheats;
    int state;
    bool acts;
  } gates[] = {
      {"cheats off, playing", false, 0, false},
      {"cheats on, pause menu", true, 4, false},
      {"cheats on, main menu", true, 7, false},
      {"cheats on, playing", true, 0, true},
  };
  for (const auto& gate : gates) {
    SCOPED_TRACE(gate.name);
    map.mCheatsEnabled = gate.cheats;
    map.mState = gate.state;
    map.mShowWaveList = false;
    map.mShowDebug = false;
    map.mLives = 3.0f;
    map.mMaxLives = 5.0f;
    const int money = map.getWallet()->money;
    const int gems = map.getWallet()->gems;
    map.mHud->spellButtons.clear();
    map.mHud->spellButtons.push_back(std::make_unique<HUDSpellButton>(map, 0));
    HUDSpellButton& recharging = *map.mHud->spellButtons.back();
    recharging.pressed = 1;
    recharging.time = 2.0f;
    for (int key : {'1', '3', 'm', 'c', 'h', '4', 'x', 'M'}) game.OnKeyDown(key);
    EXPECT_EQ(gate.acts ? 0 : 1, recharging.pressed);
    EXPECT_EQ(gate.acts ? 0.0f : 2.0f, recharging.time);
    EXPECT_EQ(gate.acts, map.mShowWaveList);
    EXPECT_EQ(gate.acts, map.mShowDebug);
    EXPECT_EQ(money + (gate.acts ? 1000 : 0), map.getWallet()->money);
    EXPECT_EQ(gems + (gate.acts ? 100 : 0), map.getWallet()->gems);
    EXPECT_EQ(gate.acts ? 100.0f : 3.0f, map.mLives);
    EXPECT_EQ(gate.acts ? 100.0f : 5.0f, map.mMaxLives);
    EXPECT_EQ(gate.state, map.mState);
  }
  // A toggle key twice toggles back.
  map.mCheatsEnabled = true;
  map.mState = 0;
  map.mShowWaveList = false;
  game.OnKeyDown('1');
  game.OnKeyDown('1');
  EXPECT_FALSE(map.mShowWaveList);
}

// Whatever the state and the cheats, every stacked screen gets each key and character, bottom first.
TEST_F(GameStartTest, KeysAndCharactersReachEveryStackedScreen) {
  struct KeyProbeScreen : HUDWindow {
    KeyProbeScreen(std::vector<std::string>* log, const char* name) : mLog(log), mName(name) {}
    void onKey(int key) override { mLog->push_back(mName + " key " + std::to_string(key)); }
    void onChar(int character) override { mLog->push_back(mName + " char " + std::to_string(character)); }
    std::vector<std::string>* mLog;
    std::string mName;
  };
  GameStartTestGame& game = StartGame();
  HUD& hud = *game.getMap()->mHud;
  std::vector<std::string> log;
  hud.stack.clear();
  hud.stack.push_back(std::make_unique<KeyProbeScreen>(&log, "bottom"));
  hud.stack.push_back(std::make_unique<KeyProbeScreen>(&log, "top"));
  game.OnKeyDown(8);
  game.OnChar(0x0416);
  EXPECT_EQ((std::vector<std::string>{"bottom key 8", "top key 8", "bottom char 1046", "top char 1046"}), log);
}

// A pack-building start has no board and no map: every game hook keeps to the framework's part.
TEST_F(GameStartTest, PackBuildingHooksDoNotReachTheMissingBoard) {
  std::filesystem::create_directories(mRoot / "data/ruv");
  std::filesystem::current_path(mRoot / "data");
  GameStartTestGame& game = StartGame({u"--pack", u"x"});
  ASSERT_EQ(nullptr, game.getGameWindow());
  ASSERT_EQ(nullptr, game.getMap());
  game.OnKeyDown('a');
  game.OnKeyUp('a');
  game.OnChar('a');
  game.OnDeactivate();
  game.OnActivate();
  const std::vector<std::string> plain =
      FrameDraws([&](render::Graphics& g) { game.framework::GameApplication::DrawLetterbox(g); });
  EXPECT_EQ(plain, FrameDraws([&](render::Graphics& g) { game.DrawLetterbox(g); }));
  FrameDraws([&](render::Graphics& g) { game.drawSideImages(g); });
  game.showLoadingScreen();
  const bool windowed = game.GetWindow()->IsWindowed();
  EXPECT_EQ(VN_OK, game.SwitchScreenMode());
  EXPECT_NE(windowed, game.GetWindow()->IsWindowed());
  EXPECT_EQ(VN_OK, game.RunFrame(0.016f));
}

}  // namespace
