#include "ShopScene.h"

#include "Core/App/Application.h"
#include "Core/Gui/GameControl.h"
#include "Game/Screens/HUDBuyGemScreen.h"

namespace shoptest {

void ShopScene::SetUp() {
  gui::GameControlHelper::SetRender(&mRender);  // the screens' fonts
  BattleMapTest::SetUp();
  ASSERT_EQ(VN_OK, Store()->LoadProducts(u"ruv/inapp.xml"));
}

void ShopScene::TearDown() {
  Store()->UnloadProducts();
  // Failures still queued find no product and leave the task tree.
  Tick();
  Tick();
  BattleMapTest::TearDown();
  gui::GameControlHelper::SetRender(nullptr);
}

void ShopScene::Tick() { app::Application::Instance()->UpdateChildren(0.016f); }

std::vector<gametest::DrawnQuad> ShopScene::DrawScreen(HUDWindow& screen) {
  return gametest::DrawFrameQuads(mRender, [&screen](render::Graphics& graphics) { screen.draw(graphics); });
}

}  // namespace shoptest
