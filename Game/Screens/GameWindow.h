#pragma once
#include <cstdint>
#include <memory>

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourcePtr.h"
#include "Core/Widget/BaseBoard.h"
#include "Game/Screens/HUDWindow.h"

class RuvMap;

// The game's root board, the one frame the game shows. It owns the battle map and the six fonts,
// and is the game's single entry for update, draw, keys and the pointer: the pointer goes to the
// dialog in the confirm slot, else to the map; keys and characters go to the HUD's screens. Every
// handler returns 0.
class GameWindow : public widget::BaseBoard {
 public:
  GameWindow();
  // The dialog slots go before the map, whose screens and fonts they may still use.
  ~GameWindow() override;
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  RuvMap* getMap() const { return mMap.get(); }

  // Fill a slot, taking ownership; a window still in the slot is deleted rather than left behind.
  void setConfirmDialog(HUDWindow* dialog);
  void setBanner(HUDWindow* banner);

  // Catches the pointer everywhere, loads the effect file and the fonts, builds the map, puts the
  // profile's gems into its wallet and opens the logo screens.
  VNResultEnum Create() override;

  // widget::WidgetListener. dt is the real frame time: closed slot windows go first, then the map.
  VNResultEnum OnUpdate(float dt) override;
  VNResultEnum OnDrawBefore(render::Graphics* graphics, layer::Layer* layer) override;
  VNResultEnum OnDrawAfter(render::Graphics* graphics, layer::Layer* layer) override;
  // Every HUD screen gets the key; then the developer keys act while cheats are on and a level is
  // played.
  VNResultEnum OnKeyDown(int key) override;
  // Every HUD screen gets the character.
  VNResultEnum OnChar(char16_t character) override;

  // widget::WidgetHitTestListener. Points are design coordinates, passed on truncated toward zero.
  VNResultEnum OnWidgetMouseDown(math::Point3& point, int button) override;
  VNResultEnum OnWidgetMouseUp(math::Point3& point, int button) override;
  VNResultEnum OnWidgetMouseMove(math::Point3& point) override;
  VNResultEnum OnWidgetMouseDrag(math::Point3& point) override;
  VNResultEnum OnWidgetMouseWheel(math::Point3& point, int delta) override;

  resource::ResourcePtr<render::BMFont> mFont32_1;
  resource::ResourcePtr<render::BMFont> mFont32_2;
  resource::ResourcePtr<render::BMFont> mFont42_1;
  resource::ResourcePtr<render::BMFont> mFont42_2;
  resource::ResourcePtr<render::BMFont> mFont80;
  resource::ResourcePtr<render::BMFont> mFont42_3;
  // Owned; a window leaves its slot (deleted) on the first update that finds its open flag cleared.
  HUDWindow* mConfirmDialog = nullptr;  // gets the pointer before the map
  HUDWindow* mBanner = nullptr;         // shown only
  // The last pointer position of a move.
  std::int32_t mPointerX = 0;
  std::int32_t mPointerY = 0;

 protected:
  // The map's side of the routing.
  virtual void mapMouseDown(int x, int y);
  virtual void mapMouseUp(int x, int y);
  virtual void mapMouseMove(int x, int y);
  virtual void mapMouseWheel(int delta);
  virtual void mapUpdate(float dt);

  std::unique_ptr<RuvMap> mMap;

 private:
  void runCheatKey(int key);
};
