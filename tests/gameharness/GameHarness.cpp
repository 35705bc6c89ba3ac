#include "tests/gameharness/GameHarness.h"

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <fstream>
#include <sstream>
#include <typeinfo>

#include "Core/Base/Log.h"
#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Core/File/UserDataFileContainer.h"
#include "Core/Math/Random.h"
#include "Core/Layer/Layer.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Core/Widget/FrameManager.h"
#include "Game/App/Game.h"
#include "Game/Screens/GameWindow.h"
#include "Game/Tables/LocalStrings.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Battle/RuvMap.h"
#include "Game/Screens/HUD.h"
#include "Platform/Magic/Magic.h"
#include "gamesupport/BattleMapScene.h"
#include "tests/fakes/SourceDir.h"

namespace gameharness {

namespace {

constexpr int kHarnessLeftButton = 1;
constexpr int kHarnessLogoPressLimit = 10;
constexpr int kUnlockMessageState = 11;

// The game object on a renderer of the test's choosing.
class HarnessGame : public Game {
 public:
  explicit HarnessGame(render::Render* render) { SetRender(render); }
};

// A harness that cannot build its game has nothing to hand the test.
[[noreturn]] void harnessFailure(const char* what) {
  std::fprintf(stderr, "game harness: %s\n", what);
  std::abort();
}

std::string readHarnessFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string screenClassName(const HUDWindow& screen) {
  const char* mangled = typeid(screen).name();
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : mangled;
  std::free(demangled);
  return name;
}

}  // namespace

std::string namedProfile(const std::string& name, const std::string& body) {
  const std::string defaultName(std::begin(file::Profiles::kDefaultProfileName),
                                std::end(file::Profiles::kDefaultProfileName) - 1);
  return "<Profiles currentProfile=\"" + name + "\"><Profile name=\"" + defaultName + "\"/><Profile name=\"" + name +
         "\">" + body + "</Profile></Profiles>";
}

GameHarness::GameHarness(const GameSetup& setup) {
  mPrevious = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "qm_game_XXXXXX").string();
  if (!mkdtemp(pattern.data())) harnessFailure("no temporary folder");
  mRoot = pattern;
  std::filesystem::copy(std::filesystem::path(QM_SOURCE_DIR) / "data", mRoot / "data",
                        std::filesystem::copy_options::recursive);
  if (setup.prepareData) setup.prepareData(mRoot / "data");
  std::filesystem::current_path(mRoot);
  file::FileManager::Instance()->GetMountTable().clear();
  mPreviousUserRoot = file::UserDataFileContainer::Instance()->GetPath();
  std::filesystem::create_directories(profilesPath().parent_path());
  if (!setup.profiles.empty()) std::ofstream(profilesPath(), std::ios::binary) << setup.profiles;
  file::Profiles::ResetNotices();

  mWindows.monitors = {win32::MONITORINFO{sizeof(win32::MONITORINFO), {0, 0, 1920, 1080}, {0, 0, 1920, 1080},
                                          win32::MONITORINFOF_PRIMARY}};
  mStore = new fakes::ScriptedStoreBackend(true);
  purchase::PurchaseSystem::Instance()->SetBackend(mStore);
  math::Random(setup.seed);
  Magic_SetRandomSeed(setup.seed);

  mRender = new fakes::RecordingRender;
  mGame = std::make_unique<HarnessGame>(mRender);
  mGame->SetArguments({u"--data_path", (mRoot / "data").u16string()});
  mGame->SetFolders((mRoot / "data").u16string() + u"/", (mRoot / "user").u16string() + u"/");
  mStarted = mGame->Init() == VN_OK && mGame->getMap();
  if (!mStarted) {
    if (!setup.startMayFail) harnessFailure("the game did not start");
    return;
  }
  tick(2);
}

GameHarness::~GameHarness() {
  mGame.reset();
  // The map is gone with the game; the services it was built on go the same way as after a battle.
  std::unique_ptr<RuvMap> noMap;
  battletest::releaseBattleMap(noMap);
  if (LocalStrings::Exists()) delete LocalStrings::Instance();
  if (file::Profiles::Exists()) delete file::Profiles::Instance();
  if (purchase::PurchaseSystem::Exists()) delete purchase::PurchaseSystem::Instance();
  // The start attached the user folder's log file to the main log.
  if (base::MainLog::Exists()) delete base::MainLog::Instance();
  file::UserDataFileContainer::Instance()->SetRootPath(mPreviousUserRoot);
  file::FileManager::Instance()->GetMountTable().clear();
  std::filesystem::current_path(mPrevious);
  std::filesystem::remove_all(mRoot);
}

GameWindow& GameHarness::board() const { return *mGame->getGameWindow(); }
RuvMap& GameHarness::map() const { return *mGame->getMap(); }
HUD& GameHarness::hud() const { return *map().mHud; }

