#include "DialogScene.h"

#include <fstream>

#include "Core/Gui/GameControl.h"
#include "Game/Screens/HUDWindow.h"

namespace dialogtest {

void DialogTest::SetUp() {
  BattleMapTest::SetUp();
  gui::GameControlHelper::SetRender(&mRender);
  mBass.ClearCalls();
}

void DialogTest::TearDown() {
  BattleMapTest::TearDown();
  gui::GameControlHelper::SetRender(nullptr);
}

void DialogTest::Frame(const std::function<void(render::Graphics&)>& draw) {
  ASSERT_EQ(mRender.BeginFrame(), VN_OK);
  {
    render::Graphics graphics(&mRender);
    draw(graphics);
  }
  ASSERT_EQ(mRender.EndFrame(), VN_OK);
  ASSERT_EQ(mRender.Present(), VN_OK);
  ASSERT_EQ(mRender.PlayCommands(), VN_OK);
}

int DialogTest::SoundsPlayed() {
  const int plays = static_cast<int>(mBass.CallsStartingWith("ChannelPlay").size());
  mBass.ClearCalls();
  return plays;
}

void DialogTest::WriteLayout(const std::string& folder, const std::string& layersXml) {
  std::ofstream(folder + "/layers.xml", std::ios::binary | std::ios::trunc)
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Layers>\n" << layersXml << "</Layers>\n";
}

}  // namespace dialogtest
