#pragma once
#include "Core/Base/Result.h"
#include "Core/Math/Rect.h"
#include "Core/Render/GraphicsFriend.h"

namespace render {

class DrawParam;
class Image;

// Payload of an image draw: one textured quad.
class DrawImageParam : public GraphicsFriend {
 public:
  enum Anchor {
    kAnchorStart = 0,   // left or top edge at 0
    kAnchorEnd = 1,     // right or bottom edge at 0
    kAnchorCentre = 2,  // centred on 0 (kept fractional)
  };

  // The whole image: source rectangle 0, 0, image width, image height.
  DrawImageParam(Graphics* graphics, Image* image);
  // A part of the image, in its pixels.
  DrawImageParam(const GraphicsFriend& binding, Image* image, const math::Rect& source)
      : GraphicsFriend(binding), mImage(image), mSource(source) {}

  // Field by field, at the widths the fields were written with: a request converted right after
  // its payload was built reads it back while the stores may still be pending, and a wider read
  // than the stores cannot take its data from them.
  DrawImageParam(const DrawImageParam& other)
      : GraphicsFriend(other.mGraphics, other.mRender, other.mState),
        mImage(other.mImage),
        mHorizontalAnchor(other.mHorizontalAnchor),
        mVerticalAnchor(other.mVerticalAnchor),
        mFlipX(other.mFlipX),
        mFlipY(other.mFlipY),
        mSource(other.mSource.x, other.mSource.y, other.mSource.width, other.mSource.height) {}

  // Builds the quad, runs the request's and the context's transforms and records the draw.
  VNResultEnum Draw(DrawParam* request);

  Image* mImage;
  int mHorizontalAnchor = kAnchorStart;
  int mVerticalAnchor = kAnchorStart;
  bool mFlipX = false;  // swap the two u coordinates
  bool mFlipY = false;  // swap the two v coordinates
  math::Rect mSource;   // pixels of the image; the quad has its size
};

}  // namespace render
