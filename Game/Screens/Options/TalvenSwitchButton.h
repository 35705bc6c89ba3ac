#pragma once
#include <string>

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Button.h"

namespace file {
class ImageContainer;
}

// A button with a selected look: while selected it shows that look, which swallows the mouse, and
// neither highlights nor clicks. Grows slightly under the pointer. Its own mediator.
class TalvenSwitchButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator {
 public:
  enum StateImage { kSelectedImage = 0, kNormalImage = 1, kHoverImage = 2, kStateImageCount = 3 };

  TalvenSwitchButton();

  // Builds the button from the container's layers (the shadow behind, ignoring the mouse); the
  // first failing step's result is returned.
  VNResultEnum Create(file::ImageContainer* container, const std::u16string& normal, const std::u16string& hover,
                      const std::u16string& selected, const std::u16string& shadow);
  // The unselected images lose their hit-test listener while selected.
  void SetSelected(bool selected);
  bool IsSelected() const { return mSelected; }

  widget::WidgetTypeId& GetTypeId() override;
  // State 0: the unselected image takes the mouse; states 1 and 2: the hover image.
  VNResultEnum SetState(int32_t state) override;
  // Over, press and select animations.
  VNResultEnum OnUpdate(float dt) override;

  layer::ImageLayer* GetStateImage(int index) const { return mStateImages[index]; }
  float GetOver() const { return mOver; }

 private:
  layer::ImageLayer* mStateImages[kStateImageCount] = {nullptr, nullptr, nullptr};
  bool mSelected = false;
  float mOver = 0.0f;
  float mPress = 0.0f;
  float mSelect = 0.0f;
};
