#pragma once
#include <string>

#include "Core/Base/Result.h"
#include "Core/Math/Box3.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/TextFormat.h"

namespace render {

class DrawParam;
class Font;

// Payload of a text draw. The font lays the text out and emits its glyph quads through
// TransformVertices; without a context the draw only measures.
class DrawTextParam : public GraphicsFriend {
 public:
  enum Anchor {
    kAnchorStart = 0,   // left or top at 0
    kAnchorEnd = 1,     // right or bottom at 0
    kAnchorCentre = 2,  // centred, rounded down (x) or up (y) to whole pixels
    kAnchorBase = 3,    // vertical only: the font's base line at 0
  };

  // text is not copied: it must outlive the request.
  DrawTextParam(Graphics* graphics, const std::u16string* text, Font* font);
  // Copies every field but the laid-out size and the outer request.
  DrawTextParam(const DrawTextParam& other);
  DrawTextParam& operator=(const DrawTextParam&) = delete;

  VNResultEnum Draw(DrawParam* request);
  // Anchors, then the outer request's transform, then the context's (the font adds the half-pixel
  // offset itself).
  VNResultEnum TransformVertices(void* vertices, const VertexFormat& format, unsigned count);

  const std::u16string* mText;
  Font* mFont;
  TextFormat mFormat;
  int mHorizontalAnchor = kAnchorStart;
  int mVerticalAnchor = kAnchorStart;
  float mSize[2] = {0.0f, 0.0f};  // laid-out width and height, written by the font during the draw
  DrawParam* mOuter = nullptr;  // the request that is drawing
  float* mOutWidth = nullptr;
  float* mOutHeight = nullptr;
  math::Box3* mOutBox = nullptr;  // bounds of the drawn text after all transforms
};

}  // namespace render
