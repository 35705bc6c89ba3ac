#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Core/Render/Font.h"
#include "Core/Resource/ResourcePtr.h"
#include "Game/Art/RuvFrameEntry.h"

namespace base {
class ImageInfo;
}
namespace file {
class ImageContainer;
}
namespace render {
class Graphics;
}

// Base of every screen: pictures, buttons and text slots read from a layered layout, drawn scaled
// about the centre of the battle view. A screen only answers which button lies under a point; the
// HUD keeps the screens and the battle map acts on the names. open 0 asks the HUD to close and
// delete the screen.
class HUDWindow {
 public:
  // The root board's font "ruv/data/fonts/main_42_3"; no layout.
  HUDWindow();
  // Builds from the layout at path and then deletes the container.
  explicit HUDWindow(const std::u16string& layoutPath);
  // Text slots, then buttons, then frames; never the layout container.
  virtual ~HUDWindow();
  HUDWindow(const HUDWindow&) = delete;
  HUDWindow& operator=(const HUDWindow&) = delete;

  // Frames, then buttons, then texts.
  virtual void draw(render::Graphics& graphics);
  // Real seconds: time, then every button.
  virtual void update(float dt);
  // Rebuilds the shown content after a change of data.
  virtual void refresh() {}
  virtual void reserved() {}
  // Called by the HUD just before it deletes a closed screen.
  virtual void onClose() {}
  // Keeps the point and tests every button's hover, hidden ones too.
  virtual void onMouseMove(int x, int y);
  virtual void onMouseUp(int x, int y);
  virtual void onMouseDown(int x, int y);
  virtual void onWheel(int delta);
  virtual void onChar(int character);
  virtual void onKey(int keyCode);
  // Index of the first button whose rectangle holds the point, edges included, hidden or not; -1.
  virtual int buttonIndexAt(int x, int y);
  // Name of the first visible button under the point (plays "simple"); empty when none.
  virtual std::u16string buttonNameAt(int x, int y);

  // Pictures at the top level, buttons anywhere below "button/", text slots directly below
  // "text/". A layout that cannot be opened or holds no layer is logged and leaves the screen
  // empty; in the running game a message box names it and its ok runs wayOutOfBrokenLayout.
  void loadLayout(const std::u16string& path);
  // First button of that name in list order; null when none.
  RuvButtonFrame* findButton(const std::u16string& name);
  // Replaces the text of that name, or appends it. Texts without a slot are never drawn.
  void setText(const std::u16string& name, const std::u16string& text);
  // The text of that name; empty when it was never set.
  std::u16string getText(const std::u16string& name) const;
  // Every frame of that name.
  void setFrameVisible(const std::u16string& name, bool visible);
  void setFont(const resource::ResourcePtr<render::Font>& newFont);

  void drawFrames(render::Graphics& graphics);
  // Leaves the drawing colour white.
  void drawButtons(render::Graphics& graphics);
  void drawTexts(render::Graphics& graphics);
  // Centred on the slot's centre and wrapped to its width; nothing without the slot.
  void drawText(render::Graphics& graphics, const std::u16string& name, const std::u16string& text);

  int layer = 0;  // 0 below the battle map's radial menu, 1 above it
  file::ImageContainer* layout = nullptr;
  std::vector<RuvButtonFrame*> buttons;                // owned, in load order
  std::map<std::u16string, RuvFrameEntry*> textSlots;  // owned
  std::vector<RuvFrameEntry*> frames;                  // owned, in draw order
  std::vector<std::pair<std::u16string, std::u16string>> texts;
  resource::ResourcePtr<render::Font> font;
  float time = 0.0f;
  float offsetX = 0.0f;
  float offsetY = 0.0f;
  float scale = 1.0f;
  float pointerX = 0.0f;
  float pointerY = 0.0f;
  unsigned char open = 1;
  int phase = 0;
  // The battle map's command that leaves a screen whose layout is unusable; empty: none (the main
  // menu, which the window's close button still leaves).
  std::u16string wayOutOfBrokenLayout = u"mmenu";

 private:
  void reportUnusableLayout(const std::u16string& path);
};

// Layout entries of the screens: ownsImage set, visible, the layer's rectangle, and its image loaded
// from the container when withImage is set. Name and index are left to the caller.
RuvFrameEntry* newLayoutFrame(const base::ImageInfo& info, file::ImageContainer* container, bool withImage);
RuvButtonFrame* newLayoutButton(const base::ImageInfo& info, file::ImageContainer* container);
