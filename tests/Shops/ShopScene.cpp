#include "ShopScene.h"

#include "Core/App/Application.h"
#include "Core/Render/Graphics.h"
#include "Game/Screens/HUDBuyGemScreen.h"

namespace shoptest {

void ShopScene::SetUp() {
  BattleMapTest::SetUp();
  ASSERT_EQ(VN_OK, Store()->LoadProducts(u"ruv/inapp.xml"));
}

void ShopScene::TearDown() {
  Store()->UnloadProducts();
  // Failures still queued find no product and leave the task tree.
  Tick();
  Tick();
  BattleMapTest::TearDown();
}

void ShopScene::Tick() { app::Application::Instance()->UpdateChildren(0.016f); }

long ShopScene::DrawnVertices(HUDWindow& screen) {
  mRender.mCalls.clear();
  EXPECT_EQ(mRender.BeginFrame(), VN_OK);
  {
    render::Graphics graphics(&mRender);
    screen.draw(graphics);
    EXPECT_EQ(graphics.mTransform, nullptr);
  }
  EXPECT_EQ(mRender.EndFrame(), VN_OK);
  EXPECT_EQ(mRender.Present(), VN_OK);
  EXPECT_EQ(mRender.PlayCommands(), VN_OK);
  long vertices = 0;
  for (const std::vector<long>& draw : mRender.Arguments("DrawIndexed")) vertices += draw.size() == 6 ? draw[5] : 0;
  return vertices;
}

}  // namespace shoptest
