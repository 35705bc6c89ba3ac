#pragma once
#include <string>

#include "Core/Layer/Layer.h"
#include "Core/Render/Font.h"
#include "Core/Render/TextFormat.h"
#include "Core/Resource/ResourcePtr.h"

namespace layer {

// Draws a string with a bitmap font. Whoever changes its text, font or format clears
// mLocalBoxValid so that the text is measured again.
class TextLayer : public Layer {
 public:
  TextLayer();
  // A text layer with content: the default format with the given wrap width, line spacing, line
  // alignment (0 left, 1 right, 2 centre, 3 justify) and fit-to-text byte.
  TextLayer(const resource::ResourcePtr<render::Font>& font, const std::u16string& text, float wrapWidth,
            float lineSpacing, uint32_t alignment, bool fitToText);

  VNResultEnum DrawContent(render::Graphics* graphics) override;
  // Box of the measured text; empty without font or text.
  void UpdateBounds() override;
  bool HitTestPoint(const math::Point3& local) override;
  // Moves the layer so that the measured box's top-left corner lands on whole pixels.
  void SnapToPixels();

  resource::ResourcePtr<render::Font> mFont;
  std::u16string mText;
  render::TextFormat mFormat;
  int mHorizontalAnchor = 0;  // 0 left, 1 right, 2 centre
  int mVerticalAnchor = 0;    // 0 top, 1 bottom, 2 centre, 3 base line at y 0
  bool mFitToText = false;    // replaces the format's byte at every draw and measurement

 private:
  void Measure(math::Box3& box);
};

}  // namespace layer
