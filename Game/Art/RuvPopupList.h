#pragma once
#include <list>
#include <string>

#include "Core/Resource/ResourcePtr.h"

namespace render {
class Font;
class Graphics;
class Image;
}  // namespace render

// A short text rising from the battlefield with an optional icon.
struct RuvPopup {
  unsigned char alive = 1;
  render::Image* icon = nullptr;  // not owned
  std::u16string text;
  float x = 0.0f;
  float y = 0.0f;
  int kind = 0;
  float life = 0.75f;
  float time = 0.0f;
  float dx = 0.0f;
  float dy = -1.0f;
};

// The battle's pop-ups: they rise at 15 px/s, fade over their last 0.25 s and are removed after
// 0.75 s. Kind 2 shows the "ui/immune" icon, kind 4 the "ui/money" icon, other kinds text only.
class RuvPopupList {
 public:
  static constexpr int kIconSlots = 5;

  // Takes the icons from the art set "ruv/ui", which must be loaded already.
  RuvPopupList();
  ~RuvPopupList();
  RuvPopupList(const RuvPopupList&) = delete;
  RuvPopupList& operator=(const RuvPopupList&) = delete;

  // A new pop-up at (x, y); the caller sets its text. Owned by the list.
  RuvPopup* add(float x, float y, int kind);
  // Battle time: the map passes dt times its speed, so pop-ups stand still while paused.
  void update(float dt);
  void draw(render::Graphics& graphics);

  render::Image* icons[kIconSlots] = {nullptr, nullptr, nullptr, nullptr, nullptr};
  std::list<RuvPopup*> popups;
  // The root board's "ruv/data/fonts/main_42_3"; the owner sets it.
  resource::ResourcePtr<render::Font> font;
};
