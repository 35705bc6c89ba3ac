#pragma once
// The shop screens on the battle map of the battle tests, with the sample store catalogue loaded
// and no store back end, the game's fonts loaded through the recording renderer; the catalogue is
// emptied and queued failures delivered afterwards.
#include <string>
#include <vector>

#include "Core/Purchase/PurchaseSystem.h"
#include "gamesupport/BattleMapScene.h"
#include "gamesupport/DrawnScreen.h"

class HUDWindow;

namespace shoptest {

class ShopScene : public battletest::BattleMapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  static purchase::PurchaseSystem* Store() { return purchase::PurchaseSystem::Instance(); }
  // One tick of the application's tasks, which delivers the failures of refused purchases.
  static void Tick();
  // The textured quads of one frame of the screen, in draw order.
  std::vector<gametest::DrawnQuad> DrawScreen(HUDWindow& screen);
  // Pack number (from 1) of the layout folder: its picture, its price picture in English and its
  // badge (null: none) on their layers scaled by scale about the picture's centre, in this order.
  // The index of its last quad.
  static size_t ExpectPackPictures(const std::vector<gametest::DrawnQuad>& quads, const std::string& folder,
                                   int number, const char* badge, float scale = 1.0f);
  // The pack's text layer, scaled like its pictures.
  static gametest::LayerBox PackTextBox(const std::string& folder, int number, float scale = 1.0f);
  // The pack's pictures (as ExpectPackPictures) and then its line among texts, drawn over them and
  // centred on its text layer. The line's text, null (a failure) when it is not drawn; the index of
  // the last picture's quad in lastPicture when given.
  static const gametest::DrawnText* ExpectPack(const std::vector<gametest::DrawnQuad>& quads,
                                               const std::vector<gametest::DrawnText>& texts,
                                               const std::string& folder, int number, const char* badge,
                                               const std::u16string& line, float scale = 1.0f,
                                               size_t* lastPicture = nullptr);
};

}  // namespace shoptest
