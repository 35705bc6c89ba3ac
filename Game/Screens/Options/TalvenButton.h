#pragma once
#include <string>

#include "Core/Gui/GameControl.h"
#include "Core/Widget/Button.h"

namespace file {
class ImageContainer;
}

// A push button of layout images: cross-fades from its normal to its hover image under the pointer
// and shrinks slightly while pressed. Its own mediator; the owner sets mButtonListener and adds it
// to a dialog.
class TalvenButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator {
 public:
  enum StateImage { kNormalImage = 0, kHoverImage = 1, kStateImageCount = 2 };

  TalvenButton();

  // Builds the button from the container's layers; the shadow goes behind the state images and
  // ignores the mouse. The first failing step's result is returned.
  VNResultEnum Create(file::ImageContainer* container, const std::u16string& normal, const std::u16string& hover,
                      const std::u16string& shadow);

  widget::WidgetTypeId& GetTypeId() override;
  // State 0: the normal image takes the mouse; states 1 and 2: the hover image.
  VNResultEnum SetState(int32_t state) override;
  // Over and press animations.
  VNResultEnum OnUpdate(float dt) override;

  layer::ImageLayer* GetStateImage(int index) const { return mStateImages[index]; }
  float GetOver() const { return mOver; }
  float GetPress() const { return mPress; }

 private:
  layer::ImageLayer* mStateImages[kStateImageCount] = {nullptr, nullptr};
  float mOver = 0.0f;
  float mPress = 0.0f;
};
