#pragma once
#include <string>
#include <vector>

#include "Core/Render/Font.h"
#include "Core/Resource/ResourcePtr.h"

namespace file {
class ImageContainer;
}
namespace render {
class Graphics;
}

class HUDButtonOver;

// The buttons that a dialog or menu builds from the sub-groups of its layout's "button" group, one
// per group in name order, captioned with the localised text of the group name, and drives
// together. Owns the buttons.
class HUDModalButtons {
 public:
  // Chooses the caption font of the button built from a group.
  using FontForKey = resource::ResourcePtr<render::Font> (*)(const std::u16string& key);

  HUDModalButtons() = default;
  ~HUDModalButtons() { clear(); }
  HUDModalButtons(const HUDModalButtons&) = delete;
  HUDModalButtons& operator=(const HUDModalButtons&) = delete;

  // Appends the buttons of layout's groups; a group without its position layer is left out.
  // Nothing without a layout.
  void build(file::ImageContainer* layout, FontForKey fontFor);

  // Deletes the buttons.
  void clear();

  void draw(render::Graphics& graphics);
  void update(float dt);
  void hover(int x, int y);
  void press(int x, int y);
  void release(int x, int y);
  // Index of the first button whose hit test holds; -1.
  int hitIndex(int x, int y) const;
  // Click name of the first button hit, with the sound "simple"; empty and silent when none.
  std::u16string clickName(int x, int y) const;
  // Null beyond the list: layouts with fewer groups than a screen expects use what exists.
  HUDButtonOver* at(size_t index) const { return index < items.size() ? items[index] : nullptr; }

  std::vector<HUDButtonOver*> items;
};
