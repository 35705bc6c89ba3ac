#include "Game/App/Game.h"

#include "Core/File/FileManager.h"
#include "Core/Widget/BaseBoard.h"

app::Application* app::CreateApplication() { return new Game; }

Game::Game() {
  mDesign = framework::DesignSize{1024, 768, 1366};
  mMakerName = u"Ninebrook";
  mProductName = u"Quellmark2";
  // Known before the log is opened, so a second start finds the running window first.
  mWindowTitle = u"Quellmark2";
}

VNResultEnum Game::PreInit() {
  file::FileManager::Instance()->GetMountTable()[u"ruv/"] = u"data.dat";
  return VN_OK;
}

VNResultEnum Game::OnInit() { return ShowFrame(new widget::BaseBoard); }
