#include "DialogScene.h"

#include <fstream>

#include "Core/Gui/GameControl.h"
#include "Game/Screens/HUDButtons.h"
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

int DialogTest::CentreX(const HUDButtonOver& button) {
  const float* r = button.normalFrame->rect;
  return static_cast<int>(r[0] + r[2] / 2 + button.xOffset);
}

int DialogTest::CentreY(const HUDButtonOver& button) {
  const float* r = button.normalFrame->rect;
  return static_cast<int>(r[1] + r[3] / 2);
}

std::u16string DialogTest::Click(HUDWindow& screen, const HUDButtonOver& button) {
  const int x = CentreX(button);
  const int y = CentreY(button);
  screen.onMouseMove(x, y);
  screen.onMouseDown(x, y);
  const std::u16string name = screen.buttonNameAt(x, y);
  screen.onMouseUp(x, y);
  return name;
}

void DialogTest::WriteLayout(const std::string& folder, const std::string& layersXml) {
  std::ofstream(folder + "/layers.xml", std::ios::binary | std::ios::trunc)
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Layers>\n" << layersXml << "</Layers>\n";
}

}  // namespace dialogtest