std::string GameHarness::logText() const {
  std::ifstream file(profilesPath().parent_path() / "log.html", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::filesystem::path GameHarness::profilesPath() const {
  return mRoot / "user/Ninebrook/Quellmark2" / std::filesystem::path(file::Profiles::kFileName);
}

void GameHarness::tick(int frames) {
  for (int i = 0; i < frames; ++i) {
    mGame->RunFrame(kFrame);
    mRender->mCalls.clear();
  }
}

bool GameHarness::tickUntil(const std::function<bool()>& done, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (done()) return true;
    tick();
  }
  return done();
}

void GameHarness::clickAt(int x, int y, int frames) {
  math::Point3 point(float(x), float(y), 0.0f);
  board().OnWidgetMouseMove(point);
  board().OnWidgetMouseDown(point, kHarnessLeftButton);
  board().OnWidgetMouseUp(point, kHarnessLeftButton);
  tick(frames);
}

std::optional<DesignPoint> GameHarness::findButton(const std::u16string& name) const {
  return findNameTarget(board(), name);
}

std::optional<DesignPoint> GameHarness::findIndex(int index) const { return findIndexTarget(board(), index); }

bool GameHarness::click(const std::u16string& name, int frames) {
  const std::optional<DesignPoint> target = findButton(name);
  if (!target) return false;
  clickAt(target->x, target->y, frames);
  return true;
}

bool GameHarness::clickIndex(int index, int frames) {
  const std::optional<DesignPoint> target = findIndex(index);
  if (!target) return false;
  clickAt(target->x, target->y, frames);
  return true;
}

void GameHarness::clickControl(const layer::Layer& control, int frames) {
  const math::Point2 point(control.mPosition.x, control.mPosition.y);
  mGame->OnMouseMove(point);
  mGame->OnMouseDown(point, kHarnessLeftButton);
  mGame->OnMouseUp(point, kHarnessLeftButton);
  tick(frames);
}

std::vector<widget::Frame*> GameHarness::shownFrames() const {
  std::vector<widget::Frame*> frames;
  for (const widget::FrameEntry& entry : mGame->GetFrameManager()->GetShown()) frames.push_back(entry.mFrame);
  return frames;
}

void GameHarness::pressKey(int key) { mGame->OnKeyDown(key); }

void GameHarness::typeText(const std::u16string& text) {
  for (char16_t character : text) mGame->OnChar(character);
}

int GameHarness::state() const { return map().mState; }
float GameHarness::speed() const { return map().mSpeed; }

std::vector<std::string> GameHarness::screens() const {
  std::vector<std::string> names;
  for (const std::unique_ptr<HUDWindow>& screen : hud().stack) names.push_back(screenClassName(*screen));
  return names;
}

std::string GameHarness::topScreen() const {
  const std::vector<std::string> names = screens();
  return names.empty() ? std::string() : names.back();
}

std::vector<std::u16string> GameHarness::shownHudButtons() const {
  std::vector<std::u16string> names;
  for (const RuvButtonFrame* button : hud().buttons) {
    if (button->visible) names.push_back(button->name);
  }
  return names;
}

bool GameHarness::skipLogos() {
  const math::Rect& area = mGame->GetRootRect();
  const int middleX = int(area.x + area.width / 2.0f);
  const int middleY = int(area.y + area.height / 2.0f);
  for (int press = 0; press < kHarnessLogoPressLimit; ++press) {
    if (topScreen() == "HUDMainMenu") return true;
    math::Point3 point(float(middleX), float(middleY), 0.0f);
    board().OnWidgetMouseDown(point, kHarnessLeftButton);
    tick(2);
  }
  return topScreen() == "HUDMainMenu";
}

void GameHarness::disableTutorial() {
  map().getProgress()->setTutorialEnabled(false);
  map().reloadTutorialProgress();
}

bool GameHarness::passUnlockMessage() {
  // One "ok" per unlocked id; a bounded number in case the message never closes.
  for (int clicks = 0; state() == kUnlockMessageState && clicks < 16; ++clicks) {
    if (!click(u"ok")) return false;
  }
  return state() == kStatePlaying;
}

void GameHarness::enableCheats() { map().enableCheats(); }

std::string GameHarness::savedProfiles() const { return readHarnessFile(profilesPath()); }

std::map<std::string, std::string> GameHarness::savedLevelRecord(int episode, int level, int mode) const {
  std::map<std::string, std::string> attributes;
  tinyxml2::XMLDocument document;
  const std::string text = savedProfiles();
  if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS) return attributes;
  const tinyxml2::XMLElement* root = document.RootElement();
  const char* current = root ? root->Attribute("currentProfile") : nullptr;
  if (!current) return attributes;
  for (const tinyxml2::XMLElement* profile = root->FirstChildElement("Profile"); profile;
       profile = profile->NextSiblingElement("Profile")) {
    const char* name = profile->Attribute("name");
    if (!name || std::string(name) != current) continue;
    const tinyxml2::XMLElement* levels = profile->FirstChildElement("levels");
    for (const tinyxml2::XMLElement* record = levels ? levels->FirstChildElement("level") : nullptr; record;
         record = record->NextSiblingElement("level")) {
      if (record->IntAttribute("episode", -1) != episode || record->IntAttribute("n", -1) != level ||
          record->IntAttribute("mode", -1) != mode) {
        continue;
      }
      for (const tinyxml2::XMLAttribute* attribute = record->FirstAttribute(); attribute; attribute = attribute->Next()) {
        attributes[attribute->Name()] = attribute->Value();
      }
      return attributes;
    }
  }
  return attributes;
}

}  // namespace gameharness
