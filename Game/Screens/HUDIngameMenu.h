#pragma once
#include <string>

#include "Game/Screens/HUDModalButtons.h"
#include "Game/Screens/HUDWindow.h"

// The pause menu of a running level, on the layout "ruv/data/ingame": a caption and a column of
// buttons with the picture "main_menu_ico" drawn over them. Only reports the click name; the
// dispatcher acts on it. Keeps its layout while it lives.
class HUDIngameMenu : public HUDWindow {
 public:
  static constexpr char16_t kLayout[] = u"ruv/data/ingame";
  static constexpr char16_t kIcon[] = u"main_menu_ico";

  HUDIngameMenu();
  ~HUDIngameMenu() override;

  // The base content, the buttons, then every "main_menu_ico" frame over them.
  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  void onMouseMove(int x, int y) override;
  void onMouseDown(int x, int y) override;
  void onMouseUp(int x, int y) override;
  std::u16string buttonNameAt(int x, int y) override;

  HUDModalButtons menuButtons;  // the layout's "button" groups, in name order; the base list stays empty

 private:
  // Every "main_menu_ico" frame, whatever its visible flag, as the base draws frames.
  void drawIcons(render::Graphics& graphics);
};
