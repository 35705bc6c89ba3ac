#pragma once
#include <string>

#include "Core/Layer/Layer.h"
#include "Core/Render/Font.h"
#include "Core/Resource/ResourcePtr.h"

namespace file {
class ImageContainer;
}
namespace layer {
class ImageLayer;
class TextLayer;
}  // namespace layer
namespace render {
class Graphics;
class Image;
}  // namespace render
class RuvFrameEntry;

// Base of the buttons a screen keeps in a list of its own and drives through these calls.
class HUDButton {
 public:
  // The root board's font "ruv/data/fonts/main_32_1".
  HUDButton();
  virtual ~HUDButton() = default;
  HUDButton(const HUDButton&) = delete;
  HUDButton& operator=(const HUDButton&) = delete;

  virtual void draw(render::Graphics& graphics) { (void)graphics; }
  virtual void update(float dt) { time += dt; }
  // True when the click at the point is taken.
  virtual bool click(int x, int y) {
    (void)x, (void)y;
    return false;
  }
  virtual bool hitTest(int x, int y) {
    (void)x, (void)y;
    return false;
  }
  virtual void press(int x, int y) { (void)x, (void)y; }
  virtual void release(int x, int y) { (void)x, (void)y; }
  virtual void hover(int x, int y) { (void)x, (void)y; }

  resource::ResourcePtr<render::Font> font;
  unsigned char visible = 0;
  float time = 0.0f;
  float xOffset = 0.0f;
  int hovered = 0;
  float scale = 1.0f;
  int pressed = 0;
  int index = 0;
  std::u16string name;  // the click name the owner reports
  float centreX = 0.0f;
  float centreY = 0.0f;
  std::u16string caption;
  float captionRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// Hover scale shared by the buttons that grow while hovered: half as fast up to 1.1 as down to 1.0.
void growWhileHovered(HUDButton& button, float dt);

// A button built from the layout group "button/<key>": its "pos" rectangle places the pictures
// "button/<art>_normal" and "button/<art>_over" (art: the key's part before "_", the click name the
// part after it) and its optional "label" rectangle centres the caption. Drawn in layout
// coordinates: the screen's scale and offset do not apply.
class HUDButtonOver : public HUDButton {
 public:
  // The key's "pos" layer must exist: build through create.
  HUDButtonOver(file::ImageContainer* container, const std::u16string& key);
  ~HUDButtonOver() override;

  // Null when the key has no "pos" layer (logged); the caller drops such a button.
  static HUDButtonOver* create(file::ImageContainer* container, const std::u16string& key);

  void draw(render::Graphics& graphics) override;
  void update(float dt) override;
  // The shown picture's rectangle moved by xOffset, edges included; never while hidden.
  bool hitTest(int x, int y) override;
  void press(int x, int y) override;
  void release(int x, int y) override;
  void hover(int x, int y) override;

  RuvFrameEntry* normalFrame = nullptr;   // owned
  RuvFrameEntry* pressedFrame = nullptr;  // owned
  unsigned char hasCaption = 0;

 private:
  const RuvFrameEntry* shownFrame() const;
};

// A button living in a layer tree: the normal and over pictures centred on its origin and a
// centred caption. Grows while hovered, twice as fast as it shrinks.
class HUDLayerButton : public layer::Layer {
 public:
  // The frames' images stay theirs.
  HUDLayerButton(const RuvFrameEntry& normalFrame, const RuvFrameEntry& overFrame, const std::u16string& caption);
  // Detaches and deletes its three child layers.
  ~HUDLayerButton() override;
  HUDLayerButton(const HUDLayerButton&) = delete;
  HUDLayerButton& operator=(const HUDLayerButton&) = delete;

  // Strictly inside the normal picture about the button's position; never while hidden.
  bool hitTest(int x, int y) const;
  void hover(int x, int y);
  void update(float dt);
  // The click slot: nothing here; a derived button reacts to a click at the point.
  virtual void onClick(int x, int y) { (void)x, (void)y; }

  render::Image* normalImage = nullptr;
  render::Image* overImage = nullptr;
  layer::ImageLayer* normalLayer = nullptr;
  layer::ImageLayer* overLayer = nullptr;
  layer::TextLayer* captionLayer = nullptr;
  float scale = 1.0f;
  unsigned char hovered = 0;
};
