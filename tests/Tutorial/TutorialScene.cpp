#include "TutorialScene.h"

#include "Core/Layer/Layer.h"
#include "Core/Widget/FrameManager.h"
#include "Game/App/Game.h"
#include "Game/Screens/GameWindow.h"

namespace tutorialtest {

namespace {

// A root board that takes a map built elsewhere and loads nothing.
class TutorialBoard : public GameWindow {
 public:
  explicit TutorialBoard(std::unique_ptr<RuvMap> map) { mMap = std::move(map); }
  VNResultEnum Create() override { return VN_OK; }
};

class TutorialGame : public Game {
 public:
  explicit TutorialGame(std::unique_ptr<RuvMap> map) {
    mFrameManager = new widget::FrameManager;
    auto* board = new TutorialBoard(std::move(map));
    if (ShowFrame(board) == VN_OK) mGameWindow = board;
  }
  VNResultEnum OnInit() override { return VN_OK; }
};

}  // namespace

void TutorialTest::SetUp() {
  BattleMapTest::SetUp();
  mBattleMap = mMap.get();
  mGame = std::make_unique<TutorialGame>(std::move(mMap));
  ASSERT_NE(nullptr, mGame->getGameWindow());
}

void TutorialTest::TearDown() {
  if (RuvTutorial::Exists()) delete RuvTutorial::Instance();
  mGame.reset();
  BattleMapTest::TearDown();
}

RuvTutorial& TutorialTest::Build(const std::string& steps) {
  WriteTestFile("ruv/tutorial.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tutorial>\n" + steps + "</tutorial>\n");
  return Tutorial();
}

std::string TutorialTest::Step(int id, const std::string& activate, const std::string& complete,
                               const std::string& inside, const std::string& condition, const std::string& folder) {
  return "<step id=\"" + std::to_string(id) + "\" activate=\"" + activate + "\" complete=\"" + complete +
         "\"><condition " + condition + "/><show folder=\"" + folder + "\"/>" + inside + "</step>\n";
}

GameWindow& TutorialTest::Board() { return *mGame->getGameWindow(); }

bool TutorialTest::Attached() {
  const RuvTutorial& tutorial = Tutorial();
  return tutorial.mImageRoot->GetParent() == Board().GetLayer();
}

}  // namespace tutorialtest
