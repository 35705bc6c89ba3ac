#include "MenuScene.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Gui/GameControl.h"
#include "Core/Widget/BaseBoard.h"
#include "Core/Widget/FrameManager.h"
#include "Game/Tables/RuvProgress.h"
#include "Game/Screens/HUDWindow.h"

namespace menutest {

void MenuScene::SetUp() {
  gui::GameControlHelper::SetRender(&mRender);
  BattleMapTest::SetUp();
  mApplication = std::make_unique<gametest::RootBoardGame>();
}

void MenuScene::TearDown() {
  mApplication.reset();
  BattleMapTest::TearDown();
}

void MenuScene::Centre(const std::u16string& layout, const std::u16string& layer, int& x, int& y) {
  std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(layout));
  const base::ImageInfo* info = container ? container->GetLayerInfo(layer) : nullptr;
  ASSERT_NE(nullptr, info);
  x = info->mX + info->mWidth / 2;
  y = info->mY + info->mHeight / 2;
}

bool MenuScene::Answers(HUDWindow& screen, const std::u16string& name) {
  RuvButtonFrame* button = screen.findButton(name);
  if (!button) return false;
  const int x = int(button->rect[0] + button->rect[2] / 2);
  const int y = int(button->rect[1] + button->rect[3] / 2);
  return screen.buttonNameAt(x, y) == name;
}

void MenuScene::ReloadProgress(const std::string& profiles) {
  mMap->mProgress.reset();
  LoadProfiles(profiles);
  mMap->mProgress = std::make_unique<RuvProgress>(mMap.get());
}

int MenuScene::ShownDialogs() {
  widget::FrameManager* manager = mApplication->GetFrameManager();
  manager->UpdateTree(0.0f);
  return int(manager->GetShown().size()) - 1;
}

layer::Layer* MenuScene::Board() const { return mApplication->GetRootBoard()->GetLayer(); }

}  // namespace menutest
