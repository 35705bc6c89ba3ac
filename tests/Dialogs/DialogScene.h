#pragma once
// The dialogs and result screens over the battle map of the sample data: fonts for the screens,
// a drawing context on the recording renderer, and pointer helpers in layout coordinates.
#include <functional>
#include <string>

#include "Core/Render/Graphics.h"
#include "gamesupport/BattleMapScene.h"

class HUDButtonOver;
class HUDWindow;

namespace dialogtest {

class DialogTest : public battletest::BattleMapTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Draws through a fresh context inside one recorded frame; the context is given back to check.
  void Frame(const std::function<void(render::Graphics&)>& draw);
  // The sound "simple" and every other play since the last call.
  int SoundsPlayed();
  // The centre of the button's shown rectangle, its offset included.
  static int CentreX(const HUDButtonOver& button);
  static int CentreY(const HUDButtonOver& button);
  // Press and release at the button's centre; the name the screen answers for that point.
  static std::u16string Click(HUDWindow& screen, const HUDButtonOver& button);
  // Replaces a layout of the data copy by these layers (no images).
  void WriteLayout(const std::string& folder, const std::string& layersXml);
};

}  // namespace dialogtest
