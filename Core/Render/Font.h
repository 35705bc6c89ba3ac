#pragma once
#include <string>

#include "Core/Resource/Resource.h"

namespace render {

class DrawTextParam;
class Graphics;
template <class Payload>
class DrawUntransformedParam;
struct TextFormat;

// The font interface: metrics, text drawing and the glyph test.
class Font : public resource::Resource {
 public:
  virtual float GetBase() const { return mBase; }
  virtual float GetDescent() const { return mSize - mBase; }
  virtual float GetLineHeight() const { return mSize; }
  virtual float GetLineAdvance() const { return mSize + mGap; }
  virtual float GetLineGap() const { return mGap; }
  // Lays the text out and draws it through param, or only measures it when graphics is null.
  // size (when given) receives the block's width and height. With neither graphics nor size: 0.
  virtual VNResultEnum DrawText(Graphics* graphics, DrawTextParam* param, const std::u16string& text,
                                const TextFormat& format, float* size) = 0;
  virtual bool HasGlyph(char16_t character) const = 0;

  // A pending text request without a context: set its out pointers; its destruction measures.
  DrawUntransformedParam<DrawTextParam> MeasureText(const std::u16string* text);

 protected:
  float mBase = 0.0f;  // from the top of a line to the base line
  float mSize = 0.0f;  // the line height used by layout
  float mGap = 0.0f;   // extra line gap
};

}  // namespace render
