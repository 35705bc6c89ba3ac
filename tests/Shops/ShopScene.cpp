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

namespace {

gametest::LayerBox ShopPackLayer(const std::string& folder, int number, const std::string& layer, float scale) {
  const gametest::LayerBox button = gametest::SampleLayer(folder, "button/b_0" + std::to_string(number) + "_in");
  return gametest::SampleLayer(folder, layer).ScaledAbout(scale, button.CentreX(), button.CentreY());
}

}  // namespace

size_t ShopScene::ExpectPackPictures(const std::vector<gametest::DrawnQuad>& quads, const std::string& folder,
                                     int number, const char* badge, float scale) {
  const std::string button = "button/b_0" + std::to_string(number) + "_in";
  const std::string pricing = "pricing/en/" + std::to_string(number);
  const size_t picture = gametest::ExpectPictureOn(quads, folder, button, ShopPackLayer(folder, number, button, scale));
  const size_t price = gametest::ExpectPictureOn(quads, folder, pricing, ShopPackLayer(folder, number, pricing, scale));
  EXPECT_LT(picture, price) << number;
  if (!badge) return price;
  const size_t badgeQuad = gametest::ExpectPictureOn(quads, folder, badge, ShopPackLayer(folder, number, badge, scale));
  EXPECT_LT(price, badgeQuad) << number;
  return badgeQuad;
}

gametest::LayerBox ShopScene::PackTextBox(const std::string& folder, int number, float scale) {
  return ShopPackLayer(folder, number, "text/b_0" + std::to_string(number) + "_text", scale);
}

const gametest::DrawnText* ShopScene::ExpectPack(const std::vector<gametest::DrawnQuad>& quads,
                                                 const std::vector<gametest::DrawnText>& texts,
                                                 const std::string& folder, int number, const char* badge,
                                                 const std::u16string& line, float scale, size_t* lastPicture) {
  const size_t last = ExpectPackPictures(quads, folder, number, badge, scale);
  if (lastPicture) *lastPicture = last;
  const gametest::DrawnText* text = gametest::FindText(texts, line);
  EXPECT_NE(nullptr, text) << "the line of pack " << number;
  if (!text) return nullptr;
  EXPECT_LT(last, text->firstQuad) << "over the pictures of pack " << number;
  EXPECT_TRUE(gametest::CentredOn(*text, PackTextBox(folder, number, scale))) << number;
  return text;
}

}  // namespace shoptest
